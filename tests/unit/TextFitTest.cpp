// SPDX-License-Identifier: MIT
// Every text of the game lies whole inside its box at every client size a screen may
// give, from the smallest the game runs at to 21:9 and portrait: a text cut by its box
// reaches the side it was cut at, so its pixels must stay clear of the sides it could be
// cut at (the far side of left-aligned text, every side of centred text); on landscape
// screens, where no text is made smaller, the band holds every wrapped text as laid out.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "game/Colours.h"
#include "game/ProblemTable.h"
#include "game/Rules.h"
#include "support/Headless.h"

namespace {

enum class EAlign { Left, Centre };

void ExpectWhole(const CGame& game, const CRect& box, COLORREF clr, EAlign eAlign,
                 const std::string& what) {
    const CRect b = BoundsOfColorIn(game.m_host.m_raster, box, clr);
    ASSERT_FALSE(b.IsRectEmpty()) << what << ": not drawn";
    EXPECT_LT(b.right, box.right) << what << ": cut at the right";
    EXPECT_LT(b.bottom, box.bottom) << what << ": cut at the bottom";
    EXPECT_GT(b.top, box.top) << what << ": cut at the top";
    if (eAlign == EAlign::Centre) {
        EXPECT_GT(b.left, box.left) << what << ": cut at the left";
    }
}

// Wrapped text whose last line reaches the bottom of its box may be whole (a descender
// on the box's last row) or cut: it is whole when the text, laid out in the box's width
// without a bottom, takes no more than the box's height.
void ExpectWrappedFits(CFont& font, const char* pszText, const CRect& box,
                       const std::string& what) {
    CRaster scratch(box.Width(), 1);
    CDC dc(scratch);
    dc.SelectObject(&font);
    EXPECT_LE(dc.DrawText(pszText, CRect(0, 0, box.Width(), 1), DT_WORDBREAK), box.Height())
        << what << ": more lines than the box holds";
}

struct CScreenSize {
    int nWidth;
    int nHeight;
};

class TextFit : public ::testing::TestWithParam<CScreenSize> {};

TEST_P(TextFit, EveryTextLiesWholeInsideItsBox) {
    CGame game(GetParam().nWidth, GetParam().nHeight);
    CTessixView& v = game.View();
    game.Paint();
    v.m_nScore = 88888;
    v.DrawMenu();
    ExpectWhole(game, v.m_rectTitle, kTitleColor, EAlign::Centre, "title");
    ExpectWhole(game, v.m_rectMessage, kHelpColor, EAlign::Left, "help");
    // On landscape screens the band holds the help and every prompt in the layout's fonts.
    const bool bLandscape = GetParam().nWidth >= GetParam().nHeight;
    if (bLandscape) {
        ExpectWrappedFits(v.m_fontLabel, v.m_strHelp.c_str(), v.m_rectMessage, "help");
    }
    ExpectWhole(game, v.m_rectScoreLabel, kScoreLabelColor, EAlign::Left, "score label");
    ExpectWhole(game, v.m_rectScore, kScoreColor, EAlign::Left, "score");
    for (int p = 1; p <= kProblems; ++p) {
        ExpectWhole(game, v.m_rectMenuItem[p - 1], CProblemTable::Row(p).clrMenuEntry, EAlign::Left,
                    "entry " + std::to_string(p));
    }
    for (int p = 1; p <= kProblems; ++p) {
        game.ChooseProblem(p);
        const std::string what = "prompt " + std::to_string(p);
        if (bLandscape) {
            ExpectWrappedFits(v.m_fontMessage, *CProblemTable::Row(p).ppszPrompt, v.m_rectMessage,
                              what);
        } else {
            ExpectWhole(game, v.m_rectMessage, kPromptColor, EAlign::Left, what);
        }
        v.m_nProblem = 0;
        v.DrawMenu();
    }
    // A verdict of problem 2, the longest there is, while its sound plays.
    game.ChooseProblem(2);
    game.m_sound.m_onPlay = [&] {
        const bool bRight =
            !BoundsOfColorIn(game.m_host.m_raster, v.m_rectMessage, kRightColor).IsRectEmpty();
        ExpectWhole(game, v.m_rectMessage, bRight ? kRightColor : kWrongColor, EAlign::Centre,
                    "verdict");
    };
    game.Click(v.m_ptRight);
    game.m_sound.m_onPlay = nullptr;
    for (int& nPlays : v.m_nPlays) {
        nPlays = kPresentations;
    }
    v.DrawMenu();
    ExpectWhole(game, v.m_rectMenuSlot[1], kGameOverColor, EAlign::Left, "game-over line");
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, TextFit,
    ::testing::Values(CScreenSize{780, 540}, CScreenSize{1280, 640}, CScreenSize{1600, 852},
                      CScreenSize{1680, 1002}, CScreenSize{1920, 1061}, CScreenSize{2560, 1080},
                      CScreenSize{2560, 1392}, CScreenSize{3440, 1392}, CScreenSize{3840, 2112},
                      CScreenSize{5120, 1440}, CScreenSize{1080, 1872}, CScreenSize{800, 1552}),
    [](const auto& testInfo) {
        return std::to_string(testInfo.param.nWidth) + "x" + std::to_string(testInfo.param.nHeight);
    });

}  // namespace
