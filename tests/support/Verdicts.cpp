// SPDX-License-Identifier: MIT
#include "support/Verdicts.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include <QColor>

#include "game/Colours.h"
#include "problems/Judges.h"

namespace {

// The box of a band's pixels that are not white, and whether one of them is exactly clr
// (the core of a glyph; its edges are blended with white).
struct CInk {
    CRect rc;
    bool bHasColor = false;
};

CInk InkIn(const QImage& image, const CRect& band, COLORREF clr) {
    const QRgb white = qRgb(255, 255, 255);
    const QRgb exact = CRaster::PixelOf(clr) | 0xFF000000u;
    CInk ink;
    ink.rc = CRect(band.right, band.bottom, band.left, band.top);
    for (int y = band.top; y < band.bottom; ++y) {
        for (int x = band.left; x < band.right; ++x) {
            const QRgb px = image.pixel(x, y) | 0xFF000000u;
            if (px != white) {
                ink.bHasColor = ink.bHasColor || px == exact;
                ink.rc = CRect(std::min(ink.rc.left, x), std::min(ink.rc.top, y),
                               std::max(ink.rc.right, x + 1), std::max(ink.rc.bottom, y + 1));
            }
        }
    }
    return ink;
}

bool Near(const CRect& a, const CRect& b) {
    constexpr int kSlack = 2;
    return std::abs(a.left - b.left) <= kSlack && std::abs(a.top - b.top) <= kSlack &&
           std::abs(a.right - b.right) <= kSlack && std::abs(a.bottom - b.bottom) <= kSlack;
}

int Differing(const QImage& a, const QImage& b, const CRect& band) {
    int n = 0;
    for (int y = band.top; y < band.bottom; ++y) {
        for (int x = band.left; x < band.right; ++x) {
            n += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
        }
    }
    return n;
}

}  // namespace

void WitnessSounds(CGame& game, std::vector<QImage>& shots) {
    game.m_sound.m_onPlay = [&game, &shots] {
        shots.push_back(game.m_host.m_raster.Image().copy());
    };
}

CString VerdictShown(const QImage& shot, CTessixView& view) {
    std::vector<std::pair<CString, COLORREF>> candidates = {
        {kSorry, kWrongColor}, {kTooBig, kWrongColor}, {kNotBigEnough, kWrongColor}};
    for (int n = kPointsStep; n <= kReshapeMaxPoints; n += kPointsStep) {
        candidates.emplace_back(RightAnswer(n).strMessage, kRightColor);
    }
    // Of the renderings whose ink covers the same box in the same colour, the one that
    // differs in the fewest pixels: two drawings of the same text may blend a glyph's
    // edges differently, while another digit or word differs in whole glyphs.
    const CRect& band = view.m_rectMessage;
    CString strBest;
    int nBest = -1;
    for (const auto& [strText, clr] : candidates) {
        CRaster ref(shot.width(), shot.height());
        CDC dc(ref);
        dc.SetBkMode(TRANSPARENT);
        dc.SelectObject(&view.m_fontResult);
        dc.SetTextColor(clr);
        dc.DrawText(strText, band, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_SHRINKTOFIT);
        const CInk inkShot = InkIn(shot, band, clr);
        const CInk inkRef = InkIn(ref.Image(), band, clr);
        if (!inkShot.bHasColor || !inkRef.bHasColor || !Near(inkShot.rc, inkRef.rc)) {
            continue;
        }
        const int nDiffering = Differing(shot, ref.Image(), band);
        if (nBest < 0 || nDiffering < nBest) {
            nBest = nDiffering;
            strBest = strText;
        }
    }
    return strBest;
}
