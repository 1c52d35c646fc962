// SPDX-License-Identifier: MIT
// Problem 2 at 1920 x 1080: one Up press and one Down press end to end (the circle
// redrawn, three wide rings and the new circle on the way down, and re-measured after
// each), beside the full count of the circle's square alone.
#include <benchmark/benchmark.h>

#include "support/Headless.h"

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
// Starts at inset 20 with the grow limit 0, so Up and Down both act at every press.
constexpr std::uint32_t kSeed = 16;

void StartProblem2(CGame& game) {
    game.Paint();
    game.ChooseProblem(2);
}

void BM_Problem2_UpThenDown(benchmark::State& state) {
    CGame game(1920, 1080, kSeed);
    StartProblem2(game);
    for (auto _ : state) {
        game.Key(VK_UP);
        game.Key(VK_DOWN);
        benchmark::DoNotOptimize(game.View().m_nAreaRight);
    }
    state.SetItemsProcessed(state.iterations() * 2);
}

void BM_Problem2_CountRightPixels(benchmark::State& state) {
    CGame game(1920, 1080, kSeed);
    StartProblem2(game);
    for (auto _ : state) {
        game.View().CountRightPixels(kMagenta);
        benchmark::DoNotOptimize(game.View().m_nAreaRight);
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_Problem2_UpThenDown)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Problem2_CountRightPixels)->Unit(benchmark::kMicrosecond);

}  // namespace
