// SPDX-License-Identifier: MIT
// The menu screen as drawn: entries, help text, title and score boxes; the game-over
// menu and its one recording of the score; the re-lay of the entries as problems run
// out; a new game; the caption.
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "game/Colours.h"
#include "game/ProblemTable.h"
#include "platform/Raster.h"
#include "scores/ScoresDlg.h"
#include "support/Headless.h"

namespace {

constexpr const char* kHelpFull =
    "To start or continue playing, please click on one of the problems listed below. \nTo "
    "see the instructions, press F1. To print them, press the Ctrl and P keys. \nTo see past "
    "scores, press F2.\nTo exit, press the Alt and F4 keys. ";
constexpr const char* kHelpGameOver =
    "To see the instructions, press F1. To print them, press the Ctrl and P keys. \nTo see past "
    "scores, press F2.\nTo exit, press the Alt and F4 keys. ";

// The past scores are one global list: every test starts from an empty one.
class Menu : public ::testing::Test {
protected:
    void SetUp() override { g_dlgScores.ClearHistory(); }

    static CRect Whole(const CGame& game) { return game.m_host.GetClientRect(); }
    static int Everywhere(const CGame& game, COLORREF clr) {
        return game.CountColor(Whole(game), clr);
    }
    // Brings every count to 5 and draws the menu, as the last answer of a game does.
    static void FinishGame(CGame& game, int nScore) {
        for (int& n : game.View().m_nPlays) {
            n = 5;
        }
        game.View().m_nScore = nScore;
        game.View().m_nProblem = 0;
        game.View().DrawMenu();
    }
    // Presents problem p for the fifth time from the menu, then returns to the menu.
    static void Exhaust(CGame& game, int p) {
        game.View().m_nPlays[p - 1] = 4;
        game.ChooseProblem(p);
        ASSERT_EQ(game.View().m_nProblem, p);
        ASSERT_EQ(game.View().m_nPlays[p - 1], kPresentations);
        game.View().m_nProblem = 0;
        game.View().DrawMenu();
    }
    // The lowest row of the band holding bluish text pixels (antialiased, so by hue), or -1.
    static int LowestHelpRow(const CGame& game) {
        const CRect& rc = game.m_pView->m_rectMessage;
        int nLowest = -1;
        for (int y = rc.top; y < rc.bottom; ++y) {
            for (int x = rc.left; x < rc.right; ++x) {
                const COLORREF clr = game.Pixel(x, y);
                if (GetBValue(clr) > GetRValue(clr) + 60 && GetBValue(clr) > GetGValue(clr) + 60) {
                    nLowest = y;
                    break;
                }
            }
        }
        return nLowest;
    }
};

struct CSizeCase {
    const char* pszName;
    int nWidth;
    int nHeight;
};

const CSizeCase kSizes[] = {
    {"Minimum780x540", 780, 540}, {"Size800x600", 800, 600}, {"Size1920x1080", 1920, 1080}};

class MenuAtSize : public Menu, public ::testing::WithParamInterface<CSizeCase> {};

TEST_P(MenuAtSize, EachEntryIsDrawnInItsColourInsideItsRectangleOnly) {
    CGame game(GetParam().nWidth, GetParam().nHeight);
    game.Paint();
    for (int i = 0; i < kProblems; ++i) {
        const int nInside =
            game.CountColor(game.View().m_rectMenuItem[i], CProblemTable::Row(i + 1).clrMenuEntry);
        EXPECT_GT(nInside, 30) << "entry " << i + 1;
        EXPECT_EQ(Everywhere(game, CProblemTable::Row(i + 1).clrMenuEntry), nInside)
            << "entry " << i + 1;
    }
}

TEST_P(MenuAtSize, HelpTextAndTitleAreDrawnInTheirBoxes) {
    CGame game(GetParam().nWidth, GetParam().nHeight);
    game.Paint();
    const CTessixView& v = game.View();
    const int nHelp = game.CountColor(v.m_rectMessage, kHelpColor);
    EXPECT_GT(nHelp, 100);
    EXPECT_EQ(Everywhere(game, kHelpColor), nHelp);
    const int nTitle = game.CountColor(v.m_rectTitle, kTitleColor);
    EXPECT_GT(nTitle, 30);
    EXPECT_EQ(Everywhere(game, kTitleColor), nTitle);
    EXPECT_EQ(v.m_strHelp, kHelpFull);
}

TEST_P(MenuAtSize, NothingButWhiteOutsideTheTextBoxes) {
    CGame game(GetParam().nWidth, GetParam().nHeight);
    // Something left over from before the paint must be cleared.
    {
        CDC dc(game.m_host.ClientRaster());
        dc.SetPixel(GetParam().nWidth - 1, GetParam().nHeight - 1, kBlack);
        dc.SetPixel(0, GetParam().nHeight - 1, kBlack);
    }
    game.Paint();
    const CTessixView& v = game.View();
    std::vector<CRect> boxes = {v.m_rectTitle, v.m_rectMessage};
    for (const CRect& rc : v.m_rectMenuItem) {
        boxes.push_back(rc);
    }
    int nStray = 0;
    for (int y = 0; y < GetParam().nHeight; ++y) {
        for (int x = 0; x < GetParam().nWidth; ++x) {
            bool bInBox = false;
            for (const CRect& rc : boxes) {
                bInBox = bInBox || (rc.left <= x && x < rc.right && rc.top <= y && y < rc.bottom);
            }
            nStray += !bInBox && game.Pixel(x, y) != kWhite ? 1 : 0;
        }
    }
    EXPECT_EQ(nStray, 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, MenuAtSize, ::testing::ValuesIn(kSizes),
                         [](const auto& testInfo) { return std::string(testInfo.param.pszName); });

struct CScoreBoxCase {
    const char* pszName;
    int nScore;
    int anPlays[kProblems];
    bool bBoxes;
};

class MenuScoreBoxes : public Menu, public ::testing::WithParamInterface<CScoreBoxCase> {};

TEST_P(MenuScoreBoxes, ScoreBoxesAppearOnlyForAScoreOtherThanZero) {
    const CScoreBoxCase& c = GetParam();
    CGame game(800, 600);
    game.Paint();
    for (int i = 0; i < kProblems; ++i) {
        game.View().m_nPlays[i] = c.anPlays[i];
    }
    game.View().m_nScore = c.nScore;
    game.Paint();
    const CTessixView& v = game.View();
    const int nNumber = game.CountColor(v.m_rectScore, kScoreColor);
    const int nLabel = game.CountColor(v.m_rectScoreLabel, kScoreLabelColor);
    if (c.bBoxes) {
        EXPECT_GT(nNumber, 10);
        EXPECT_GT(nLabel, 10);
        EXPECT_EQ(Everywhere(game, kScoreColor), nNumber);
        EXPECT_EQ(Everywhere(game, kScoreLabelColor), nLabel);
        return;
    }
    EXPECT_EQ(Everywhere(game, kScoreColor), 0);
    EXPECT_EQ(Everywhere(game, kScoreLabelColor), 0);
    EXPECT_EQ(game.CountColor(v.m_rectScore, kWhite),
              v.m_rectScore.Width() * v.m_rectScore.Height());
    EXPECT_EQ(game.CountColor(v.m_rectScoreLabel, kWhite),
              v.m_rectScoreLabel.Width() * v.m_rectScoreLabel.Height());
}

INSTANTIATE_TEST_SUITE_P(Scores, MenuScoreBoxes,
                         ::testing::Values(CScoreBoxCase{"ZeroAtStart", 0, {0, 0, 0, 0}, false},
                                           CScoreBoxCase{
                                               "ZeroAfterWrongAnswersOnly", 0, {3, 1, 5, 2}, false},
                                           CScoreBoxCase{"Hundred", 100, {1, 0, 0, 0}, true},
                                           CScoreBoxCase{"LargeTotal", 4750, {5, 5, 4, 5}, true}),
                         [](const auto& testInfo) { return std::string(testInfo.param.pszName); });

TEST_F(Menu, GameOverShowsOnlyTheGameOverLineInTheSecondSlot) {
    CGame game(800, 600);
    game.Paint();
    const int nFullHelpBottom = LowestHelpRow(game);
    FinishGame(game, 700);
    game.Paint();

    const CTessixView& v = game.View();
    const int nLine = game.CountColor(v.m_rectMenuSlot[1], kGameOverColor);
    EXPECT_GT(nLine, 30);
    EXPECT_EQ(Everywhere(game, kGameOverColor), nLine);
    for (int i = 0; i < kProblems; ++i) {
        EXPECT_EQ(Everywhere(game, CProblemTable::Row(i + 1).clrMenuEntry), 0) << "entry " << i + 1;
    }
    // The help without its first sentence: same text box, fewer lines.
    EXPECT_EQ(v.m_strHelp, kHelpGameOver);
    EXPECT_GT(game.CountColor(v.m_rectMessage, kHelpColor), 100);
    EXPECT_LT(LowestHelpRow(game), nFullHelpBottom);
    EXPECT_EQ(v.m_bGameOver, TRUE);
    EXPECT_EQ(v.m_bMenuActive, TRUE);
    EXPECT_EQ(v.m_nPhase, PHASE_MENU);
}

TEST_F(Menu, GameOverRecordsTheScoreOnceOverRepaints) {
    CGame game(800, 600);
    game.Paint();
    FinishGame(game, 850);
    game.Paint();
    game.Paint();
    game.View().DrawMenu();
    game.Paint();
    EXPECT_EQ(g_dlgScores.m_nScoreCount, 1);
    EXPECT_EQ(g_dlgScores.m_nScores[0], 850);
    EXPECT_EQ(g_dlgScores.m_nScores[1], 0);
}

TEST_F(Menu, GameOverWithZeroScoreIsRecordedToo) {
    CGame game(800, 600);
    game.Paint();
    FinishGame(game, 0);
    game.Paint();
    EXPECT_EQ(g_dlgScores.m_nScoreCount, 1);
    EXPECT_EQ(g_dlgScores.m_nScores[0], 0);
    EXPECT_EQ(Everywhere(game, kScoreColor), 0);
}

TEST_F(Menu, EachFinishedGameIsRecordedNewestFirst) {
    CGame game(800, 600);
    game.Paint();
    FinishGame(game, 300);
    game.Key(VK_HOME);
    game.Paint();
    FinishGame(game, 1250);
    game.Paint();
    EXPECT_EQ(g_dlgScores.m_nScoreCount, 2);
    EXPECT_EQ(g_dlgScores.m_nScores[0], 1250);
    EXPECT_EQ(g_dlgScores.m_nScores[1], 300);
}

struct CRelayCase {
    const char* pszName;
    std::vector<int> exhausted;  // problems presented for the fifth time, in this order
    int anSlot[kProblems];       // the slot each problem's entry is drawn in; -1: not drawn
};

class MenuRelay : public Menu, public ::testing::WithParamInterface<CRelayCase> {};

TEST_P(MenuRelay, OpenEntriesCloseUpFromTheTopInProblemOrder) {
    const CRelayCase& c = GetParam();
    CGame game(800, 600);
    game.Paint();
    for (const int p : c.exhausted) {
        Exhaust(game, p);
    }
    game.Paint();

    const CTessixView& v = game.View();
    bool abSlotUsed[kProblems] = {};
    for (int i = 0; i < kProblems; ++i) {
        SCOPED_TRACE("problem " + std::to_string(i + 1));
        if (c.anSlot[i] < 0) {
            EXPECT_EQ(Everywhere(game, CProblemTable::Row(i + 1).clrMenuEntry), 0);
            continue;
        }
        const CRect& rcSlot = v.m_rectMenuSlot[c.anSlot[i]];
        abSlotUsed[c.anSlot[i]] = true;
        EXPECT_EQ(v.m_rectMenuItem[i], rcSlot);
        const int nInSlot = game.CountColor(rcSlot, CProblemTable::Row(i + 1).clrMenuEntry);
        EXPECT_GT(nInSlot, 30);
        EXPECT_EQ(Everywhere(game, CProblemTable::Row(i + 1).clrMenuEntry), nInSlot);
    }
    for (int s = 0; s < kProblems; ++s) {
        if (!abSlotUsed[s]) {
            const CRect& rc = v.m_rectMenuSlot[s];
            EXPECT_EQ(game.CountColor(rc, kWhite), rc.Width() * rc.Height())
                << "slot " << s << " should be empty";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Orders, MenuRelay,
                         ::testing::Values(CRelayCase{"NothingExhausted", {}, {0, 1, 2, 3}},
                                           CRelayCase{"ProblemOneFirst", {1}, {-1, 0, 1, 2}},
                                           CRelayCase{"ProblemFourFirst", {4}, {0, 1, 2, -1}},
                                           CRelayCase{"ProblemTwoFirst", {2}, {0, -1, 1, 2}},
                                           CRelayCase{"ThreeThenOne", {3, 1}, {-1, 0, -1, 1}},
                                           CRelayCase{"AllButFour", {2, 1, 3}, {-1, -1, -1, 0}}),
                         [](const auto& testInfo) { return std::string(testInfo.param.pszName); });

TEST_F(Menu, ClickOnAnExhaustedEntrysOldPlaceChoosesTheEntryNowThere) {
    CGame game(800, 600);
    game.Paint();
    Exhaust(game, 1);
    const CRect& rcSlot0 = game.View().m_rectMenuSlot[0];
    game.Click((rcSlot0.left + rcSlot0.right) / 2, (rcSlot0.top + rcSlot0.bottom) / 2);
    EXPECT_EQ(game.View().m_nProblem, 2);
    EXPECT_EQ(game.View().m_nPlays[0], kPresentations);
    EXPECT_EQ(game.View().m_nPlays[1], 1);
}

struct CNewGameCase {
    const char* pszName;
    bool bByClick;  // a click on the game-over line, else the Home key
};

class MenuNewGame : public Menu, public ::testing::WithParamInterface<CNewGameCase> {};

TEST_P(MenuNewGame, NewGamePutsEveryEntryBackInItsSlotAndKeepsThePastScores) {
    CGame game(800, 600);
    game.Paint();
    Exhaust(game, 1);
    Exhaust(game, 3);
    FinishGame(game, 550);
    ASSERT_EQ(game.View().m_bGameOver, TRUE);

    if (GetParam().bByClick) {
        const CRect& rc = game.View().m_rectMenuSlot[1];
        game.Click((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    } else {
        game.Key(VK_HOME);
    }

    const CTessixView& v = game.View();
    EXPECT_EQ(v.m_bGameOver, FALSE);
    EXPECT_EQ(v.m_nScore, 0);
    for (int i = 0; i < kProblems; ++i) {
        EXPECT_EQ(v.m_nPlays[i], 0);
        EXPECT_EQ(v.m_rectMenuItem[i], v.m_rectMenuSlot[i]);
    }
    EXPECT_EQ(g_dlgScores.m_nScoreCount, 1);
    EXPECT_EQ(g_dlgScores.m_nScores[0], 550);

    // The new game's menu, on screen at once and after the next paint.
    for (int nPaint = 0; nPaint < 2; ++nPaint) {
        SCOPED_TRACE(nPaint == 0 ? "as drawn by the new game" : "after a paint");
        for (int i = 0; i < kProblems; ++i) {
            EXPECT_GT(game.CountColor(v.m_rectMenuSlot[i], CProblemTable::Row(i + 1).clrMenuEntry),
                      30)
                << "entry " << i + 1;
        }
        EXPECT_EQ(Everywhere(game, kGameOverColor), 0);
        EXPECT_EQ(Everywhere(game, kScoreColor), 0);
        game.Paint();
    }
    EXPECT_EQ(g_dlgScores.m_nScoreCount, 1);
}

INSTANTIATE_TEST_SUITE_P(Paths, MenuNewGame,
                         ::testing::Values(CNewGameCase{"HomeKey", false},
                                           CNewGameCase{"ClickOnGameOverLine", true}),
                         [](const auto& testInfo) { return std::string(testInfo.param.pszName); });

std::string LocalDate(std::int32_t nSeconds) {
    const std::time_t t = nSeconds;
    std::tm local{};
    localtime_r(&t, &local);
    char sz[128] = {};
    return std::string(sz, std::strftime(sz, sizeof sz, "%c", &local));
}

TEST_F(Menu, CaptionIsBannerDateAndVersionAndFollowsTheClock) {
    CGame game(800, 600);
    game.m_clock.m_nSeconds = 1'700'000'000;
    game.Paint();
    const std::string strFirst = game.m_host.m_strCaption;
    const std::string strTail = " -- " + LocalDate(1'700'000'000) + " -- Version D613";
    ASSERT_GT(strFirst.size(), strTail.size());
    EXPECT_EQ(strFirst.substr(strFirst.size() - strTail.size()), strTail);
    EXPECT_EQ(game.View().m_strCaption, strFirst);
    EXPECT_EQ(game.View().m_strBanner, strFirst);
    EXPECT_EQ(game.View().m_strDate, LocalDate(1'700'000'000));

    game.m_clock.m_nSeconds += 3 * 86400 + 3661;
    game.Paint();
    const std::string strLater = game.m_host.m_strCaption;
    const std::string strLaterTail =
        " -- " + LocalDate(1'700'000'000 + 3 * 86400 + 3661) + " -- Version D613";
    EXPECT_NE(strLater, strFirst);
    EXPECT_EQ(strLater.substr(strLater.size() - strLaterTail.size()), strLaterTail);
    // The banner at the head stays the same.
    EXPECT_EQ(strLater.substr(0, strLater.size() - strLaterTail.size()),
              strFirst.substr(0, strFirst.size() - strTail.size()));
}

}  // namespace
