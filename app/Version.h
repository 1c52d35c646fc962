// SPDX-License-Identifier: MIT
// The program's identity: the version text shown in the caption and the about box, and
// the numeric version a Linux package carries.
#pragma once

#include "platform/Types.h"

extern const CString g_strVersion;  // "D613"

constexpr const char* kProductName = "Tessix Application";
constexpr const char* kFileDescription = "Tessix: a game of judging areas and balance by eye";
constexpr const char* kFileVersion = "1.0.0.1";
