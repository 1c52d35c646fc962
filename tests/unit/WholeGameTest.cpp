// SPDX-License-Identifier: MIT
// A whole game played by a scripted player: all twenty presentations answered, right and
// wrong, through the game's own input; the total reaches the past scores once, and Home
// starts the next game.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

#include "platform/Sound.h"
#include "problems/Problem4.h"
#include "scores/ScoresDlg.h"
#include "support/Headless.h"

namespace {

constexpr COLORREF kCyan = RGB(0, 255, 255);
// More presses of one key than any answer needs: a fault that makes them do nothing
// fails the turn instead of holding the suite.
constexpr int kMaxPresses = 100;

enum class EIntent { AimRight, AimWrong };

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

// What the player expects of one answer, worked out from what it sees before clicking.
struct CExpected {
    EVerdict eVerdict = EVerdict::Wrong;
    int nPoints = 0;
};

class CPlayer {
public:
    explicit CPlayer(CGame& game) : m_game(game), m_view(game.View()) {}

    CExpected Play(const CTurn& turn) {
        m_game.ChooseProblem(turn.nProblem);
        EXPECT_EQ(m_view.m_nProblem, turn.nProblem);
        if (m_view.m_nProblem != turn.nProblem) {
            return {};  // nothing to answer: the turn fails on its missing cue
        }
        switch (turn.nProblem) {
            case 1:
                return Problem1(turn.eIntent);
            case 2:
                return Problem2(turn.eIntent);
            case 3:
                return Problem3(turn.eIntent);
            default:
                return Problem4(turn.eIntent);
        }
    }

private:
    static CPoint Middle(const CRect& rc) {
        return CPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    }

    // The bigger count is the right shape; equal counts make either click wrong.
    CExpected Problem1(EIntent eIntent) {
        const bool bLeftBigger = m_view.m_nAreaLeft > m_view.m_nAreaRight;
        const bool bChooseLeft = (eIntent == EIntent::AimRight) == bLeftBigger;
        const bool bEqual = m_view.m_nAreaLeft == m_view.m_nAreaRight;
        m_game.Click(Middle(bChooseLeft ? m_view.m_rectLeft : m_view.m_rectRight));
        if (eIntent == EIntent::AimRight && !bEqual) {
            return {EVerdict::Right, 100};
        }
        return {};
    }

    // Grows the circle until the area ratio is within 985..1015, or clicks the small
    // circle at once.
    CExpected Problem2(EIntent eIntent) {
        for (int nPress = 0; eIntent == EIntent::AimRight && Ratio() > 1015 &&
                             m_view.m_nInset > m_view.m_nGrowLimit;
             ++nPress) {
            if (nPress == kMaxPresses) {
                ADD_FAILURE() << "the circle is not grown by " << kMaxPresses << " presses of Up";
                break;
            }
            m_game.Key(VK_UP);
        }
        const int nRatio = Ratio();
        m_game.Click(Middle(m_view.m_rectRight));
        if (nRatio >= 985 && nRatio <= 1015) {
            return {EVerdict::Right, 150};
        }
        return {};
    }
    int Ratio() const { return m_view.m_nAreaLeft * 1000 / m_view.m_nAreaRight; }

    // The centre dot, or the white background in the bottom-left corner.
    CExpected Problem3(EIntent eIntent) {
        if (eIntent == EIntent::AimRight) {
            m_game.Click(m_view.m_ptCenter);
            return {EVerdict::Right, 300};
        }
        m_game.Click(CPoint(m_view.m_rectClient.left + 5, m_view.m_rectClient.bottom - 5));
        return {};
    }

    // Caves all four sides alike, a round at a time, until the cyan area is no longer
    // too big; every other right answer also pulls one side back a pixel, breaking the
    // symmetry. A wrong answer clicks the untouched shape.
    CExpected Problem4(EIntent eIntent) {
        const int nTarget = m_view.m_nAreaLeft;
        const int nTolerance = m_view.m_nTolerance;
        ESymmetry eSymmetry = ESymmetry::Symmetric;
        if (eIntent == EIntent::AimRight) {
            for (int nRound = 0; nRound < 40 && Cyan() - nTarget >= nTolerance; ++nRound) {
                for (int nSide = 0; nSide < 4; ++nSide) {
                    m_game.Key(VK_DOWN);
                    m_game.Key(VK_SPACE);
                }
            }
            EXPECT_LT(Cyan() - nTarget, nTolerance) << "still too big after 40 rounds of caving";
            m_bLopsided = !m_bLopsided;
            if (m_bLopsided) {
                m_game.Key(VK_UP);
                eSymmetry = ESymmetry::Lopsided;
            }
        }
        const int nBlue = Cyan();
        m_game.Click(Middle(m_view.m_rectRight));
        const CAnswer answer =
            JudgeReshape(nTarget, nBlue, nTolerance, m_view.m_nScoreBase, eSymmetry);
        return {answer.eVerdict, answer.nPoints};
    }

    // The cyan pixels of the right square as the player sees them.
    int Cyan() const {
        const CRaster& raster = m_game.m_host.m_raster;
        const CRect& rc = m_view.m_rectRight;
        const std::uint32_t px = CRaster::PixelOf(kCyan);
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y) {
            for (int x = rc.left; x < rc.right; ++x) {
                n += raster.Row(y)[x] == px ? 1 : 0;
            }
        }
        return n;
    }

    CGame& m_game;
    CTessixView& m_view;
    bool m_bLopsided = false;
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
        const CExpected expected = player.Play(kPlan[t]);

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
