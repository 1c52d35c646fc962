// SPDX-License-Identifier: MIT
// A printer surface for tests: every character, blanks included, measures 10 units
// wide and every text 10 units high. It records what it measures and draws, with the
// font selected at the time, and takes new pages as the print job's page sink.
#pragma once

#include <string>
#include <vector>

#include "platform/Dc.h"
#include "platform/Print.h"
#include "platform/Raster.h"

struct CRasterHolder {
    CRaster m_raster{1, 1};  // unused: the surface draws nothing
};

class CCharCellDC : private CRasterHolder, public CDC, public IPageSink {
public:
    static constexpr int kCharWidth = 10;
    static constexpr int kCellHeight = 10;

    struct CFontSeen {
        CString strFace;
        int nHeight = 0;
        BOOL bUnderline = FALSE;
        bool operator==(const CFontSeen& o) const {
            return strFace == o.strFace && nHeight == o.nHeight && bUnderline == o.bUnderline;
        }
    };
    struct CDrawn {
        int nPage = 0;
        int x = 0;
        int y = 0;
        CString strText;
        CFontSeen font;
        bool operator==(const CDrawn& o) const {
            return nPage == o.nPage && x == o.x && y == o.y && strText == o.strText &&
                   font == o.font;
        }
    };

    CCharCellDC() : CDC(m_raster) {}

    CSize GetTextExtent(const CString& text) const override {
        m_measured.push_back({text, Seen()});
        return CSize(kCharWidth * static_cast<int>(text.size()), kCellHeight);
    }
    BOOL TextOut(int x, int y, const CString& text) override {
        m_drawn.push_back({m_nPage, x, y, text, Seen()});
        return TRUE;
    }
    BOOL NewPage() override {
        ++m_nPage;
        return TRUE;
    }

    CFont* Selected() const { return SelectedFont(); }

    struct CMeasured {
        CString strText;
        CFontSeen font;
    };
    mutable std::vector<CMeasured> m_measured;
    std::vector<CDrawn> m_drawn;
    int m_nPage = 0;

private:
    CFontSeen Seen() const {
        const CFont* pFont = SelectedFont();
        if (!pFont || !pFont->GetSafeHandle()) {
            return {};
        }
        return {pFont->Face(), pFont->Height(), pFont->Underline()};
    }
};
