// SPDX-License-Identifier: MIT
// Placeholder until printing is written: nothing is printed.
#include "game/TessixView.h"

BOOL CTessixView::OnPreparePrinting(CPrintInfo*) { return FALSE; }
void CTessixView::OnBeginPrinting(CDC*, CPrintInfo*) {}
void CTessixView::OnPrint(CDC*, CPrintInfo*) {}
void CTessixView::OnEndPrinting(CDC*, CPrintInfo*) {}
void CTessixView::PrintPage(CDC*) {}
