// SPDX-License-Identifier: MIT
// The four problems as one table, in problem order: what the menu shows of each, its
// prompt and points, and the view's operations that draw it and take its input. Every
// dispatch on the problem under way reads this table.
#pragma once

#include "game/Rules.h"
#include "game/TessixView.h"

struct CProblemRow {
    const char* pszMenuEntry;
    COLORREF clrMenuEntry;
    const char* const* ppszPrompt;  // the prompt, defined beside its problem
    int nPoints;                    // the most a right answer earns
    // Draws the screen: afresh in PHASE_FRESH, as it stands in PHASE_SHOWN.
    void (CTessixView::*pfnDraw)();
    // Each acts only while its problem is under way; null where the problem takes no
    // such input.
    void (CTessixView::*pfnKey)(CDC* pDC, UINT nChar);
    void (CTessixView::*pfnClick)(CDC* pDC, CPoint point);
    void (CTessixView::*pfnRightClick)(CDC* pDC, CPoint point);
};

class CProblemTable {
public:
    // The row of problem nProblem, 1 to kProblems.
    static const CProblemRow& Row(int nProblem);
    // Whether nProblem numbers a problem (0 is the menu's "none").
    static bool IsProblem(int nProblem) { return nProblem >= 1 && nProblem <= kProblems; }

private:
    static const CProblemRow kRows[];
};
