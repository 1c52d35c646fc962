// SPDX-License-Identifier: MIT
// Painting: the caption, the size rules, the layout, the frame and the menu screen.
#include <algorithm>
#include <cstdio>
#include <initializer_list>

#include "game/Colours.h"
#include "game/Fonts.h"
#include "game/ProblemTable.h"
#include "game/TessixView.h"
#include "platform/Raster.h"
#include "scores/ScoresDlg.h"

namespace {

// Names the product and its makers; the caption and the printed header start with it.
constexpr const char* kBanner = "Tessix by The Tessix Developers -- ";

constexpr const char* kAbortMessage =
    "Program Abort: This game needs a minimum screen width of 800 and a minimum screen "
    "height of 600.";

constexpr int kMinClientWidth = 780;
constexpr int kMinClientHeight = 540;

constexpr const char* kHelpChoose =
    "To start or continue playing, please click on one of the problems listed below. ";
constexpr const char* kHelpKeys =
    "\nTo see the instructions, press F1. To print them, press the Ctrl and P keys. \nTo see "
    "past scores, press F2.\nTo exit, press the Alt and F4 keys. ";
constexpr const char* kHelpKeysGameOver =
    "To see the instructions, press F1. To print them, press the Ctrl and P keys. \nTo see "
    "past scores, press F2.\nTo exit, press the Alt and F4 keys. ";

}  // namespace

void CTessixView::OnDraw(CDC* pDC) {
    m_rectClient = m_pHost->GetClientRect();
    pDC->SetBkMode(TRANSPARENT);

    const int W = m_rectClient.right;
    const int H = m_rectClient.bottom;
    MakeFont(m_fontResult, H / 12, "Arial Bold");

    m_timeNow = CTime(m_pClock->Time());
    m_strDate = m_timeNow.Format("%c");
    m_strCaption = kBanner + m_strDate;
    m_strBanner = m_strCaption;
    m_strCaption += " -- Version " + m_strVersion;
    m_strBanner += " -- Version " + m_strVersion;
    m_pHost->SetWindowText(m_strCaption);

    if (m_bLayoutDone && m_rectClient != m_rectClientInit) {
        m_pHost->EndProgram(0);
        return;
    }
    if (W < kMinClientWidth || H < kMinClientHeight) {
        m_pHost->MessageBox(kAbortMessage, MB_OK);
        m_pHost->EndProgram(0);
        return;
    }

    // Layout that follows the window at every paint.
    m_nUnitX = W / 98;
    m_nUnitY = H / 69;
    m_nCenterX = W / 2;
    m_nCenterY = H / 2;
    m_ptLeft = CPoint(m_nCenterX - 190, m_nCenterY + 90);
    m_ptRight = CPoint(m_nCenterX + 190, m_nCenterY + 90);
    m_rectLeft = CRect(m_ptLeft.x - 168, m_ptLeft.y - 168, m_ptLeft.x + 168, m_ptLeft.y + 168);
    m_rectRight = CRect(m_ptRight.x - 168, m_rectLeft.top, m_ptRight.x + 168, m_rectLeft.bottom);
    m_rectBoth = CRect(m_ptLeft.x - 30, m_rectLeft.top, m_ptRight.x + 30, m_rectLeft.bottom);
    m_nFontHeight = m_nUnitX * 39 / 20;

    if (!m_bLayoutDone) {
        LayOutForTheGame(pDC);
    }

    pDC->SelectObject(&m_penWhite);
    pDC->SelectObject(&m_brushWhite);
    pDC->Rectangle(m_rectClient);

    DrawCurrentScreen();
}

void CTessixView::LayOutForTheGame(CDC* pDC) {
    const int W = m_rectClient.right;
    const int ux = m_nUnitX;
    const int uy = m_nUnitY;
    m_rectClientInit = m_rectClient;
    m_bLayoutDone = TRUE;
    m_rectTitle = CRect(m_nCenterX - 10 * ux, 0, m_nCenterX + 10 * ux, 4 * uy);
    // Eight lines of prompt high, but never into the shape squares: wiping the band
    // must leave every shape whole, since problem 4 counts its shape after the wipe.
    const int nBandBottom = std::min(6 * uy + 8 * m_nFontHeight, m_rectLeft.top);
    m_rectMessage = CRect(4 * ux, 6 * uy, W - 4 * ux, nBandBottom);
    // The score boxes start ux / 2 from the top: a horizontal unit used vertically.
    m_rectScore = CRect(W - 10 * ux, ux / 2, W - 2 * ux, 4 * uy);
    m_rectScoreLabel = CRect(W - 18 * ux - ux / 2, ux / 2, W - 10 * ux - ux / 2, 4 * uy);
    const int B = m_rectMessage.bottom;
    for (m_i = 0; m_i < kProblems; ++m_i) {
        m_rectMenuSlot[m_i] =
            CRect(6 * ux, B + (6 * m_i + 3) * uy, W - 6 * ux, B + (6 * m_i + 3) * uy + 4 * uy);
        m_rectMenuItem[m_i] = m_rectMenuSlot[m_i];
    }
    MakeFont(m_fontTitle, 4 * uy, "Courier New", FW_BOLD);
    MakeFont(m_fontLabel, 9 * uy / 4, "Arial Bold");
    MakeFont(m_fontMessage, PromptFontHeight(), "Arial Bold");
    m_clrOrange = pDC->GetNearestColor(kOrange);
    if (!m_brushOrange.GetSafeHandle()) {
        m_brushOrange.CreateSolidBrush(m_clrOrange);
    }
    m_nPhase = PHASE_MENU;
}

int CTessixView::PromptFontHeight() const {
    if (m_rectMessage.Height() == 8 * m_nFontHeight) {
        return m_nFontHeight;
    }
    // The band stops short of its eight lines: the largest height up to m_nFontHeight at
    // which every prompt, wrapped to the band's width, fits its height. DrawText returns
    // the height the wrapped text takes whatever the surface, so a scratch one serves.
    CRaster scratch(1, 1);
    CDC dc(scratch);
    CFont font;
    dc.SelectObject(&font);
    const CRect rcBand(0, 0, m_rectMessage.Width(), m_rectMessage.Height());
    int nHeight = m_nFontHeight;
    for (; nHeight > 1; --nHeight) {
        MakeFont(font, nHeight, "Arial Bold");
        bool bFits = true;
        for (int p = 1; p <= kProblems; ++p) {
            const char* pszPrompt = *CProblemTable::Row(p).ppszPrompt;
            bFits = bFits && dc.DrawText(pszPrompt, rcBand, DT_WORDBREAK) <= rcBand.Height();
        }
        if (bFits) {
            break;
        }
    }
    return nHeight;
}

void CTessixView::DrawCurrentScreen() {
    if (m_nPhase == PHASE_MENU || !CProblemTable::IsProblem(m_nProblem)) {
        DrawMenu();
        return;
    }
    (this->*CProblemTable::Row(m_nProblem).pfnDraw)();
}

void CTessixView::DrawFrame(CDC* pDC) {
    pDC->SelectObject(&m_penWhite);
    pDC->SelectObject(&m_brushWhite);
    pDC->SetBkMode(TRANSPARENT);

    pDC->SelectObject(&m_fontTitle);
    pDC->SetTextColor(kTitleColor);
    pDC->DrawText("TESSIX", m_rectTitle, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_SHRINKTOFIT);

    if (m_nScore == 0) {
        return;
    }
    pDC->Rectangle(m_rectScore);
    pDC->Rectangle(m_rectScoreLabel);
    pDC->SelectObject(&m_fontLabel);
    pDC->SetTextColor(kScoreLabelColor);
    pDC->DrawText("Score: ", m_rectScoreLabel,
                  DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_SHRINKTOFIT);
    std::snprintf(m_szNumber, sizeof m_szNumber, "%i", m_nScore);
    pDC->SetTextColor(kScoreColor);
    pDC->DrawText(m_szNumber, m_rectScore, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_SHRINKTOFIT);
}

void CTessixView::DrawMenu() {
    CClientDC dc(m_pHost->ClientRaster());
    dc.SelectObject(&m_penWhite);
    dc.SelectObject(&m_brushWhite);
    dc.Rectangle(m_rectClient);
    dc.SetBkMode(TRANSPARENT);

    dc.SelectObject(&m_fontLabel);
    dc.SetTextColor(kHelpColor);
    bool bAnyOpen = false;
    for (m_i = 0; m_i < kProblems; ++m_i) {
        bAnyOpen = bAnyOpen || m_nPlays[m_i] < kPresentations;
    }
    m_strHelp = bAnyOpen ? CString(kHelpChoose) + kHelpKeys : CString(kHelpKeysGameOver);
    dc.DrawText(m_strHelp, m_rectMessage, DT_WORDBREAK | DT_SHRINKTOFIT);

    m_bMenuActive = TRUE;
    m_nPhase = PHASE_MENU;
    m_bSwapLeft = FALSE;
    m_bSwapRight = FALSE;

    dc.SelectObject(&m_fontTitle);
    for (m_i = 0; m_i < kProblems; ++m_i) {
        if (m_nPlays[m_i] >= kPresentations) {
            continue;
        }
        const CProblemRow& row = CProblemTable::Row(m_i + 1);
        m_strLabel = row.pszMenuEntry;
        dc.Rectangle(m_rectMenuItem[m_i]);
        dc.SetTextColor(row.clrMenuEntry);
        dc.DrawText(m_strLabel, m_rectMenuItem[m_i],
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_SHRINKTOFIT);
    }

    if (!bAnyOpen) {
        m_strLabel = "Game Over! To Play Again Press Home.";
        dc.Rectangle(m_rectMenuSlot[1]);
        dc.SetTextColor(kGameOverColor);
        dc.DrawText(m_strLabel, m_rectMenuSlot[1],
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_SHRINKTOFIT);
        if (!m_bGameOver) {
            g_dlgScores.RecordScore(m_nScore);
        }
        m_bGameOver = TRUE;
    }

    DrawFrame(&dc);
}

void CTessixView::DrawPromptScreen(CDC* pDC, const char* pszPrompt) {
    pDC->SelectObject(&m_penWhite);
    pDC->SelectObject(&m_brushWhite);
    pDC->Rectangle(m_rectClient);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(kPromptColor);
    pDC->SelectObject(&m_fontMessage);
    m_strLabel = pszPrompt;
    pDC->DrawText(m_strLabel, m_rectMessage, DT_WORDBREAK | DT_SHRINKTOFIT);
}
