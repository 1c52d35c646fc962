// SPDX-License-Identifier: MIT
#include "game/Fonts.h"

void MakeFont(CFont& font, int nHeight, const char* pszFace, int nWeight, EUnderline eUnderline) {
    if (font.GetSafeHandle()) {
        font.DeleteObject();
    }
    const BOOL bUnderline = eUnderline == EUnderline::Underlined ? TRUE : FALSE;
    font.CreateFont(nHeight, 0, 0, 0, nWeight, FALSE, bUnderline, FALSE, ANSI_CHARSET,
                    OUT_DEVICE_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH, pszFace);
}
