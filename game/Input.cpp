// SPDX-License-Identifier: MIT
// Keys and clicks, routed by screen, and the closing of every judged answer.
#include <cstdio>

#include "game/Colours.h"
#include "game/ProblemTable.h"
#include "game/TessixView.h"
#include "platform/Raster.h"
#include "scores/ScoresDlg.h"

namespace {

// How long the pause sleeps between two looks at the clock.
constexpr DWORD kPausePollMs = 10;

constexpr int kSoundRight = 102;
constexpr int kSoundWrong = 103;

}  // namespace

void CTessixView::OnKeyDown(UINT nChar, UINT /*nRepCnt*/, UINT /*nFlags*/) {
    if (nChar == VK_F1) {
        m_pHost->MessageBox(m_strInstructions, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (nChar == VK_F2 && m_nProblem == 0) {
        m_pHost->DoModal(g_dlgScores);
        return;
    }
    if (nChar == VK_F3 && m_nProblem == 0 && m_pCoach) {
        ShowProgress();
        return;
    }
    if (nChar == VK_HOME && m_bGameOver) {
        StartNewGame();
        return;
    }
    CClientDC dc(m_pHost->ClientRaster());
    if (CProblemTable::IsProblem(m_nProblem)) {
        const CProblemRow& row = CProblemTable::Row(m_nProblem);
        if (row.pfnKey != nullptr) {
            (this->*row.pfnKey)(&dc, nChar);
        }
    }
}

void CTessixView::StartNewGame() {
    NewGame(0);
    CoachNewGame();
    m_nScore = 0;
    m_nPhase = PHASE_MENU;
    for (m_i = 0; m_i < kProblems; ++m_i) {
        m_rectMenuItem[m_i] = m_rectMenuSlot[m_i];
    }
    DrawMenu();
    // The new game lays itself out at its next paint; that paint is asked for now, while
    // the menu is on screen, and not left to whatever paint comes next.
    m_pHost->Invalidate();
}

void CTessixView::OnLButtonDown(UINT /*nFlags*/, CPoint point) {
    if (m_bGameOver && m_rectMenuSlot[1].ContainsStrictly(point)) {
        StartNewGame();
        return;
    }
    CClientDC dc(m_pHost->ClientRaster());

    // The first open entry under the point wins: an exhausted entry's old place may now
    // hold another problem's entry.
    for (int p = 1; p <= kProblems; ++p) {
        if (m_rectMenuItem[p - 1].ContainsStrictly(point) && m_bMenuActive &&
            m_nPlays[p - 1] < kPresentations) {
            m_nProblem = p;
            m_bMenuActive = FALSE;
            m_nPhase = PHASE_FRESH;
            DrawCurrentScreen();
            return;
        }
    }

    // Otherwise the click is an answer attempt for the problem under way.
    dc.SetBkMode(TRANSPARENT);
    dc.SelectObject(&m_fontResult);
    if (CProblemTable::IsProblem(m_nProblem)) {
        (this->*CProblemTable::Row(m_nProblem).pfnClick)(&dc, point);
    }
}

void CTessixView::OnRButtonDown(UINT /*nFlags*/, CPoint point) {
    CClientDC dc(m_pHost->ClientRaster());
    if (CProblemTable::IsProblem(m_nProblem)) {
        const CProblemRow& row = CProblemTable::Row(m_nProblem);
        if (row.pfnRightClick != nullptr) {
            (this->*row.pfnRightClick)(&dc, point);
        }
    }
}

void CTessixView::WipeMessage(CDC* pDC) {
    pDC->SelectObject(&m_penWhite);
    pDC->SelectObject(&m_brushWhite);
    pDC->Rectangle(m_rectMessage);
}

CAnswer RightAnswer(int nPoints) {
    char szMessage[48] = {};
    std::snprintf(szMessage, sizeof szMessage, "CORRECT for %i POINTS!", nPoints);
    CAnswer answer;
    answer.eVerdict = EVerdict::Right;
    answer.nPoints = nPoints;
    answer.strMessage = szMessage;
    return answer;
}

CAnswer WrongAnswer(const char* pszMessage) {
    CAnswer answer;
    answer.strMessage = pszMessage;
    return answer;
}

void CTessixView::FinishAnswer(CDC* pDC, const CAnswer& answer, EWipe eWipe) {
    const bool bRight = answer.eVerdict == EVerdict::Right;
    if (eWipe == EWipe::Wipe) {
        WipeMessage(pDC);
    }
    pDC->SetBkMode(TRANSPARENT);
    pDC->SelectObject(&m_fontResult);
    pDC->SetTextColor(bRight ? kRightColor : kWrongColor);
    pDC->DrawText(answer.strMessage, VerdictBox(),
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_SHRINKTOFIT);
    DrawCoachLine(pDC);
    m_pHost->ShowNow();

    PlaySoundSync(bRight ? kSoundRight : kSoundWrong);
    if (bRight) {
        m_nScore += answer.nPoints;
    }
    m_nProblem = 0;

    // The message stays up for the pause. The clock is read as an unsigned difference,
    // so a wrap of the millisecond counter does no harm.
    m_dwWaitStart = timeGetTime();
    m_dwWaited = 0;
    for (;;) {
        m_dwWaitNow = timeGetTime();
        m_dwWaited = m_dwWaitNow - m_dwWaitStart;
        if (m_dwWaited >= kAnswerPauseMs) {
            break;
        }
        const DWORD dwLeft = kAnswerPauseMs - m_dwWaited;
        m_pClock->Sleep(dwLeft < kPausePollMs ? dwLeft : kPausePollMs);
    }

    RecordForCoach();
    DrawMenu();
}
