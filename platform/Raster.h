// SPDX-License-Identifier: MIT
// The client area as an in-memory true-colour raster, 32 bits a pixel. It is the one
// picture the window shows and the one the game reads back from, so a pixel reads back
// exactly as it was drawn.
//
// Pixel rules, stated once (pinned by tests/unit/RasterRulesTest.cpp):
// - Rectangle(l, t, r, b) and Ellipse(l, t, r, b) cover the half-open box
//   [l, r) x [t, b): the right column and bottom row of the box stay untouched.
// - A pen 1 pixel wide and a brush of the same colour give one solid shape.
// - A wider pen is stroked on the full box (l, t, r - l, b - t), which is what lets
//   three white rings wipe the rim of a circle that has shrunk by one step.
// - Polygons are filled with the alternate (odd-even) rule, pixel (x, y) when the point
//   (x, y) lies inside, and outlined edge by edge through their vertices: the pixel of
//   every vertex is drawn, nothing right of the rightmost or below the lowest, and each
//   edge's pixels depend only on its two end points, so a polygon drawn over another
//   along a shared edge covers that edge's old pixels exactly.
// - Shapes are never antialiased; text may be.
//
// The raster also keeps what has been drawn into it since the window last took it, as a
// few rectangles, so that the window copies only those to the screen. Surfaces report
// what each operation touches (Dc.cpp); a write through MutableRow or Image() is not
// reported and must be reported by its writer with AddDrawn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Types.h"

class QImage;

class CRaster {
public:
    CRaster();
    CRaster(int nWidth, int nHeight);
    ~CRaster();
    CRaster(const CRaster&) = delete;
    CRaster& operator=(const CRaster&) = delete;

    // Reallocates to the given size, filled white. Contents are not kept; the whole
    // raster counts as drawn.
    void Resize(int nWidth, int nHeight);
    int Width() const;
    int Height() const;

    // Raw rows, 0 <= y < Height(); each row holds Width() pixels in PixelOf() form.
    const std::uint32_t* Row(int y) const;
    std::uint32_t* MutableRow(int y);

    // The raw pixel value that a COLORREF is stored as, and back.
    static std::uint32_t PixelOf(COLORREF clr) {
        return 0xFF000000u | ((clr & 0xFFu) << 16) | (clr & 0xFF00u) | ((clr >> 16) & 0xFFu);
    }
    static COLORREF ColorOf(std::uint32_t px) {
        return ((px >> 16) & 0xFFu) | (px & 0xFF00u) | ((px & 0xFFu) << 16);
    }

    QImage& Image();
    const QImage& Image() const;

    // Records that the pixels of the half-open rectangle may have changed; the part
    // outside the raster is dropped. Two held rectangles are replaced by their bounding
    // box when it covers at most as many pixels again as the two (their overlap counted
    // twice); far-apart ones stay apart, up to kMaxDrawn, beyond which the two whose
    // bounding box wastes least are joined.
    void AddDrawn(const CRect& rc);
    // What has been drawn since the last TakeDrawn (or construction), disjoint or not,
    // and forgets it.
    std::vector<CRect> TakeDrawn();

    static constexpr std::size_t kMaxDrawn = 4;

private:
    std::unique_ptr<QImage> m_pImage;
    std::vector<CRect> m_drawn;
};
