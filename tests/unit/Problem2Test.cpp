// SPDX-License-Identifier: MIT
// "Stop When They Are Equal" on the headless host: the draws of a fresh start, the
// circle's geometry, the resize keys and their limits, the picture left by shrinking,
// the verdict band, the colour swap and which clicks are answers.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "game/Colours.h"
#include "platform/Dc.h"
#include "platform/Raster.h"
#include "problems/Judges.h"
#include "support/Headless.h"
#include "support/Verdicts.h"

namespace {

constexpr CSize kSmall(800, 600);
constexpr CSize kLarge(1920, 1080);

// A game with the given client size and seed in which problem 2 has just been chosen
// from the menu; its view lives on the spy so that a verdict can be read off the screen.
class CProblem2 {
public:
    CProblem2(CSize size, std::uint32_t nSeed) : m_game(size.cx, size.cy, nSeed) {
        WitnessSounds(m_game, m_shots);
        m_game.Paint();
        m_game.ChooseProblem(2);
    }

    CTessixView& View() { return m_game.View(); }
    const CRaster& Raster() const { return m_game.m_host.m_raster; }

    // 'U' and 'D' press Up and Down; 'L' and 'R' right-click the triangle and the circle.
    void Play(const std::string& strInput) {
        for (const char c : strInput) {
            switch (c) {
                case 'U':
                    m_game.Key(VK_UP);
                    break;
                case 'D':
                    m_game.Key(VK_DOWN);
                    break;
                case 'L':
                    m_game.RightClick(View().m_ptLeft.x, View().m_ptLeft.y);
                    break;
                default:
                    m_game.RightClick(View().m_ptRight.x, View().m_ptRight.y);
                    break;
            }
        }
    }

    CGame m_game;
    std::vector<QImage> m_shots;  // the window at each sound
};

std::string Times(int n, char c) {
    return std::string(static_cast<std::size_t>(n), c);
}

// Pixels that differ between two rasters inside a rectangle.
int Differences(const CRaster& a, const CRaster& b, const CRect& rc) {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            n += a.Row(y)[x] != b.Row(y)[x] ? 1 : 0;
        }
    }
    return n;
}

enum class EShown { Nothing, Correct, TooBig, NotBigEnough, Other };

const char* Name(EShown e) {
    switch (e) {
        case EShown::Nothing:
            return "nothing";
        case EShown::Correct:
            return "correct";
        case EShown::TooBig:
            return "too big";
        case EShown::NotBigEnough:
            return "not big enough";
        default:
            return "something else";
    }
}

// The verdict on the screen while the last sound played.
EShown ShownVerdict(CProblem2& p) {
    if (p.m_shots.empty()) {
        return EShown::Nothing;
    }
    const CString strShown = VerdictShown(p.m_shots.back(), p.View());
    if (strShown == RightAnswer(kEqualPoints).strMessage) {
        return EShown::Correct;
    }
    if (strShown == kTooBig) {
        return EShown::TooBig;
    }
    return strShown == kNotBigEnough ? EShown::NotBigEnough : EShown::Other;
}

// ---- The draws of a fresh start ------------------------------------------------------

struct CDrawCase {
    std::uint32_t nSeed;
    int nLimit1;
    int nInset1;
    int nLimit2;
    int nInset2;
};

// Limits and starting insets of the first two presentations of a game. The second is
// right only if the first took exactly one draw for the limit and one per inset attempt.
const CDrawCase kDraws[] = {
    {6, 4, 16, 1, 16},   // no inset draw rejected in either
    {8, 5, 17, 4, 20},   // 9 rejected; then 5, 6, 14, 5, 5 rejected
    {5, 1, 15, 6, 20},   // 26 draws below 15 rejected; then six
    {16, 0, 20, 5, 17},  // the largest limit and starting inset, nothing rejected
    {12, 6, 16, 4, 15},  // 0 rejected; then twelve rejected
};

class Problem2Draws : public ::testing::TestWithParam<CDrawCase> {};

TEST_P(Problem2Draws, LimitsThenInsetRedrawnUntilAtLeast15) {
    const CDrawCase& c = GetParam();
    CProblem2 p(kSmall, c.nSeed);
    CTessixView& view = p.View();
    EXPECT_EQ(view.m_nGrowLimit, c.nLimit1);
    EXPECT_EQ(view.m_nShrinkLimit, c.nLimit1);
    EXPECT_EQ(view.m_nInset, c.nInset1);
    EXPECT_EQ(view.m_nPlays[1], 1);

    p.m_game.Click(view.m_ptRight);
    ASSERT_EQ(view.m_nProblem, 0);
    p.m_game.ChooseProblem(2);
    EXPECT_EQ(view.m_nGrowLimit, c.nLimit2);
    EXPECT_EQ(view.m_nShrinkLimit, c.nLimit2);
    EXPECT_EQ(view.m_nInset, c.nInset2);
    EXPECT_EQ(view.m_nPlays[1], 2);
}

INSTANTIATE_TEST_SUITE_P(KnownSeeds, Problem2Draws, ::testing::ValuesIn(kDraws));

// ---- The fresh screen and the circle's box -------------------------------------------

struct CScreenCase {
    CSize size;
    CPoint ptTriangle[3];
};

const CScreenCase kScreens[] = {
    {kSmall, {CPoint(42, 558), CPoint(210, 234), CPoint(378, 558)}},
    {kLarge, {CPoint(602, 798), CPoint(770, 474), CPoint(938, 798)}},
};

class Problem2Screen : public ::testing::TestWithParam<CScreenCase> {};

TEST_P(Problem2Screen, YellowTriangleAndMagentaCircleMeasuredAsDrawn) {
    const CScreenCase& c = GetParam();
    CProblem2 p(c.size, 1);
    CTessixView& view = p.View();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(view.m_ptTriangle[i], c.ptTriangle[i]) << "vertex " << i;
    }
    EXPECT_EQ(p.m_game.Pixel(c.ptTriangle[1].x, c.ptTriangle[1].y + 1), kYellow);
    EXPECT_EQ(p.m_game.Pixel(c.ptTriangle[1].x, c.ptTriangle[1].y - 1), kWhite);
    EXPECT_EQ(view.m_nAreaLeft, p.m_game.CountColor(view.m_rectLeft, kYellow));
    EXPECT_EQ(view.m_nAreaRight, p.m_game.CountColor(view.m_rectRight, kMagenta));
    EXPECT_GT(view.m_nAreaRight, 0);
    EXPECT_LT(view.m_nAreaRight, view.m_nAreaLeft);
    EXPECT_EQ(view.m_nPhase, PHASE_SHOWN);
}

INSTANTIATE_TEST_SUITE_P(BothSizes, Problem2Screen, ::testing::ValuesIn(kScreens));

struct CBoxCase {
    CSize size;
    std::uint32_t nSeed;
    std::string strKeys;
    int nInset;
};

const CBoxCase kBoxes[] = {
    {kSmall, 16, "", 20},              // starting size
    {kSmall, 16, Times(30, 'U'), 0},   // largest circle: 24 pixels from each edge
    {kSmall, 12, Times(30, 'D'), 31},  // smallest circle of the widest range
    {kLarge, 6, "UUD", 15},            // grown and shrunk
    {kLarge, 16, Times(8, 'U'), 12},   // the size nearest the triangle's
};

class Problem2CircleBox : public ::testing::TestWithParam<CBoxCase> {};

// The circle's box is the right square less 24 + inset on every side; the right column
// and bottom row of the box stay outside the circle.
TEST_P(Problem2CircleBox, CircleReachesItsBoxOnTheCentreLines) {
    const CBoxCase& c = GetParam();
    CProblem2 p(c.size, c.nSeed);
    p.Play(c.strKeys);
    CTessixView& view = p.View();
    ASSERT_EQ(view.m_nInset, c.nInset);
    const CRect& R = view.m_rectRight;
    const int k = 24 + c.nInset;
    const int cx = view.m_ptRight.x;
    const int cy = view.m_ptRight.y;
    EXPECT_EQ(p.m_game.Pixel(R.left + k - 1, cy), kWhite);
    EXPECT_EQ(p.m_game.Pixel(R.left + k, cy), kMagenta);
    EXPECT_EQ(p.m_game.Pixel(R.right - k - 1, cy), kMagenta);
    EXPECT_EQ(p.m_game.Pixel(R.right - k, cy), kWhite);
    EXPECT_EQ(p.m_game.Pixel(cx, R.top + k - 1), kWhite);
    EXPECT_EQ(p.m_game.Pixel(cx, R.top + k), kMagenta);
    EXPECT_EQ(p.m_game.Pixel(cx, R.bottom - k - 1), kMagenta);
    EXPECT_EQ(p.m_game.Pixel(cx, R.bottom - k), kWhite);
}

INSTANTIATE_TEST_SUITE_P(Sizes, Problem2CircleBox, ::testing::ValuesIn(kBoxes));

// ---- Resizing up to the limits --------------------------------------------------------

struct CLimitCase {
    CSize size;
    std::uint32_t nSeed;
    UINT nKey;
    int nLimitInset;  // where the key stops acting
};

const CLimitCase kLimits[] = {
    {kSmall, 16, VK_UP, 0},    {kSmall, 16, VK_DOWN, 25}, {kSmall, 12, VK_UP, 6},
    {kSmall, 12, VK_DOWN, 31}, {kLarge, 8, VK_UP, 5},     {kLarge, 8, VK_DOWN, 30},
};

class Problem2Limits : public ::testing::TestWithParam<CLimitCase> {};

TEST_P(Problem2Limits, EveryPressIsOneRemeasuredStepUntilTheLimitThenNothing) {
    const CLimitCase& c = GetParam();
    CProblem2 p(c.size, c.nSeed);
    CTessixView& view = p.View();
    const int nStep = c.nKey == VK_UP ? -1 : 1;
    const int nAreaLeft = view.m_nAreaLeft;
    int nArea = view.m_nAreaRight;
    while (view.m_nInset != c.nLimitInset) {
        const int nBefore = view.m_nInset;
        p.m_game.Key(c.nKey);
        ASSERT_EQ(view.m_nInset, nBefore + nStep);
        if (c.nKey == VK_UP) {
            EXPECT_GT(view.m_nAreaRight, nArea) << "inset " << view.m_nInset;
        } else {
            EXPECT_LT(view.m_nAreaRight, nArea) << "inset " << view.m_nInset;
        }
        EXPECT_EQ(view.m_nAreaRight, p.m_game.CountColor(view.m_rectRight, kMagenta));
        nArea = view.m_nAreaRight;
    }

    const QImage atLimit = p.Raster().Image().copy();
    for (int i = 0; i < 3; ++i) {
        p.m_game.Key(c.nKey);
    }
    EXPECT_EQ(view.m_nInset, c.nLimitInset);
    EXPECT_EQ(view.m_nAreaRight, nArea);
    EXPECT_EQ(view.m_nAreaLeft, nAreaLeft);
    EXPECT_TRUE(p.Raster().Image() == atLimit);
}

INSTANTIATE_TEST_SUITE_P(BothKeys, Problem2Limits, ::testing::ValuesIn(kLimits));

// ---- The picture after resizing -------------------------------------------------------

struct CTraceCase {
    const char* pszName;
    CSize size;
    std::uint32_t nSeed;
    std::string strInput;
};

const CTraceCase kTraces[] = {
    {"OneShrink", kSmall, 16, "D"},
    {"ShrinkToTheLimit", kSmall, 16, Times(40, 'D')},
    {"GrowThenShrink", kSmall, 12, "UUUUDDDDDDD"},
    {"AlternatingSteps", kSmall, 6, "DUDUDDUUDD"},
    {"FullRangeBothWays", kSmall, 16, Times(30, 'U') + Times(40, 'D') + "UUUD"},
    {"YellowCircleShrinks", kSmall, 8, "RDDDUD"},
    {"BothSwappedShrink", kSmall, 12, "LRDDDDUD"},
    {"LargeOneShrink", kLarge, 16, "D"},
    {"LargeFullRange", kLarge, 5, Times(30, 'U') + Times(40, 'D')},
    {"LargeSwappedBack", kLarge, 6, "RRLDDUDD"},
};

class Problem2Trace : public ::testing::TestWithParam<CTraceCase> {};

// Both squares after the input are, pixel for pixel, those of a fresh drawing of the same
// size and colours.
TEST_P(Problem2Trace, SquaresMatchAFreshDrawing) {
    const CTraceCase& c = GetParam();
    CProblem2 p(c.size, c.nSeed);
    p.Play(c.strInput);
    const CTessixView& view = p.View();

    CGame fresh(c.size.cx, c.size.cy, c.nSeed);
    fresh.Paint();
    fresh.ChooseProblem(2);
    fresh.View().m_nInset = view.m_nInset;
    fresh.View().m_bSwapLeft = view.m_bSwapLeft;
    fresh.View().m_bSwapRight = view.m_bSwapRight;
    fresh.Paint();

    EXPECT_EQ(Differences(p.Raster(), fresh.m_host.m_raster, view.m_rectLeft), 0);
    EXPECT_EQ(Differences(p.Raster(), fresh.m_host.m_raster, view.m_rectRight), 0);
}

INSTANTIATE_TEST_SUITE_P(Inputs, Problem2Trace, ::testing::ValuesIn(kTraces),
                         [](const ::testing::TestParamInfo<CTraceCase>& testInfo) {
                             return std::string(testInfo.param.pszName);
                         });

TEST(Problem2Repaint, RedrawsTheSameSizeWithoutNewDrawsOrCounts) {
    CProblem2 p(kSmall, 8);
    p.Play("UUUDR");
    CTessixView& view = p.View();
    const int nInset = view.m_nInset;
    const int nAreaRight = view.m_nAreaRight;
    const QImage before = p.Raster().Image().copy();

    p.m_game.Paint();
    EXPECT_EQ(view.m_nInset, nInset);
    EXPECT_EQ(view.m_nGrowLimit, 5);
    EXPECT_EQ(view.m_nAreaRight, nAreaRight);
    EXPECT_EQ(view.m_nPlays[1], 1);
    EXPECT_EQ(view.m_nPhase, PHASE_SHOWN);
    EXPECT_TRUE(p.Raster().Image() == before);
}

// ---- Colour swap -----------------------------------------------------------------------

struct CSwapCase {
    const char* pszName;
    std::string strSwaps;
    COLORREF clrTriangle;
    COLORREF clrCircle;
};

const CSwapCase kSwaps[] = {
    {"CircleYellow", "R", kYellow, kYellow},
    {"TriangleMagenta", "L", kMagenta, kMagenta},
    {"BothSwapped", "LR", kMagenta, kYellow},
    {"CircleSwappedBack", "RR", kYellow, kMagenta},
};

class Problem2Swap : public ::testing::TestWithParam<CSwapCase> {};

// The circle keeps the colour it shows through resizes and is counted in it; the
// triangle's colour never enters the circle's count.
TEST_P(Problem2Swap, ResizeKeepsColoursAndCountsTheCircleAlone) {
    const CSwapCase& c = GetParam();
    const std::string strKeys = "UUUDDDDDU";
    CProblem2 plain(kSmall, 8);
    plain.Play(strKeys);

    CProblem2 p(kSmall, 8);
    p.Play(c.strSwaps + strKeys);
    CTessixView& view = p.View();
    const COLORREF clrOtherCircle = c.clrCircle == kYellow ? kMagenta : kYellow;
    const COLORREF clrOtherTriangle = c.clrTriangle == kYellow ? kMagenta : kYellow;

    EXPECT_EQ(view.m_nInset, plain.View().m_nInset);
    EXPECT_EQ(p.m_game.Pixel(view.m_ptRight.x, view.m_ptRight.y), c.clrCircle);
    EXPECT_EQ(p.m_game.CountColor(view.m_rectRight, clrOtherCircle), 0);
    EXPECT_EQ(view.m_nAreaRight, p.m_game.CountColor(view.m_rectRight, c.clrCircle));
    EXPECT_EQ(view.m_nAreaRight, plain.View().m_nAreaRight);
    EXPECT_EQ(p.m_game.CountColor(view.m_rectLeft, c.clrTriangle), view.m_nAreaLeft);
    EXPECT_EQ(p.m_game.CountColor(view.m_rectLeft, clrOtherTriangle), 0);
}

INSTANTIATE_TEST_SUITE_P(Flags, Problem2Swap, ::testing::ValuesIn(kSwaps),
                         [](const ::testing::TestParamInfo<CSwapCase>& testInfo) {
                             return std::string(testInfo.param.pszName);
                         });

// ---- Judging ---------------------------------------------------------------------------

struct CRatioCase {
    int nAreaLeft;
    int nAreaRight;
    EShown eShown;
};

// Each band edge and the ratio just outside it, exact (a circle of kRatioScale pixels)
// and truncated from just below the next ratio.
constexpr int kFifty = 50;
const CRatioCase kRatios[] = {
    {kEqualBandLow - 1, kRatioScale, EShown::TooBig},
    {kEqualBandLow * kFifty - 1, kRatioScale* kFifty, EShown::TooBig},
    {kEqualBandLow, kRatioScale, EShown::Correct},
    {54660, 54660, EShown::Correct},
    {kEqualBandHigh, kRatioScale, EShown::Correct},
    {kEqualBandHigh * kFifty + kFifty - 1, kRatioScale* kFifty, EShown::Correct},
    {kEqualBandHigh + 1, kRatioScale, EShown::NotBigEnough},
    {112896, 1, EShown::NotBigEnough},  // the largest product still fits in 32 bits
    {54660, 0, EShown::NotBigEnough},   // a circle that could not be measured
};

class Problem2Ratio : public ::testing::TestWithParam<CRatioCase> {};

TEST_P(Problem2Ratio, CountsSetDirectlyGiveTheVerdictOfTheBand) {
    const CRatioCase& c = GetParam();
    CProblem2 p(kSmall, 1);
    CTessixView& view = p.View();
    view.m_nAreaLeft = c.nAreaLeft;
    view.m_nAreaRight = c.nAreaRight;
    p.m_game.Click(view.m_ptRight);

    EXPECT_STREQ(Name(ShownVerdict(p)), Name(c.eShown));
    EXPECT_EQ(view.m_nScore, c.eShown == EShown::Correct ? kEqualPoints : 0);
    EXPECT_EQ(view.m_nProblem, 0);
    EXPECT_EQ(view.m_nPhase, PHASE_MENU);
    EXPECT_EQ(p.m_game.m_sound.m_plays.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, Problem2Ratio, ::testing::ValuesIn(kRatios));

struct CPlayCase {
    const char* pszName;
    CSize size;
    std::string strKeys;  // from the starting inset 20 with the grow limit 0 (seed 16)
    EShown eShown;
};

const CPlayCase kPlays[] = {
    {"AtOnce", kSmall, "", EShown::NotBigEnough},
    {"Inset14", kSmall, Times(6, 'U'), EShown::NotBigEnough},
    {"Inset12", kSmall, Times(8, 'U'), EShown::Correct},
    {"Inset11", kSmall, Times(9, 'U'), EShown::TooBig},
    {"GrowLimit", kSmall, Times(30, 'U'), EShown::TooBig},
    {"ShrinkLimit", kSmall, Times(30, 'D'), EShown::NotBigEnough},
    {"ShrunkBackTo12", kSmall, Times(12, 'U') + "DDDD", EShown::Correct},
    {"LargeInset12", kLarge, Times(8, 'U'), EShown::Correct},
    {"LargeInset11", kLarge, Times(9, 'U'), EShown::TooBig},
};

class Problem2Play : public ::testing::TestWithParam<CPlayCase> {};

TEST_P(Problem2Play, PressesThenClickOnTheCircle) {
    const CPlayCase& c = GetParam();
    CProblem2 p(c.size, 16);
    p.Play(c.strKeys);
    p.m_game.Click(p.View().m_ptRight);
    EXPECT_STREQ(Name(ShownVerdict(p)), Name(c.eShown));
    EXPECT_EQ(p.View().m_nScore, c.eShown == EShown::Correct ? kEqualPoints : 0);
}

INSTANTIATE_TEST_SUITE_P(Presses, Problem2Play, ::testing::ValuesIn(kPlays),
                         [](const ::testing::TestParamInfo<CPlayCase>& testInfo) {
                             return std::string(testInfo.param.pszName);
                         });

struct CClickCase {
    const char* pszName;
    CPoint (*pfnPoint)(const CTessixView&);
    EShown eShown;
};

const CClickCase kClicks[] = {
    {"TriangleSquare", [](const CTessixView& v) { return v.m_ptLeft; }, EShown::Nothing},
    {"BetweenSquares", [](const CTessixView& v) { return CPoint(v.m_nCenterX, v.m_ptRight.y); },
     EShown::Nothing},
    {"LeftBorder", [](const CTessixView& v) { return CPoint(v.m_rectRight.left, v.m_ptRight.y); },
     EShown::Nothing},
    {"RightBorder", [](const CTessixView& v) { return CPoint(v.m_rectRight.right, v.m_ptRight.y); },
     EShown::Nothing},
    {"TopBorder", [](const CTessixView& v) { return CPoint(v.m_ptRight.x, v.m_rectRight.top); },
     EShown::Nothing},
    {"BottomBorder",
     [](const CTessixView& v) { return CPoint(v.m_ptRight.x, v.m_rectRight.bottom); },
     EShown::Nothing},
    {"MessageBand",
     [](const CTessixView& v) { return CPoint(v.m_ptRight.x, v.m_rectMessage.top + 5); },
     EShown::Nothing},
    {"SquareCornerOffTheCircle",
     [](const CTessixView& v) { return CPoint(v.m_rectRight.left + 1, v.m_rectRight.top + 1); },
     EShown::NotBigEnough},
    {"FarCornerOffTheCircle",
     [](const CTessixView& v) { return CPoint(v.m_rectRight.right - 1, v.m_rectRight.bottom - 1); },
     EShown::NotBigEnough},
};

class Problem2Click : public ::testing::TestWithParam<CClickCase> {};

// Only a click strictly inside the circle's square is an answer; any other leaves the
// problem on screen untouched.
TEST_P(Problem2Click, OnlyTheCircleSquareJudges) {
    const CClickCase& c = GetParam();
    CProblem2 p(kSmall, 6);
    CTessixView& view = p.View();
    const QImage before = p.Raster().Image().copy();
    p.m_game.Click(c.pfnPoint(view));

    EXPECT_STREQ(Name(ShownVerdict(p)), Name(c.eShown));
    if (c.eShown == EShown::Nothing) {
        EXPECT_EQ(view.m_nProblem, 2);
        EXPECT_EQ(view.m_nPhase, PHASE_SHOWN);
        EXPECT_TRUE(p.m_game.m_sound.m_plays.empty());
        EXPECT_TRUE(p.Raster().Image() == before);
    } else {
        EXPECT_EQ(view.m_nProblem, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Points, Problem2Click, ::testing::ValuesIn(kClicks),
                         [](const ::testing::TestParamInfo<CClickCase>& testInfo) {
                             return std::string(testInfo.param.pszName);
                         });

}  // namespace
