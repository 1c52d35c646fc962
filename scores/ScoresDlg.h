// SPDX-License-Identifier: MIT
// The past scores of this run, newest first, and the dialog that lists them.
#pragma once

#include "platform/Dialog.h"
#include "platform/Types.h"

constexpr int kScoreSlots = 1000;

class CScoresDlg : public CDialog {
public:
    enum { IDD = 130 };
    static constexpr int IDC_SCORE_LIST = 1000;

    CScoresDlg();

    // Entry 0 becomes the newest score; the oldest of 1000 drops out.
    void RecordScore(int nScore);
    // Empties the history (the first game of a run).
    void ClearHistory();

    // Fills the list: each score right-aligned to the width of "5000000" in the
    // fixed-pitch font, newest first, then the closing line "   ----".
    BOOL OnInitDialog() override;

    int m_nScoreCount = 0;            // 0 to 1000
    int m_nScores[kScoreSlots] = {};  // [0] newest; entries from m_nScoreCount on are 0
};

// The one history of the run; it lives as long as the program.
extern CScoresDlg g_dlgScores;
