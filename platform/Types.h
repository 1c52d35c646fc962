// SPDX-License-Identifier: MIT
// Value types of the platform layer: integers, colours and client-area geometry.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

using BOOL = int;  // 0 or 1
using UINT = unsigned int;
using DWORD = std::uint32_t;
using COLORREF = std::uint32_t;  // 0x00BBGGRR
using CString = std::string;

constexpr BOOL FALSE = 0;
constexpr BOOL TRUE = 1;

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GetGValue(COLORREF c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int GetBValue(COLORREF c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// What GetPixel answers for a point outside the surface; it equals no drawable colour.
constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;

struct CPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    constexpr CPoint() = default;
    constexpr CPoint(std::int32_t px, std::int32_t py) : x(px), y(py) {}
    constexpr bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }
    constexpr bool operator!=(const CPoint& o) const { return !(*this == o); }
};

struct CSize {
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    constexpr CSize() = default;
    constexpr CSize(std::int32_t w, std::int32_t h) : cx(w), cy(h) {}
    constexpr bool operator==(const CSize& o) const { return cx == o.cx && cy == o.cy; }
};

// A rectangle of client pixels. For pixels it is half-open: it covers x from left to
// right - 1 and y from top to bottom - 1. For a click, "inside" is strict on all four
// sides (ContainsStrictly), so a click on any border line is outside.
struct CRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    constexpr CRect() = default;
    constexpr CRect(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b)
        : left(l), top(t), right(r), bottom(b) {}
    constexpr std::int32_t Width() const { return right - left; }
    constexpr std::int32_t Height() const { return bottom - top; }
    constexpr bool IsRectEmpty() const { return left >= right || top >= bottom; }
    // Whether the pixel at p lies in the half-open rectangle.
    constexpr bool Contains(CPoint p) const {
        return left <= p.x && p.x < right && top <= p.y && p.y < bottom;
    }
    constexpr bool ContainsStrictly(CPoint p) const {
        return left < p.x && p.x < right && top < p.y && p.y < bottom;
    }
    constexpr bool operator==(const CRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    constexpr bool operator!=(const CRect& o) const { return !(*this == o); }
};

// The pixels both rectangles hold; empty (IsRectEmpty) when they share none.
constexpr CRect IntersectionOf(const CRect& a, const CRect& b) {
    return CRect(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom));
}

// The smallest half-open rectangle holding the pixel of each of the points (nCount > 0).
constexpr CRect PixelBoundsOf(const CPoint* pPoints, int nCount) {
    CRect rc(pPoints[0].x, pPoints[0].y, pPoints[0].x + 1, pPoints[0].y + 1);
    for (int i = 1; i < nCount; ++i) {
        const CPoint& pt = pPoints[i];
        rc = CRect(std::min(rc.left, pt.x), std::min(rc.top, pt.y), std::max(rc.right, pt.x + 1),
                   std::max(rc.bottom, pt.y + 1));
    }
    return rc;
}

// Virtual-key codes the game reads.
constexpr UINT VK_SPACE = 0x20;
constexpr UINT VK_HOME = 0x24;
constexpr UINT VK_LEFT = 0x25;
constexpr UINT VK_UP = 0x26;
constexpr UINT VK_RIGHT = 0x27;
constexpr UINT VK_DOWN = 0x28;
constexpr UINT VK_F1 = 0x70;
constexpr UINT VK_F2 = 0x71;
constexpr UINT VK_F3 = 0x72;
