// SPDX-License-Identifier: MIT
// Text the runtime writes in the locale's own encoding (the "%c" date, anything formatted
// through the C library) turned into Qt's strings. Qt reads local 8-bit text as UTF-8
// whatever the locale says, which loses the accents of an 8-bit locale such as
// fr_FR.ISO-8859-1; this reads it in the encoding the locale names.
#pragma once

#include <QString>

#include "platform/Types.h"

// The text decoded from the encoding of the current C locale (LC_CTYPE); bytes that do
// not decode become U+FFFD.
QString FromLocaleText(const CString& text);
