// SPDX-License-Identifier: MIT
#include "support/Verdicts.h"

#include <utility>

#include "game/Colours.h"
#include "problems/Judges.h"

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
    const CRect& band = view.m_rectMessage;
    for (const auto& [strText, clr] : candidates) {
        CRaster ref(shot.width(), shot.height());
        CDC dc(ref);
        dc.SetBkMode(TRANSPARENT);
        dc.SelectObject(&view.m_fontResult);
        dc.SetTextColor(clr);
        dc.DrawText(strText, band, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        bool bSame = true;
        for (int y = band.top; y < band.bottom && bSame; ++y) {
            for (int x = band.left; x < band.right && bSame; ++x) {
                bSame = shot.pixel(x, y) == ref.Image().pixel(x, y);
            }
        }
        if (bSame) {
            return strText;
        }
    }
    return "";
}
