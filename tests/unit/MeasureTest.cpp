// SPDX-License-Identifier: MIT
// Pixel-count areas: exact counts, where the sweeps stop and where the cursors are left,
// on small rasters counted by hand, and against a literal column/row walk for random
// shapes.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "game/Colours.h"
#include "platform/Dc.h"
#include "platform/Random.h"
#include "support/Headless.h"

namespace {

constexpr COLORREF kInk = kBlue;
constexpr COLORREF kOther = kRed;
// What the cursors hold before a call, so that "left unchanged" is visible.
constexpr int kUntouched = -777;

struct CResult {
    int nCount = 0;
    int i = 0;
    int j = 0;
    bool operator==(const CResult& o) const { return nCount == o.nCount && i == o.i && j == o.j; }
};

void PrintTo(const CResult& r, std::ostream* os) {
    *os << "{count " << r.nCount << ", m_i " << r.i << ", m_j " << r.j << "}";
}

enum class EOp { Left, Right, Column, Row };

// A small raster with ink pixels placed by hand; the rectangles are set directly.
class CMeasureFixture {
public:
    CMeasureFixture(int nWidth, int nHeight) : m_game(nWidth, nHeight) {}

    void Ink(const std::vector<CPoint>& points, COLORREF clr = kInk) {
        CClientDC dc(m_game.m_host.ClientRaster());
        for (const CPoint& pt : points) {
            dc.SetPixel(pt.x, pt.y, clr);
        }
    }

    CResult Run(EOp eOp, const CRect& rc, int nLimit = 0, COLORREF clr = kInk) {
        CTessixView& v = m_game.View();
        v.m_i = kUntouched;
        v.m_j = kUntouched;
        switch (eOp) {
            case EOp::Left:
                v.m_rectLeft = rc;
                v.CountLeftPixels(clr);
                return {v.m_nAreaLeft, v.m_i, v.m_j};
            case EOp::Right:
                v.m_rectRight = rc;
                v.CountRightPixels(clr);
                return {v.m_nAreaRight, v.m_i, v.m_j};
            case EOp::Column:
                v.m_rectBoth = rc;
                v.CountPixelsByColumn(clr, nLimit);
                return {v.m_nAreaLeft, v.m_i, v.m_j};
            case EOp::Row:
                v.m_rectBoth = rc;
                v.CountPixelsByRow(clr, nLimit);
                return {v.m_nAreaRight, v.m_i, v.m_j};
        }
        return {};
    }

    CGame m_game;
};

// The walks exactly as the game documents them, one GetPixel at a time.
CResult ReferenceColumnWalk(const CDC& dc, const CRect& rc, COLORREF clr, int nLimit, bool bStops) {
    CResult r{0, rc.left, kUntouched};
    if (r.i >= rc.right) {
        return r;
    }
    do {
        if (bStops && r.nCount > nLimit) {
            return r;
        }
        r.j = rc.top;
        while (r.j < rc.bottom) {
            r.nCount += dc.GetPixel(r.i, r.j) == clr ? 1 : 0;
            if (bStops && r.nCount > nLimit) {
                break;
            }
            ++r.j;
        }
        ++r.i;
    } while (r.i < rc.right);
    return r;
}

CResult ReferenceRowWalk(const CDC& dc, const CRect& rc, COLORREF clr, int nLimit) {
    CResult r{0, kUntouched, rc.top};
    if (r.j >= rc.bottom) {
        return r;
    }
    do {
        if (r.nCount > nLimit) {
            return r;
        }
        r.i = rc.left;
        while (r.i < rc.right) {
            r.nCount += dc.GetPixel(r.i, r.j) == clr ? 1 : 0;
            if (r.nCount > nLimit) {
                break;
            }
            ++r.i;
        }
        ++r.j;
    } while (r.j < rc.bottom);
    return r;
}

// ---- Hand-counted cases on a 20 x 16 raster.

struct CHandCase {
    const char* pszName;
    EOp eOp;
    CRect rc;
    std::vector<CPoint> ink;
    int nLimit;
    CResult expected;
};

class MeasureHandCounted : public ::testing::TestWithParam<CHandCase> {};

TEST_P(MeasureHandCounted, CountAndCursors) {
    const CHandCase& c = GetParam();
    CMeasureFixture f(20, 16);
    // A pixel of another colour in every box: only the exact colour counts.
    f.Ink({{c.rc.left + 1, c.rc.top + 1}}, kOther);
    f.Ink(c.ink);
    EXPECT_EQ(f.Run(c.eOp, c.rc, c.nLimit), c.expected);
}

// The box (2, 3, 7, 9) covers x 2..6 and y 3..8. Ink on x = 7 or y = 9 lies on its
// right column or bottom row and is never read.
const std::vector<CPoint> kEdgeInk = {{2, 3}, {6, 8}, {7, 5}, {4, 9}, {7, 9}};

INSTANTIATE_TEST_SUITE_P(
    Cases, MeasureHandCounted,
    ::testing::Values(
        CHandCase{
            "LeftSkipsRightColumnAndBottomRow", EOp::Left, {2, 3, 7, 9}, kEdgeInk, 0, {2, 7, 9}},
        CHandCase{
            "RightSkipsRightColumnAndBottomRow", EOp::Right, {2, 3, 7, 9}, kEdgeInk, 0, {2, 7, 9}},
        CHandCase{
            "ColumnFullCountSkipsEdges", EOp::Column, {2, 3, 7, 9}, kEdgeInk, 999999, {2, 7, 9}},
        CHandCase{"RowFullCountSkipsEdges", EOp::Row, {2, 3, 7, 9}, kEdgeInk, 999999, {2, 7, 9}},
        // A limit equal to the area is not exceeded: the full count.
        CHandCase{"ColumnLimitEqualToAreaGivesFullCount",
                  EOp::Column,
                  {2, 3, 7, 9},
                  kEdgeInk,
                  2,
                  {2, 7, 9}},
        CHandCase{
            "RowLimitEqualToAreaGivesFullCount", EOp::Row, {2, 3, 7, 9}, kEdgeInk, 2, {2, 7, 9}},
        // Limit 0 stops at the first ink pixel: column order meets (3, 7) before (5, 4),
        // row order meets (5, 4) first.
        CHandCase{"ColumnLimitZeroStopsAtFirstPixel",
                  EOp::Column,
                  {2, 3, 7, 9},
                  {{5, 4}, {3, 7}},
                  0,
                  {1, 4, 7}},
        CHandCase{"RowLimitZeroStopsAtFirstPixel",
                  EOp::Row,
                  {2, 3, 7, 9},
                  {{5, 4}, {3, 7}},
                  0,
                  {1, 5, 5}},
        // Limit 1 stops at the second pixel of the walk, which is the other one.
        CHandCase{
            "ColumnStopsAtSecondPixel", EOp::Column, {2, 3, 7, 9}, {{5, 4}, {3, 7}}, 1, {2, 6, 4}},
        CHandCase{"RowStopsAtSecondPixel", EOp::Row, {2, 3, 7, 9}, {{5, 4}, {3, 7}}, 1, {2, 3, 8}},
        // A stop in the last column leaves m_i on the right edge.
        CHandCase{"ColumnStopInLastColumnLeavesRightEdge",
                  EOp::Column,
                  {2, 3, 7, 9},
                  {{6, 5}, {6, 7}},
                  1,
                  {2, 7, 7}},
        CHandCase{"RowStopInLastRowLeavesBottomEdge",
                  EOp::Row,
                  {2, 3, 7, 9},
                  {{3, 8}, {5, 8}},
                  1,
                  {2, 5, 9}},
        // Limit -1: the signed comparison finishes before the first column or row.
        CHandCase{"ColumnNegativeLimitReadsNothing",
                  EOp::Column,
                  {2, 3, 7, 9},
                  {{2, 3}},
                  -1,
                  {0, 2, kUntouched}},
        CHandCase{"RowNegativeLimitReadsNothing",
                  EOp::Row,
                  {2, 3, 7, 9},
                  {{2, 3}},
                  -1,
                  {0, kUntouched, 3}},
        // Empty rectangles: no columns leaves m_j alone; columns without rows leave m_j
        // on the top edge.
        CHandCase{"LeftNoColumns", EOp::Left, {7, 3, 7, 9}, {{7, 4}}, 0, {0, 7, kUntouched}},
        CHandCase{"LeftNoRows", EOp::Left, {2, 9, 7, 3}, {{3, 4}}, 0, {0, 7, 9}},
        CHandCase{"ColumnNoRows", EOp::Column, {2, 5, 7, 5}, {{3, 5}}, 0, {0, 7, 5}},
        CHandCase{"RowNoColumns", EOp::Row, {6, 3, 2, 9}, {{3, 5}}, 0, {0, 6, 9}},
        // Part of the box beyond the raster: those pixels never match, the cursors still
        // run to the box's edges.
        CHandCase{
            "LeftPartlyOffRaster", EOp::Left, {15, -4, 25, 4}, {{19, 0}, {15, 3}}, 0, {2, 25, 4}},
        CHandCase{"ColumnPartlyOffRasterFull",
                  EOp::Column,
                  {-3, 12, 5, 20},
                  {{0, 12}, {4, 15}},
                  99,
                  {2, 5, 20}},
        CHandCase{"RowPartlyOffRasterStop",
                  EOp::Row,
                  {-3, 12, 5, 20},
                  {{0, 12}, {4, 15}},
                  1,
                  {2, 4, 16}}),
    [](const ::testing::TestParamInfo<CHandCase>& testInfo) { return testInfo.param.pszName; });

TEST(Measure, EveryCallStartsFromZero) {
    CMeasureFixture f(20, 16);
    f.Ink({{3, 4}, {4, 4}});
    const CRect rc(0, 0, 20, 16);
    f.Run(EOp::Left, rc);
    f.Run(EOp::Right, rc);
    EXPECT_EQ(f.Run(EOp::Left, rc).nCount, 2);
    EXPECT_EQ(f.Run(EOp::Right, rc).nCount, 2);
    f.Run(EOp::Column, rc, 99);
    EXPECT_EQ(f.Run(EOp::Column, rc, 99).nCount, 2);
    EXPECT_EQ(f.Run(EOp::Row, rc, 0).nCount, 1);
}

// ---- Random shapes against the literal walks.

struct CShapeKit {
    CPen pens[3];
    CBrush brushes[3];
    CShapeKit() {
        const COLORREF clrs[3] = {kInk, kOther, kGreen};
        for (int k = 0; k < 3; ++k) {
            pens[k].CreatePen(PS_SOLID, 1, clrs[k]);
            brushes[k].CreateSolidBrush(clrs[k]);
        }
    }
};

// Draws a few polygons and ellipses in three colours, some hanging off the raster.
void DrawRandomShapes(CDC& dc, CShapeKit& kit, CRandom& rnd, int nWidth, int nHeight) {
    const int nShapes = 1 + rnd.rand() % 5;
    for (int s = 0; s < nShapes; ++s) {
        const int c = rnd.rand() % 3;
        dc.SelectObject(&kit.pens[c]);
        dc.SelectObject(&kit.brushes[c]);
        if (rnd.rand() % 2 == 0) {
            const int l = rnd.rand() % (nWidth + 20) - 10;
            const int t = rnd.rand() % (nHeight + 20) - 10;
            dc.Ellipse(l, t, l + 1 + rnd.rand() % nWidth, t + 1 + rnd.rand() % nHeight);
        } else {
            CPoint pts[7];
            const int n = 3 + rnd.rand() % 5;
            for (int k = 0; k < n; ++k) {
                pts[k] = CPoint(rnd.rand() % (nWidth + 20) - 10, rnd.rand() % (nHeight + 20) - 10);
            }
            dc.Polygon(pts, n);
        }
    }
}

CRect RandomBox(CRandom& rnd, int nWidth, int nHeight) {
    const int l = rnd.rand() % (nWidth + 10) - 5;
    const int t = rnd.rand() % (nHeight + 10) - 5;
    // Mostly proper boxes, now and then an empty or inverted one.
    return CRect(l, t, l + rnd.rand() % nWidth - 3, t + rnd.rand() % nHeight - 3);
}

TEST(MeasureProperty, CountsAndSweepsMatchTheLiteralWalks) {
    constexpr int kWidth = 160;
    constexpr int kHeight = 48;
    CMeasureFixture f(kWidth, kHeight);
    CShapeKit kit;
    for (std::uint32_t nSeed = 1; nSeed <= 300; ++nSeed) {
        SCOPED_TRACE(nSeed);
        CRandom rnd;
        rnd.srand(nSeed);
        CRaster& raster = f.m_game.m_host.ClientRaster();
        raster.Resize(kWidth, kHeight);
        CClientDC dc(raster);
        DrawRandomShapes(dc, kit, rnd, kWidth, kHeight);

        const CRect rc = RandomBox(rnd, kWidth, kHeight);
        const CResult full = ReferenceColumnWalk(dc, rc, kInk, 0, false);
        EXPECT_EQ(f.Run(EOp::Left, rc), full)
            << "box " << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
        EXPECT_EQ(f.Run(EOp::Right, rc), full);

        // Limits around the interesting values: none, the first pixel, the middle, the
        // last pixel, the whole area, and beyond.
        const int nLimits[] = {-1,
                               0,
                               full.nCount / 2,
                               full.nCount - 1,
                               full.nCount,
                               full.nCount + 1,
                               rnd.rand() % (full.nCount + 1),
                               999999};
        for (const int nLimit : nLimits) {
            SCOPED_TRACE(nLimit);
            EXPECT_EQ(f.Run(EOp::Column, rc, nLimit),
                      ReferenceColumnWalk(dc, rc, kInk, nLimit, true));
            EXPECT_EQ(f.Run(EOp::Row, rc, nLimit), ReferenceRowWalk(dc, rc, kInk, nLimit));
        }
    }
}

}  // namespace
