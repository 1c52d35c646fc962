// SPDX-License-Identifier: MIT
// Placeholder until the problem is written: nothing is drawn or judged.
#include "game/TessixView.h"

void CTessixView::DrawProblem2() { m_nPhase = PHASE_SHOWN; }
void CTessixView::OnProblem2Key(CDC*, UINT) {}
void CTessixView::OnProblem2Click(CDC*, CPoint) {}
void CTessixView::OnProblem2RightClick(CDC*, CPoint) {}
