// SPDX-License-Identifier: MIT
// The history of finished games and the list F2 shows, on the headless host.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scores/ScoresDlg.h"
#include "support/Headless.h"

namespace {

using Lines = std::vector<CString>;

class ScoresTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_dlgScores.ClearHistory();
        m_game.Paint();
    }

    // Plays the game under way out with this total: the menu is drawn with every
    // problem presented five times.
    void FinishGame(int nScore) {
        m_game.View().m_nScore = nScore;
        for (int& nPlays : m_game.View().m_nPlays) {
            nPlays = 5;
        }
        m_game.View().DrawMenu();
    }

    // Presses F2 and returns the lines the list held, or nothing when no dialog opened.
    Lines PressF2() {
        const std::size_t nBefore = m_game.m_host.m_dialogLines.size();
        m_game.Key(VK_F2);
        if (m_game.m_host.m_dialogLines.size() == nBefore) {
            return {};
        }
        return m_game.m_host.m_dialogLines.back();
    }

    CGame m_game;
};

struct CListCase {
    const char* pszName;
    std::vector<int> games;  // totals in the order the games ended
    Lines expected;
};

class ScoresListTest : public ScoresTest, public ::testing::WithParamInterface<CListCase> {};

TEST_P(ScoresListTest, ShowsTotalsNewestFirstRightAlignedToSevenColumns) {
    for (int nScore : GetParam().games) {
        FinishGame(nScore);
        m_game.Key(VK_HOME);
    }
    EXPECT_EQ(PressF2(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Totals, ScoresListTest,
    ::testing::Values(
        CListCase{"NoGameYet", {}, {"   ----"}},
        CListCase{"ThreeGames", {350, 4750, 0}, {"      0", "   4750", "    350", "   ----"}},
        CListCase{"FieldWidthNeedsNoBlank", {5000000}, {"5000000", "   ----"}},
        CListCase{"WiderThanFieldGetsNoBlank", {12345678}, {"12345678", "   ----"}}),
    [](const ::testing::TestParamInfo<CListCase>& testInfo) { return testInfo.param.pszName; });

TEST_F(ScoresTest, GameOverMenuDrawnManyTimesRecordsTheGameOnce) {
    FinishGame(1250);
    for (int i = 0; i < 5; ++i) {
        m_game.Paint();
        m_game.View().DrawMenu();
        m_game.Click(1, 1);
    }
    EXPECT_EQ(g_dlgScores.m_nScoreCount, 1);
    EXPECT_EQ(PressF2(), (Lines{"   1250", "   ----"}));
}

struct CNewGameCase {
    const char* pszName;
    void (*pfnStart)(CGame& game);
};

class ScoresNewGameTest : public ScoresTest, public ::testing::WithParamInterface<CNewGameCase> {};

TEST_P(ScoresNewGameTest, NewGameKeepsTheHistory) {
    FinishGame(700);
    GetParam().pfnStart(m_game);
    EXPECT_FALSE(m_game.View().m_bGameOver);
    FinishGame(800);
    EXPECT_EQ(g_dlgScores.m_nScoreCount, 2);
    EXPECT_EQ(PressF2(), (Lines{"    800", "    700", "   ----"}));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ScoresNewGameTest,
    ::testing::Values(CNewGameCase{"HomeKey", [](CGame& game) { game.Key(VK_HOME); }},
                      CNewGameCase{"ClickOnGameOverLine",
                                   [](CGame& game) {
                                       const CRect& rc = game.View().m_rectMenuSlot[1];
                                       game.Click((rc.left + rc.right) / 2,
                                                  (rc.top + rc.bottom) / 2);
                                   }},
                      CNewGameCase{"NewGameCall", [](CGame& game) { game.View().NewGame(0); }}),
    [](const ::testing::TestParamInfo<CNewGameCase>& testInfo) { return testInfo.param.pszName; });

struct CRolloverCase {
    int nGames;  // game g (from 1) ends with total g
    int nCount;
    int nOldest;
};

class ScoresRolloverTest : public ScoresTest,
                           public ::testing::WithParamInterface<CRolloverCase> {};

TEST_P(ScoresRolloverTest, KeepsTheNewestThousand) {
    const CRolloverCase& c = GetParam();
    for (int g = 1; g <= c.nGames; ++g) {
        g_dlgScores.RecordScore(g);
    }
    EXPECT_EQ(g_dlgScores.m_nScoreCount, c.nCount);
    EXPECT_EQ(g_dlgScores.m_nScores[0], c.nGames);
    EXPECT_EQ(g_dlgScores.m_nScores[c.nCount - 1], c.nOldest);
    if (c.nCount < kScoreSlots) {
        EXPECT_EQ(g_dlgScores.m_nScores[c.nCount], 0);
    }

    const Lines lines = PressF2();
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(c.nCount) + 1);
    EXPECT_EQ(lines[static_cast<std::size_t>(c.nCount) - 1],
              CString(7 - std::to_string(c.nOldest).size(), ' ') + std::to_string(c.nOldest));
    EXPECT_EQ(lines.back(), "   ----");
}

INSTANTIATE_TEST_SUITE_P(Games, ScoresRolloverTest,
                         ::testing::Values(CRolloverCase{1, 1, 1}, CRolloverCase{999, 999, 1},
                                           CRolloverCase{1000, 1000, 1},
                                           CRolloverCase{1001, 1000, 2},
                                           CRolloverCase{2500, 1000, 1501}),
                         [](const ::testing::TestParamInfo<CRolloverCase>& testInfo) {
                             return "After" + std::to_string(testInfo.param.nGames) + "Games";
                         });

TEST_F(ScoresTest, FirstNewGameOfARunEmptiesTheHistory) {
    g_dlgScores.RecordScore(900);
    m_game.View().NewGame(1);
    EXPECT_EQ(g_dlgScores.m_nScoreCount, 0);
    EXPECT_EQ(g_dlgScores.m_nScores[0], 0);
}

TEST_F(ScoresTest, EachOpeningListsTheHistoryAsItIsThen) {
    EXPECT_EQ(PressF2(), (Lines{"   ----"}));
    FinishGame(4750);
    EXPECT_EQ(PressF2(), (Lines{"   4750", "   ----"}));
}

TEST_F(ScoresTest, F2OnTheMenuOpensThePastScores) {
    m_game.Key(VK_F2);
    ASSERT_EQ(m_game.m_host.m_dialogs.size(), 1u);
    EXPECT_EQ(m_game.m_host.m_dialogs[0], &g_dlgScores);
}

TEST_F(ScoresTest, F2DuringAProblemOpensNothing) {
    m_game.ChooseProblem(3);
    ASSERT_EQ(m_game.View().m_nProblem, 3);
    m_game.Key(VK_F2);
    EXPECT_TRUE(m_game.m_host.m_dialogs.empty());
    EXPECT_EQ(m_game.View().m_nProblem, 3);
    EXPECT_EQ(m_game.View().m_nPhase, PHASE_SHOWN);
}

TEST_F(ScoresTest, F2AfterGameOverOpensThePastScoresAndKeepsTheGameOver) {
    FinishGame(300);
    EXPECT_EQ(PressF2(), (Lines{"    300", "   ----"}));
    EXPECT_TRUE(m_game.View().m_bGameOver);
    EXPECT_EQ(g_dlgScores.m_nScoreCount, 1);
}

}  // namespace
