// SPDX-License-Identifier: MIT
// The counts the game is made of: four problems, numbered 1 to 4, each presented five
// times in a game; the game is over when every problem has had all its presentations.
#pragma once

#include "platform/Types.h"

constexpr int kProblems = 4;
constexpr int kPresentations = 5;

// After a judged answer its message stays up this long (beyond its sound) before the
// menu returns.
constexpr DWORD kAnswerPauseMs = 3000;
