// SPDX-License-Identifier: MIT
// Placeholder until the problem is written: nothing is drawn or judged.
#include "game/TessixView.h"

void CTessixView::DrawProblem3() { m_nPhase = PHASE_SHOWN; }
void CTessixView::OnProblem3Click(CDC*, CPoint) {}
