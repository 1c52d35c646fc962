// SPDX-License-Identifier: MIT
// The one way the game asks for a font, on the screen, the printer and in dialogs alike:
// every font is upright, unstruck, ANSI, device precision and proof quality, so only the
// height, the face, the weight and underlining vary.
#pragma once

#include "platform/Gdi.h"

enum class EUnderline { None, Underlined };

// Makes font the request, deleting what it held before, so that one font object serves
// every layout. nHeight is the cell height in device units of the surface it is drawn on.
void MakeFont(CFont& font, int nHeight, const char* pszFace, int nWeight = FW_DONTCARE,
              EUnderline eUnderline = EUnderline::None);
