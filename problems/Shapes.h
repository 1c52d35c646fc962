// SPDX-License-Identifier: MIT
// Geometry shared by the problems that show shapes side by side in the two squares.
#pragma once

#include "platform/Types.h"

// The triangle of problems 1 and 2 in a shape square, in drawing order: the base on the
// square's bottom edge, as wide as the square, and the apex 12 pixels below the middle of
// its top edge (the middle truncated).
void TriangleInSquare(const CRect& rcSquare, CPoint (&ptVertices)[3]);

// A square shrunk by the same margin on every side: the bounding box of a circle centred
// in it.
CRect InsetSquare(const CRect& rcSquare, int nMargin);
