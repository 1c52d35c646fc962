// SPDX-License-Identifier: MIT
// The layout the first paint computes from the client area, the size rule with its abort
// message, and the end of the program when the client area changes after the layout.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "support/Headless.h"

namespace {

struct CLayoutCase {
    const char* pszName;  // size and field
    int nWidth;
    int nHeight;
    std::function<CRect(const CTessixView&)> field;
    CRect rcExpected;  // rectangles as they are; a point as (x, y, 0, 0); a number as (n, 0, 0, 0)
};

CRect Number(int n) {
    return CRect(n, 0, 0, 0);
}
CRect Point(CPoint pt) {
    return CRect(pt.x, pt.y, 0, 0);
}

// The values worked out by hand for the two sizes the game documents.
const CLayoutCase kLayout[] = {
    {"800x600_UnitX", 800, 600, [](const CTessixView& v) { return Number(v.m_nUnitX); }, Number(8)},
    {"800x600_UnitY", 800, 600, [](const CTessixView& v) { return Number(v.m_nUnitY); }, Number(8)},
    {"800x600_CenterX", 800, 600, [](const CTessixView& v) { return Number(v.m_nCenterX); },
     Number(400)},
    {"800x600_CenterY", 800, 600, [](const CTessixView& v) { return Number(v.m_nCenterY); },
     Number(300)},
    {"800x600_FontHeight", 800, 600, [](const CTessixView& v) { return Number(v.m_nFontHeight); },
     Number(15)},
    {"800x600_PtLeft", 800, 600, [](const CTessixView& v) { return Point(v.m_ptLeft); },
     Point({210, 390})},
    {"800x600_PtRight", 800, 600, [](const CTessixView& v) { return Point(v.m_ptRight); },
     Point({590, 390})},
    {"800x600_RectLeft",
     800,
     600,
     [](const CTessixView& v) { return v.m_rectLeft; },
     {42, 222, 378, 558}},
    {"800x600_RectRight",
     800,
     600,
     [](const CTessixView& v) { return v.m_rectRight; },
     {422, 222, 758, 558}},
    {"800x600_RectBoth",
     800,
     600,
     [](const CTessixView& v) { return v.m_rectBoth; },
     {180, 222, 620, 558}},
    {"800x600_RectTitle",
     800,
     600,
     [](const CTessixView& v) { return v.m_rectTitle; },
     {320, 0, 480, 32}},
    {"800x600_RectMessage",
     800,
     600,
     [](const CTessixView& v) { return v.m_rectMessage; },
     {32, 48, 768, 168}},
    {"800x600_RectScore",
     800,
     600,
     [](const CTessixView& v) { return v.m_rectScore; },
     {720, 4, 784, 32}},
    {"800x600_RectScoreLabel",
     800,
     600,
     [](const CTessixView& v) { return v.m_rectScoreLabel; },
     {652, 4, 716, 32}},
    {"800x600_MenuSlot0",
     800,
     600,
     [](const CTessixView& v) { return v.m_rectMenuSlot[0]; },
     {48, 192, 752, 224}},
    {"800x600_MenuSlot1",
     800,
     600,
     [](const CTessixView& v) { return v.m_rectMenuSlot[1]; },
     {48, 240, 752, 272}},
    {"800x600_MenuSlot2",
     800,
     600,
     [](const CTessixView& v) { return v.m_rectMenuSlot[2]; },
     {48, 288, 752, 320}},
    {"800x600_MenuSlot3",
     800,
     600,
     [](const CTessixView& v) { return v.m_rectMenuSlot[3]; },
     {48, 336, 752, 368}},
    {"800x600_MenuItem0",
     800,
     600,
     [](const CTessixView& v) { return v.m_rectMenuItem[0]; },
     {48, 192, 752, 224}},
    {"800x600_MenuItem3",
     800,
     600,
     [](const CTessixView& v) { return v.m_rectMenuItem[3]; },
     {48, 336, 752, 368}},
    {"800x600_FontResult", 800, 600,
     [](const CTessixView& v) { return Number(v.m_fontResult.Height()); }, Number(50)},
    {"800x600_FontTitle", 800, 600,
     [](const CTessixView& v) { return Number(v.m_fontTitle.Height()); }, Number(32)},
    {"800x600_FontLabel", 800, 600,
     [](const CTessixView& v) { return Number(v.m_fontLabel.Height()); }, Number(18)},
    {"800x600_FontMessage", 800, 600,
     [](const CTessixView& v) { return Number(v.m_fontMessage.Height()); }, Number(15)},
    {"800x600_ClientInit",
     800,
     600,
     [](const CTessixView& v) { return v.m_rectClientInit; },
     {0, 0, 800, 600}},
    {"780x540_UnitX", 780, 540, [](const CTessixView& v) { return Number(v.m_nUnitX); }, Number(7)},
    {"780x540_UnitY", 780, 540, [](const CTessixView& v) { return Number(v.m_nUnitY); }, Number(7)},
    {"780x540_FontHeight", 780, 540, [](const CTessixView& v) { return Number(v.m_nFontHeight); },
     Number(13)},
    {"780x540_RectMessage",
     780,
     540,
     [](const CTessixView& v) { return v.m_rectMessage; },
     {28, 42, 752, 146}},
    // A full-HD screen under a panel and a caption: the band ends above the squares.
    {"1920x1061_RectMessage",
     1920,
     1061,
     [](const CTessixView& v) { return v.m_rectMessage; },
     {76, 90, 1844, 386}},
    {"780x540_RectLeft",
     780,
     540,
     [](const CTessixView& v) { return v.m_rectLeft; },
     {32, 192, 368, 528}},
};

class Layout : public ::testing::TestWithParam<CLayoutCase> {};

TEST_P(Layout, FirstPaintComputesTheDocumentedValue) {
    const CLayoutCase& c = GetParam();
    CGame game(c.nWidth, c.nHeight);
    game.Paint();
    ASSERT_FALSE(game.m_host.m_oExitCode.has_value());
    const CRect rc = c.field(game.View());
    EXPECT_EQ(rc.left, c.rcExpected.left);
    EXPECT_EQ(rc.top, c.rcExpected.top);
    EXPECT_EQ(rc.right, c.rcExpected.right);
    EXPECT_EQ(rc.bottom, c.rcExpected.bottom);
}

INSTANTIATE_TEST_SUITE_P(Fields, Layout, ::testing::ValuesIn(kLayout),
                         [](const auto& testInfo) { return std::string(testInfo.param.pszName); });

TEST(LayoutShapes, ShapeAreasAre336SquareAnd380ApartAtEverySize) {
    for (const CSize size : {CSize(780, 540), CSize(800, 600), CSize(1024, 768), CSize(1920, 1080),
                             CSize(2561, 1439)}) {
        CGame game(size.cx, size.cy);
        game.Paint();
        const CTessixView& v = game.View();
        EXPECT_EQ(v.m_rectLeft.Width(), 336) << size.cx << "x" << size.cy;
        EXPECT_EQ(v.m_rectLeft.Height(), 336) << size.cx << "x" << size.cy;
        EXPECT_EQ(v.m_rectRight.Width(), 336) << size.cx << "x" << size.cy;
        EXPECT_EQ(v.m_ptRight.x - v.m_ptLeft.x, 380) << size.cx << "x" << size.cy;
        // Both squares lie inside the client area, under the menu band.
        EXPECT_GE(v.m_rectLeft.left, 0);
        EXPECT_LE(v.m_rectRight.right, size.cx);
        EXPECT_LE(v.m_rectLeft.bottom, size.cy);
    }
}

struct CSizeRuleCase {
    const char* pszName;
    int nWidth;
    int nHeight;
    bool bAborts;
};

class SizeRule : public ::testing::TestWithParam<CSizeRuleCase> {};

TEST_P(SizeRule, TooSmallClientAreaShowsTheAbortMessageAndEndsWithZero) {
    const CSizeRuleCase& c = GetParam();
    CGame game(c.nWidth, c.nHeight);
    game.Paint();
    const CHeadlessHost& host = game.m_host;
    if (!c.bAborts) {
        EXPECT_TRUE(host.m_messages.empty());
        EXPECT_FALSE(host.m_oExitCode.has_value());
        EXPECT_EQ(game.View().m_bLayoutDone, TRUE);
        return;
    }
    ASSERT_EQ(host.m_messages.size(), 1u);
    EXPECT_EQ(host.m_messages[0].strText,
              "Program Abort: This game needs a minimum screen width of 800 and a minimum "
              "screen height of 600.");
    EXPECT_EQ(host.m_messages[0].nType, MB_OK);
    ASSERT_TRUE(host.m_oExitCode.has_value());
    EXPECT_EQ(*host.m_oExitCode, 0);
    EXPECT_EQ(game.View().m_bLayoutDone, FALSE);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SizeRule,
                         ::testing::Values(CSizeRuleCase{"Exactly780x540Runs", 780, 540, false},
                                           CSizeRuleCase{"Size800x600Runs", 800, 600, false},
                                           CSizeRuleCase{"OneColumnShort", 779, 540, true},
                                           CSizeRuleCase{"OneRowShort", 780, 539, true},
                                           CSizeRuleCase{"BothShort", 640, 480, true},
                                           CSizeRuleCase{"WideButLow", 1920, 300, true},
                                           CSizeRuleCase{"EmptyClientArea", 0, 0, true}),
                         [](const auto& testInfo) { return std::string(testInfo.param.pszName); });

struct CResizeCase {
    const char* pszName;
    int nWidth;  // the client area at the next paint, after a layout at 800x600
    int nHeight;
    bool bEnds;
};

class ResizeAfterLayout : public ::testing::TestWithParam<CResizeCase> {};

TEST_P(ResizeAfterLayout, ChangedClientAreaEndsWithZeroWithoutAMessage) {
    const CResizeCase& c = GetParam();
    CGame game(800, 600);
    game.Paint();
    ASSERT_FALSE(game.m_host.m_oExitCode.has_value());

    game.m_host.Resize(c.nWidth, c.nHeight);
    game.Paint();
    EXPECT_TRUE(game.m_host.m_messages.empty());
    if (c.bEnds) {
        ASSERT_TRUE(game.m_host.m_oExitCode.has_value());
        EXPECT_EQ(*game.m_host.m_oExitCode, 0);
    } else {
        EXPECT_FALSE(game.m_host.m_oExitCode.has_value());
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ResizeAfterLayout,
                         ::testing::Values(CResizeCase{"SameSizeRepaints", 800, 600, false},
                                           CResizeCase{"Wider", 801, 600, true},
                                           CResizeCase{"Lower", 800, 599, true},
                                           CResizeCase{"Larger", 1920, 1080, true},
                                           CResizeCase{"BelowTheMinimum", 700, 500, true}),
                         [](const auto& testInfo) { return std::string(testInfo.param.pszName); });

TEST(LayoutNewGame, NextPaintAfterANewGameLaysOutAgainAtTheNewSize) {
    CGame game(800, 600);
    game.Paint();
    game.View().NewGame(0);
    game.m_host.Resize(1024, 768);
    game.Paint();
    EXPECT_FALSE(game.m_host.m_oExitCode.has_value());
    EXPECT_EQ(game.View().m_rectClientInit, CRect(0, 0, 1024, 768));
    EXPECT_EQ(game.View().m_rectTitle, CRect(512 - 100, 0, 512 + 100, 44));
}

TEST(LayoutFirstPaint, LayoutPassAlwaysShowsTheMenu) {
    CGame game(800, 600);
    game.View().m_nPhase = PHASE_SHOWN;
    game.View().m_nProblem = 1;
    game.Paint();
    EXPECT_EQ(game.View().m_nPhase, PHASE_MENU);
    EXPECT_EQ(game.View().m_bMenuActive, TRUE);
}

}  // namespace
