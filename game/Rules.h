// SPDX-License-Identifier: MIT
// The counts the game is made of: four problems, numbered 1 to 4, each presented five
// times in a game; the game is over when every problem has had all its presentations.
#pragma once

constexpr int kProblems = 4;
constexpr int kPresentations = 5;
