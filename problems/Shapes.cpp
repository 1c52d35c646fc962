// SPDX-License-Identifier: MIT
#include "problems/Shapes.h"

namespace {

constexpr int kApexDrop = 12;

}  // namespace

void TriangleInSquare(const CRect& rcSquare, CPoint (&ptVertices)[3]) {
    ptVertices[0] = CPoint(rcSquare.left, rcSquare.bottom);
    ptVertices[1] = CPoint((rcSquare.left + rcSquare.right) / 2, rcSquare.top + kApexDrop);
    ptVertices[2] = CPoint(rcSquare.right, rcSquare.bottom);
}

CRect InsetSquare(const CRect& rcSquare, int nMargin) {
    return CRect(rcSquare.left + nMargin, rcSquare.top + nMargin, rcSquare.right - nMargin,
                 rcSquare.bottom - nMargin);
}
