// SPDX-License-Identifier: MIT
// Routing of keys and clicks by screen, the choice of menu entries, the new-game paths,
// the closing of a judged answer (message, sound, points, pause, menu) and the sound
// cues.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdint>
#include <functional>
#include <vector>

#include "game/Colours.h"
#include "game/ProblemTable.h"
#include "platform/Random.h"
#include "platform/Sound.h"
#include "scores/ScoresDlg.h"
#include "support/Headless.h"

namespace {

std::uint32_t SeedForInset(int nInset) {
    for (std::uint32_t nSeed = 1;; ++nSeed) {
        CRandom rnd;
        rnd.srand(nSeed);
        if (rnd.rand() % 18 == nInset) {
            return nSeed;
        }
    }
}

// Everything a key or click could change.
struct CState {
    int nPhase = 0;
    int nProblem = 0;
    BOOL bMenuActive = FALSE;
    BOOL bGameOver = FALSE;
    std::vector<int> plays;
    int nScore = 0;
    BOOL bSwapLeft = FALSE;
    BOOL bSwapRight = FALSE;
    QImage picture;
    std::size_t nSounds = 0;

    explicit CState(CGame& g)
        : nPhase(g.View().m_nPhase),
          nProblem(g.View().m_nProblem),
          bMenuActive(g.View().m_bMenuActive),
          bGameOver(g.View().m_bGameOver),
          plays(std::begin(g.View().m_nPlays), std::end(g.View().m_nPlays)),
          nScore(g.View().m_nScore),
          bSwapLeft(g.View().m_bSwapLeft),
          bSwapRight(g.View().m_bSwapRight),
          picture(g.m_host.m_raster.Image()),
          nSounds(g.m_sound.m_plays.size()) {}

    bool operator==(const CState& o) const {
        return nPhase == o.nPhase && nProblem == o.nProblem && bMenuActive == o.bMenuActive &&
               bGameOver == o.bGameOver && plays == o.plays && nScore == o.nScore &&
               bSwapLeft == o.bSwapLeft && bSwapRight == o.bSwapRight && picture == o.picture &&
               nSounds == o.nSounds;
    }
};

enum class EScreen { Menu, Problem1, Problem2, Problem3, Problem4, GameOver };

const char* NameOf(EScreen e) {
    switch (e) {
        case EScreen::Menu:
            return "Menu";
        case EScreen::Problem1:
            return "Problem1";
        case EScreen::Problem2:
            return "Problem2";
        case EScreen::Problem3:
            return "Problem3";
        case EScreen::Problem4:
            return "Problem4";
        case EScreen::GameOver:
            return "GameOver";
    }
    return "";
}

// Brings a fresh game to the screen.
void Reach(CGame& g, EScreen e) {
    g.Paint();
    switch (e) {
        case EScreen::Menu:
            // A running game: a new game would show.
            g.View().m_nPlays[0] = 2;
            g.View().m_nScore = 200;
            g.View().DrawMenu();
            break;
        case EScreen::Problem1:
        case EScreen::Problem2:
        case EScreen::Problem3:
        case EScreen::Problem4:
            g.ChooseProblem(static_cast<int>(e) - static_cast<int>(EScreen::Menu));
            break;
        case EScreen::GameOver:
            for (int& n : g.View().m_nPlays) {
                n = 5;
            }
            g.View().m_nScore = 250;
            g.View().DrawMenu();
            break;
    }
}

// ---- The key table.

enum class EEffect { Nothing, Instructions, PastScores, NewGame };

struct CKeyCase {
    EScreen eScreen;
    UINT nKey;
    const char* pszKey;
    EEffect eEffect;
};

class DispatchKeys : public ::testing::TestWithParam<CKeyCase> {};

TEST_P(DispatchKeys, ActsOnlyWhereTheTableSays) {
    const CKeyCase& c = GetParam();
    CGame g;
    Reach(g, c.eScreen);
    const CState before(g);
    const int nHistory = g_dlgScores.m_nScoreCount;

    g.Key(c.nKey);

    const CHeadlessHost& host = g.m_host;
    ASSERT_EQ(host.m_messages.size(), c.eEffect == EEffect::Instructions ? 1u : 0u);
    ASSERT_EQ(host.m_dialogs.size(), c.eEffect == EEffect::PastScores ? 1u : 0u);
    if (c.eEffect == EEffect::Instructions) {
        EXPECT_EQ(host.m_messages[0].strText, g.View().m_strInstructions);
        EXPECT_EQ(host.m_messages[0].nType & 0x0Fu, MB_OK);
    }
    if (c.eEffect == EEffect::PastScores) {
        EXPECT_EQ(host.m_dialogs[0], &g_dlgScores);
    }
    if (c.eEffect != EEffect::NewGame) {
        EXPECT_TRUE(CState(g) == before) << "the game goes on where it was";
        return;
    }
    CTessixView& v = g.View();
    EXPECT_EQ(v.m_bGameOver, FALSE);
    EXPECT_EQ(v.m_nScore, 0);
    EXPECT_EQ(v.m_nPhase, PHASE_MENU);
    EXPECT_EQ(v.m_bMenuActive, TRUE);
    for (int k = 0; k < kProblems; ++k) {
        EXPECT_EQ(v.m_nPlays[k], 0);
        EXPECT_EQ(v.m_rectMenuItem[k], v.m_rectMenuSlot[k]);
    }
    EXPECT_GT(g.CountColor(v.m_rectMenuSlot[0], CProblemTable::Row(1).clrMenuEntry), 0)
        << "menu drawn at once";
    EXPECT_EQ(g_dlgScores.m_nScoreCount, nHistory) << "past scores kept";
}

std::vector<CKeyCase> KeyTable() {
    struct CKey {
        UINT nKey;
        const char* pszName;
    };
    const CKey keys[] = {{VK_F1, "F1"},     {VK_F2, "F2"},       {VK_HOME, "Home"}, {VK_UP, "Up"},
                         {VK_DOWN, "Down"}, {VK_SPACE, "Space"}, {VK_LEFT, "Left"}, {'A', "A"}};
    std::vector<CKeyCase> cases;
    for (const EScreen e : {EScreen::Menu, EScreen::Problem1, EScreen::Problem2, EScreen::Problem3,
                            EScreen::Problem4, EScreen::GameOver}) {
        const bool bNoProblem = e == EScreen::Menu || e == EScreen::GameOver;
        for (const CKey& k : keys) {
            EEffect eEffect = EEffect::Nothing;
            if (k.nKey == VK_F1) {
                eEffect = EEffect::Instructions;
            } else if (k.nKey == VK_F2 && bNoProblem) {
                eEffect = EEffect::PastScores;
            } else if (k.nKey == VK_HOME && e == EScreen::GameOver) {
                eEffect = EEffect::NewGame;
            } else if (k.nKey == VK_F2 || k.nKey == VK_HOME) {
                eEffect = EEffect::Nothing;
            } else if ((e == EScreen::Problem2 || e == EScreen::Problem4) &&
                       (k.nKey == VK_UP || k.nKey == VK_DOWN || k.nKey == VK_SPACE)) {
                // These keys belong to the problem; its own tests cover them.
                continue;
            }
            cases.push_back({e, k.nKey, k.pszName, eEffect});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Table, DispatchKeys, ::testing::ValuesIn(KeyTable()),
                         [](const ::testing::TestParamInfo<CKeyCase>& testInfo) {
                             return std::string(NameOf(testInfo.param.eScreen)) + "_" +
                                    testInfo.param.pszKey;
                         });

// ---- Clicks on the menu and the game-over screen.

TEST(DispatchMenu, EachEntryChoosesItsProblem) {
    for (int p = 1; p <= kProblems; ++p) {
        SCOPED_TRACE(p);
        CGame g;
        g.Paint();
        g.ChooseProblem(p);
        EXPECT_EQ(g.View().m_nProblem, p);
        EXPECT_EQ(g.View().m_bMenuActive, FALSE);
        EXPECT_EQ(g.View().m_nPhase, PHASE_SHOWN);
        EXPECT_EQ(g.View().m_nPlays[p - 1], 1);
    }
}

struct CMenuClickCase {
    const char* pszName;
    std::function<CPoint(const CTessixView&)> where;
};

class DispatchMenuMiss : public ::testing::TestWithParam<CMenuClickCase> {};

TEST_P(DispatchMenuMiss, ChangesNothing) {
    CGame g;
    g.Paint();
    const CState before(g);
    g.Click(GetParam().where(g.View()));
    EXPECT_TRUE(CState(g) == before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DispatchMenuMiss,
    ::testing::Values(
        CMenuClickCase{
            "EntryTopBorder",
            [](const CTessixView& v) { return CPoint(v.m_nCenterX, v.m_rectMenuItem[0].top); }},
        CMenuClickCase{"EntryLeftBorder",
                       [](const CTessixView& v) {
                           return CPoint(v.m_rectMenuItem[2].left, v.m_rectMenuItem[2].top + 5);
                       }},
        CMenuClickCase{
            "EntryBottomBorder",
            [](const CTessixView& v) { return CPoint(v.m_nCenterX, v.m_rectMenuItem[3].bottom); }},
        CMenuClickCase{"BetweenEntries",
                       [](const CTessixView& v) {
                           return CPoint(v.m_nCenterX, v.m_rectMenuItem[0].bottom + 2);
                       }},
        CMenuClickCase{
            "HelpText",
            [](const CTessixView& v) { return CPoint(v.m_nCenterX, v.m_rectMessage.top + 5); }},
        // The shape squares answer only while a problem is under way.
        CMenuClickCase{"LeftSquareCentre", [](const CTessixView& v) { return v.m_ptLeft; }},
        CMenuClickCase{"BelowTheEntries",
                       [](const CTessixView& v) {
                           return CPoint(v.m_rectMenuSlot[3].left + 10,
                                         v.m_rectMenuSlot[3].bottom + 10);
                       }}),
    [](const ::testing::TestParamInfo<CMenuClickCase>& testInfo) {
        return testInfo.param.pszName;
    });

// Plays problem 1 to its answer, clicking the triangle.
void PlayProblem1(CGame& g) {
    g.ChooseProblem(1);
    g.Click(g.View().m_ptLeft);
}

TEST(DispatchMenu, ExhaustedEntrysOldPlaceChoosesTheEntryLaidThereNow) {
    CGame g;
    g.Paint();
    const CRect rcFirstSlot = g.View().m_rectMenuSlot[0];
    for (int k = 0; k < kPresentations; ++k) {
        PlayProblem1(g);
    }
    ASSERT_EQ(g.View().m_nPlays[0], kPresentations);
    EXPECT_EQ(g.View().m_rectMenuItem[1], rcFirstSlot);
    EXPECT_EQ(g.CountColor(g.View().m_rectClient, CProblemTable::Row(1).clrMenuEntry), 0)
        << "entry 1 not drawn";

    g.Click((rcFirstSlot.left + rcFirstSlot.right) / 2, (rcFirstSlot.top + rcFirstSlot.bottom) / 2);
    EXPECT_EQ(g.View().m_nProblem, 2);
    EXPECT_EQ(g.View().m_nPlays[0], kPresentations);
    EXPECT_EQ(g.View().m_nPlays[1], 1);
}

TEST(DispatchMenu, MenuPlaceDuringAProblemIsAnAnswer) {
    // At 800 x 600 the first menu slot overlaps the top of the left square.
    CGame g(800, 600, SeedForInset(17));
    g.Paint();
    g.ChooseProblem(1);
    const CTessixView& v = g.View();
    const CPoint pt(v.m_rectLeft.left + 20, v.m_rectLeft.top + 1);
    ASSERT_TRUE(v.m_rectMenuItem[0].ContainsStrictly(pt));
    g.Click(pt);
    EXPECT_EQ(v.m_nPlays[0], 1) << "not chosen again";
    EXPECT_EQ(v.m_nScore, 100) << "judged as a click on the triangle";
}

struct CGameOverClickCase {
    const char* pszName;
    std::function<CPoint(const CTessixView&)> where;
    bool bNewGame;
};

class DispatchGameOverClick : public ::testing::TestWithParam<CGameOverClickCase> {};

TEST_P(DispatchGameOverClick, OnlyTheLineStartsANewGame) {
    const CGameOverClickCase& c = GetParam();
    CGame g;
    Reach(g, EScreen::GameOver);
    const CState before(g);
    g.Click(c.where(g.View()));
    if (!c.bNewGame) {
        EXPECT_TRUE(CState(g) == before);
        return;
    }
    EXPECT_EQ(g.View().m_bGameOver, FALSE);
    EXPECT_EQ(g.View().m_nScore, 0);
    EXPECT_EQ(g.View().m_nPlays[3], 0);
    EXPECT_EQ(g.View().m_bMenuActive, TRUE);
    EXPECT_GT(g.CountColor(g.View().m_rectMenuSlot[0], CProblemTable::Row(1).clrMenuEntry), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DispatchGameOverClick,
    ::testing::Values(CGameOverClickCase{"Line",
                                         [](const CTessixView& v) {
                                             return CPoint(v.m_rectMenuSlot[1].left + 10,
                                                           v.m_rectMenuSlot[1].top + 10);
                                         },
                                         true},
                      CGameOverClickCase{"LineBorder",
                                         [](const CTessixView& v) {
                                             return CPoint(v.m_rectMenuSlot[1].left + 10,
                                                           v.m_rectMenuSlot[1].top);
                                         },
                                         false},
                      CGameOverClickCase{"FirstSlot",
                                         [](const CTessixView& v) {
                                             return CPoint(v.m_rectMenuSlot[0].left + 10,
                                                           v.m_rectMenuSlot[0].top + 10);
                                         },
                                         false}),
    [](const ::testing::TestParamInfo<CGameOverClickCase>& testInfo) {
        return testInfo.param.pszName;
    });

// ---- The score on the menu after an answer.

struct CScoreCase {
    const char* pszName;
    int nInset;
    bool bClickCircle;
    int nScore;
};

class DispatchScore : public ::testing::TestWithParam<CScoreCase> {};

TEST_P(DispatchScore, BoxesShownOnlyForAScore) {
    const CScoreCase& c = GetParam();
    CGame g(800, 600, SeedForInset(c.nInset));
    g.Paint();
    g.ChooseProblem(1);
    g.Click(c.bClickCircle ? g.View().m_ptRight : g.View().m_ptLeft);
    const CTessixView& v = g.View();
    ASSERT_EQ(v.m_nPhase, PHASE_MENU);
    EXPECT_EQ(v.m_nScore, c.nScore);
    const bool bShown = c.nScore != 0;
    EXPECT_EQ(g.CountColor(v.m_rectScore, kScoreColor) > 0, bShown);
    EXPECT_EQ(g.CountColor(v.m_rectScoreLabel, kScoreLabelColor) > 0, bShown);
}

INSTANTIATE_TEST_SUITE_P(Cases, DispatchScore,
                         ::testing::Values(CScoreCase{"RightAnswer", 0, true, 100},
                                           CScoreCase{"WrongFirstAnswer", 0, false, 0}),
                         [](const ::testing::TestParamInfo<CScoreCase>& testInfo) {
                             return testInfo.param.pszName;
                         });

// ---- Closing an answer.

// A sound player that looks at the game at the moment the verdict's sound starts.
class CWitnessSound : public ISoundPlayer {
public:
    struct CSeen {
        std::size_t nBytes = 0;
        EPlayMode eMode = EPlayMode::Sync;
        int nShowNow = 0;
        DWORD dwSlept = 0;
        int nScore = 0;
        int nProblem = 0;
        int nRight = 0;  // verdict pixels of each colour in the message band
        int nWrong = 0;
        int nPrompt = 0;  // black prompt pixels left in the band
    };
    void PlayWave(const std::vector<unsigned char>& wave, EPlayMode eMode) override {
        CSeen s;
        s.nBytes = wave.size();
        s.eMode = eMode;
        s.nShowNow = m_pGame->m_host.m_nShowNow;
        s.dwSlept = m_pGame->m_clock.m_dwSlept;
        s.nScore = m_pGame->View().m_nScore;
        s.nProblem = m_pGame->View().m_nProblem;
        const CRect& band = m_pGame->View().m_rectMessage;
        s.nRight = m_pGame->CountColor(band, kRightColor);
        s.nWrong = m_pGame->CountColor(band, kWrongColor);
        s.nPrompt = m_pGame->CountColor(band, kPromptColor);
        m_seen.push_back(s);
    }
    CGame* m_pGame = nullptr;
    std::vector<CSeen> m_seen;
};

// A game at problem 1 whose sounds go to a witness; the clock starts where asked.
class CWitnessedGame {
public:
    explicit CWitnessedGame(DWORD dwClockStart) : m_game(800, 600, 1) {
        m_witness.m_pGame = &m_game;
        CViewWorld world;
        world.pHost = &m_game.m_host;
        world.pClock = &m_game.m_clock;
        world.pSound = &m_witness;
        world.oSeed = 1;
        m_game.m_pView = std::make_unique<CTessixView>(world);
        m_game.Paint();
        m_game.ChooseProblem(1);
        m_game.m_clock.m_dwNow = dwClockStart;
    }
    void Finish(EVerdict eVerdict, int nPoints, const char* pszMessage, EWipe eWipe) {
        CAnswer answer;
        answer.eVerdict = eVerdict;
        answer.nPoints = nPoints;
        answer.strMessage = pszMessage;
        CClientDC dc(m_game.m_host.ClientRaster());
        m_game.View().FinishAnswer(&dc, answer, eWipe);
    }

    CGame m_game;
    CWitnessSound m_witness;
};

struct CFinishCase {
    const char* pszName;
    EVerdict eVerdict;
    int nPoints;
    EWipe eWipe;
    DWORD dwClockStart;
};

class DispatchFinishAnswer : public ::testing::TestWithParam<CFinishCase> {};

TEST_P(DispatchFinishAnswer, MessageSoundPointsPauseMenu) {
    const CFinishCase& c = GetParam();
    const bool bRight = c.eVerdict == EVerdict::Right;
    CWitnessedGame w(c.dwClockStart);
    const int nShowNowBefore = w.m_game.m_host.m_nShowNow;
    w.m_game.View().m_nScore = 40;

    w.Finish(c.eVerdict, c.nPoints, bRight ? "CORRECT for 100 POINTS!" : "SORRY!", c.eWipe);

    // While the sound plays: the message is up and shown, nothing else has happened yet.
    ASSERT_EQ(w.m_witness.m_seen.size(), 1u);
    const CWitnessSound::CSeen& s = w.m_witness.m_seen[0];
    EXPECT_EQ(s.eMode, EPlayMode::Sync);
    EXPECT_EQ(s.nBytes, LoadSoundResource(bRight ? 102 : 103).size());
    EXPECT_GT(s.nShowNow, nShowNowBefore) << "shown before the sound";
    EXPECT_EQ(s.dwSlept, 0u) << "the pause comes after the sound";
    EXPECT_EQ(s.nScore, 40) << "points added after the sound";
    EXPECT_EQ(s.nProblem, 1);
    EXPECT_GT(bRight ? s.nRight : s.nWrong, 0) << "message in the verdict's colour";
    EXPECT_EQ(s.nPrompt > 0, c.eWipe == EWipe::AlreadyWiped) << "prompt wiped by the closing";
    if (c.eWipe == EWipe::Wipe) {
        EXPECT_EQ(bRight ? s.nWrong : s.nRight, 0);
    }

    // The pause on the clock, slept in small steps, not overslept.
    const CFakeClock& clock = w.m_game.m_clock;
    EXPECT_GE(clock.m_dwSlept, kAnswerPauseMs);
    EXPECT_LE(clock.m_dwSlept, kAnswerPauseMs + 100u);
    EXPECT_GE(clock.m_nSleeps, 10);
    const CTessixView& v = w.m_game.View();
    EXPECT_EQ(v.m_dwWaited, v.m_dwWaitNow - v.m_dwWaitStart);
    EXPECT_EQ(v.m_dwWaitStart, c.dwClockStart);

    // Then the menu with the new score.
    EXPECT_EQ(v.m_nScore, bRight ? 40 + c.nPoints : 40);
    EXPECT_EQ(v.m_nProblem, 0);
    EXPECT_EQ(v.m_nPhase, PHASE_MENU);
    EXPECT_EQ(v.m_bMenuActive, TRUE);
    EXPECT_GT(w.m_game.CountColor(v.m_rectMenuSlot[0], CProblemTable::Row(1).clrMenuEntry), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DispatchFinishAnswer,
    ::testing::Values(CFinishCase{"Right", EVerdict::Right, 100, EWipe::Wipe, 1000},
                      CFinishCase{"Wrong", EVerdict::Wrong, 0, EWipe::Wipe, 1000},
                      CFinishCase{"RightBandAlreadyWiped", EVerdict::Right, 60, EWipe::AlreadyWiped,
                                  1000},
                      CFinishCase{"ClockWrapsDuringPause", EVerdict::Right, 100, EWipe::Wipe,
                                  DWORD{0} - kAnswerPauseMs / 2},
                      CFinishCase{"ClockAtLastTick", EVerdict::Wrong, 0, EWipe::Wipe, 0xFFFFFFFFu},
                      CFinishCase{"ClockWrapsAtTheEnd", EVerdict::Wrong, 0, EWipe::Wipe,
                                  DWORD{0} - kAnswerPauseMs}),
    [](const ::testing::TestParamInfo<CFinishCase>& testInfo) { return testInfo.param.pszName; });

// A clock whose sleeps overshoot, as a loaded machine's do: the pause still ends.
class COvershootingClock : public CFakeClock {
public:
    void Sleep(DWORD dwMilliseconds) override { CFakeClock::Sleep(dwMilliseconds + 7); }
};

TEST(DispatchFinishAnswer, PauseEndsWhenSleepsOvershoot) {
    CGame g;
    COvershootingClock clock;
    CViewWorld world;
    world.pHost = &g.m_host;
    world.pClock = &clock;
    world.pSound = &g.m_sound;
    world.oSeed = 1;
    g.m_pView = std::make_unique<CTessixView>(world);
    g.Paint();
    g.ChooseProblem(1);
    g.Click(g.View().m_ptLeft);
    EXPECT_GE(g.View().m_dwWaited, kAnswerPauseMs);
    EXPECT_LT(g.View().m_dwWaited, kAnswerPauseMs + 100u);
    EXPECT_EQ(g.View().m_nPhase, PHASE_MENU);
}

// ---- Sound cues.

struct CSoundCase {
    const char* pszName;
    int nId;
    bool bSync;
    bool bPlays;
};

class DispatchSoundCue : public ::testing::TestWithParam<CSoundCase> {};

TEST_P(DispatchSoundCue, PlaysTheResourceInItsMode) {
    const CSoundCase& c = GetParam();
    CGame g;
    if (c.bSync) {
        g.View().PlaySoundSync(c.nId);
    } else {
        g.View().PlaySoundAsync(c.nId);
    }
    if (!c.bPlays) {
        EXPECT_TRUE(g.m_sound.m_plays.empty()) << "a missing sound is silence";
        return;
    }
    ASSERT_EQ(g.m_sound.m_plays.size(), 1u);
    EXPECT_EQ(g.m_sound.m_plays[0].nBytes, LoadSoundResource(c.nId).size());
    EXPECT_GT(g.m_sound.m_plays[0].nBytes, 44u);
    EXPECT_EQ(g.m_sound.m_plays[0].eMode, c.bSync ? EPlayMode::Sync : EPlayMode::Async);
}

INSTANTIATE_TEST_SUITE_P(Cases, DispatchSoundCue,
                         ::testing::Values(CSoundCase{"Right", 102, true, true},
                                           CSoundCase{"Wrong", 103, true, true},
                                           CSoundCase{"NewProblem3", 104, false, true},
                                           CSoundCase{"MissingSync", 105, true, false},
                                           CSoundCase{"MissingAsync", 0, false, false}),
                         [](const ::testing::TestParamInfo<CSoundCase>& testInfo) {
                             return testInfo.param.pszName;
                         });

}  // namespace
