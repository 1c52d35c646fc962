// SPDX-License-Identifier: MIT
#include "app/Version.h"

const CString g_strVersion = TESSIX_VERSION_TEXT;
