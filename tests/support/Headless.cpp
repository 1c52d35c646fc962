// SPDX-License-Identifier: MIT
#include "support/Headless.h"

#include <algorithm>
#include "app/Version.h"

#include "platform/Dialog.h"
#include "platform/Print.h"
#include "unit/PrintSurface.h"

int CHeadlessHost::MessageBox(const CString& strText, UINT nType) {
    m_messages.push_back({strText, nType});
    return IDOK;
}

int CHeadlessHost::DoModal(CDialog& dlg) {
    m_dialogs.push_back(&dlg);
    // The dialog opens and fills its controls as on screen; its list boxes are kept.
    CDialogControls controls(dlg);
    dlg.OnInitDialog();
    std::vector<CString> lines;
    for (const CDlgItem& item : dlg.Template().items) {
        if (const CListBox* pList = dlg.GetListBox(item.nId)) {
            for (int i = 0; i < pList->GetCount(); ++i) {
                lines.push_back(pList->GetText(i));
            }
        }
    }
    m_dialogLines.push_back(lines);
    return m_nDialogAnswer;
}

CGame::CGame(int nWidth, int nHeight, std::uint32_t nSeed) : m_host(nWidth, nHeight) {
    CViewWorld world;
    world.pHost = &m_host;
    world.pClock = &m_clock;
    world.pSound = &m_sound;
    world.oSeed = nSeed;
    world.strVersion = g_strVersion;
    m_pView = std::make_unique<CTessixView>(world);
}

void CGame::Paint() {
    CDC dc(m_host.ClientRaster());
    m_pView->OnDraw(&dc);
}

void CGame::Print() {
    CCharCellDC dc;
    CPrintInfo info;
    info.m_eMode = EPrintMode::Direct;
    info.m_rectDraw = CRect(0, 0, 4800, 6300);
    info.m_pPageSink = &dc;
    if (m_pView->OnPreparePrinting(&info)) {
        m_pView->OnBeginPrinting(&dc, &info);
        m_pView->OnPrint(&dc, &info);
        m_pView->OnEndPrinting(&dc, &info);
    }
}

void CGame::ChooseProblem(int p) {
    const CRect& rc = m_pView->m_rectMenuItem[p - 1];
    Click((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

COLORREF CGame::Pixel(int x, int y) const {
    CDC dc(const_cast<CRaster&>(m_host.m_raster));
    return dc.GetPixel(x, y);
}

int CGame::CountColor(const CRect& rc, COLORREF clr) const {
    return CountColorIn(m_host.m_raster, rc, clr);
}

CRect BoundsOfColorIn(const CRaster& raster, const CRect& rc, COLORREF clr) {
    CDC dc(const_cast<CRaster&>(raster));
    CRect b(rc.right, rc.bottom, rc.left, rc.top);
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            if (dc.GetPixel(x, y) == clr) {
                b = CRect(std::min(b.left, x), std::min(b.top, y), std::max(b.right, x + 1),
                          std::max(b.bottom, y + 1));
            }
        }
    }
    return b;
}

int CountColorIn(const CRaster& raster, const CRect& rc, COLORREF clr) {
    CDC dc(const_cast<CRaster&>(raster));
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            n += dc.GetPixel(x, y) == clr ? 1 : 0;
        }
    }
    return n;
}
