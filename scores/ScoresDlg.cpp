// SPDX-License-Identifier: MIT
#include "scores/ScoresDlg.h"

#include <cstdio>

#include "game/Fonts.h"
#include "platform/Gdi.h"
#include "platform/ViewHost.h"

namespace {

// The widest score the column is laid out for; every real total is far narrower.
constexpr const char* kFieldWidthText = "5000000";
constexpr const char* kClosingLine = "   ----";

CDlgTemplate ScoresTemplate() {
    CDlgTemplate t;
    t.nId = CScoresDlg::IDD;
    t.cx = 122;
    t.cy = 234;
    t.strCaption = "List of Past Scores (Newest is at the Top).";
    t.dwStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION;
    t.nPointSize = 9;
    t.strFace = "Fixedsys";
    t.items = {
        {CScoresDlg::IDC_SCORE_LIST, EDlgClass::ListBox, 36, 8, 51, 200, "",
         WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_GROUP | LBS_NOSEL | LBS_NOINTEGRALHEIGHT},
        {IDOK, EDlgClass::Button, 36, 216, 51, 14, "Exit",
         WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON},
    };
    return t;
}

}  // namespace

CScoresDlg g_dlgScores;

CScoresDlg::CScoresDlg() : CDialog(ScoresTemplate()) {}

void CScoresDlg::RecordScore(int nScore) {
    for (int i = kScoreSlots - 1; i > 0; --i) {
        m_nScores[i] = m_nScores[i - 1];
    }
    m_nScores[0] = nScore;
    if (m_nScoreCount < kScoreSlots) {
        ++m_nScoreCount;
    }
}

void CScoresDlg::ClearHistory() {
    for (int& n : m_nScores) {
        n = 0;
    }
    m_nScoreCount = 0;
}

BOOL CScoresDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CListBox* pList = GetListBox(IDC_SCORE_LIST);
    if (!pList) {
        return TRUE;
    }

    CFont font;
    MakeFont(font, 9, "Fixedsys");
    CDialogDC dc(*this);
    CFont* pOldFont = dc.SelectObject(&font);
    const int nTarget = dc.GetTextExtent(kFieldWidthText).cx;

    pList->ResetContent();
    char szNumber[16] = {};
    for (int i = 0; i < m_nScoreCount; ++i) {
        std::snprintf(szNumber, sizeof szNumber, "%i", m_nScores[i]);
        CString strLine = szNumber;
        int nWidth = dc.GetTextExtent(strLine).cx;
        while (nWidth < nTarget) {
            strLine.insert(0, 1, ' ');
            const int nWider = dc.GetTextExtent(strLine).cx;
            // A face whose blank had no width would never fill the field.
            if (nWider <= nWidth) {
                break;
            }
            nWidth = nWider;
        }
        pList->AddString(strLine);
    }
    pList->AddString(kClosingLine);

    dc.SelectObject(pOldFont);
    return TRUE;
}
