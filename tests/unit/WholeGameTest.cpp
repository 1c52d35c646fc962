// SPDX-License-Identifier: MIT
// A whole game played by a scripted player: all twenty presentations answered, right and
// wrong, through the game's own input; the total reaches the past scores once, and Home
// starts the next game.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

#include "platform/Sound.h"
#include "scores/ScoresDlg.h"
#include "support/Headless.h"
#include "support/Player.h"

namespace {

struct CTurn {
    int nProblem;
    EIntent eIntent;
};

// Problem 1 is used up first, so the other entries close up the menu mid-game; problems
// 2 to 4 then take turns. Each problem is answered both right and wrong.
constexpr EIntent R = EIntent::AimRight;
constexpr EIntent W = EIntent::AimWrong;
constexpr CTurn kPlan[20] = {
    {1, R}, {1, W}, {1, R}, {1, R}, {1, W}, {4, R}, {2, R}, {3, R}, {4, W}, {2, W},
    {3, W}, {4, R}, {2, R}, {3, R}, {4, R}, {2, W}, {3, R}, {4, W}, {2, R}, {3, W},
};

class WholeGame : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(WholeGame, TwentyAnswersReachGameOverAndTheScoreIsRecordedOnce) {
    CGame game(800, 600, GetParam());
    CTessixView& v = game.View();
    game.Paint();
    const std::size_t nRightBytes = LoadSoundResource(102).size();
    const std::size_t nWrongBytes = LoadSoundResource(103).size();
    ASSERT_NE(nRightBytes, nWrongBytes);

    CPlayer player(game);
    int nTotal = 0;
    int nRight = 0;
    int nWrong = 0;
    for (int t = 0; t < 20; ++t) {
        SCOPED_TRACE(::testing::Message() << "turn " << t << ", problem " << kPlan[t].nProblem);
        ASSERT_FALSE(v.m_bGameOver);
        const std::size_t nPlaysBefore = game.m_sound.m_plays.size();
        const CExpected expected = player.Play(kPlan[t].nProblem, kPlan[t].eIntent);

        // Every answer is judged: its cue played to the end, the problem closed.
        ASSERT_GT(game.m_sound.m_plays.size(), nPlaysBefore);
        const CRecordingSound::CPlay& cue = game.m_sound.m_plays.back();
        EXPECT_EQ(cue.eMode, EPlayMode::Sync);
        const bool bRight = expected.eVerdict == EVerdict::Right;
        EXPECT_EQ(cue.nBytes, bRight ? nRightBytes : nWrongBytes);
        EXPECT_EQ(v.m_nProblem, 0);
        nTotal += expected.nPoints;
        (bRight ? nRight : nWrong) += 1;
        EXPECT_EQ(v.m_nScore, nTotal);
        if (t == 4) {
            // Problem 1 is used up: the others have closed up from the top.
            EXPECT_EQ(v.m_rectMenuItem[1], v.m_rectMenuSlot[0]);
            EXPECT_EQ(v.m_rectMenuItem[2], v.m_rectMenuSlot[1]);
            EXPECT_EQ(v.m_rectMenuItem[3], v.m_rectMenuSlot[2]);
        }
    }
    EXPECT_GE(nRight, 8);
    EXPECT_GE(nWrong, 6);
    for (int nPlays : v.m_nPlays) {
        EXPECT_EQ(nPlays, 5);
    }

    EXPECT_TRUE(v.m_bGameOver);
    EXPECT_EQ(v.m_strLabel, "Game Over! To Play Again Press Home.");
    for (int nPaint = 0; nPaint < 3; ++nPaint) {
        game.Paint();
    }
    EXPECT_EQ(g_dlgScores.m_nScoreCount, 1);
    EXPECT_EQ(g_dlgScores.m_nScores[0], nTotal);
    EXPECT_EQ(g_dlgScores.m_nScores[1], 0);
    EXPECT_EQ(v.m_nScore, nTotal);

    game.Key(VK_HOME);
    EXPECT_FALSE(v.m_bGameOver);
    EXPECT_EQ(v.m_nScore, 0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(v.m_nPlays[i], 0);
        EXPECT_EQ(v.m_rectMenuItem[i], v.m_rectMenuSlot[i]);
    }
    EXPECT_EQ(g_dlgScores.m_nScoreCount, 1);
    EXPECT_EQ(g_dlgScores.m_nScores[0], nTotal);

    // The new game is playable from its first entry.
    game.Paint();
    game.ChooseProblem(1);
    EXPECT_EQ(v.m_nProblem, 1);
    EXPECT_EQ(v.m_nPlays[0], 1);
}

INSTANTIATE_TEST_SUITE_P(Seeds, WholeGame, ::testing::Values(1u, 20240u, 777u));

}  // namespace
