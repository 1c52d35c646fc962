// SPDX-License-Identifier: MIT
// Randomised input on the headless host: every kind of key, clicks anywhere (borders and
// outside the client area included), repaints, dialogs and message boxes answered at
// once. After every event the game's invariants must hold.
//
// The suite runs TESSIX_RANDOM_SEEDS seeds (default 100) of TESSIX_RANDOM_EVENTS events
// (default 1000); run it by hand with more seeds for a longer soak.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Random.h"
#include "scores/ScoresDlg.h"
#include "support/Headless.h"

namespace {

int EnvInt(const char* pszName, int nDefault) {
    const char* psz = std::getenv(pszName);
    return psz ? std::atoi(psz) : nDefault;
}

constexpr UINT kKeys[] = {VK_F1, VK_F2, VK_HOME, VK_UP, VK_DOWN, VK_SPACE, VK_LEFT, VK_RIGHT,
                          'A',   'Z',   '1',     0x1B,  0x0D,    0x74,     0x2E};

// A point chosen to hit the places where the game's decisions change: the edges of the
// answer squares and menu entries, just inside and outside them, and anywhere at all.
CPoint PickPoint(CRandom& rng, const CTessixView& view) {
    const CRect rects[] = {view.m_rectLeft,        view.m_rectRight,       view.m_rectBoth,
                           view.m_rectMenuItem[0], view.m_rectMenuItem[1], view.m_rectMenuItem[2],
                           view.m_rectMenuItem[3], view.m_rectMenuSlot[1], view.m_rectMessage};
    const int nKind = rng.rand() % 4;
    const CRect& rc = rects[rng.rand() % (sizeof rects / sizeof rects[0])];
    const int w = view.m_rectClient.right > 0 ? view.m_rectClient.right : 800;
    const int h = view.m_rectClient.bottom > 0 ? view.m_rectClient.bottom : 600;
    switch (nKind) {
        case 0:  // on or next to an edge
        {
            const int d = rng.rand() % 3 - 1;
            return rng.rand() % 2 ? CPoint(rc.left + d, rc.top + rng.rand() % (rc.Height() + 1))
                                  : CPoint(rc.left + rng.rand() % (rc.Width() + 1), rc.bottom + d);
        }
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

void CheckInvariants(CGame& game, const std::string& where) {
    const CTessixView& v = game.View();
    ASSERT_TRUE(v.m_nPhase == PHASE_MENU || v.m_nPhase == PHASE_FRESH || v.m_nPhase == PHASE_SHOWN)
        << where;
    int nTotal = 0;
    for (int p = 0; p < 4; ++p) {
        ASSERT_GE(v.m_nPlays[p], 0) << where;
        ASSERT_LE(v.m_nPlays[p], 5) << where;
        nTotal += v.m_nPlays[p];
    }
    ASSERT_LE(nTotal, 20) << where;
    ASSERT_GE(v.m_nScore, 0) << where;
    ASSERT_EQ(v.m_nScore % 10, 0) << where;
    ASSERT_GE(v.m_nProblem, 0) << where;
    ASSERT_LE(v.m_nProblem, 4) << where;
    ASSERT_LE(g_dlgScores.m_nScoreCount, kScoreSlots) << where;
    ASSERT_FALSE(game.m_host.m_oExitCode.has_value()) << where << ": the game ended by itself";
}

}  // namespace

TEST(RandomInput, GameInvariantsHoldAfterEveryEvent) {
    const int nSeeds = EnvInt("TESSIX_RANDOM_SEEDS", 100);
    const int nEvents = EnvInt("TESSIX_RANDOM_EVENTS", 1000);
    int nAnswers = 0;
    int nGamesOver = 0;
    for (int nSeed = 1; nSeed <= nSeeds; ++nSeed) {
        g_dlgScores.ClearHistory();
        CGame game(800, 600, static_cast<std::uint32_t>(nSeed));
        game.Paint();
        CRandom rng;
        rng.srand(static_cast<std::uint32_t>(nSeed) * 7919u);
        for (int e = 0; e < nEvents; ++e) {
            const int nProblemBefore = game.View().m_nProblem;
            const int nKind = rng.rand() % 100;
            std::string what;
            if (nKind < 35) {
                const UINT nKey = kKeys[rng.rand() % (sizeof kKeys / sizeof kKeys[0])];
                what = "key " + std::to_string(nKey);
                game.Key(nKey);
            } else if (nKind < 80) {
                const CPoint pt = PickPoint(rng, game.View());
                what = "click " + std::to_string(pt.x) + "," + std::to_string(pt.y);
                game.Click(pt);
            } else if (nKind < 92) {
                const CPoint pt = PickPoint(rng, game.View());
                what = "right click " + std::to_string(pt.x) + "," + std::to_string(pt.y);
                game.RightClick(pt.x, pt.y);
            } else {
                // A window-system repaint; a new document (Ctrl+N) also ends in one.
                what = "repaint";
                game.Paint();
            }
            if (nProblemBefore != 0 && game.View().m_nProblem == 0) {
                ++nAnswers;
            }
            CheckInvariants(game, "seed " + std::to_string(nSeed) + " event " + std::to_string(e) +
                                      " (" + what + ")");
            if (HasFatalFailure()) {
                return;
            }
        }
        nGamesOver += g_dlgScores.m_nScoreCount;
    }
    // The walk must reach answers at all, or it proves nothing about judging.
    EXPECT_GT(nAnswers, nSeeds);
    RecordProperty("answers", nAnswers);
    RecordProperty("games_over", nGamesOver);
}
