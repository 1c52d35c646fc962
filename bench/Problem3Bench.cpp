// SPDX-License-Identifier: MIT
// Find The Center at 1920 x 1080: the centre measurement (a full column count, then the
// column and row sweeps that halve the green) beside one full count of the spanning
// rectangle, and a whole fresh start of the problem beside a plain clear of the window.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "platform/Dc.h"
#include "platform/Raster.h"
#include "support/Headless.h"

namespace {

constexpr COLORREF kGreen = RGB(0, 255, 0);

// A game showing problem 3. Made in each benchmark's setup, once the GUI application
// that text drawing needs exists, and dropped in its teardown.
std::unique_ptr<CGame> g_pGame;

void MakeGame(const benchmark::State&) {
    g_pGame = std::make_unique<CGame>(1920, 1080, 1);
    g_pGame->Paint();
    g_pGame->ChooseProblem(3);
}

void DropGame(const benchmark::State&) {
    g_pGame.reset();
}

void SetBytes(benchmark::State& state, const CRect& rc) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * rc.Width() *
                            rc.Height() * 4);
}

// The three sweeps exactly as a fresh start makes them.
void BM_Problem3CentreSweeps(benchmark::State& state) {
    CTessixView& v = g_pGame->View();
    for (auto _ : state) {
        v.CountPixelsByColumn(kGreen, 999999);
        const int nHalf = v.m_nAreaLeft / 2;
        v.CountPixelsByColumn(kGreen, nHalf);
        benchmark::DoNotOptimize(v.m_i);
        v.CountPixelsByRow(kGreen, nHalf);
        benchmark::DoNotOptimize(v.m_j);
    }
    SetBytes(state, v.m_rectBoth);
}

// Baseline: one full count of the same rectangle.
void BM_Problem3CentreSweeps_OneFullCount(benchmark::State& state) {
    CTessixView& v = g_pGame->View();
    for (auto _ : state) {
        v.CountPixelsByColumn(kGreen, 999999);
        benchmark::DoNotOptimize(v.m_nAreaLeft);
    }
    SetBytes(state, v.m_rectBoth);
}

// Prompt, frame, eight draws, the start sound's load, the polygon, the measurement, the
// grid position and the twelve dots.
void BM_Problem3FreshStart(benchmark::State& state) {
    CTessixView& v = g_pGame->View();
    for (auto _ : state) {
        v.m_nProblem = 3;
        v.m_nPhase = PHASE_FRESH;
        v.m_nPlays[2] = 0;
        v.DrawProblem3();
        g_pGame->m_sound.m_plays.clear();
        benchmark::DoNotOptimize(v.m_ptCenter);
    }
}

// Baseline: the white fill of the whole client area every screen starts with.
void BM_Problem3FreshStart_ClearRaster(benchmark::State& state) {
    CTessixView& v = g_pGame->View();
    for (auto _ : state) {
        CClientDC dc(g_pGame->m_host.ClientRaster());
        dc.SelectObject(&v.m_penWhite);
        dc.SelectObject(&v.m_brushWhite);
        dc.Rectangle(v.m_rectClient);
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_Problem3CentreSweeps)->Setup(MakeGame)->Teardown(DropGame);
BENCHMARK(BM_Problem3CentreSweeps_OneFullCount)->Setup(MakeGame)->Teardown(DropGame);
BENCHMARK(BM_Problem3FreshStart)->Setup(MakeGame)->Teardown(DropGame);
BENCHMARK(BM_Problem3FreshStart_ClearRaster)->Setup(MakeGame)->Teardown(DropGame);

}  // namespace
