// SPDX-License-Identifier: MIT
// Placeholder until the instruction text is written.
#include "game/TessixView.h"

void CTessixView::BuildInstructions() {}
