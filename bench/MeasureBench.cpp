// SPDX-License-Identifier: MIT
// Pixel counting at 1920 x 1080: a full count of a shape square and the column and row
// sweeps of the spanning rectangle with an early stop, each beside the baselines of the
// same bytes read one GetPixel at a time and by a plain linear scan.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "platform/Dc.h"
#include "platform/Raster.h"
#include "support/Headless.h"

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);

// Two games at 1920 x 1080: one showing problem 1 (the counts), one with a green
// ellipse across the spanning rectangle (the sweeps).
class CBenchWorld {
public:
    CBenchWorld() : m_count(1920, 1080, 1), m_sweep(1920, 1080, 1) {
        m_count.Paint();
        m_count.ChooseProblem(1);

        m_sweep.Paint();
        CClientDC dc(m_sweep.m_host.ClientRaster());
        CPen pen;
        pen.CreatePen(PS_SOLID, 1, kGreen);
        CBrush brush;
        brush.CreateSolidBrush(kGreen);
        dc.SelectObject(&pen);
        dc.SelectObject(&brush);
        dc.Ellipse(m_sweep.View().m_rectBoth);
        m_sweep.View().CountPixelsByColumn(kGreen, 999999);
        m_nGreenArea = m_sweep.View().m_nAreaLeft;
    }

    CGame m_count;
    CGame m_sweep;
    int m_nGreenArea = 0;
};

// Made at the first benchmark, once the program's GUI application exists.
std::unique_ptr<CBenchWorld> g_pWorld;

CBenchWorld& World() {
    if (!g_pWorld) {
        g_pWorld = std::make_unique<CBenchWorld>();
    }
    return *g_pWorld;
}

// The baseline: every byte of the rectangle read once, as fast as a plain loop goes.
int PlainScan(const CRaster& raster, const CRect& rc, COLORREF clr) {
    const std::uint32_t px = CRaster::PixelOf(clr);
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        const std::uint32_t* pRow = raster.Row(y);
        n += static_cast<int>(std::count(pRow + rc.left, pRow + rc.right, px));
    }
    return n;
}

int PerPixelScan(CRaster& raster, const CRect& rc, COLORREF clr) {
    CDC dc(raster);
    int n = 0;
    for (int x = rc.left; x < rc.right; ++x) {
        for (int y = rc.top; y < rc.bottom; ++y) {
            n += dc.GetPixel(x, y) == clr ? 1 : 0;
        }
    }
    return n;
}

void SetBytes(benchmark::State& state, const CRect& rc) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * rc.Width() *
                            rc.Height() * 4);
}

void BM_CountLeftPixels(benchmark::State& state) {
    CTessixView& v = World().m_count.View();
    for (auto _ : state) {
        v.CountLeftPixels(kBlue);
        benchmark::DoNotOptimize(v.m_nAreaLeft);
    }
    SetBytes(state, v.m_rectLeft);
}

void BM_CountLeftPixels_PlainScan(benchmark::State& state) {
    CTessixView& v = World().m_count.View();
    CRaster& raster = World().m_count.m_host.ClientRaster();
    for (auto _ : state) {
        benchmark::DoNotOptimize(PlainScan(raster, v.m_rectLeft, kBlue));
    }
    SetBytes(state, v.m_rectLeft);
}

void BM_CountLeftPixels_GetPixelLoop(benchmark::State& state) {
    CTessixView& v = World().m_count.View();
    CRaster& raster = World().m_count.m_host.ClientRaster();
    for (auto _ : state) {
        benchmark::DoNotOptimize(PerPixelScan(raster, v.m_rectLeft, kBlue));
    }
    SetBytes(state, v.m_rectLeft);
}

// Sweeps with the limit at half the green area: they stop about half way through.
void BM_CountPixelsByColumn_Half(benchmark::State& state) {
    CTessixView& v = World().m_sweep.View();
    const int nLimit = World().m_nGreenArea / 2;
    for (auto _ : state) {
        v.CountPixelsByColumn(kGreen, nLimit);
        benchmark::DoNotOptimize(v.m_i);
    }
    SetBytes(state, v.m_rectBoth);
}

// The whole area, as problem 3 takes its total.
void BM_CountPixelsByColumn_Full(benchmark::State& state) {
    CTessixView& v = World().m_sweep.View();
    for (auto _ : state) {
        v.CountPixelsByColumn(kGreen, 999999);
        benchmark::DoNotOptimize(v.m_i);
    }
    SetBytes(state, v.m_rectBoth);
}

void BM_CountPixelsByRow_Half(benchmark::State& state) {
    CTessixView& v = World().m_sweep.View();
    const int nLimit = World().m_nGreenArea / 2;
    for (auto _ : state) {
        v.CountPixelsByRow(kGreen, nLimit);
        benchmark::DoNotOptimize(v.m_j);
    }
    SetBytes(state, v.m_rectBoth);
}

void BM_SpanningRect_PlainScan(benchmark::State& state) {
    CTessixView& v = World().m_sweep.View();
    CRaster& raster = World().m_sweep.m_host.ClientRaster();
    for (auto _ : state) {
        benchmark::DoNotOptimize(PlainScan(raster, v.m_rectBoth, kGreen));
    }
    SetBytes(state, v.m_rectBoth);
}

BENCHMARK(BM_CountLeftPixels);
BENCHMARK(BM_CountLeftPixels_PlainScan);
BENCHMARK(BM_CountLeftPixels_GetPixelLoop);
BENCHMARK(BM_CountPixelsByColumn_Half);
BENCHMARK(BM_CountPixelsByColumn_Full);
BENCHMARK(BM_CountPixelsByRow_Half);
BENCHMARK(BM_SpanningRect_PlainScan);

}  // namespace
