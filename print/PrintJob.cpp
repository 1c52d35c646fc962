// SPDX-License-Identifier: MIT
// The print job: one call of OnPrint lays the instructions out for the printer's page
// and draws every laid-out page, each with its header line. Nothing of the game state
// is touched.
#include <cstdio>

#include "game/Fonts.h"
#include "game/TessixView.h"
#include "platform/Print.h"

BOOL CTessixView::OnPreparePrinting(CPrintInfo* pInfo) {
    // The dialog offers a single page; OnPrint prints every page all the same.
    pInfo->SetMaxPage(1);
    pInfo->m_nNumPreviewPages = 1;
    return DoPreparePrinting(pInfo);
}

void CTessixView::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CTessixView::OnPrint(CDC* pDC, CPrintInfo* pInfo) {
    m_nPageWidth = pInfo->m_rectDraw.right - pInfo->m_rectDraw.left;
    m_nTextWidth = 9 * m_nPageWidth / 10;
    m_nLeftMargin = (m_nPageWidth - m_nTextWidth) / 2;

    // Three quarters of the vertical slack lie above the text, one quarter below.
    m_nPageHeight = pInfo->m_rectDraw.bottom - pInfo->m_rectDraw.top;
    m_nTextHeight = 9 * m_nPageHeight / 10;
    m_nFontUnit = m_nTextHeight / 54;
    m_nTopMargin = 3 * (m_nPageHeight - m_nTextHeight) / 4;

    LayoutPrintText(pDC);

    for (m_nPrintPage = 0; m_nPrintPage < m_nPages; ++m_nPrintPage) {
        PrintPage(pDC);
        if (m_nPrintPage < m_nPages - 1) {
            pInfo->NewPage();
        }
    }
    pInfo->m_bContinuePrinting = FALSE;
}

void CTessixView::OnEndPrinting(CDC*, CPrintInfo*) {}

void CTessixView::PrintPage(CDC* pDC) {
    CString strHeader = m_strBanner + "    ";
    if (m_nPrintPage > 0) {
        std::snprintf(m_szNumber, sizeof m_szNumber, "%2i", m_nPrintPage + 1);
        strHeader += m_szNumber;
    }

    MakeFont(m_fontPageNumber, 4 * m_nFontUnit / 5, "Arial");
    CFont* pOldFont = pDC->SelectObject(&m_fontPageNumber);
    // The header stands one line pitch left of the text and below the top of the page.
    pDC->TextOut(m_nLeftMargin - m_nLineHeight, m_nLineHeight, strHeader);
    pDC->SelectObject(&m_fontBody);
    m_fontPageNumber.DeleteObject();

    m_nPageShown = m_nPrintPage;
    if (m_nPageShown >= 0 && m_nPageShown < kPrintPages) {
        const int nLast = m_nLastLine[m_nPageShown] < kPrintPageSlots ? m_nLastLine[m_nPageShown]
                                                                      : kPrintPageSlots - 1;
        for (int j = 0; j <= nLast; ++j) {
            const char* pszLine = m_szPageLine[m_nPageShown][j];
            const int y = m_nTopMargin + j * m_nLineHeight;
            if (pszLine[0] == '[') {
                // A heading line: drawn without its "[" in the heading font.
                pDC->SelectObject(&m_fontHeading);
                pDC->TextOut(m_nLeftMargin, y, pszLine + 1);
                pDC->SelectObject(&m_fontBody);
            } else if (pszLine[0] != '\0') {
                pDC->TextOut(m_nLeftMargin, y, pszLine);
            }
        }
    }

    pDC->SelectObject(pOldFont);
}
