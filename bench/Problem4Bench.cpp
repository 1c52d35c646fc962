// SPDX-License-Identifier: MIT
// Editing the blue shape of "Reshape The Larger One" at 1920 x 1080: one Down press
// (the erased strip, the shape redrawn, the cross-hair) beside the baseline of redrawing
// the blue polygon alone.
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/Dc.h"
#include "support/Headless.h"

namespace {

// Made at the first benchmark, once the program's GUI application exists.
std::unique_ptr<CGame> g_pReshape;

CGame& ReshapeGame() {
    if (!g_pReshape) {
        g_pReshape = std::make_unique<CGame>(1920, 1080, 1);
        g_pReshape->Paint();
        g_pReshape->ChooseProblem(4);
    }
    return *g_pReshape;
}

// Every press cuts a full strip: the top-left vertex goes back to its start after each
// one, without drawing, so the next press starts from the same place.
void BM_Problem4DownPress(benchmark::State& state) {
    CGame& game = ReshapeGame();
    CTessixView& v = game.View();
    for (auto _ : state) {
        game.Key(VK_DOWN);
        v.m_ptBlue[11] = v.m_ptBlueStart[11];
    }
}

void BM_Problem4BluePolygonOnly(benchmark::State& state) {
    CGame& game = ReshapeGame();
    CTessixView& v = game.View();
    for (auto _ : state) {
        CClientDC dc(game.m_host.ClientRaster());
        dc.SelectObject(&v.m_penBlue);
        dc.SelectObject(&v.m_brushCyan);
        dc.Polygon(v.m_ptBlue, 12);
    }
}

BENCHMARK(BM_Problem4DownPress);
BENCHMARK(BM_Problem4BluePolygonOnly);

}  // namespace
