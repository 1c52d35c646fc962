// SPDX-License-Identifier: MIT
// How the window shows the game surface: 1:1 and centred in a window at least as large,
// scaled down with its aspect kept in a smaller one; clicks map back to the pixel shown.
// And the keys the window hands the game as virtual-key codes.
#include <gtest/gtest.h>

#include <Qt>
#include <cstdlib>
#include <optional>

#include "platform/Presentation.h"
#include "platform/ViewWidget.h"

namespace {

struct CShowRow {
    CSize surface;
    CSize window;
};

class PresentationTest : public ::testing::TestWithParam<CShowRow> {};

TEST_P(PresentationTest, TargetFitsTheWindowAndClicksMapBackToTheShownPixel) {
    const CShowRow& row = GetParam();
    const CPresentation shown(row.surface, row.window);
    const CRect& rc = shown.Target();
    const bool bFits = row.surface.cx <= row.window.cx && row.surface.cy <= row.window.cy;
    EXPECT_EQ(shown.IsScaled(), !bFits);
    EXPECT_EQ(IntersectionOf(rc, CRect(0, 0, row.window.cx, row.window.cy)), rc)
        << "off the window";
    // Centred: the margins on opposite sides differ by at most a pixel.
    EXPECT_LE(std::abs(rc.left - (row.window.cx - rc.right)), 1);
    EXPECT_LE(std::abs(rc.top - (row.window.cy - rc.bottom)), 1);
    if (bFits) {
        EXPECT_EQ(CSize(rc.Width(), rc.Height()), row.surface);
    } else {
        // Scaled to touch the window on one axis, the aspect kept to within a pixel.
        EXPECT_TRUE(rc.Width() == row.window.cx || rc.Height() == row.window.cy);
        EXPECT_LE(std::abs(static_cast<long long>(rc.Width()) * row.surface.cy -
                           static_cast<long long>(rc.Height()) * row.surface.cx),
                  std::max(row.surface.cx, row.surface.cy));
    }
    // The target's corners show the surface's corners, to within one step of the scale;
    // the background shows nothing.
    const std::optional<CPoint> first = shown.SurfacePointOf(CPoint(rc.left, rc.top));
    ASSERT_TRUE(first.has_value());
    EXPECT_LE(first->x, row.surface.cx / rc.Width());
    EXPECT_LE(first->y, row.surface.cy / rc.Height());
    const std::optional<CPoint> last = shown.SurfacePointOf(CPoint(rc.right - 1, rc.bottom - 1));
    ASSERT_TRUE(last.has_value());
    EXPECT_LE(row.surface.cx - 1 - last->x, row.surface.cx / rc.Width());
    EXPECT_LE(row.surface.cy - 1 - last->y, row.surface.cy / rc.Height());
    EXPECT_FALSE(shown.SurfacePointOf(CPoint(rc.left - 1, rc.top)).has_value());
    EXPECT_FALSE(shown.SurfacePointOf(CPoint(rc.right, rc.bottom - 1)).has_value());
    // A window pixel is repainted whenever the surface pixel it shows is drawn.
    for (int k = 0; k < 64; ++k) {
        const CPoint at(rc.left + k * 37 % rc.Width(), rc.top + k * 53 % rc.Height());
        const CPoint pt = *shown.SurfacePointOf(at);
        EXPECT_TRUE(shown.WindowRectOf(CRect(pt.x, pt.y, pt.x + 1, pt.y + 1)).Contains(at))
            << "window pixel " << at.x << "," << at.y;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, PresentationTest,
    ::testing::Values(CShowRow{{1920, 1061}, {1920, 1061}}, CShowRow{{1920, 1048}, {1920, 1080}},
                      CShowRow{{1916, 1034}, {2560, 1440}}, CShowRow{{1920, 1061}, {1916, 1034}},
                      CShowRow{{1920, 1061}, {800, 1600}}, CShowRow{{780, 540}, {779, 540}},
                      CShowRow{{2560, 1080}, {1280, 1024}}, CShowRow{{1, 1}, {5, 3}}));

TEST(PresentationTest, AnEmptyWindowShowsNothingAndTakesNoClick) {
    const CPresentation shown(CSize(800, 600), CSize(0, 0));
    EXPECT_FALSE(shown.SurfacePointOf(CPoint(0, 0)).has_value());
}

TEST(WindowKeys, TheGamesKeysReachItAsTheirVirtualKeyCodes) {
    const struct {
        int nQtKey;
        UINT nVirtualKey;
    } rows[] = {{Qt::Key_F1, VK_F1},     {Qt::Key_F2, VK_F2},      {Qt::Key_Home, VK_HOME},
                {Qt::Key_Up, VK_UP},     {Qt::Key_Down, VK_DOWN},  {Qt::Key_Space, VK_SPACE},
                {Qt::Key_Left, VK_LEFT}, {Qt::Key_Right, VK_RIGHT}};
    for (const auto& row : rows) {
        EXPECT_EQ(CViewWidget::VirtualKeyOf(row.nQtKey), row.nVirtualKey) << row.nQtKey;
        EXPECT_EQ(CViewWidget::QtKeyOf(row.nVirtualKey), row.nQtKey) << row.nVirtualKey;
    }
    EXPECT_EQ(CViewWidget::VirtualKeyOf(Qt::Key_unknown), 0u);
}

}  // namespace
