// SPDX-License-Identifier: MIT
// A full paint of the menu at 1920 x 1080 (caption, result font, white fill, help text,
// entries, title) beside the two ways of merely filling the same raster white: the
// image's own fill and one Rectangle over the client area.
#include <benchmark/benchmark.h>

#include <QImage>

#include "platform/Dc.h"
#include "platform/Raster.h"
#include "support/Headless.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// Every paint after the first: the layout is done, the menu is redrawn whole.
void BM_Menu_OnDraw(benchmark::State& state) {
    CGame game(kWidth, kHeight);
    game.Paint();
    for (auto _ : state) {
        game.Paint();
        benchmark::DoNotOptimize(game.m_host.m_raster.Row(kHeight / 2));
    }
}
BENCHMARK(BM_Menu_OnDraw)->Unit(benchmark::kMillisecond);

// The first paint of a game: the layout and its three fonts as well.
void BM_Menu_FirstPaintOfAGame(benchmark::State& state) {
    CGame game(kWidth, kHeight);
    game.Paint();
    for (auto _ : state) {
        game.View().NewGame(0);
        game.Paint();
        benchmark::DoNotOptimize(game.m_host.m_raster.Row(kHeight / 2));
    }
}
BENCHMARK(BM_Menu_FirstPaintOfAGame)->Unit(benchmark::kMillisecond);

// Baseline: the raster filled white by the image itself, the least a full clear costs.
void BM_Menu_PlainFill(benchmark::State& state) {
    CRaster raster(kWidth, kHeight);
    for (auto _ : state) {
        raster.Image().fill(Qt::white);
        benchmark::DoNotOptimize(raster.Row(kHeight / 2));
    }
}
BENCHMARK(BM_Menu_PlainFill)->Unit(benchmark::kMillisecond);

// Baseline: the same clear as the game makes it, one white Rectangle through the surface.
void BM_Menu_RectangleFill(benchmark::State& state) {
    CRaster raster(kWidth, kHeight);
    CDC dc(raster);
    CPen pen;
    CBrush brush;
    pen.CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    brush.CreateSolidBrush(RGB(255, 255, 255));
    dc.SelectObject(&pen);
    dc.SelectObject(&brush);
    for (auto _ : state) {
        dc.Rectangle(0, 0, kWidth, kHeight);
        benchmark::DoNotOptimize(raster.Row(kHeight / 2));
    }
}
BENCHMARK(BM_Menu_RectangleFill)->Unit(benchmark::kMillisecond);

}  // namespace
