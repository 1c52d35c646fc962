// SPDX-License-Identifier: MIT
// "Reshape The Larger One": the generated shapes, the editing keys and what they leave
// on the raster, and the judging of a click against the measured areas.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "game/Colours.h"
#include "platform/Random.h"
#include "problems/Judges.h"
#include "support/Headless.h"
#include "support/Verdicts.h"

namespace {

// The 17 pixels of the cross-hair: the centre, the axes and the diagonals two pixels out.
bool IsCrossHairOffset(int dx, int dy) {
    const bool bNear = std::abs(dx) <= 2 && std::abs(dy) <= 2;
    return bNear && (dx == 0 || dy == 0 || std::abs(dx) == std::abs(dy));
}

// A game at 800 x 600 with problem 4 chosen from the menu.
class Problem4 : public ::testing::Test {
protected:
    void Start(std::uint32_t nSeed = 1) {
        m_pGame = std::make_unique<CGame>(800, 600, nSeed);
        WitnessSounds(*m_pGame, m_shots);
        m_pGame->Paint();
        m_pGame->ChooseProblem(4);
    }
    void Paint() { m_pGame->Paint(); }
    void Click(CPoint pt) { m_pGame->Click(pt); }
    void Press(char cKey) { m_pGame->Key(cKey == 'D' ? VK_DOWN : cKey == 'U' ? VK_UP : VK_SPACE); }
    void PressAll(const std::string& keys) {
        for (char c : keys) {
            Press(c);
        }
    }
    CTessixView& View() { return m_pGame->View(); }
    COLORREF Pixel(int x, int y) { return m_pGame->Pixel(x, y); }
    int Count(const CRect& rc, COLORREF clr) { return m_pGame->CountColor(rc, clr); }
    const CRaster& Raster() const { return m_pGame->m_host.m_raster; }
    // Vertex k of the blue shape as an offset from the right square's top-left corner.
    CPoint BlueOffset(int k) {
        const CRect& R = View().m_rectRight;
        return CPoint(View().m_ptBlue[k].x - R.left, View().m_ptBlue[k].y - R.top);
    }
    // The current vertices and cross-hair drawn afresh on a white window.
    void DrawFresh(CRaster& raster) {
        CDC dc(raster);
        dc.SelectObject(&View().m_penBlue);
        dc.SelectObject(&View().m_brushCyan);
        dc.Polygon(View().m_ptBlue, 12);
        const CPoint c = View().m_ptCrossHair[View().m_nSide];
        for (int dy = -2; dy <= 2; ++dy) {
            for (int dx = -2; dx <= 2; ++dx) {
                if (IsCrossHairOffset(dx, dy)) {
                    dc.SetPixel(c.x + dx, c.y + dy, kRed);
                }
            }
        }
    }
    // How the window differs from a fresh drawing around the right square: stray outline
    // pixels (blue where the fresh drawing is white) and every other difference, the
    // first few of all described (offsets from the square's corner) for failure messages.
    struct CComparison {
        int nStrays = 0;
        int nOther = 0;
        std::string strWhere;
        int Total() const { return nStrays + nOther; }
    };
    CComparison CompareWithFresh() {
        CRaster fresh(Raster().Width(), Raster().Height());
        DrawFresh(fresh);
        const std::uint32_t blue = CRaster::PixelOf(kBlue);
        const std::uint32_t white = CRaster::PixelOf(kWhite);
        const CRect& R = View().m_rectRight;
        const CRect rc(R.left - 3, R.top - 3, R.right + 4, R.bottom + 4);
        CComparison c;
        for (int y = rc.top; y < rc.bottom; ++y) {
            for (int x = rc.left; x < rc.right; ++x) {
                const std::uint32_t a = Raster().Row(y)[x];
                const std::uint32_t b = fresh.Row(y)[x];
                if (a == b) {
                    continue;
                }
                ++(a == blue && b == white ? c.nStrays : c.nOther);
                if (c.Total() <= 8) {
                    char sz[96];
                    std::snprintf(sz, sizeof sz, " (%d,%d) is %06x, fresh %06x;", x - R.left,
                                  y - R.top, CRaster::ColorOf(a), CRaster::ColorOf(b));
                    c.strWhere += sz;
                }
            }
        }
        return c;
    }
    // The verdict message on the window while its sound played, or "".
    CString MessageAtSound(std::size_t nSound) {
        return nSound < m_shots.size() ? VerdictShown(m_shots[nSound], View()) : CString();
    }

    std::unique_ptr<CGame> m_pGame;
    std::vector<QImage> m_shots;  // the window at each sound
};

// ---- The shapes as generated.

// Vertex offsets (x, y) from the left square's top-left corner for a flare and an inset.
struct CTargetCase {
    int nFlare;
    int nInset;
    int offsets[24];
};

TEST_F(Problem4, TargetVerticesFollowFlareAndInset) {
    const CTargetCase cases[] = {
        {0, 0, {128, 128, 110, 0,   226, 0,   208, 128, 336, 110, 336, 226,  //
                208, 208, 226, 336, 110, 336, 128, 208, 0,   226, 0,   110}},
        {3, 2, {126, 126, 107, 0,   229, 0,   210, 126, 336, 107, 336, 229,  //
                210, 210, 229, 336, 107, 336, 126, 210, 0,   229, 0,   107}},
    };
    int nSeen[2] = {0, 0};
    for (std::uint32_t nSeed = 1; nSeed <= 60; ++nSeed) {
        SCOPED_TRACE(nSeed);
        // Flare, inset and step are the first three draws of a fresh game, in that order.
        CRandom rnd;
        rnd.srand(nSeed);
        const int nFlare = rnd.rand() % 4;
        const int nInset = rnd.rand() % 3;
        const int nStep = rnd.rand() % 3 + 3;
        Start(nSeed);
        ASSERT_EQ(View().m_nArmFlare, nFlare);
        ASSERT_EQ(View().m_nArmInset, nInset);
        ASSERT_EQ(View().m_nCaveStep, nStep);
        for (int c = 0; c < 2; ++c) {
            if (cases[c].nFlare != nFlare || cases[c].nInset != nInset) {
                continue;
            }
            ++nSeen[c];
            const CRect& L = View().m_rectLeft;
            for (int k = 0; k < 12; ++k) {
                const CPoint expected(L.left + cases[c].offsets[2 * k],
                                      L.top + cases[c].offsets[2 * k + 1]);
                EXPECT_EQ(View().m_ptTarget[k], expected) << "vertex " << k;
            }
        }
    }
    EXPECT_GT(nSeen[0], 0);
    EXPECT_GT(nSeen[1], 0);
}

TEST_F(Problem4, BlueShapeAsGeneratedIsTheCutSquare) {
    Start();
    const CPoint expected[12] = {{100, 0},   {236, 0},   {286, 50},  {336, 100},
                                 {336, 236}, {286, 286}, {236, 336}, {100, 336},
                                 {50, 286},  {0, 236},   {0, 100},   {50, 50}};
    for (int k = 0; k < 12; ++k) {
        EXPECT_EQ(BlueOffset(k), expected[k]) << "vertex " << k;
        EXPECT_EQ(View().m_ptBlueStart[k], View().m_ptBlue[k]) << "vertex " << k;
    }
    EXPECT_EQ(View().m_nSide, 0);
}

TEST_F(Problem4, TargetIsMeasuredInTheColourReadBackAndThePlayCounted) {
    // The score base is the tolerance rounded up to a multiple of 10: seed 11's
    // tolerance tells rounding up from rounding down or to the nearest.
    const struct {
        std::uint32_t nSeed;
        int nTolerance;
        int nScoreBase;
    } cases[] = {{1, 1430, 1430}, {11, 1421, 1430}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nSeed);
        Start(c.nSeed);
        const CTessixView& v = View();
        EXPECT_EQ(v.m_clrOrange, Pixel(v.m_ptLeft.x, v.m_ptLeft.y));
        EXPECT_EQ(v.m_clrOrange, kOrange);
        const int nArea = Count(v.m_rectLeft, v.m_clrOrange);
        EXPECT_EQ(v.m_nAreaLeft, nArea);
        // The red outline is drawn and not counted.
        EXPECT_GT(Count(v.m_rectLeft, kRed), 0);
        EXPECT_EQ(v.m_nTolerance, ReshapeTolerance(nArea));
        EXPECT_EQ(v.m_nTolerance, c.nTolerance);
        EXPECT_EQ(v.m_nScoreBase, c.nScoreBase);
        EXPECT_EQ(v.m_nPlays[3], 1);
        EXPECT_EQ(v.m_nPhase, PHASE_SHOWN);
        EXPECT_TRUE(m_shots.empty());
    }
}

TEST_F(Problem4, PromptIsTheDocumentedText) {
    Start();
    const CString strPrompt =
        CString(
            "This is problem 4, worth up to 400 points. Change the blue shape to resemble "
            "the orange cross. The tiny ") +
        "red cross-hair is at the current side. Move it around by pressing the Space bar. The "
        "current side can be caved " +
        "in by pressing the Down arrow key. The Up arrow key reverses the direction of the Down "
        "arrow. Try to " +
        "make the blue cross symmetrical because it will improve your score. When you are "
        "done, click on the " +
        "blue shape. Your score will vary depending on how close the two shapes are in size "
        "and whether or not the " +
        "blue cross is symmetrical. " +
        "\nTo see the instructions, press F1. To print them, press the Ctrl and P keys. \nTo "
        "quit, press the Alt and F4 keys. ";
    EXPECT_EQ(View().m_strLabel, strPrompt);
}

// ---- The cross-hair.

TEST_F(Problem4, SpaceStepsTheCrossHairThroughTheFourFixedPositions) {
    Start();
    const CPoint positions[4] = {{44, 44}, {292, 44}, {292, 292}, {44, 292}};
    const CRect& R = View().m_rectRight;
    // Cut something first: the positions do not depend on the shape.
    PressAll("DDDDD");
    for (int nPress = 0; nPress <= 8; ++nPress) {
        SCOPED_TRACE(nPress);
        const int nSide = nPress % 4;
        ASSERT_EQ(View().m_nSide, nSide);
        const CPoint c(R.left + positions[nSide].x, R.top + positions[nSide].y);
        ASSERT_EQ(View().m_ptCrossHair[nSide], c);
        // Exactly one star on the square: its 17 pixels, nothing red around them.
        for (int dy = -3; dy <= 3; ++dy) {
            for (int dx = -3; dx <= 3; ++dx) {
                EXPECT_EQ(Pixel(c.x + dx, c.y + dy), IsCrossHairOffset(dx, dy) ? kRed : kWhite)
                    << dx << "," << dy;
            }
        }
        EXPECT_EQ(Count(R, kRed), 17);
        Press('S');
    }
}

// ---- Editing.

// Down presses of a given step at side k: the last one that starts short of the centre
// carries the moving vertex 2 pixels past it, and further presses change nothing.
struct CCaveCase {
    int nSide;
    int nVertex;
    int nStep;
    int nPresses;
    CPoint final;  // offset from the right square's corner
};

TEST_F(Problem4, DownStopsTwoPixelsPastTheCentre) {
    const CCaveCase cases[] = {
        {0, 11, 4, 30, {170, 170}}, {1, 2, 4, 30, {166, 170}},  {2, 5, 4, 30, {166, 166}},
        {3, 8, 4, 30, {170, 166}},  {0, 11, 3, 40, {170, 170}}, {0, 11, 5, 24, {170, 170}},
    };
    for (const CCaveCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "side " << c.nSide << ", step " << c.nStep);
        Start();
        View().m_nCaveStep = c.nStep;
        PressAll(std::string(c.nSide, 'S'));
        PressAll(std::string(c.nPresses - 1, 'D'));
        EXPECT_NE(BlueOffset(c.nVertex), c.final);
        EXPECT_LT(std::abs(BlueOffset(c.nVertex).x - 168), c.nStep);
        Press('D');
        EXPECT_EQ(BlueOffset(c.nVertex), c.final);
        PressAll("DDDDD");
        EXPECT_EQ(BlueOffset(c.nVertex), c.final);
        // The other sides never moved.
        for (int k : {11, 2, 5, 8}) {
            if (k != c.nVertex) {
                EXPECT_EQ(View().m_ptBlue[k], View().m_ptBlueStart[k]) << "vertex " << k;
            }
        }
    }
}

TEST_F(Problem4, UpUndoesDownOnePixelAtATimeAndNeverPassesTheStart) {
    for (int nSide = 0; nSide < 4; ++nSide) {
        SCOPED_TRACE(nSide);
        Start();
        View().m_nCaveStep = 4;
        PressAll(std::string(nSide, 'S'));
        const int nVertex = (11 + 3 * nSide) % 12;
        const CPoint start = View().m_ptBlueStart[nVertex];

        Press('U');
        EXPECT_EQ(View().m_ptBlue[nVertex], start) << "Up on an untouched side";

        Press('D');
        const CPoint caved = View().m_ptBlue[nVertex];
        EXPECT_EQ(std::abs(caved.x - start.x), 4);
        EXPECT_EQ(std::abs(caved.y - start.y), 4);
        PressAll("UUU");
        EXPECT_EQ(std::abs(View().m_ptBlue[nVertex].x - start.x), 1);
        Press('U');
        EXPECT_EQ(View().m_ptBlue[nVertex], start);
        const CComparison c = CompareWithFresh();
        EXPECT_EQ(c.Total(), 0) << c.strWhere;

        const QImage before = Raster().Image().copy();
        Press('U');
        EXPECT_EQ(View().m_ptBlue[nVertex], start);
        EXPECT_TRUE(before == Raster().Image());
    }
}

// After any presses the right square shows the current shape and cross-hair: every pixel
// as a fresh drawing has it. Each edge's pixels depend only on its two end points, so the
// erasing strip of a Down press covers the old edges exactly. Up erases nothing: while the
// shape only grows the new one covers the old, but an edge moved out after the sides have
// crossed the centre need not cover its old pixels, so there a few stray outline pixels
// may stay, never a cyan one; a repaint removes them.
struct CEditCase {
    const char* pszName;
    int nStep;
    std::string keys;
};

void PrintTo(const CEditCase& c, std::ostream* os) {
    *os << c.pszName;
}

std::string RandomPresses(unsigned nSeed, int nCount) {
    std::mt19937 gen(nSeed);
    std::uniform_int_distribution<int> pick(0, 9);
    std::string keys;
    for (int i = 0; i < nCount; ++i) {
        const int n = pick(gen);
        keys += n < 5 ? 'D' : n < 8 ? 'U' : 'S';
    }
    return keys;
}

std::string Repeat(const std::string& s, int n) {
    std::string r;
    for (int i = 0; i < n; ++i) {
        r += s;
    }
    return r;
}

class Problem4Edits : public Problem4, public ::testing::WithParamInterface<CEditCase> {};

TEST_P(Problem4Edits, RightSquareMatchesAFreshDrawing) {
    Start();
    View().m_nCaveStep = GetParam().nStep;
    int nStrays = 0;
    for (std::size_t i = 0; i < GetParam().keys.size(); ++i) {
        Press(GetParam().keys[i]);
        const CComparison c = CompareWithFresh();
        ASSERT_EQ(c.nOther, 0) << "after press " << i << ":" << c.strWhere;
        // A Down press erases its strip exactly; only Up, which erases nothing, may leave
        // a few old outline pixels once edges have crossed the centre.
        ASSERT_LE(c.nStrays - nStrays, GetParam().keys[i] == 'U' ? 8 : 0) << "after press " << i;
        nStrays = c.nStrays;
    }
    // A repaint draws the shape as edited, without the strays.
    Paint();
    const CComparison c = CompareWithFresh();
    EXPECT_EQ(c.Total(), 0) << c.strWhere;
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, Problem4Edits,
    ::testing::Values(
        CEditCase{"CaveEachSideAlike", 4, Repeat(std::string(7, 'D') + "S", 4)},
        CEditCase{"DownAndUpInTurns", 3, Repeat("DUDDUUUD", 4) + "S" + Repeat("DDU", 6)},
        CEditCase{"UpBackToTheStart", 5, "DDDDD" + std::string(26, 'U')},
        CEditCase{"OppositeSidesPastTheCentre", 4,
                  std::string(32, 'D') + "SS" + std::string(32, 'D') + "UUUUU"},
        CEditCase{"AllSidesPastTheCentre", 5, Repeat(std::string(26, 'D') + "S", 4) + "UUUDD"},
        CEditCase{"RandomPressesStep3", 3, RandomPresses(7, 300)},
        CEditCase{"RandomPressesStep5", 5, RandomPresses(11, 300)}),
    [](const ::testing::TestParamInfo<CEditCase>& testInfo) { return testInfo.param.pszName; });

// ---- Judging.

struct CJudgeCase {
    int nBlue;
    EVerdict eVerdict;
    const char* pszLopsided;
    const char* pszSymmetric;
    int nLopsided;
    int nSymmetric;
};

struct CJudgeTable {
    const char* pszName;
    int nTarget;
    int nTolerance;
    int nScoreBase;
    std::vector<CJudgeCase> cases;
};

void PrintTo(const CJudgeTable& t, std::ostream* os) {
    *os << t.pszName;
}

class Problem4Judging : public ::testing::TestWithParam<CJudgeTable> {};

TEST_P(Problem4Judging, PointsAndMessages) {
    const CJudgeTable& t = GetParam();
    for (const CJudgeCase& c : t.cases) {
        SCOPED_TRACE(c.nBlue);
        const CReshapeJudgement judgement =
            JudgeReshape(t.nTarget, c.nBlue, t.nTolerance, t.nScoreBase, ESymmetry::Lopsided);
        const CAnswer& lopsided = judgement.answer;
        const CAnswer symmetric =
            JudgeReshape(t.nTarget, c.nBlue, t.nTolerance, t.nScoreBase, ESymmetry::Symmetric)
                .answer;
        EXPECT_EQ(judgement.nDifference, c.nBlue - t.nTarget);
        EXPECT_EQ(lopsided.eVerdict, c.eVerdict);
        EXPECT_EQ(symmetric.eVerdict, c.eVerdict);
        EXPECT_EQ(lopsided.nPoints, c.nLopsided);
        EXPECT_EQ(symmetric.nPoints, c.nSymmetric);
        EXPECT_EQ(lopsided.strMessage, c.pszLopsided);
        EXPECT_EQ(symmetric.strMessage, c.pszSymmetric);
    }
}

constexpr const char* kNotBig = kNotBigEnough;
constexpr EVerdict kRight = EVerdict::Right;
constexpr EVerdict kWrong = EVerdict::Wrong;

INSTANTIATE_TEST_SUITE_P(
    Areas, Problem4Judging,
    ::testing::Values(
        CJudgeTable{
            "Target56576",
            56576,
            1414,
            1420,
            {
                {56576, kRight, "CORRECT for 290 POINTS!", "CORRECT for 400 POINTS!", 290, 400},
                {56591, kRight, "CORRECT for 290 POINTS!", "CORRECT for 400 POINTS!", 290, 400},
                {56592, kRight, "CORRECT for 280 POINTS!", "CORRECT for 380 POINTS!", 280, 380},
                {56676, kRight, "CORRECT for 270 POINTS!", "CORRECT for 370 POINTS!", 270, 370},
                {57989, kRight, "CORRECT for 10 POINTS!", "CORRECT for 110 POINTS!", 10, 110},
                {57990, kWrong, kTooBig, kTooBig, 0, 0},
                {57991, kWrong, kTooBig, kTooBig, 0, 0},
                {55163, kRight, "CORRECT for 10 POINTS!", "CORRECT for 110 POINTS!", 10, 110},
                {55162, kWrong, kNotBig, kNotBig, 0, 0},
                {55161, kWrong, kNotBig, kNotBig, 0, 0},
            }},
        CJudgeTable{
            "Target56000",
            56000,
            1400,
            1400,
            {
                {56000, kRight, "CORRECT for 280 POINTS!", "CORRECT for 380 POINTS!", 280, 380},
                {56500, kRight, "CORRECT for 180 POINTS!", "CORRECT for 280 POINTS!", 180, 280},
                {57399, kRight, "CORRECT for 10 POINTS!", "CORRECT for 100 POINTS!", 10, 100},
                {57400, kWrong, kTooBig, kTooBig, 0, 0},
                {54600, kWrong, kNotBig, kNotBig, 0, 0},
            }}),
    [](const ::testing::TestParamInfo<CJudgeTable>& testInfo) { return testInfo.param.pszName; });

// Real clicks: the target area is set relative to the cyan count of the shape on screen,
// so that the click sees the difference wanted.
struct CClickCase {
    const char* pszName;
    std::string keys;  // edits before the click
    int nDifference;   // blue minus target
    int nTolerance;
    int nScoreBase;
    const char* pszMessage;
    int nPoints;
};

void PrintTo(const CClickCase& c, std::ostream* os) {
    *os << c.pszName;
}

class Problem4Clicks : public Problem4, public ::testing::WithParamInterface<CClickCase> {};

TEST_P(Problem4Clicks, ClickInTheRightSquareIsJudged) {
    const CClickCase& c = GetParam();
    Start();
    PressAll(c.keys);
    const int nCyan = Count(View().m_rectRight, kCyan);
    View().m_nAreaLeft = nCyan - c.nDifference;
    View().m_nTolerance = c.nTolerance;
    View().m_nScoreBase = c.nScoreBase;
    // In a cut-off corner, off the shape: it counts like a click on it.
    const CRect& R = View().m_rectRight;
    Click(CPoint(R.left + 3, R.top + 3));

    EXPECT_EQ(View().m_nAreaRight, nCyan);
    ASSERT_EQ(m_shots.size(), 1u);
    EXPECT_EQ(MessageAtSound(0), c.pszMessage);
    EXPECT_EQ(View().m_nScore, c.nPoints);
    EXPECT_EQ(View().m_nProblem, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Verdicts, Problem4Clicks,
    ::testing::Values(
        CClickCase{"ExactMatchSymmetric", "", 0, 1414, 1420, "CORRECT for 400 POINTS!", 400},
        CClickCase{"ExactMatchLopsided", "DD", 0, 1414, 1420, "CORRECT for 290 POINTS!", 290},
        CClickCase{"CavedAlikeIsSymmetric", Repeat("DDDS", 4), 100, 1414, 1420,
                   "CORRECT for 370 POINTS!", 370},
        CClickCase{"BiggerByTheTolerance", "", 1414, 1414, 1420, kTooBig, 0},
        CClickCase{"SmallerByTheTolerance", "", -1414, 1414, 1420, kNotBig, 0},
        CClickCase{"SmallerByMore", "DSD", -1415, 1414, 1420, kNotBig, 0},
        // Blue outline and red cross-hair pixels are drawn but only cyan ones count: with
        // a tolerance of 1 any other pixel counted would make the answer wrong.
        CClickCase{"OnlyCyanCounts", "D", 0, 1, 10, "CORRECT for 10 POINTS!", 10}),
    [](const ::testing::TestParamInfo<CClickCase>& testInfo) { return testInfo.param.pszName; });

TEST_F(Problem4, UntouchedShapeIsTooBig) {
    Start();
    const CRect& R = View().m_rectRight;
    Click(CPoint((R.left + R.right) / 2, (R.top + R.bottom) / 2));
    ASSERT_EQ(m_shots.size(), 1u);
    EXPECT_EQ(MessageAtSound(0), kTooBig);
    EXPECT_EQ(View().m_nScore, 0);
    EXPECT_EQ(View().m_nProblem, 0);
}

// Client areas wide for their height, where the band's formula reaches into the squares:
// the wipe before the count must leave the shape whole, so one within the tolerance of
// the target, reached by caving the sides in turn, is judged right on its full count.
TEST(Problem4WideWindow, ShapeWithinToleranceIsJudgedRight) {
    for (const CSize size : {CSize(2560, 1061), CSize(1280, 621)}) {
        SCOPED_TRACE(size.cx);
        CGame game(size.cx, size.cy);
        game.Paint();
        game.ChooseProblem(4);
        const CTessixView& v = game.View();
        int nCyan = game.CountColor(v.m_rectRight, kCyan);
        for (int n = 0; n < 200 && nCyan - v.m_nAreaLeft >= v.m_nTolerance; ++n) {
            game.Key(VK_DOWN);
            game.Key(VK_SPACE);
            nCyan = game.CountColor(v.m_rectRight, kCyan);
        }
        ASSERT_LT(nCyan - v.m_nAreaLeft, v.m_nTolerance);
        game.Click(v.m_ptRight.x + 100, v.m_ptRight.y);
        EXPECT_EQ(v.m_nAreaRight, nCyan);
        EXPECT_GT(v.m_nScore, 0);
    }
}

TEST_F(Problem4, ClicksOutsideTheRightSquareDoNothing) {
    Start();
    const CRect& R = View().m_rectRight;
    const CRect& L = View().m_rectLeft;
    const CPoint outside[] = {
        View().m_ptLeft,                  // the target
        CPoint(R.left, R.top + 100),      // on the left border
        CPoint(R.right, R.top + 100),     // on the right border
        CPoint(R.left + 100, R.top),      // on the top border
        CPoint(R.left + 100, R.bottom),   // on the bottom border
        CPoint(R.left - 1, R.top + 100),  // just left of it
        CPoint((L.right + R.left) / 2, R.top + 100),
        CPoint(R.left + 100, View().m_rectMessage.top + 5),
    };
    const QImage before = Raster().Image().copy();
    for (const CPoint& pt : outside) {
        Click(pt);
        EXPECT_EQ(View().m_nProblem, 4) << pt.x << "," << pt.y;
    }
    EXPECT_TRUE(m_shots.empty());
    EXPECT_TRUE(before == Raster().Image());
    // Still open: a click inside is judged.
    Click(CPoint(R.left + 1, R.bottom - 1));
    EXPECT_EQ(m_shots.size(), 1u);
    EXPECT_EQ(View().m_nProblem, 0);
}

}  // namespace
