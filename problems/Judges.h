// SPDX-License-Identifier: MIT
// Problem 4, "Reshape The Larger One": the verdict on a reshaped shape as a pure function
// of the two measured areas, so that the click and its tests share one decision.
#pragma once

#include "game/TessixView.h"

// Whether the four caved-in sides form a rectangle parallel to the window's edges.
enum class ESymmetry { Lopsided, Symmetric };

// The verdict on a blue area nBlue against a target area nTarget. A difference below
// nTolerance is right and earns a fifth of the margin left under nScoreBase, rounded up
// to a multiple of 10, plus 100 for symmetry, bounded to 10..400. Any other difference,
// the one exactly equal to the tolerance included, is wrong on its side.
CAnswer JudgeReshape(int nTarget, int nBlue, int nTolerance, int nScoreBase, ESymmetry eSymmetry);
