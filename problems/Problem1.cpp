// SPDX-License-Identifier: MIT
// Placeholder until the problem is written: nothing is drawn or judged.
#include "game/TessixView.h"

void CTessixView::DrawProblem1() { m_nPhase = PHASE_SHOWN; }
void CTessixView::OnProblem1Click(CDC*, CPoint) {}
void CTessixView::OnProblem1RightClick(CDC*, CPoint) {}
