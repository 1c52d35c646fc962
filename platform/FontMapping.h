// SPDX-License-Identifier: MIT
// The faces the game asks for, mapped explicitly to installed metric-compatible faces,
// so that text never depends on what a machine happens to substitute:
//   "Arial"         -> Liberation Sans
//   "Arial Bold"    -> Liberation Sans, bold (the boldness comes from the name)
//   "Courier New"   -> Liberation Mono
//   "Fixedsys"      -> Liberation Mono (a fixed-pitch face)
//   "MS Sans Serif" -> Liberation Sans
// Any other name falls back to Liberation Sans.
#pragma once

#include <QFont>
#include <QStringList>

class CFont;
class QPaintDevice;

struct CFaceMapping {
    const char* pszFamily = "";
    bool bBold = false;
    bool bFixedPitch = false;
};

CFaceMapping MapFace(const char* pszFace);

// The families the faces map to that the font database does not have (none on a sound
// install, whose package brings them). Needs a GUI application object.
QStringList MissingMappedFaces();

// A QFont for the request, sized for the device so that ascent + descent equal the
// requested cell height in device units.
QFont MakeQFont(const CFont& font, QPaintDevice* pDevice);
