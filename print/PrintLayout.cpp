// SPDX-License-Identifier: MIT
// Placeholder until the print layout is written.
#include "game/TessixView.h"

void CTessixView::LayoutPrintText(CDC*) {}
