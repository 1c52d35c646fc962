// SPDX-License-Identifier: MIT
#include "scores/ScoresDlg.h"

CScoresDlg g_dlgScores;

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
