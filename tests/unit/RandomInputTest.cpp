// SPDX-License-Identifier: MIT
// Randomised input on the headless host: every kind of key, clicks anywhere (edges and
// outside the client area included), repaints, new documents, print jobs, dialogs and
// message boxes answered at once, on client areas of several sizes. After every event
// the state must be one the game's rules allow, reached by a step they allow.
//
// The suite runs TESSIX_RANDOM_SEEDS seeds (default 100) of TESSIX_RANDOM_EVENTS events
// (default 1000); run it by hand with more seeds for a longer soak.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "game/ProblemTable.h"
#include "platform/Random.h"
#include "problems/Judges.h"
#include "scores/ScoresDlg.h"
#include "support/Headless.h"
#include "support/Player.h"

namespace {

int EnvInt(const char* pszName, int nDefault) {
    const char* psz = std::getenv(pszName);
    return psz ? std::atoi(psz) : nDefault;
}

constexpr UINT kCtrl = 0x11;
constexpr UINT kKeys[] = {VK_F1, VK_F2, VK_HOME, VK_UP, VK_DOWN, VK_SPACE, VK_LEFT, VK_RIGHT,
                          'A',   'Z',   '1',     0x1B,  0x0D,    0x74,     0x2E};
// The smallest client area the game runs in, the usual one, and two larger, one wide.
constexpr CSize kClientSizes[] = {{780, 540}, {800, 600}, {1024, 768}, {1366, 768}};
// The most a game can earn: every presentation of every problem right at its best.
int HighestTotal() {
    int nTotal = 0;
    for (int p = 1; p <= kProblems; ++p) {
        nTotal += kPresentations * CProblemTable::Row(p).nPoints;
    }
    return nTotal;
}

// On one of the four edges of rc, or a pixel either side of it.
CPoint PickOnEdge(CRandom& rng, const CRect& rc) {
    const int d = rng.rand() % 3 - 1;
    const int x = rc.left + rng.rand() % (rc.Width() + 1);
    const int y = rc.top + rng.rand() % (rc.Height() + 1);
    const int nEdges[] = {rc.left, rc.right, rc.top, rc.bottom};
    const int nEdge = rng.rand() % 4;
    return nEdge < 2 ? CPoint(nEdges[nEdge] + d, y) : CPoint(x, nEdges[nEdge] + d);
}

// A point chosen to hit the places where the game's decisions change: the edges of the
// answer squares, menu entries and the 2 pixels around problem 3's centre, just inside
// and outside them, and anywhere at all.
CPoint PickPoint(CRandom& rng, const CTessixView& view) {
    const CPoint c = view.m_ptCenter;
    const CRect rects[] = {view.m_rectLeft,        view.m_rectRight,
                           view.m_rectBoth,        view.m_rectMenuItem[0],
                           view.m_rectMenuItem[1], view.m_rectMenuItem[2],
                           view.m_rectMenuItem[3], view.m_rectMenuSlot[1],
                           view.m_rectMessage,     CRect(c.x - 2, c.y - 2, c.x + 2, c.y + 2)};
    const int nKind = rng.rand() % 4;
    const CRect& rc = rects[rng.rand() % std::size(rects)];
    const int w = view.m_rectClient.right > 0 ? view.m_rectClient.right : 800;
    const int h = view.m_rectClient.bottom > 0 ? view.m_rectClient.bottom : 600;
    switch (nKind) {
        case 0:
            return PickOnEdge(rng, rc);
        case 1:  // inside
            return CPoint(rc.left + 1 + rng.rand() % (rc.Width() > 2 ? rc.Width() - 1 : 1),
                          rc.top + 1 + rng.rand() % (rc.Height() > 2 ? rc.Height() - 1 : 1));
        case 2:  // outside the client area
            return CPoint(rng.rand() % 2 ? -1 - rng.rand() % 50 : w + rng.rand() % 50,
                          rng.rand() % (h + 100) - 50);
        default:
            return CPoint(rng.rand() % w, rng.rand() % h);
    }
}

// Sends one event and says what it was. Of Ctrl+N and Ctrl+P the view sees the Ctrl key
// go down; the command goes to the frame, which repaints after a new document and runs
// the print job for Print. Now and then a player answers the problem on screen as it
// means to, since random keys alone seldom reshape problem 4's shape to an answer.
std::string SendEvent(CGame& game, CPlayer& player, CRandom& rng) {
    const int nKind = rng.rand() % 100;
    if (nKind < 35) {
        const UINT nKey = kKeys[rng.rand() % std::size(kKeys)];
        game.Key(nKey);
        return "key " + std::to_string(nKey);
    }
    if (nKind < 90) {
        const CPoint pt = PickPoint(rng, game.View());
        const bool bLeft = nKind < 80;
        bLeft ? game.Click(pt) : game.RightClick(pt.x, pt.y);
        return (bLeft ? "click " : "right click ") + std::to_string(pt.x) + "," +
               std::to_string(pt.y);
    }
    if (nKind < 92) {
        const bool bRight = rng.rand() % 2 == 0;
        player.Answer(bRight ? EIntent::AimRight : EIntent::AimWrong);
        return bRight ? "aimed answer" : "wrong answer";
    }
    if (nKind < 97) {
        game.Paint();
        return "repaint";
    }
    game.Key(kCtrl);
    if (nKind < 99) {
        game.Paint();
        return "Ctrl+N";
    }
    game.Print();
    return "Ctrl+P";
}

// What an event may change, and the cues played so far.
struct CState {
    int nScore = 0;
    int nProblem = 0;
    int nPlays[kProblems] = {};
    BOOL bGameOver = FALSE;
    int nRecorded = 0;
    std::size_t nCues = 0;
};

CState StateOf(CGame& game) {
    const CTessixView& v = game.View();
    return {v.m_nScore,
            v.m_nProblem,
            {v.m_nPlays[0], v.m_nPlays[1], v.m_nPlays[2], v.m_nPlays[3]},
            v.m_bGameOver,
            g_dlgScores.m_nScoreCount,
            game.m_sound.m_plays.size()};
}

enum class EHeard { Nothing, Right, Wrong };

// The verdict of an event, told by the cue it played to its end: 102 right, 103 wrong.
EHeard VerdictHeard(const CGame& game, std::size_t nCuesBefore) {
    EHeard eHeard = EHeard::Nothing;
    for (std::size_t i = nCuesBefore; i < game.m_sound.m_plays.size(); ++i) {
        const CRecordingSound::CPlay& cue = game.m_sound.m_plays[i];
        if (cue.eMode == EPlayMode::Sync) {
            eHeard = cue.nBytes == LoadSoundResource(102).size() ? EHeard::Right : EHeard::Wrong;
        }
    }
    return eHeard;
}

// The points of a right answer: fixed for problems 1 to 3, in steps up to the most for 4.
bool IsPrizeOf(int nProblem, int nPoints) {
    if (nProblem == 4) {
        return nPoints >= kReshapeMinPoints && nPoints <= kReshapeMaxPoints &&
               nPoints % kPointsStep == 0;
    }
    return CProblemTable::IsProblem(nProblem) && nPoints == CProblemTable::Row(nProblem).nPoints;
}

void CheckState(CGame& game, const std::string& where) {
    const CTessixView& v = game.View();
    ASSERT_TRUE(v.m_nPhase == PHASE_MENU || v.m_nPhase == PHASE_FRESH || v.m_nPhase == PHASE_SHOWN)
        << where;
    ASSERT_GE(v.m_nProblem, 0) << where;
    ASSERT_LE(v.m_nProblem, kProblems) << where;
    const bool bMenu = v.m_nProblem == 0;
    ASSERT_EQ(v.m_nPhase, bMenu ? PHASE_MENU : PHASE_SHOWN) << where;
    ASSERT_EQ(v.m_bMenuActive != FALSE, bMenu) << where << ": the menu takes clicks";
    int nTotal = 0;
    for (int p = 0; p < kProblems; ++p) {
        ASSERT_GE(v.m_nPlays[p], 0) << where;
        ASSERT_LE(v.m_nPlays[p], kPresentations) << where;
        nTotal += v.m_nPlays[p];
    }
    ASSERT_LE(nTotal, 20) << where;
    ASSERT_EQ(v.m_bGameOver != FALSE, nTotal == 20 && bMenu) << where << ": game over";
    ASSERT_GE(v.m_nScore, 0) << where;
    ASSERT_LE(v.m_nScore, HighestTotal()) << where;
    ASSERT_LE(g_dlgScores.m_nScoreCount, kScoreSlots) << where;
    ASSERT_FALSE(game.m_host.m_oExitCode.has_value()) << where << ": the game ended by itself";
}

// The step from b to now: a new game clears the score and the counts; otherwise the
// score moves only on a right verdict, by its problem's points; a verdict ends the
// problem; a problem starts only from the menu and counts once; the score is recorded
// once, when the game is over.
void CheckStep(const CState& b, CGame& game, const std::string& where) {
    const CState a = StateOf(game);
    const EHeard eHeard = VerdictHeard(game, b.nCues);
    if (b.bGameOver && !a.bGameOver) {
        ASSERT_EQ(eHeard, EHeard::Nothing) << where;
        ASSERT_EQ(a.nScore, 0) << where << ": new game";
        ASSERT_EQ(a.nPlays[0] + a.nPlays[1] + a.nPlays[2] + a.nPlays[3], 0) << where;
        ASSERT_EQ(a.nRecorded, b.nRecorded) << where << ": new game";
        return;
    }
    if (eHeard == EHeard::Right) {
        ASSERT_TRUE(IsPrizeOf(b.nProblem, a.nScore - b.nScore))
            << where << ": problem " << b.nProblem << " gave " << a.nScore - b.nScore;
    } else {
        ASSERT_EQ(a.nScore, b.nScore) << where << ": score without a right verdict";
    }
    ASSERT_EQ(eHeard != EHeard::Nothing, b.nProblem != 0 && a.nProblem == 0) << where;
    ASSERT_TRUE(a.nProblem == b.nProblem || a.nProblem == 0 || b.nProblem == 0) << where;
    for (int p = 1; p <= kProblems; ++p) {
        const int nPresented = b.nProblem == 0 && a.nProblem == p ? 1 : 0;
        ASSERT_EQ(a.nPlays[p - 1], b.nPlays[p - 1] + nPresented) << where << ", count " << p;
    }
    const int nOver = a.bGameOver && !b.bGameOver ? 1 : 0;
    ASSERT_EQ(a.nRecorded, b.nRecorded + nOver) << where << ": past scores";
    if (nOver == 1) {
        ASSERT_EQ(g_dlgScores.m_nScores[0], a.nScore) << where;
    }
}

}  // namespace

TEST(RandomInput, GameInvariantsHoldAfterEveryEvent) {
    const int nSeeds = EnvInt("TESSIX_RANDOM_SEEDS", 100);
    const int nEvents = EnvInt("TESSIX_RANDOM_EVENTS", 1000);
    int nAnswers = 0;
    int nGamesOver = 0;
    int nNewGames = 0;
    int nRightBy[5] = {};  // right answers by problem
    for (int nSeed = 1; nSeed <= nSeeds; ++nSeed) {
        g_dlgScores.ClearHistory();
        const CSize size = kClientSizes[nSeed % std::size(kClientSizes)];
        CGame game(size.cx, size.cy, static_cast<std::uint32_t>(nSeed));
        game.Paint();
        CPlayer player(game);
        CRandom rng;
        rng.srand(static_cast<std::uint32_t>(nSeed) * 7919u);
        for (int e = 0; e < nEvents; ++e) {
            const CState before = StateOf(game);
            const int nInvalidated = game.m_host.m_nInvalidate;
            const std::string what = SendEvent(game, player, rng);
            // The paint the game asks for (a new game's layout) comes before more input.
            if (game.m_host.m_nInvalidate != nInvalidated) {
                game.Paint();
            }
            const std::string where =
                "seed " + std::to_string(nSeed) + " event " + std::to_string(e) + " (" + what + ")";
            CheckState(game, where);
            if (!HasFatalFailure()) {
                CheckStep(before, game, where);
            }
            if (HasFatalFailure()) {
                return;
            }
            nAnswers += before.nProblem != 0 && game.View().m_nProblem == 0 ? 1 : 0;
            nRightBy[before.nProblem] += game.View().m_nScore > before.nScore ? 1 : 0;
            nNewGames += before.bGameOver && !game.View().m_bGameOver ? 1 : 0;
        }
        nGamesOver += g_dlgScores.m_nScoreCount;
    }
    // The walk must reach answers and new games at all, or it proves nothing of them.
    EXPECT_GT(nAnswers, nSeeds);
    EXPECT_GT(nNewGames, 0);
    for (int p = 1; p <= kProblems; ++p) {
        EXPECT_GT(nRightBy[p], 0) << "no right answer to problem " << p;
    }
    RecordProperty("answers", nAnswers);
    RecordProperty("games_over", nGamesOver);
    RecordProperty("new_games", nNewGames);
}
