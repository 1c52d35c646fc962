// SPDX-License-Identifier: MIT
// Areas as pixel counts of one exact colour, read back from the client-area raster.
//
// The counts walk the raster by rows (raw row pointers, never a per-pixel call) yet
// report exactly what a column-by-column walk of the same rectangle would: the same
// count, the same stop pixel for a sweep with a limit, and the same final cursors in
// m_i and m_j. Pixels outside the raster never match.
#include <algorithm>
#include <cstdint>

#include "game/TessixView.h"
#include "platform/Raster.h"

namespace {

// The part of a rectangle that lies on the raster.
struct CClip {
    int x0 = 0;
    int x1 = 0;
    int y0 = 0;
    int y1 = 0;
    bool Empty() const { return x0 >= x1 || y0 >= y1; }
};

CClip ClipTo(const CRaster& raster, const CRect& rc) {
    CClip c;
    c.x0 = std::max(rc.left, 0);
    c.x1 = std::min(rc.right, raster.Width());
    c.y0 = std::max(rc.top, 0);
    c.y1 = std::min(rc.bottom, raster.Height());
    return c;
}

int CountRow(const std::uint32_t* pRow, int x0, int x1, std::uint32_t px) {
    int n = 0;
    for (int x = x0; x < x1; ++x) {
        n += pRow[x] == px ? 1 : 0;
    }
    return n;
}

// Columns counted together by a column sweep: 64 pixels are four cache lines of a row.
constexpr int kStripWidth = 64;

// Adds to columns[k] the matches of column x0 + k over rows y0 to y1 - 1.
void CountStrip(const CRaster& raster, int x0, int nWidth, int y0, int y1, std::uint32_t px,
                int* columns) {
    if (nWidth == kStripWidth) {
        // A fixed trip count lets the compiler vectorise the inner loop.
        for (int y = y0; y < y1; ++y) {
            const std::uint32_t* pRow = raster.Row(y) + x0;
            for (int k = 0; k < kStripWidth; ++k) {
                columns[k] += pRow[k] == px ? 1 : 0;
            }
        }
        return;
    }
    for (int y = y0; y < y1; ++y) {
        const std::uint32_t* pRow = raster.Row(y) + x0;
        for (int k = 0; k < nWidth; ++k) {
            columns[k] += pRow[k] == px ? 1 : 0;
        }
    }
}

int CountRect(const CRaster& raster, const CRect& rc, COLORREF clr) {
    const CClip c = ClipTo(raster, rc);
    if (c.Empty()) {
        return 0;
    }
    const std::uint32_t px = CRaster::PixelOf(clr);
    int n = 0;
    for (int y = c.y0; y < c.y1; ++y) {
        n += CountRow(raster.Row(y), c.x0, c.x1, px);
    }
    return n;
}

// Where a sweep got to: the matches counted and, once the total passed the limit, the
// line (column or row) and the pixel along it where it did.
struct CSweep {
    int nTotal = 0;
    bool bStopped = false;
    int nLine = 0;
    int nAlong = 0;
};

// The counting both sweeps share. Adds one line of nMatches matches to the sweep; when that
// would take the total past nLimit, walks the line's pixels at(nFrom) to at(nTo - 1) instead
// and records the stop at the one that passes it. Returns whether the sweep stopped.
template <typename PixelAt>
bool AddLine(CSweep& sweep, int nMatches, int nLine, int nFrom, int nTo, std::uint32_t px,
             int nLimit, PixelAt at) {
    if (sweep.nTotal + nMatches <= nLimit) {
        sweep.nTotal += nMatches;
        return false;
    }
    for (int i = nFrom; i < nTo; ++i) {
        sweep.nTotal += at(i) == px ? 1 : 0;
        if (sweep.nTotal > nLimit) {
            sweep.bStopped = true;
            sweep.nLine = nLine;
            sweep.nAlong = i;
            return true;
        }
    }
    return false;
}

int SumOf(const int* counts, int n) {
    int nSum = 0;
    for (int k = 0; k < n; ++k) {
        nSum += counts[k];
    }
    return nSum;
}

// The columns are taken in strips: one pass down a strip by rows gives each of its columns'
// counts, so a sweep that stops early reads little beyond its stop column. In the strip
// where the running total passes the limit, the column that passes it is walked down to
// its stop pixel.
CSweep SweepColumns(const CRaster& raster, const CClip& c, std::uint32_t px, int nLimit) {
    CSweep sweep;
    for (int x0 = c.x0; x0 < c.x1; x0 += kStripWidth) {
        const int nWidth = std::min(kStripWidth, c.x1 - x0);
        int columns[kStripWidth] = {};
        CountStrip(raster, x0, nWidth, c.y0, c.y1, px, columns);
        const int nStrip = SumOf(columns, nWidth);
        if (sweep.nTotal + nStrip <= nLimit) {
            sweep.nTotal += nStrip;
            continue;
        }
        for (int k = 0; k < nWidth; ++k) {
            const int x = x0 + k;
            const auto at = [&raster, x](int y) { return raster.Row(y)[x]; };
            if (AddLine(sweep, columns[k], x, c.y0, c.y1, px, nLimit, at)) {
                return sweep;
            }
        }
    }
    return sweep;
}

// Row by row; the row that passes the limit is walked along to its stop pixel.
CSweep SweepRows(const CRaster& raster, const CClip& c, std::uint32_t px, int nLimit) {
    CSweep sweep;
    if (c.Empty()) {
        return sweep;
    }
    for (int y = c.y0; y < c.y1; ++y) {
        const std::uint32_t* pRow = raster.Row(y);
        const auto at = [pRow](int x) { return pRow[x]; };
        if (AddLine(sweep, CountRow(pRow, c.x0, c.x1, px), y, c.x0, c.x1, px, nLimit, at)) {
            return sweep;
        }
    }
    return sweep;
}

// Where a sweep leaves its cursor, as (line, pixel along it): one past the line it stopped
// on and the pixel it stopped at, or past the last line when it ran through.
CPoint SweepEnd(const CSweep& sweep, int nPastLines, int nPastAlong) {
    return sweep.bStopped ? CPoint(sweep.nLine + 1, sweep.nAlong) : CPoint(nPastLines, nPastAlong);
}

}  // namespace

void CTessixView::CountLeftPixels(COLORREF clr) {
    m_nAreaLeft = 0;
    m_i = m_rectLeft.left;
    if (m_i >= m_rectLeft.right) {
        return;
    }
    m_nAreaLeft = CountRect(m_pHost->ClientRaster(), m_rectLeft, clr);
    m_i = m_rectLeft.right;
    m_j = std::max(m_rectLeft.top, m_rectLeft.bottom);
}

void CTessixView::CountRightPixels(COLORREF clr) {
    m_nAreaRight = 0;
    m_i = m_rectRight.left;
    if (m_i >= m_rectRight.right) {
        return;
    }
    m_nAreaRight = CountRect(m_pHost->ClientRaster(), m_rectRight, clr);
    m_i = m_rectRight.right;
    m_j = std::max(m_rectRight.top, m_rectRight.bottom);
}

void CTessixView::CountPixelsByColumn(COLORREF clr, int nLimit) {
    const CRect& rc = m_rectBoth;
    m_nAreaLeft = 0;
    m_i = rc.left;
    if (m_i >= rc.right || nLimit < 0) {
        // With a negative limit the sweep stops before its first column.
        return;
    }
    const CRaster& raster = m_pHost->ClientRaster();
    const CSweep sweep = SweepColumns(raster, ClipTo(raster, rc), CRaster::PixelOf(clr), nLimit);
    m_nAreaLeft = sweep.nTotal;
    const CPoint end = SweepEnd(sweep, rc.right, std::max(rc.top, rc.bottom));
    m_i = end.x;
    m_j = end.y;
}

void CTessixView::CountPixelsByRow(COLORREF clr, int nLimit) {
    const CRect& rc = m_rectBoth;
    m_nAreaRight = 0;
    m_j = rc.top;
    if (m_j >= rc.bottom || nLimit < 0) {
        return;
    }
    const CRaster& raster = m_pHost->ClientRaster();
    const CSweep sweep = SweepRows(raster, ClipTo(raster, rc), CRaster::PixelOf(clr), nLimit);
    m_nAreaRight = sweep.nTotal;
    const CPoint end = SweepEnd(sweep, rc.bottom, std::max(rc.left, rc.right));
    m_j = end.x;
    m_i = end.y;
}
