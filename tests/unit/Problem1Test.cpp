// SPDX-License-Identifier: MIT
// "Which Shape Is Bigger": the circle's size from the seeded generator, the measured
// areas of all 18 sizes, the judging of clicks, the colour swap and repaints.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <cstdint>
#include <functional>
#include <ostream>

#include "game/Colours.h"
#include "platform/Random.h"
#include "platform/Sound.h"
#include "problems/Judges.h"
#include "support/Headless.h"

// Failure messages show rectangles by their edges.
static void PrintTo(const CRect& rc, std::ostream* os) {
    *os << "(" << rc.left << ", " << rc.top << ", " << rc.right << ", " << rc.bottom << ")";
}

namespace {

// The first seed whose first draw gives this inset.
std::uint32_t SeedForInset(int nInset) {
    for (std::uint32_t nSeed = 1;; ++nSeed) {
        CRandom rnd;
        rnd.srand(nSeed);
        if (rnd.rand() % 18 == nInset) {
            return nSeed;
        }
    }
}

// A game at 800 x 600 with problem 1 chosen from the menu.
class CProblem1 {
public:
    explicit CProblem1(std::uint32_t nSeed) : m_game(800, 600, nSeed) {
        m_game.Paint();
        m_game.ChooseProblem(1);
    }
    CTessixView& View() { return m_game.View(); }
    const QImage& Picture() const { return m_game.m_host.m_raster.Image(); }

    CGame m_game;
};

// The extent of the pixels of one colour inside a rectangle.
CRect BoundsOf(const CGame& game, const CRect& rc, COLORREF clr) {
    return BoundsOfColorIn(game.m_host.m_raster, rc, clr);
}

TEST(Problem1, InsetIsTheFirstDrawAndTheCircleIsDrawnInItsBox) {
    for (std::uint32_t nSeed = 1; nSeed <= 40; ++nSeed) {
        SCOPED_TRACE(nSeed);
        CRandom rnd;
        rnd.srand(nSeed);
        const int nInset = rnd.rand() % 18;
        CProblem1 p(nSeed);
        ASSERT_EQ(p.View().m_nInset, nInset);
        const CRect& R = p.View().m_rectRight;
        const int k = 28 + nInset;
        EXPECT_EQ(BoundsOf(p.m_game, R, kRed),
                  CRect(R.left + k, R.top + k, R.right - k, R.bottom - k));
    }
}

TEST(Problem1, TriangleHasTheDocumentedVertices) {
    CProblem1 p(1);
    const CRect& L = p.View().m_rectLeft;
    EXPECT_EQ(p.View().m_ptTriangle[0], CPoint(L.left, L.bottom));
    EXPECT_EQ(p.View().m_ptTriangle[1], CPoint((L.left + L.right) / 2, L.top + 12));
    EXPECT_EQ(p.View().m_ptTriangle[2], CPoint(L.right, L.bottom));
    // The apex row is the topmost blue row; the base lies on the bottom edge, outside.
    EXPECT_EQ(BoundsOf(p.m_game, L, kBlue).top, L.top + 12);
    EXPECT_EQ(BoundsOf(p.m_game, L, kBlue).bottom, L.bottom);
}

// The areas of all 18 circle sizes against the triangle's.
TEST(Problem1, AreasOfAllInsets) {
    const double kTriangle = 336.0 * 324.0 / 2.0;
    int nTriangle = -1;
    int nPrevCircle = 1 << 30;
    for (int nInset = 0; nInset < 18; ++nInset) {
        SCOPED_TRACE(nInset);
        CProblem1 p(SeedForInset(nInset));
        CTessixView& v = p.View();
        ASSERT_EQ(v.m_nInset, nInset);
        // The counts are what is on the raster in the two colours.
        EXPECT_EQ(v.m_nAreaLeft, p.m_game.CountColor(v.m_rectLeft, kBlue));
        EXPECT_EQ(v.m_nAreaRight, p.m_game.CountColor(v.m_rectRight, kRed));

        if (nTriangle < 0) {
            nTriangle = v.m_nAreaLeft;
            EXPECT_NEAR(nTriangle, kTriangle, kTriangle * 0.01);
        }
        EXPECT_EQ(v.m_nAreaLeft, nTriangle) << "the triangle never changes";

        const double r = 140.0 - nInset;
        const double kCircle = 3.14159265358979 * r * r;
        EXPECT_NEAR(v.m_nAreaRight, kCircle, kCircle * 0.01);
        EXPECT_LT(v.m_nAreaRight, nPrevCircle) << "each inset shrinks the circle";
        nPrevCircle = v.m_nAreaRight;

        if (nInset <= 7) {
            EXPECT_GT(v.m_nAreaRight, v.m_nAreaLeft) << "the circle is the bigger";
        } else if (nInset >= 9) {
            EXPECT_LT(v.m_nAreaRight, v.m_nAreaLeft) << "the triangle is the bigger";
        }
    }
}

// ---- Judging.

enum class EOutcome { Ignored, Right, Wrong };

struct CClickCase {
    const char* pszName;
    int nInset;
    std::function<CPoint(const CTessixView&)> where;
    EOutcome eOutcome;
};

void ExpectOutcome(CProblem1& p, EOutcome eOutcome) {
    CTessixView& v = p.View();
    if (eOutcome == EOutcome::Ignored) {
        EXPECT_EQ(v.m_nProblem, 1);
        EXPECT_EQ(v.m_nPhase, PHASE_SHOWN);
        EXPECT_TRUE(p.m_game.m_sound.m_plays.empty());
        EXPECT_EQ(p.m_game.m_clock.m_dwSlept, 0u);
        EXPECT_EQ(v.m_nScore, 0);
        return;
    }
    const bool bRight = eOutcome == EOutcome::Right;
    EXPECT_EQ(v.m_nProblem, 0);
    EXPECT_EQ(v.m_nPhase, PHASE_MENU);
    EXPECT_EQ(v.m_nScore, bRight ? kBiggerPoints : 0);
    ASSERT_EQ(p.m_game.m_sound.m_plays.size(), 1u);
    EXPECT_EQ(p.m_game.m_sound.m_plays[0].nBytes, LoadSoundResource(bRight ? 102 : 103).size());
}

class Problem1Click : public ::testing::TestWithParam<CClickCase> {};

TEST_P(Problem1Click, Verdict) {
    const CClickCase& c = GetParam();
    CProblem1 p(SeedForInset(c.nInset));
    p.m_game.Click(c.where(p.View()));
    ExpectOutcome(p, c.eOutcome);
}

CPoint LeftCentre(const CTessixView& v) {
    return v.m_ptLeft;
}
CPoint RightCentre(const CTessixView& v) {
    return v.m_ptRight;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Problem1Click,
    ::testing::Values(
        CClickCase{"CircleBiggerClickCircle", 0, RightCentre, EOutcome::Right},
        CClickCase{"CircleBiggerClickTriangle", 0, LeftCentre, EOutcome::Wrong},
        CClickCase{"CircleBiggerAtInset7", 7, RightCentre, EOutcome::Right},
        CClickCase{"TriangleBiggerAtInset9", 9, LeftCentre, EOutcome::Right},
        CClickCase{"TriangleBiggerClickTriangle", 17, LeftCentre, EOutcome::Right},
        CClickCase{"TriangleBiggerClickCircle", 17, RightCentre, EOutcome::Wrong},
        // The whole square counts, not only the shape in it.
        CClickCase{"BesideTriangleCountsAsTriangle", 17,
                   [](const CTessixView& v) {
                       return CPoint(v.m_rectLeft.left + 1, v.m_rectLeft.top + 1);
                   },
                   EOutcome::Right},
        CClickCase{"CircleCornerCountsAsCircle", 0,
                   [](const CTessixView& v) {
                       return CPoint(v.m_rectRight.right - 1, v.m_rectRight.bottom - 1);
                   },
                   EOutcome::Right},
        // Border lines and everything outside the squares are ignored.
        CClickCase{"LeftBorderOfLeftSquare", 17,
                   [](const CTessixView& v) { return CPoint(v.m_rectLeft.left, v.m_ptLeft.y); },
                   EOutcome::Ignored},
        CClickCase{"TopBorderOfLeftSquare", 17,
                   [](const CTessixView& v) { return CPoint(v.m_ptLeft.x, v.m_rectLeft.top); },
                   EOutcome::Ignored},
        CClickCase{"RightBorderOfLeftSquare", 17,
                   [](const CTessixView& v) { return CPoint(v.m_rectLeft.right, v.m_ptLeft.y); },
                   EOutcome::Ignored},
        CClickCase{"BottomBorderOfRightSquare", 0,
                   [](const CTessixView& v) { return CPoint(v.m_ptRight.x, v.m_rectRight.bottom); },
                   EOutcome::Ignored},
        CClickCase{"LeftBorderOfRightSquare", 0,
                   [](const CTessixView& v) { return CPoint(v.m_rectRight.left, v.m_ptRight.y); },
                   EOutcome::Ignored},
        CClickCase{"GapBetweenSquares", 0,
                   [](const CTessixView& v) { return CPoint(v.m_nCenterX, v.m_ptLeft.y); },
                   EOutcome::Ignored},
        CClickCase{
            "Title", 0,
            [](const CTessixView& v) { return CPoint(v.m_nCenterX, v.m_rectTitle.bottom / 2); },
            EOutcome::Ignored},
        CClickCase{
            "MessageBand", 0,
            [](const CTessixView& v) { return CPoint(v.m_nCenterX, v.m_rectMessage.top + 5); },
            EOutcome::Ignored}),
    [](const ::testing::TestParamInfo<CClickCase>& testInfo) { return testInfo.param.pszName; });

class Problem1EqualCounts : public ::testing::TestWithParam<bool> {};

TEST_P(Problem1EqualCounts, EitherClickIsWrong) {
    CProblem1 p(1);
    p.View().m_nAreaLeft = 50000;
    p.View().m_nAreaRight = 50000;
    p.m_game.Click(GetParam() ? p.View().m_ptLeft : p.View().m_ptRight);
    ExpectOutcome(p, EOutcome::Wrong);
}

INSTANTIATE_TEST_SUITE_P(Sides, Problem1EqualCounts, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& testInfo) {
                             return testInfo.param ? "Triangle" : "Circle";
                         });

// ---- Colour swap.

TEST(Problem1Swap, RightClickRecoloursTheShapeAndSwapsBack) {
    CProblem1 p(SeedForInset(3));
    CTessixView& v = p.View();
    const QImage original = p.Picture();

    p.m_game.RightClick(v.m_ptLeft.x, v.m_ptLeft.y);
    EXPECT_EQ(v.m_bSwapLeft, TRUE);
    EXPECT_EQ(p.m_game.CountColor(v.m_rectLeft, kRed), v.m_nAreaLeft);
    EXPECT_EQ(p.m_game.CountColor(v.m_rectLeft, kBlue), 0);
    EXPECT_EQ(p.m_game.CountColor(v.m_rectRight, kRed), v.m_nAreaRight) << "circle unchanged";

    p.m_game.RightClick(v.m_ptRight.x, v.m_ptRight.y);
    EXPECT_EQ(v.m_bSwapRight, TRUE);
    EXPECT_EQ(p.m_game.CountColor(v.m_rectRight, kBlue), v.m_nAreaRight);
    EXPECT_EQ(p.m_game.CountColor(v.m_rectRight, kRed), 0);

    p.m_game.RightClick(v.m_ptLeft.x, v.m_ptLeft.y);
    p.m_game.RightClick(v.m_ptRight.x, v.m_ptRight.y);
    EXPECT_EQ(v.m_bSwapLeft, FALSE);
    EXPECT_EQ(v.m_bSwapRight, FALSE);
    EXPECT_TRUE(p.Picture() == original) << "two swaps restore the picture";
    EXPECT_EQ(v.m_nPlays[0], 1);
}

TEST(Problem1Swap, RightClickOutsideTheSquaresChangesNothing) {
    CProblem1 p(1);
    CTessixView& v = p.View();
    const QImage original = p.Picture();
    const CPoint points[] = {{v.m_rectLeft.left, v.m_ptLeft.y},
                             {v.m_rectRight.right, v.m_ptRight.y},
                             {v.m_nCenterX, v.m_ptLeft.y},
                             {v.m_ptLeft.x, v.m_rectLeft.bottom}};
    for (const CPoint& pt : points) {
        p.m_game.RightClick(pt.x, pt.y);
    }
    EXPECT_EQ(v.m_bSwapLeft, FALSE);
    EXPECT_EQ(v.m_bSwapRight, FALSE);
    EXPECT_TRUE(p.Picture() == original);
}

TEST(Problem1Swap, RightClickOnTheMenuDrawsNothing) {
    CGame game(800, 600, 1);
    game.Paint();
    const QImage original = game.m_host.m_raster.Image();
    game.RightClick(game.View().m_ptLeft.x, game.View().m_ptLeft.y);
    game.RightClick(game.View().m_ptRight.x, game.View().m_ptRight.y);
    EXPECT_TRUE(game.m_host.m_raster.Image() == original);
    EXPECT_EQ(game.View().m_bSwapLeft, FALSE);
    EXPECT_EQ(game.View().m_bSwapRight, FALSE);
}

struct CSwapCase {
    const char* pszName;
    int nInset;
    int nLeftSwaps;
    int nRightSwaps;
    bool bClickLeft;
    EOutcome eOutcome;
};

class Problem1SwapVerdict : public ::testing::TestWithParam<CSwapCase> {};

TEST_P(Problem1SwapVerdict, ColoursPlayNoPart) {
    const CSwapCase& c = GetParam();
    CProblem1 p(SeedForInset(c.nInset));
    CTessixView& v = p.View();
    for (int k = 0; k < c.nLeftSwaps; ++k) {
        p.m_game.RightClick(v.m_ptLeft.x, v.m_ptLeft.y);
    }
    for (int k = 0; k < c.nRightSwaps; ++k) {
        p.m_game.RightClick(v.m_ptRight.x, v.m_ptRight.y);
    }
    p.m_game.Click(c.bClickLeft ? v.m_ptLeft : v.m_ptRight);
    ExpectOutcome(p, c.eOutcome);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Problem1SwapVerdict,
    ::testing::Values(CSwapCase{"BothRedCircleBigger", 0, 1, 0, false, EOutcome::Right},
                      CSwapCase{"BothBlueTriangleBigger", 17, 0, 1, true, EOutcome::Right},
                      CSwapCase{"ColoursExchangedTriangleBigger", 17, 1, 1, false, EOutcome::Wrong},
                      CSwapCase{"SwappedTwiceCircleBigger", 0, 2, 2, true, EOutcome::Wrong}),
    [](const ::testing::TestParamInfo<CSwapCase>& testInfo) { return testInfo.param.pszName; });

TEST(Problem1Swap, TheMenuClearsTheSwapForTheNextPresentation) {
    CProblem1 p(1);
    p.m_game.RightClick(p.View().m_ptLeft.x, p.View().m_ptLeft.y);
    p.m_game.Click(p.View().m_ptLeft);
    p.m_game.ChooseProblem(1);
    EXPECT_EQ(p.View().m_bSwapLeft, FALSE);
    EXPECT_EQ(p.View().m_nAreaLeft, p.m_game.CountColor(p.View().m_rectLeft, kBlue));
    EXPECT_GT(p.View().m_nAreaLeft, 0);
}

// ---- Repaint.

TEST(Problem1Repaint, RedrawsTheSamePictureAndCountsNoPlay) {
    CProblem1 p(SeedForInset(5));
    CTessixView& v = p.View();
    p.m_game.RightClick(v.m_ptRight.x, v.m_ptRight.y);
    const QImage before = p.Picture();
    const int nLeft = v.m_nAreaLeft;
    const int nRight = v.m_nAreaRight;

    // An expose: the window system wipes the area, the paint redraws it.
    p.m_game.m_host.ClientRaster().Image().fill(Qt::black);
    p.m_game.Paint();
    p.m_game.Paint();

    EXPECT_TRUE(p.Picture() == before);
    EXPECT_EQ(v.m_nPhase, PHASE_SHOWN);
    EXPECT_EQ(v.m_nProblem, 1);
    EXPECT_EQ(v.m_nInset, 5);
    EXPECT_EQ(v.m_nPlays[0], 1);
    EXPECT_EQ(v.m_nAreaLeft, nLeft);
    EXPECT_EQ(v.m_nAreaRight, nRight);
    EXPECT_EQ(v.m_bSwapRight, TRUE);
}

TEST(Problem1Repaint, MakesNoRandomDrawSoTheNextPresentationTakesTheSecond) {
    const std::uint32_t nSeed = SeedForInset(4);
    CRandom rnd;
    rnd.srand(nSeed);
    rnd.rand();
    const int nSecond = rnd.rand() % 18;
    CProblem1 p(nSeed);
    p.m_game.Paint();
    p.m_game.Click(p.View().m_ptRight);
    p.m_game.ChooseProblem(1);
    EXPECT_EQ(p.View().m_nInset, nSecond);
    EXPECT_EQ(p.View().m_nPlays[0], 2);
}

TEST(Problem1Screen, PromptInBlackAndShapesInTheirColours) {
    CProblem1 p(1);
    CTessixView& v = p.View();
    const CRect& L = v.m_rectLeft;
    EXPECT_GT(p.m_game.CountColor(v.m_rectMessage, kPromptColor), 0);
    // The triangle's base line is drawn on the square's bottom edge and is not counted.
    const int nBase =
        p.m_game.CountColor(CRect(L.left, L.bottom, L.right + 1, L.bottom + 1), kBlue);
    EXPECT_GT(nBase, 300);
    EXPECT_EQ(p.m_game.CountColor(v.m_rectClient, kBlue), v.m_nAreaLeft + nBase);
    EXPECT_EQ(p.m_game.CountColor(v.m_rectClient, kRed), v.m_nAreaRight) << "only the circle";
}

}  // namespace
