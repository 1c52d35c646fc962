// SPDX-License-Identifier: MIT
// Temporary: problem screens not yet written show the menu again.
#include "game/TessixView.h"

void CTessixView::DrawProblem1() { m_nPhase = PHASE_SHOWN; }
void CTessixView::OnProblem1Click(CDC*, CPoint) {}
void CTessixView::OnProblem1RightClick(CDC*, CPoint) {}
void CTessixView::DrawProblem2() { m_nPhase = PHASE_SHOWN; }
void CTessixView::OnProblem2Key(CDC*, UINT) {}
void CTessixView::OnProblem2Click(CDC*, CPoint) {}
void CTessixView::OnProblem2RightClick(CDC*, CPoint) {}
void CTessixView::DrawProblem3() { m_nPhase = PHASE_SHOWN; }
void CTessixView::OnProblem3Click(CDC*, CPoint) {}
void CTessixView::DrawProblem4() { m_nPhase = PHASE_SHOWN; }
void CTessixView::OnProblem4Key(CDC*, UINT) {}
void CTessixView::OnProblem4Click(CDC*, CPoint) {}
void CTessixView::BuildInstructions() {}
BOOL CTessixView::OnPreparePrinting(CPrintInfo*) { return FALSE; }
void CTessixView::OnBeginPrinting(CDC*, CPrintInfo*) {}
void CTessixView::OnPrint(CDC*, CPrintInfo*) {}
void CTessixView::OnEndPrinting(CDC*, CPrintInfo*) {}
void CTessixView::LayoutPrintText(CDC*) {}
void CTessixView::PrintPage(CDC*) {}
