// SPDX-License-Identifier: MIT
// How a window shows a surface of fixed size, whatever size the desktop gives the window:
// at 1:1 and centred when the window is at least as large in both directions, otherwise
// scaled down to fit, its aspect kept, and centred. The rule maps surface pixels to the
// window pixels that show them and window pixels back to the surface pixel under them.
#pragma once

#include <optional>

#include "platform/Types.h"

class CPresentation {
public:
    CPresentation(CSize surface, CSize window);

    // Where the surface shows, in window pixels (half-open); empty for an empty surface.
    const CRect& Target() const { return m_rcTarget; }
    bool IsScaled() const { return m_bScaled; }
    // The surface pixel shown at window pixel pt; none outside the target.
    std::optional<CPoint> SurfacePointOf(CPoint pt) const;
    // The window pixels that show any part of the surface's half-open rectangle rc; when
    // scaled, one pixel more on each side, since a smoothed pixel blends its neighbours.
    CRect WindowRectOf(const CRect& rc) const;

private:
    CSize m_surface;
    CRect m_rcTarget;
    bool m_bScaled = false;
};
