// SPDX-License-Identifier: MIT
// The pixel rules of the client-area raster: which pixels a shape covers, that every
// pixel reads back exactly as drawn, the fill rule, the wide-pen wipe, reads and writes
// outside the raster; and the font mapping with its cell heights.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <algorithm>
#include <climits>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "game/Colours.h"
#include "platform/Dc.h"
#include "platform/FontMapping.h"
#include "platform/Gdi.h"
#include "platform/Raster.h"

namespace {

constexpr int kWidth = 120;
constexpr int kHeight = 100;

// What a raster holds: pixels per colour and the box around everything not white.
struct CCoverage {
    std::map<COLORREF, int> counts;
    CRect rcInk;  // half-open; empty when the raster is all white
};

CCoverage Scan(const CRaster& raster) {
    CCoverage cov;
    cov.rcInk = CRect(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    for (int y = 0; y < raster.Height(); ++y) {
        const std::uint32_t* pRow = raster.Row(y);
        for (int x = 0; x < raster.Width(); ++x) {
            const COLORREF clr = CRaster::ColorOf(pRow[x]);
            ++cov.counts[clr];
            if (clr != kWhite) {
                cov.rcInk.left = std::min(cov.rcInk.left, x);
                cov.rcInk.top = std::min(cov.rcInk.top, y);
                cov.rcInk.right = std::max(cov.rcInk.right, x + 1);
                cov.rcInk.bottom = std::max(cov.rcInk.bottom, y + 1);
            }
        }
    }
    if (cov.rcInk.left == INT_MAX) {
        cov.rcInk = CRect();
    }
    return cov;
}

// A white raster with a surface and one pen and brush to draw with.
struct CCanvas {
    CCanvas(int nWidth, int nHeight) : raster(nWidth, nHeight), dc(raster) {}
    void Tools(COLORREF clrPen, int nPenWidth, COLORREF clrBrush) {
        pen.DeleteObject();
        brush.DeleteObject();
        pen.CreatePen(PS_SOLID, nPenWidth, clrPen);
        brush.CreateSolidBrush(clrBrush);
        dc.SelectObject(&pen);
        dc.SelectObject(&brush);
    }
    CRaster raster;
    CDC dc;
    CPen pen;
    CBrush brush;
};

enum class EShape { Rectangle, Ellipse, Polygon };

struct CShapeCase {
    const char* pszName;
    EShape eShape;
    CRect rcBox;                 // Rectangle and Ellipse
    std::vector<CPoint> points;  // Polygon
    CRect rcExpected;            // the half-open box the shape must cover exactly
};

void DrawShape(CDC& dc, const CShapeCase& c) {
    switch (c.eShape) {
        case EShape::Rectangle:
            dc.Rectangle(c.rcBox);
            break;
        case EShape::Ellipse:
            dc.Ellipse(c.rcBox);
            break;
        case EShape::Polygon:
            dc.Polygon(c.points.data(), static_cast<int>(c.points.size()));
            break;
    }
}

// Rectangles and ellipses leave the right column and bottom row of their box untouched;
// a polygon is outlined through its vertices, so it covers the pixel of every vertex and
// nothing to the right of or below the last one.
const std::vector<CShapeCase> kShapes = {
    {"Rectangle", EShape::Rectangle, {10, 20, 50, 60}, {}, {10, 20, 50, 60}},
    {"RectangleWholeRaster",
     EShape::Rectangle,
     {0, 0, kWidth, kHeight},
     {},
     {0, 0, kWidth, kHeight}},
    {"RectangleTwoByTwo", EShape::Rectangle, {5, 5, 7, 7}, {}, {5, 5, 7, 7}},
    {"RectangleOneColumn", EShape::Rectangle, {30, 10, 31, 40}, {}, {30, 10, 31, 40}},
    {"RectangleOneRow", EShape::Rectangle, {30, 10, 70, 11}, {}, {30, 10, 70, 11}},
    {"RectangleOnePixel", EShape::Rectangle, {3, 4, 4, 5}, {}, {3, 4, 4, 5}},
    {"RectangleOverTheEdge",
     EShape::Rectangle,
     {100, 90, 140, 130},
     {},
     {100, 90, kWidth, kHeight}},
    {"Circle", EShape::Ellipse, {10, 20, 50, 60}, {}, {10, 20, 50, 60}},
    {"CircleOddDiameter", EShape::Ellipse, {11, 21, 50, 60}, {}, {11, 21, 50, 60}},
    {"EllipseWide", EShape::Ellipse, {5, 30, 115, 61}, {}, {5, 30, 115, 61}},
    {"EllipseTall", EShape::Ellipse, {40, 2, 61, 98}, {}, {40, 2, 61, 98}},
    {"PolygonSquare",
     EShape::Polygon,
     {},
     {{20, 20}, {60, 20}, {60, 60}, {20, 60}},
     {20, 20, 61, 61}},
    {"PolygonTriangle", EShape::Polygon, {}, {{10, 90}, {50, 22}, {90, 90}}, {10, 22, 91, 91}},
    {"PolygonTriangleClockwise",
     EShape::Polygon,
     {},
     {{90, 90}, {50, 22}, {10, 90}},
     {10, 22, 91, 91}},
    {"PolygonIrregular",
     EShape::Polygon,
     {},
     {{7, 31}, {44, 3}, {113, 17}, {97, 88}, {29, 71}},
     {7, 3, 114, 89}},
    {"PolygonDiamond",
     EShape::Polygon,
     {},
     {{60, 5}, {100, 45}, {60, 85}, {20, 45}},
     {20, 5, 101, 86}},
};

std::string ShapeName(const ::testing::TestParamInfo<CShapeCase>& info) {
    return info.param.pszName;
}

class ShapeCoverage : public ::testing::TestWithParam<CShapeCase> {};

TEST_P(ShapeCoverage, SolidShapeCoversExactlyItsBoxInOneColour) {
    const CShapeCase& c = GetParam();
    const COLORREF clr = RGB(255, 120, 80);
    CCanvas canvas(kWidth, kHeight);
    canvas.Tools(clr, 1, clr);
    DrawShape(canvas.dc, c);

    const CCoverage cov = Scan(canvas.raster);
    EXPECT_EQ(cov.rcInk, c.rcExpected);
    // Nothing but the shape's colour and the white around it.
    for (const auto& [clrSeen, n] : cov.counts) {
        EXPECT_TRUE(clrSeen == clr || clrSeen == kWhite)
            << "stray colour " << std::hex << clrSeen << std::dec << " x" << n;
    }
    // Solid: every row and column of the shape is one unbroken run (all shapes here are
    // convex).
    for (int y = cov.rcInk.top; y < cov.rcInk.bottom; ++y) {
        int nRuns = 0;
        for (int x = cov.rcInk.left; x < cov.rcInk.right; ++x) {
            const bool bIn = canvas.dc.GetPixel(x, y) == clr;
            const bool bPrevIn = x > cov.rcInk.left && canvas.dc.GetPixel(x - 1, y) == clr;
            nRuns += bIn && !bPrevIn ? 1 : 0;
        }
        EXPECT_EQ(nRuns, 1) << "row " << y;
    }
    if (c.eShape == EShape::Rectangle) {
        const CRect& rc = c.rcExpected;
        EXPECT_EQ(cov.counts.count(clr) ? cov.counts.at(clr) : 0, rc.Width() * rc.Height());
    }
}

TEST_P(ShapeCoverage, OutlineAndFillReadBackExactlyAsTheirColours) {
    const CShapeCase& c = GetParam();
    // Colours with components other than 0 and 255, as the game's text and orange use.
    const COLORREF clrPen = RGB(255, 128, 0);
    const COLORREF clrBrush = RGB(1, 2, 3);
    CCanvas canvas(kWidth, kHeight);
    canvas.Tools(clrPen, 1, clrBrush);
    DrawShape(canvas.dc, c);

    const CCoverage cov = Scan(canvas.raster);
    EXPECT_EQ(cov.rcInk, c.rcExpected);
    for (const auto& [clrSeen, n] : cov.counts) {
        EXPECT_TRUE(clrSeen == clrPen || clrSeen == clrBrush || clrSeen == kWhite)
            << "stray colour " << std::hex << clrSeen << std::dec << " x" << n;
    }
    EXPECT_GT(cov.counts.count(clrPen) ? cov.counts.at(clrPen) : 0, 0);
    for (const CPoint pt : c.points) {
        EXPECT_EQ(canvas.dc.GetPixel(pt.x, pt.y), clrPen)
            << "vertex (" << pt.x << ", " << pt.y << ") is off the outline";
    }
    // The outline is closed: no fill pixel touches the white outside along an edge.
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (canvas.dc.GetPixel(x, y) != clrBrush) {
                continue;
            }
            for (const CPoint d : {CPoint(1, 0), CPoint(-1, 0), CPoint(0, 1), CPoint(0, -1)}) {
                ASSERT_NE(canvas.dc.GetPixel(x + d.x, y + d.y), kWhite)
                    << "fill at (" << x << ", " << y << ") leaks";
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, ShapeCoverage, ::testing::ValuesIn(kShapes), ShapeName);

struct CCornerCase {
    const char* pszName;
    CRect rc;
};

class RectangleOutline : public ::testing::TestWithParam<CCornerCase> {};

TEST_P(RectangleOutline, PenRunsAlongTheBoxOwnEdgesAndFillIsInside) {
    const CRect rc = GetParam().rc;
    const COLORREF clrPen = RGB(0, 0, 255);
    const COLORREF clrBrush = RGB(0, 255, 0);
    CCanvas canvas(kWidth, kHeight);
    canvas.Tools(clrPen, 1, clrBrush);
    canvas.dc.Rectangle(rc);

    for (int x = rc.left; x < rc.right; ++x) {
        EXPECT_EQ(canvas.dc.GetPixel(x, rc.top), clrPen) << "top edge x=" << x;
        EXPECT_EQ(canvas.dc.GetPixel(x, rc.bottom - 1), clrPen) << "bottom edge x=" << x;
        EXPECT_EQ(canvas.dc.GetPixel(x, rc.bottom), kWhite) << "row below x=" << x;
    }
    for (int y = rc.top; y < rc.bottom; ++y) {
        EXPECT_EQ(canvas.dc.GetPixel(rc.left, y), clrPen) << "left edge y=" << y;
        EXPECT_EQ(canvas.dc.GetPixel(rc.right - 1, y), clrPen) << "right edge y=" << y;
        EXPECT_EQ(canvas.dc.GetPixel(rc.right, y), kWhite) << "column right y=" << y;
    }
    const CCoverage cov = Scan(canvas.raster);
    const int nInside = (rc.Width() - 2) * (rc.Height() - 2);
    EXPECT_EQ(cov.counts.count(clrBrush) ? cov.counts.at(clrBrush) : 0, nInside);
}

INSTANTIATE_TEST_SUITE_P(Boxes, RectangleOutline,
                         ::testing::Values(CCornerCase{"Square", {10, 10, 50, 50}},
                                           CCornerCase{"Wide", {3, 40, 117, 47}},
                                           CCornerCase{"ThreeByThree", {60, 60, 63, 63}}),
                         [](const auto& testInfo) { return std::string(testInfo.param.pszName); });

// A pentagram around (60, 50), drawn point to point so that its edges cross.
const CPoint kStar[] = {{60, 10}, {84, 82}, {22, 38}, {98, 38}, {36, 82}};

TEST(PolygonFill, SelfIntersectingStarLeavesItsCentreUnfilled) {
    const COLORREF clrPen = RGB(255, 0, 0);
    const COLORREF clrBrush = RGB(0, 0, 255);
    CCanvas canvas(kWidth, kHeight);
    canvas.Tools(clrPen, 1, clrBrush);
    canvas.dc.Polygon(kStar, 5);

    EXPECT_EQ(canvas.dc.GetPixel(60, 52), kWhite) << "centre is crossed twice: outside";
    EXPECT_EQ(canvas.dc.GetPixel(60, 25), clrBrush) << "top point";
    EXPECT_EQ(canvas.dc.GetPixel(30, 40), clrBrush) << "left point";
    EXPECT_EQ(canvas.dc.GetPixel(90, 40), clrBrush) << "right point";
    EXPECT_EQ(canvas.dc.GetPixel(40, 75), clrBrush) << "lower left point";
    EXPECT_EQ(canvas.dc.GetPixel(80, 75), clrBrush) << "lower right point";
}

TEST(PolygonFill, UnderAClipSetsInsideItExactlyWhatTheWholeShapeSets) {
    const CRect rc(41, 30, 75, 71);
    CCanvas whole(kWidth, kHeight);
    CCanvas clipped(kWidth, kHeight);
    whole.Tools(RGB(255, 0, 0), 1, RGB(0, 0, 255));
    clipped.Tools(RGB(255, 0, 0), 1, RGB(0, 0, 255));
    whole.dc.Polygon(kStar, 5);
    const CClipScope clip(clipped.dc, rc);
    clipped.dc.Polygon(kStar, 5);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            ASSERT_EQ(clipped.dc.GetPixel(x, y),
                      rc.Contains(CPoint(x, y)) ? whole.dc.GetPixel(x, y) : kWhite)
                << "(" << x << ", " << y << ")";
        }
    }
}

struct CShrinkCase {
    const char* pszName;
    int nSide;   // the square the circle is inscribed in
    int nInset;  // the circle's box before the step: the square shrunk by this much
};

class WideWhiteRing : public ::testing::TestWithParam<CShrinkCase> {};

// Shrinking a circle by one step: three wide white rings at the old size and the two
// sizes inside it, then the new circle with a 1-pixel pen. The picture must be the same,
// pixel for pixel, as the new circle drawn on white.
TEST_P(WideWhiteRing, ShrinkStepLeavesExactlyAFreshSmallerCircle) {
    const CShrinkCase& c = GetParam();
    const COLORREF clr = RGB(255, 0, 255);
    auto box = [&](int k) { return CRect(k, k, c.nSide - k, c.nSide - k); };

    CCanvas shrunk(c.nSide, c.nSide);
    shrunk.Tools(clr, 1, clr);
    shrunk.dc.Ellipse(box(c.nInset));
    CPen penWide;
    penWide.CreatePen(PS_SOLID, 3, kWhite);
    shrunk.dc.SelectObject(&penWide);
    shrunk.dc.Ellipse(box(c.nInset));
    shrunk.dc.Ellipse(box(c.nInset + 1));
    shrunk.dc.Ellipse(box(c.nInset + 2));
    shrunk.dc.SelectObject(&shrunk.pen);
    shrunk.dc.Ellipse(box(c.nInset + 1));

    CCanvas fresh(c.nSide, c.nSide);
    fresh.Tools(clr, 1, clr);
    fresh.dc.Ellipse(box(c.nInset + 1));

    int nDiffering = 0;
    for (int y = 0; y < c.nSide; ++y) {
        for (int x = 0; x < c.nSide; ++x) {
            nDiffering += shrunk.dc.GetPixel(x, y) != fresh.dc.GetPixel(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(nDiffering, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, WideWhiteRing,
    ::testing::Values(CShrinkCase{"Largest", 336, 24}, CShrinkCase{"Start", 336, 39},
                      CShrinkCase{"OddDiameter", 336, 44}, CShrinkCase{"Middle", 336, 60},
                      CShrinkCase{"Smallest", 336, 81}, CShrinkCase{"Small", 60, 5}),
    [](const auto& testInfo) { return std::string(testInfo.param.pszName); });

struct COutsideCase {
    const char* pszName;
    int x;
    int y;
};

class OutsideRaster : public ::testing::TestWithParam<COutsideCase> {};

TEST_P(OutsideRaster, ReadMatchesNoColourAndWriteChangesNothing) {
    const COutsideCase& c = GetParam();
    CCanvas canvas(kWidth, kHeight);
    canvas.Tools(RGB(0, 0, 0), 1, RGB(0, 0, 0));
    canvas.dc.Rectangle(0, 0, kWidth / 2, kHeight);
    const QImage before = canvas.raster.Image().copy();

    const COLORREF clrRead = canvas.dc.GetPixel(c.x, c.y);
    EXPECT_EQ(clrRead, CLR_INVALID);
    EXPECT_NE(clrRead, kWhite);
    EXPECT_NE(clrRead, RGB(0, 0, 0));

    EXPECT_EQ(canvas.dc.SetPixel(c.x, c.y, RGB(255, 0, 0)), CLR_INVALID);
    EXPECT_TRUE(canvas.raster.Image() == before);
}

INSTANTIATE_TEST_SUITE_P(Points, OutsideRaster,
                         ::testing::Values(COutsideCase{"LeftOfFirstColumn", -1, 0},
                                           COutsideCase{"AboveFirstRow", 0, -1},
                                           COutsideCase{"RightColumnPastTheEnd", kWidth, 0},
                                           COutsideCase{"BottomRowPastTheEnd", kWidth / 2 - 1,
                                                        kHeight},
                                           COutsideCase{"BeyondBothEnds", kWidth, kHeight},
                                           COutsideCase{"FarNegative", INT_MIN, INT_MIN},
                                           COutsideCase{"FarPositive", INT_MAX, INT_MAX}),
                         [](const auto& testInfo) { return std::string(testInfo.param.pszName); });

TEST(PixelReadBack, EveryColourReadsBackExactlyAtTheCorners) {
    CCanvas canvas(kWidth, kHeight);
    const COLORREF colours[] = {RGB(0, 0, 0),     RGB(255, 255, 255), RGB(255, 128, 0),
                                RGB(1, 2, 3),     RGB(254, 253, 252), RGB(0, 120, 120),
                                RGB(212, 0, 212), RGB(255, 255, 254)};
    const CPoint corners[] = {{0, 0}, {kWidth - 1, 0}, {0, kHeight - 1}, {kWidth - 1, kHeight - 1}};
    for (const COLORREF clr : colours) {
        for (const CPoint pt : corners) {
            EXPECT_EQ(canvas.dc.SetPixel(pt.x, pt.y, clr), clr);
            EXPECT_EQ(canvas.dc.GetPixel(pt.x, pt.y), clr)
                << std::hex << clr << std::dec << " at (" << pt.x << ", " << pt.y << ")";
        }
    }
}

// What each drawing operation reports as drawn: the rectangles the window copies to the
// screen. Every pixel the operations change must lie inside them.
struct CDrawnCase {
    const char* pszName;
    std::function<void(CCanvas&)> draw;
    std::vector<CRect> expected;  // sorted by top, then left
    bool bExact = true;           // false for text: only that it holds every change
};

std::vector<CRect> Sorted(std::vector<CRect> rects) {
    std::sort(rects.begin(), rects.end(), [](const CRect& a, const CRect& b) {
        return a.top != b.top ? a.top < b.top : a.left < b.left;
    });
    return rects;
}

void WidePen(CCanvas& c) {
    c.Tools(RGB(0, 0, 255), 3, RGB(0, 255, 0));
}

const CPoint kTriangle[] = {{10, 90}, {50, 22}, {90, 90}};

const std::vector<CDrawnCase> kDrawnCases = {
    {"NothingDrawn", [](CCanvas&) {}, {}},
    {"Rectangle", [](CCanvas& c) { c.dc.Rectangle(10, 20, 50, 60); }, {{10, 20, 50, 60}}},
    {"EllipseWidePenReachesItsWidthBeyond",
     [](CCanvas& c) { WidePen(c), c.dc.Ellipse(10, 20, 50, 60); },
     {{7, 17, 53, 63}}},
    {"RectangleWidePen",
     [](CCanvas& c) { WidePen(c), c.dc.Rectangle(10, 20, 50, 60); },
     {{7, 17, 53, 63}}},
    {"RectangleClippedToTheRaster",
     [](CCanvas& c) { c.dc.Rectangle(100, 90, 140, 130); },
     {{100, 90, kWidth, kHeight}}},
    {"EmptyOrOutsideShapesNothing",
     [](CCanvas& c) { c.dc.Rectangle(50, 50, 50, 60), c.dc.Ellipse(130, 0, 140, 10); },
     {}},
    {"PolygonIncludesItsLastColumnAndRow",
     [](CCanvas& c) { c.dc.Polygon(kTriangle, 3); },
     {{10, 22, 91, 91}}},
    {"OnePixel", [](CCanvas& c) { c.dc.SetPixel(3, 4, RGB(1, 2, 3)); }, {{3, 4, 4, 5}}},
    {"PixelOutsideNothing", [](CCanvas& c) { c.dc.SetPixel(kWidth, 0, RGB(1, 2, 3)); }, {}},
    {"NeighbouringPixelsJoin",
     [](CCanvas& c) { c.dc.SetPixel(5, 5, 0), c.dc.SetPixel(6, 5, 0), c.dc.SetPixel(5, 6, 0); },
     {{5, 5, 7, 7}}},
    {"FarApartShapesStayApart",
     [](CCanvas& c) { c.dc.Rectangle(2, 2, 7, 7), c.dc.Rectangle(100, 2, 105, 7); },
     {{2, 2, 7, 7}, {100, 2, 105, 7}}},
    {"ShapeInsideAnotherAddsNothing",
     [](CCanvas& c) { c.dc.Polygon(kTriangle, 3), c.dc.SetPixel(44, 44, 0); },
     {{10, 22, 91, 91}}},
    {"FifthFarPixelJoinsTheCheapestPair",
     [](CCanvas& c) {
         for (const CPoint pt :
              {CPoint(0, 0), CPoint(119, 0), CPoint(0, 99), CPoint(119, 99), CPoint(60, 50)}) {
             c.dc.SetPixel(pt.x, pt.y, 0);
         }
     },
     {{0, 0, 1, 100}, {119, 0, 120, 1}, {60, 50, 61, 51}, {119, 99, 120, 100}}},
    {"OpaqueText",
     [](CCanvas& c) {
         c.dc.SetBkColor(RGB(0, 255, 0));
         c.dc.DrawText("Wide text, far wider than its box", CRect(40, 40, 60, 50),
                       DT_CENTER | DT_VCENTER | DT_SINGLELINE);
     },
     {},
     false},
    {"TextOut", [](CCanvas& c) { c.dc.TextOut(90, 80, "Wjfq"); }, {}, false},
    {"ClipConfinesShapesAndPixelsWithinItsScope",
     [](CCanvas& c) {
         {
             const CClipScope clip(c.dc, CRect(40, 0, 60, 50));
             c.dc.Polygon(kTriangle, 3), c.dc.SetPixel(70, 30, 0);
         }
         c.dc.SetPixel(100, 5, 0);
     },
     {{100, 5, 101, 6}, {40, 22, 60, 50}}},
};

class DrawnRegion : public ::testing::TestWithParam<CDrawnCase> {};

TEST_P(DrawnRegion, ReportsWhatTheOperationsTouchedAndNoMore) {
    const CDrawnCase& c = GetParam();
    CCanvas canvas(kWidth, kHeight);
    ASSERT_EQ(canvas.raster.TakeDrawn(), std::vector<CRect>{CRect(0, 0, kWidth, kHeight)})
        << "a new raster is drawn whole";
    canvas.Tools(RGB(255, 0, 0), 1, RGB(0, 0, 255));
    c.draw(canvas);
    const std::vector<CRect> drawn = Sorted(canvas.raster.TakeDrawn());
    if (c.bExact) {
        EXPECT_EQ(drawn, c.expected);
    }
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const bool bInside = std::any_of(drawn.begin(), drawn.end(), [&](const CRect& rc) {
                return rc.Contains(CPoint(x, y));
            });
            ASSERT_TRUE(bInside || canvas.dc.GetPixel(x, y) == kWhite)
                << "(" << x << ", " << y << ") changed outside what was reported";
        }
    }
    EXPECT_TRUE(canvas.raster.TakeDrawn().empty()) << "taking forgets";
}

INSTANTIATE_TEST_SUITE_P(Operations, DrawnRegion, ::testing::ValuesIn(kDrawnCases),
                         [](const auto& testInfo) { return std::string(testInfo.param.pszName); });

// Splits a rectangle at random until the pieces are small or the dice say stop.
void Partition(const CRect& rc, std::mt19937& rng, std::vector<CRect>& pieces) {
    const bool bCanSplitX = rc.Width() >= 2;
    const bool bCanSplitY = rc.Height() >= 2;
    if ((!bCanSplitX && !bCanSplitY) || std::uniform_int_distribution<int>(0, 5)(rng) == 0) {
        pieces.push_back(rc);
        return;
    }
    const bool bSplitX = bCanSplitX && (!bCanSplitY || (rng() & 1u) != 0);
    if (bSplitX) {
        const int x = std::uniform_int_distribution<int>(rc.left + 1, rc.right - 1)(rng);
        Partition(CRect(rc.left, rc.top, x, rc.bottom), rng, pieces);
        Partition(CRect(x, rc.top, rc.right, rc.bottom), rng, pieces);
    } else {
        const int y = std::uniform_int_distribution<int>(rc.top + 1, rc.bottom - 1)(rng);
        Partition(CRect(rc.left, rc.top, rc.right, y), rng, pieces);
        Partition(CRect(rc.left, y, rc.right, rc.bottom), rng, pieces);
    }
}

// A distinct colour for each piece, never white.
COLORREF PieceColour(int i) {
    return RGB(i % 251, (i / 251) % 251, 7 + (i / (251 * 251)));
}

TEST(RectangleTiling, RandomPartitionCoversEveryPixelExactlyOnce) {
    std::mt19937 rng(20240601u);
    for (int run = 0; run < 300; ++run) {
        const int nWidth = std::uniform_int_distribution<int>(1, 97)(rng);
        const int nHeight = std::uniform_int_distribution<int>(1, 83)(rng);
        std::vector<CRect> pieces;
        Partition(CRect(0, 0, nWidth, nHeight), rng, pieces);

        CCanvas canvas(nWidth, nHeight);
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            const COLORREF clr = PieceColour(static_cast<int>(i));
            canvas.Tools(clr, 1, clr);
            canvas.dc.Rectangle(pieces[i]);
        }

        const CCoverage cov = Scan(canvas.raster);
        ASSERT_EQ(cov.counts.count(kWhite), 0u) << "run " << run << ": pixels left white";
        int nTotal = 0;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            const COLORREF clr = PieceColour(static_cast<int>(i));
            const int nCount = cov.counts.count(clr) ? cov.counts.at(clr) : 0;
            ASSERT_EQ(nCount, pieces[i].Width() * pieces[i].Height())
                << "run " << run << ", piece " << i << " (" << pieces[i].left << ", "
                << pieces[i].top << ", " << pieces[i].right << ", " << pieces[i].bottom << ")";
            nTotal += nCount;
        }
        ASSERT_EQ(nTotal, nWidth * nHeight) << "run " << run;
    }
}

// ---- Fonts ----

struct CFaceCase {
    const char* pszFace;
    int nWeight;
    const char* pszFamily;
    bool bBold;
    bool bFixedPitch;
};

const CFaceCase kFaces[] = {
    {"Arial", FW_DONTCARE, "Liberation Sans", false, false},
    {"Arial Bold", FW_DONTCARE, "Liberation Sans", true, false},
    {"Courier New", FW_BOLD, "Liberation Mono", true, true},
    {"Fixedsys", FW_DONTCARE, "Liberation Mono", false, true},
    {"MS Sans Serif", FW_DONTCARE, "Liberation Sans", false, false},
};

std::string FaceName(const char* pszFace) {
    std::string name;
    for (const char* p = pszFace; *p; ++p) {
        if (*p != ' ') {
            name += *p;
        }
    }
    return name;
}

void CreateGameFont(CFont& font, int nHeight, const CFaceCase& c) {
    font.CreateFont(nHeight, 0, 0, 0, c.nWeight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                    OUT_DEVICE_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH,
                    c.pszFace);
}

class FontFace : public ::testing::TestWithParam<CFaceCase> {};

TEST_P(FontFace, GameFaceIsDrawnInItsLiberationFace) {
    const CFaceCase& c = GetParam();
    ASSERT_TRUE(QFontDatabase::families().contains(QString::fromLatin1(c.pszFamily)))
        << "the font family \"" << c.pszFamily
        << "\" is not installed; install the packages fonts-liberation and fonts-liberation2";
    CRaster raster(10, 10);
    CFont font;
    CreateGameFont(font, 20, c);
    const QFontInfo info(MakeQFont(font, &raster.Image()));
    EXPECT_EQ(info.family().toStdString(), c.pszFamily);
    EXPECT_EQ(info.bold(), c.bBold);
    EXPECT_EQ(info.fixedPitch(), c.bFixedPitch);
}

INSTANTIATE_TEST_SUITE_P(Faces, FontFace, ::testing::ValuesIn(kFaces),
                         [](const auto& testInfo) { return FaceName(testInfo.param.pszFace); });

struct CCellCase {
    CFaceCase face;
    int nHeight;
};

class FontCellHeight : public ::testing::TestWithParam<CCellCase> {};

TEST_P(FontCellHeight, AscentPlusDescentIsTheRequestedHeight) {
    const CCellCase& c = GetParam();
    CRaster raster(10, 10);
    CDC dc(raster);
    CFont font;
    CreateGameFont(font, c.nHeight, c.face);
    dc.SelectObject(&font);
    const CSize extent = dc.GetTextExtent("TESSIX gy");
    EXPECT_NEAR(extent.cy, c.nHeight, 1);
    EXPECT_GT(extent.cx, 0);
    // Wrapped lines lie one requested cell height apart, whatever leading the face asks for.
    EXPECT_EQ(dc.DrawText("TESSIX\ngy\nWjq\n", CRect(0, 0, 1000, 10), DT_WORDBREAK), 3 * c.nHeight);
}

TEST(ShrinkToFit, TextThatFitsIsDrawnAsItIsAndTextThatDoesNotIsMadeSmaller) {
    CRaster plain(400, 200);
    CRaster shrunk(400, 200);
    CFont font;
    CreateGameFont(font, 30, kFaces[0]);
    const struct {
        const char* pszText;
        CRect rc;
        UINT nFormat;
        bool bFits;
    } rows[] = {
        {"TESSIX", CRect(10, 10, 390, 60), DT_CENTER | DT_VCENTER | DT_SINGLELINE, true},
        {"Wrapped words\nin lines", CRect(10, 10, 390, 190), DT_WORDBREAK, true},
        {"TESSIX is wide", CRect(10, 10, 60, 60), DT_LEFT | DT_VCENTER | DT_SINGLELINE, false},
        {"TESSIX", CRect(10, 10, 390, 20), DT_CENTER | DT_VCENTER | DT_SINGLELINE, false},
        {"Four\nlines\nof\ntext", CRect(10, 10, 390, 70), DT_WORDBREAK, false}};
    for (const auto& row : rows) {
        CDC plainDc(plain);
        CDC shrunkDc(shrunk);
        plainDc.SelectObject(&font);
        shrunkDc.SelectObject(&font);
        const int nPlain = plainDc.DrawText(row.pszText, row.rc, row.nFormat);
        const int nShrunk = shrunkDc.DrawText(row.pszText, row.rc, row.nFormat | DT_SHRINKTOFIT);
        EXPECT_EQ(nShrunk <= row.rc.Height(), true) << row.pszText;
        if (row.bFits) {
            EXPECT_EQ(nShrunk, nPlain) << row.pszText;
            EXPECT_EQ(plain.Image(), shrunk.Image()) << row.pszText;
        } else {
            EXPECT_LT(nShrunk, nPlain) << row.pszText;
        }
    }
}

std::vector<CCellCase> CellCases() {
    std::vector<CCellCase> cases;
    // The heights the layout asks for at 780x540 up to 1920x1080, and printer sizes.
    for (const CFaceCase& face : kFaces) {
        for (const int nHeight : {13, 15, 16, 18, 28, 32, 45, 50, 62, 90, 150}) {
            cases.push_back({face, nHeight});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Heights, FontCellHeight, ::testing::ValuesIn(CellCases()),
                         [](const auto& testInfo) {
                             return FaceName(testInfo.param.face.pszFace) + "_" +
                                    std::to_string(testInfo.param.nHeight);
                         });

}  // namespace
