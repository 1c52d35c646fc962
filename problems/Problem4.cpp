// SPDX-License-Identifier: MIT
// Placeholder until the problem is written: nothing is drawn or judged.
#include "game/TessixView.h"

void CTessixView::DrawProblem4() { m_nPhase = PHASE_SHOWN; }
void CTessixView::OnProblem4Key(CDC*, UINT) {}
void CTessixView::OnProblem4Click(CDC*, CPoint) {}
