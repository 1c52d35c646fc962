// SPDX-License-Identifier: MIT
// "Find The Center": the jittered polygon, the centre found by splitting its green
// pixels, the dot grid around it, and the judging of a click.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "game/Colours.h"
#include "game/TessixView.h"
#include "platform/Dc.h"
#include "platform/Gdi.h"
#include "platform/Random.h"
#include "platform/Raster.h"
#include "platform/Sound.h"
#include "problems/Judges.h"
#include "support/Headless.h"
#include "support/Verdicts.h"

// Reaches the view's private shape computation.
class CProblem3Probe {
public:
    static void ComputeGreenShape(CTessixView& view) { view.ComputeGreenShape(); }
};

namespace {

constexpr int kJitterRange[8] = {58, 64, 26, 18, 75, 35, 43, 31};

COLORREF PixelIn(const QImage& image, int x, int y) {
    return CRaster::ColorOf(static_cast<std::uint32_t>(image.pixel(x, y)));
}

// A game on the headless host with a fixed seed, painted once so the menu is up, that
// keeps the window at each sound: the verdict's sound comes after the mark and the
// message and before the menu is drawn over them.
class CCenterGame : public CGame {
public:
    CCenterGame(int nWidth, int nHeight, std::uint32_t nSeed) : CGame(nWidth, nHeight, nSeed) {
        WitnessSounds(*this, m_shots);
        Paint();
    }
    void Start() { ChooseProblem(3); }
    void SetPixel(CPoint pt, COLORREF clr) {
        m_host.m_raster.MutableRow(pt.y)[pt.x] = CRaster::PixelOf(clr);
    }
    // Centre of the dot in grid column col and row row.
    CPoint Dot(int col, int row) const {
        const CTessixView& v = *m_pView;
        return CPoint(v.m_ptCenter.x + (col - v.m_nCenterCol) * 15,
                      v.m_ptCenter.y + (row - v.m_nInset) * 15);
    }

    std::vector<QImage> m_shots;
};

// The generator's first draws for a seed, made independently of the game.
std::vector<int> DrawsFor(std::uint32_t nSeed, const std::vector<int>& ranges) {
    CRandom random;
    random.srand(nSeed);
    std::vector<int> draws;
    for (int n : ranges) {
        draws.push_back(random.rand() % n);
    }
    return draws;
}

// The polygon alone, through the view's vertices, on a white raster of the client's size.
std::unique_ptr<CRaster> ShapeAlone(const CTessixView& view, int nWidth, int nHeight) {
    auto pRaster = std::make_unique<CRaster>(nWidth, nHeight);
    CPen pen;
    pen.CreatePen(PS_SOLID, 1, kGreen);
    CBrush brush;
    brush.CreateSolidBrush(kGreen);
    CDC dc(*pRaster);
    dc.SelectObject(&pen);
    dc.SelectObject(&brush);
    dc.Polygon(view.m_ptGreenShape, 14);
    return pRaster;
}

struct CSplit {
    int nTotal = 0;  // green pixels in the rectangle
    CPoint ptCentre;
};

// The point with more than half of the green behind it: one past the first column (and
// row) by which the green counted from the left (from the top) exceeds half of it all.
CSplit BruteForceCentre(const CRaster& raster, const CRect& rc) {
    std::vector<int> columns(static_cast<std::size_t>(rc.Width()), 0);
    std::vector<int> rows(static_cast<std::size_t>(rc.Height()), 0);
    int nTotal = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            if (CRaster::ColorOf(raster.Row(y)[x]) == kGreen) {
                ++columns[static_cast<std::size_t>(x - rc.left)];
                ++rows[static_cast<std::size_t>(y - rc.top)];
                ++nTotal;
            }
        }
    }
    const int nHalf = nTotal / 2;
    auto first_past_half = [nHalf](const std::vector<int>& counts) {
        int nRun = 0;
        for (std::size_t k = 0; k < counts.size(); ++k) {
            nRun += counts[k];
            if (nRun > nHalf) {
                return static_cast<int>(k);
            }
        }
        return -1;
    };
    CSplit split;
    split.nTotal = nTotal;
    split.ptCentre =
        CPoint(rc.left + first_past_half(columns) + 1, rc.top + first_past_half(rows) + 1);
    return split;
}

// ---- The shape.

TEST(FindTheCenterShape, ZeroJittersGiveTheBaseVertices) {
    CCenterGame game(800, 600, 1);
    CTessixView& v = *game.m_pView;
    std::fill(std::begin(v.m_nJitter), std::end(v.m_nJitter), 0);
    CProblem3Probe::ComputeGreenShape(v);

    const CPoint expected[14] = {{0, 306},   {0, 166},   {240, 0},   {270, 0},   {270, 50},
                                 {330, 50},  {350, 70},  {440, 70},  {440, 100}, {360, 326},
                                 {320, 226}, {250, 236}, {220, 336}, {30, 336}};
    for (int k = 0; k < 14; ++k) {
        EXPECT_EQ(v.m_ptGreenShape[k].x - v.m_rectBoth.left, expected[k].x) << "vertex " << k;
        EXPECT_EQ(v.m_ptGreenShape[k].y - v.m_rectBoth.top, expected[k].y) << "vertex " << k;
    }
}

struct CJitterCase {
    const char* pszName;
    std::array<int, 8> jitters;
};

class VerticesStayInSpanningRectangle : public testing::TestWithParam<CJitterCase> {};

TEST_P(VerticesStayInSpanningRectangle, OnTheEdgesTheSweepsSkipOrInside) {
    CCenterGame game(800, 600, 1);
    CTessixView& v = *game.m_pView;
    std::copy(GetParam().jitters.begin(), GetParam().jitters.end(), v.m_nJitter);
    CProblem3Probe::ComputeGreenShape(v);

    const CRect& rc = v.m_rectBoth;
    for (int k = 0; k < 14; ++k) {
        const CPoint& pt = v.m_ptGreenShape[k];
        EXPECT_TRUE(rc.left <= pt.x && pt.x <= rc.right && rc.top <= pt.y && pt.y <= rc.bottom)
            << "vertex " << k << " at (" << pt.x << ", " << pt.y << ")";
    }
    EXPECT_EQ(v.m_ptGreenShape[0].x, rc.left);
    EXPECT_EQ(v.m_ptGreenShape[1].x, rc.left);
    EXPECT_EQ(v.m_ptGreenShape[2].y, rc.top);
    EXPECT_EQ(v.m_ptGreenShape[3].y, rc.top);
    EXPECT_EQ(v.m_ptGreenShape[8].x, rc.right);
    EXPECT_EQ(v.m_ptGreenShape[12].y, rc.bottom);
}

INSTANTIATE_TEST_SUITE_P(
    FindTheCenterShape, VerticesStayInSpanningRectangle,
    testing::Values(CJitterCase{"AllZero", {0, 0, 0, 0, 0, 0, 0, 0}},
                    CJitterCase{"AllLargest", {57, 63, 25, 17, 74, 34, 42, 30}},
                    CJitterCase{"Alternating", {57, 0, 25, 0, 74, 0, 42, 0}}),
    [](const testing::TestParamInfo<CJitterCase>& testInfo) { return testInfo.param.pszName; });

// ---- A fresh start, for several seeds and window sizes.

struct CStartCase {
    std::uint32_t nSeed;
    int nWidth;
    int nHeight;
};

class FreshStart : public testing::TestWithParam<CStartCase> {
protected:
    void SetUp() override {
        m_pGame =
            std::make_unique<CCenterGame>(GetParam().nWidth, GetParam().nHeight, GetParam().nSeed);
        m_pGame->Start();
    }
    std::unique_ptr<CCenterGame> m_pGame;
};

TEST_P(FreshStart, DrawsTheJittersThenTheGridPositionInOrder) {
    const std::vector<int> draws =
        DrawsFor(GetParam().nSeed, {58, 64, 26, 18, 75, 35, 43, 31, 4, 3});
    const CTessixView& v = *m_pGame->m_pView;
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(v.m_nJitter[k], draws[static_cast<std::size_t>(k)]) << "jitter " << k;
    }
    EXPECT_EQ(v.m_nCenterCol, draws[8]);
    EXPECT_EQ(v.m_nInset, draws[9]);
}

TEST_P(FreshStart, VerticesFollowTheJitters) {
    CTessixView& v = *m_pGame->m_pView;
    const std::vector<CPoint> drawn(v.m_ptGreenShape, v.m_ptGreenShape + 14);
    CProblem3Probe::ComputeGreenShape(v);
    EXPECT_EQ(drawn, std::vector<CPoint>(v.m_ptGreenShape, v.m_ptGreenShape + 14));
}

TEST_P(FreshStart, ScreenShowsThePolygonAllGreenUnderTheDots) {
    const CTessixView& v = *m_pGame->m_pView;
    const auto pAlone = ShapeAlone(v, GetParam().nWidth, GetParam().nHeight);
    std::vector<CPoint> dotPixels;
    for (int col = 0; col < 4; ++col) {
        for (int row = 0; row < 3; ++row) {
            const CPoint dot = m_pGame->Dot(col, row);
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    dotPixels.emplace_back(dot.x + dx, dot.y + dy);
                }
            }
        }
    }
    int nMismatches = 0;
    const CRect& rc = v.m_rectBoth;
    for (int y = rc.top; y <= rc.bottom; ++y) {
        for (int x = rc.left; x <= rc.right; ++x) {
            if (std::find(dotPixels.begin(), dotPixels.end(), CPoint(x, y)) != dotPixels.end()) {
                continue;
            }
            const bool bGreenAlone = CRaster::ColorOf(pAlone->Row(y)[x]) == kGreen;
            const COLORREF clr = m_pGame->Pixel(x, y);
            if (clr != (bGreenAlone ? kGreen : kWhite)) {
                ++nMismatches;
            }
        }
    }
    EXPECT_EQ(nMismatches, 0);
}

TEST_P(FreshStart, CentreSplitsTheGreenInHalfBothWays) {
    const CTessixView& v = *m_pGame->m_pView;
    const auto pAlone = ShapeAlone(v, GetParam().nWidth, GetParam().nHeight);
    const CSplit split = BruteForceCentre(*pAlone, v.m_rectBoth);
    EXPECT_EQ(v.m_ptCenter, split.ptCentre);
    // Both halving sweeps stop at the pixel just past half of all the green.
    EXPECT_EQ(v.m_nAreaLeft, split.nTotal / 2 + 1);
    EXPECT_EQ(v.m_nAreaRight, split.nTotal / 2 + 1);
}

TEST_P(FreshStart, TwelveDotsOnTheGridWithOneOnTheCentre) {
    const CPoint topLeft = m_pGame->Dot(0, 0);
    for (int col = 0; col < 4; ++col) {
        for (int row = 0; row < 3; ++row) {
            const CPoint dot = m_pGame->Dot(col, row);
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    EXPECT_EQ(m_pGame->Pixel(dot.x + dx, dot.y + dy), kRed)
                        << "dot " << col << "," << row;
                }
            }
        }
    }
    // Nothing red but the dots: 12 blocks of 9 pixels around the grid.
    int nRed = 0;
    for (int y = topLeft.y - 3; y <= topLeft.y + 2 * 15 + 3; ++y) {
        for (int x = topLeft.x - 3; x <= topLeft.x + 3 * 15 + 3; ++x) {
            nRed += m_pGame->Pixel(x, y) == kRed ? 1 : 0;
        }
    }
    EXPECT_EQ(nRed, 12 * 9);
}

TEST_P(FreshStart, CountsOnePlayOfProblemThree) {
    const CTessixView& v = *m_pGame->m_pView;
    EXPECT_EQ(v.m_nPlays[2], 1);
    EXPECT_EQ(v.m_nPlays[0] + v.m_nPlays[1] + v.m_nPlays[3], 0);
    EXPECT_EQ(v.m_nPhase, PHASE_SHOWN);
    EXPECT_EQ(v.m_nProblem, 3);
}

TEST_P(FreshStart, StartsSound104Asynchronously) {
    const std::size_t nBytes = LoadSoundResource(104).size();
    ASSERT_GT(nBytes, 0u);
    ASSERT_EQ(m_pGame->m_sound.m_plays.size(), 1u);
    EXPECT_EQ(m_pGame->m_sound.m_plays[0].nBytes, nBytes);
    EXPECT_EQ(m_pGame->m_sound.m_plays[0].eMode, EPlayMode::Async);
}

INSTANTIATE_TEST_SUITE_P(FindTheCenter, FreshStart,
                         testing::Values(CStartCase{1, 800, 600}, CStartCase{42, 800, 600},
                                         CStartCase{20240229, 780, 540},
                                         CStartCase{0xFFFFFFFFu, 1024, 768},
                                         CStartCase{1700000000, 1920, 1080},
                                         CStartCase{7, 1920, 1080}));

// ---- Repaints.

TEST(FindTheCenterRepaint, RedrawsTheSameScreenWithoutDrawingSoundingOrCounting) {
    const std::uint32_t nSeed = 99;
    CCenterGame game(800, 600, nSeed);
    game.Start();
    const QImage before = game.m_host.m_raster.Image().copy();
    const std::size_t nPlays = game.m_sound.m_plays.size();

    game.Paint();
    game.Paint();

    EXPECT_TRUE(game.m_host.m_raster.Image() == before);
    EXPECT_EQ(game.m_sound.m_plays.size(), nPlays);
    EXPECT_EQ(game.m_pView->m_nPlays[2], 1);
    EXPECT_EQ(game.m_pView->m_nProblem, 3);

    // The generator moved on only by the first start's ten draws: the next start draws
    // the eleventh onwards.
    game.Click(game.m_pView->m_ptCenter);
    ASSERT_EQ(game.m_pView->m_nProblem, 0);
    game.Start();
    CRandom random;
    random.srand(nSeed);
    for (int k = 0; k < 10; ++k) {
        random.rand();
    }
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(game.m_pView->m_nJitter[k], random.rand() % kJitterRange[k]) << "jitter " << k;
    }
    EXPECT_EQ(game.m_pView->m_nPlays[2], 2);
}

// ---- Judging.

enum class EOutcome { Right, Ignored, Wrong };

struct CClickCase {
    const char* pszName;
    int dx;
    int dy;
    std::optional<COLORREF> oUnder;  // colour put under the click first
    EOutcome eOutcome;
};

// The farthest offset from the centre still inside the hit box, and the nearest outside.
constexpr int kIn = kCentreReach - 1;
constexpr int kOut = kCentreReach;

class ClickNearTheCentre : public testing::TestWithParam<CClickCase> {};

TEST_P(ClickNearTheCentre, HitBoxFirstThenTheColourUnderTheClick) {
    const CClickCase& c = GetParam();
    CCenterGame game(800, 600, 5);
    game.Start();
    CTessixView& v = *game.m_pView;
    const CPoint pt(v.m_ptCenter.x + c.dx, v.m_ptCenter.y + c.dy);
    if (c.oUnder) {
        game.SetPixel(pt, *c.oUnder);
    }
    const QImage before = game.m_host.m_raster.Image().copy();
    game.m_sound.m_plays.clear();

    game.Click(pt);

    switch (c.eOutcome) {
        case EOutcome::Right:
            EXPECT_EQ(v.m_nScore, kCentrePoints);
            EXPECT_EQ(v.m_nProblem, 0);
            ASSERT_EQ(game.m_sound.m_plays.size(), 1u);
            EXPECT_EQ(game.m_sound.m_plays[0].nBytes, LoadSoundResource(102).size());
            break;
        case EOutcome::Ignored:
            EXPECT_EQ(v.m_nScore, 0);
            EXPECT_EQ(v.m_nProblem, 3);
            EXPECT_TRUE(game.m_sound.m_plays.empty());
            EXPECT_TRUE(game.m_host.m_raster.Image() == before);
            break;
        case EOutcome::Wrong:
            EXPECT_EQ(v.m_nScore, 0);
            EXPECT_EQ(v.m_nProblem, 0);
            ASSERT_EQ(game.m_sound.m_plays.size(), 1u);
            EXPECT_EQ(game.m_sound.m_plays[0].nBytes, LoadSoundResource(103).size());
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    FindTheCenterJudging, ClickNearTheCentre,
    testing::Values(CClickCase{"Middle", 0, 0, std::nullopt, EOutcome::Right},
                    CClickCase{"InOffBothOnWhite", kIn, kIn, kWhite, EOutcome::Right},
                    CClickCase{"InOffBothOnGreen", -kIn, -kIn, kGreen, EOutcome::Right},
                    CClickCase{"InOffMixedSigns", kIn, -kIn, kWhite, EOutcome::Right},
                    CClickCase{"OutRightOnGreen", kOut, 0, kGreen, EOutcome::Ignored},
                    CClickCase{"OutUpOnGreen", 0, -kOut, kGreen, EOutcome::Ignored},
                    CClickCase{"OutBothOnGreen", kOut, kOut, kGreen, EOutcome::Ignored},
                    CClickCase{"InAcrossOutDownOnGreen", kIn, kOut, kGreen, EOutcome::Ignored},
                    CClickCase{"OutLeftOnWhite", -kOut, 0, kWhite, EOutcome::Wrong},
                    CClickCase{"OutDownOnWhite", 0, kOut, kWhite, EOutcome::Wrong},
                    CClickCase{"OutLeftInDownOnBlack", -kOut, kIn, kBlack, EOutcome::Wrong},
                    CClickCase{"OutOffOnNearlyGreen", -kOut, -kOut, RGB(0, 254, 0),
                               EOutcome::Wrong}),
    [](const testing::TestParamInfo<CClickCase>& testInfo) { return testInfo.param.pszName; });

// The 3 by 3 block around the centre after a wrong answer, as the player sees it while
// the verdict sounds: a blue H, the middle column's top and bottom left red.
void ExpectBlueH(const QImage& image, CPoint c) {
    const COLORREF expected[3][3] = {
        {kBlue, kRed, kBlue}, {kBlue, kBlue, kBlue}, {kBlue, kRed, kBlue}};
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            EXPECT_EQ(PixelIn(image, c.x + dx, c.y + dy), expected[dy + 1][dx + 1])
                << "at offset (" << dx << ", " << dy << ")";
        }
    }
}

// Black pixels in a rectangle: the prompt has them, the grey verdict never does.
int CountBlack(const QImage& image, const CRect& rc) {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            n += PixelIn(image, x, y) == kBlack ? 1 : 0;
        }
    }
    return n;
}

// The snapshot taken when the verdict's sound started.
const QImage& VerdictScreen(const CCenterGame& game) {
    return game.m_shots.back();
}

TEST(FindTheCenterJudging, EveryOtherDotIsWrongAndMarksTheCentre) {
    for (int col = 0; col < 4; ++col) {
        for (int row = 0; row < 3; ++row) {
            CCenterGame game(800, 600, 11);
            game.Start();
            const CTessixView& v = *game.m_pView;
            if (col == v.m_nCenterCol && row == v.m_nInset) {
                continue;
            }
            SCOPED_TRACE("dot " + std::to_string(col) + "," + std::to_string(row));
            const CPoint centre = v.m_ptCenter;
            game.Click(game.Dot(col, row));
            EXPECT_EQ(v.m_nScore, 0);
            EXPECT_EQ(v.m_nProblem, 0);
            ASSERT_EQ(game.m_sound.m_plays.size(), 2u);
            EXPECT_EQ(game.m_sound.m_plays[1].nBytes, LoadSoundResource(103).size());
            EXPECT_EQ(game.m_sound.m_plays[1].eMode, EPlayMode::Sync);
            ExpectBlueH(VerdictScreen(game), centre);
        }
    }
}

struct CFarCase {
    const char* pszName;
    CPoint (*where)(const CTessixView& v);
};

class ClickAwayFromTheShape : public testing::TestWithParam<CFarCase> {};

TEST_P(ClickAwayFromTheShape, IsWrong) {
    CCenterGame game(800, 600, 3);
    game.Start();
    const CTessixView& v = *game.m_pView;
    const CPoint pt = GetParam().where(v);
    ASSERT_NE(game.Pixel(pt.x, pt.y), kGreen);
    game.Click(pt);
    EXPECT_EQ(v.m_nProblem, 0);
    ASSERT_EQ(game.m_sound.m_plays.size(), 2u);
    EXPECT_EQ(game.m_sound.m_plays[1].nBytes, LoadSoundResource(103).size());
    ExpectBlueH(VerdictScreen(game), v.m_ptCenter);
    EXPECT_EQ(CountBlack(VerdictScreen(game), v.m_rectMessage), 0) << "prompt not wiped";
}

INSTANTIATE_TEST_SUITE_P(
    FindTheCenterJudging, ClickAwayFromTheShape,
    testing::Values(CFarCase{"TopLeftCorner", [](const CTessixView&) { return CPoint(1, 1); }},
                    CFarCase{"BottomRightCorner",
                             [](const CTessixView& v) {
                                 return CPoint(v.m_rectClient.right - 2, v.m_rectClient.bottom - 2);
                             }},
                    CFarCase{"LeftOfTheShape",
                             [](const CTessixView& v) {
                                 return CPoint(v.m_rectBoth.left - 20, v.m_rectBoth.top + 150);
                             }},
                    CFarCase{"SpanningRectangleCornerOutsideTheShape",
                             [](const CTessixView& v) {
                                 return CPoint(v.m_rectBoth.left + 2, v.m_rectBoth.top + 2);
                             }}),
    [](const testing::TestParamInfo<CFarCase>& testInfo) { return testInfo.param.pszName; });

}  // namespace
