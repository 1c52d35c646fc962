// SPDX-License-Identifier: MIT
#include "platform/Presentation.h"

#include <algorithm>
#include <cstdint>

namespace {

// n * num / den rounded down or up, in 64 bits (sizes multiply beyond 32).
std::int32_t ScaleDown(std::int32_t n, std::int32_t num, std::int32_t den) {
    return static_cast<std::int32_t>(static_cast<std::int64_t>(n) * num / den);
}

std::int32_t ScaleUp(std::int32_t n, std::int32_t num, std::int32_t den) {
    return static_cast<std::int32_t>((static_cast<std::int64_t>(n) * num + den - 1) / den);
}

}  // namespace

CPresentation::CPresentation(CSize surface, CSize window) : m_surface(surface) {
    if (surface.cx <= 0 || surface.cy <= 0 || window.cx <= 0 || window.cy <= 0) {
        return;
    }
    CSize shown = surface;
    if (surface.cx > window.cx || surface.cy > window.cy) {
        m_bScaled = true;
        // The direction that needs the smaller scale decides it: window.cx / surface.cx
        // against window.cy / surface.cy, compared without division.
        const bool bWidthBound = static_cast<std::int64_t>(window.cx) * surface.cy <=
                                 static_cast<std::int64_t>(window.cy) * surface.cx;
        shown = bWidthBound ? CSize(window.cx, ScaleDown(surface.cy, window.cx, surface.cx))
                            : CSize(ScaleDown(surface.cx, window.cy, surface.cy), window.cy);
        shown = CSize(std::max(shown.cx, 1), std::max(shown.cy, 1));
    }
    const std::int32_t left = (window.cx - shown.cx) / 2;
    const std::int32_t top = (window.cy - shown.cy) / 2;
    m_rcTarget = CRect(left, top, left + shown.cx, top + shown.cy);
}

std::optional<CPoint> CPresentation::SurfacePointOf(CPoint pt) const {
    if (m_rcTarget.IsRectEmpty() || !m_rcTarget.Contains(pt)) {
        return std::nullopt;
    }
    // The surface pixel under the middle of the window pixel.
    return CPoint(
        ScaleDown(2 * (pt.x - m_rcTarget.left) + 1, m_surface.cx, 2 * m_rcTarget.Width()),
        ScaleDown(2 * (pt.y - m_rcTarget.top) + 1, m_surface.cy, 2 * m_rcTarget.Height()));
}

CRect CPresentation::WindowRectOf(const CRect& rc) const {
    if (m_rcTarget.IsRectEmpty()) {
        return CRect();
    }
    const std::int32_t w = m_rcTarget.Width();
    const std::int32_t h = m_rcTarget.Height();
    CRect shown(m_rcTarget.left + ScaleDown(rc.left, w, m_surface.cx),
                m_rcTarget.top + ScaleDown(rc.top, h, m_surface.cy),
                m_rcTarget.left + ScaleUp(rc.right, w, m_surface.cx),
                m_rcTarget.top + ScaleUp(rc.bottom, h, m_surface.cy));
    if (m_bScaled) {
        shown = CRect(shown.left - 1, shown.top - 1, shown.right + 1, shown.bottom + 1);
    }
    return IntersectionOf(shown, m_rcTarget);
}
