// SPDX-License-Identifier: MIT
// The print layout of the built-in instructions on an A4 page at 1200 dpi, beside its
// floor: measuring each finished line once in the same body font. The layout measures
// every line again after each word it adds, so the ratio is about the words per line.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/Dc.h"
#include "platform/Raster.h"
#include "support/Headless.h"

namespace {

// The page geometry of an A4 sheet printed at 1200 dpi.
constexpr int kTextWidth = 8624;
constexpr int kTextHeight = 12329;
constexpr int kFontUnit = kTextHeight / 54;

void SetPrinterPage(CTessixView& view) {
    view.m_nTextWidth = kTextWidth;
    view.m_nTextHeight = kTextHeight;
    view.m_nFontUnit = kFontUnit;
}

void BM_LayoutBuiltInText(benchmark::State& state) {
    CGame game;
    CRaster raster(64, 64);
    CDC dc(raster);
    SetPrinterPage(game.View());
    for (auto _ : state) {
        game.View().LayoutPrintText(&dc);
        benchmark::DoNotOptimize(game.View().m_nPages);
    }
}
BENCHMARK(BM_LayoutBuiltInText)->Unit(benchmark::kMicrosecond);

void BM_MeasureLaidOutLinesOnce(benchmark::State& state) {
    CGame game;
    CRaster raster(64, 64);
    CDC dc(raster);
    SetPrinterPage(game.View());
    game.View().LayoutPrintText(&dc);
    std::vector<CString> lines;
    const CTessixView& view = game.View();
    for (int p = 0; p < view.m_nPages; ++p) {
        for (int j = 0; j <= view.m_nLastLine[p]; ++j) {
            if (view.m_szPageLine[p][j][0] != '\0') {
                lines.emplace_back(view.m_szPageLine[p][j]);
            }
        }
    }
    CFont font;
    font.CreateFont(kFontUnit, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, ANSI_CHARSET,
                    OUT_DEVICE_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH, "Arial");
    dc.SelectObject(&font);
    for (auto _ : state) {
        for (const CString& strLine : lines) {
            benchmark::DoNotOptimize(dc.GetTextExtent(strLine));
        }
    }
    state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_MeasureLaidOutLinesOnce)->Unit(benchmark::kMicrosecond);

}  // namespace
