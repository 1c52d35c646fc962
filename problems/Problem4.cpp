// SPDX-License-Identifier: MIT
// Problem 4, "Reshape The Larger One": an orange target cross on the left, a larger blue
// octagon on the right whose four diagonal sides the player caves in with Down, pulls
// back out with Up and steps through with Space, marked by a red cross-hair. A click in
// the right square compares the cyan pixels with the target's orange ones.
#include "game/Coach.h"
#include "game/Colours.h"
#include "problems/Judges.h"
#include "problems/Prompts.h"

const char* const g_pszPrompt4 =
    "This is problem 4, worth up to 400 points. Change the blue shape to resemble the orange "
    "cross. The tiny red cross-hair is at the current side. Move it around by pressing the "
    "Space bar. The current side can be caved in by pressing the Down arrow key. The Up arrow "
    "key reverses the direction of the Down arrow. Try to make the blue cross symmetrical "
    "because it will improve your score. When you are done, click on the blue shape. Your "
    "score will vary depending on how close the two shapes are in size and whether or not the "
    "blue cross is symmetrical. \nTo see the instructions, press F1. To print them, press the "
    "Ctrl and P keys. \nTo quit, press the Alt and F4 keys. ";

namespace {

constexpr int kVertices = 12;
constexpr int kNotchVertices = 4;
constexpr int kSides = 4;

// One side of the blue shape: the vertex it moves, the two fixed vertices beside it, and
// the direction of a Down press on each axis (+1 or -1). Up moves the other way.
struct CSide {
    int nVertex;
    int nNeighbour1;
    int nNeighbour2;
    int nDirX;
    int nDirY;
};

// Top-left, top-right, bottom-right, bottom-left: the order Space steps through.
constexpr CSide kSideTable[kSides] = {
    {11, 10, 0, +1, +1},
    {2, 1, 3, -1, +1},
    {5, 4, 6, -1, -1},
    {8, 7, 9, +1, -1},
};

// The cross-hair sits this far in from the corner of the right square that its side
// faces, outside the blue shape.
constexpr int kCrossHairInset = 44;

// The cross-hair: its centre and eight rays two pixels long.
constexpr CPoint kCrossHairPixels[] = {
    {0, 0}, {1, 0}, {2, 0},  {-1, 0}, {-2, 0}, {0, 1},  {0, 2},   {0, -1},  {0, -2},
    {1, 1}, {2, 2}, {1, -1}, {2, -2}, {-1, 1}, {-2, 2}, {-1, -1}, {-2, -2},
};

void DrawCrossHair(CDC* pDC, CPoint pt, COLORREF clr) {
    for (const CPoint& d : kCrossHairPixels) {
        pDC->SetPixel(pt.x + d.x, pt.y + d.y, clr);
    }
}

void DrawPolygon(CDC* pDC, CPen& pen, CBrush& brush, const CPoint* pPoints, int nCount) {
    pDC->SelectObject(&pen);
    pDC->SelectObject(&brush);
    pDC->Polygon(pPoints, nCount);
}

// Arms ending on the four edges of the square, each end 116 + 2p wide; the inner corners
// moved q pixels outwards on both axes.
void MakeTarget(CPoint* pt, const CRect& rc, int p, int q) {
    const int L = rc.left;
    const int T = rc.top;
    const int R = rc.right;
    const int B = rc.bottom;
    pt[0] = CPoint(L - q + 128, T - q + 128);
    pt[1] = CPoint(L - p + 110, T);
    pt[2] = CPoint(R + p - 110, T);
    pt[3] = CPoint(R + q - 128, T - q + 128);
    pt[4] = CPoint(R, T - p + 110);
    pt[5] = CPoint(R, B + p - 110);
    pt[6] = CPoint(R + q - 128, B + q - 128);
    pt[7] = CPoint(R + p - 110, B);
    pt[8] = CPoint(L - p + 110, B);
    pt[9] = CPoint(L - q + 128, B + q - 128);
    pt[10] = CPoint(L, B + p - 110);
    pt[11] = CPoint(L, T - p + 110);
}

// The square with its corners cut off 100 pixels along each edge; vertices 11, 2, 5 and 8
// are the midpoints of the cuts.
void MakeBlue(CPoint* pt, const CRect& rc) {
    const int L = rc.left;
    const int T = rc.top;
    const int R = rc.right;
    const int B = rc.bottom;
    pt[0] = CPoint(L + 100, T);
    pt[1] = CPoint(R - 100, T);
    pt[2] = CPoint(R - 50, T + 50);
    pt[3] = CPoint(R, T + 100);
    pt[4] = CPoint(R, B - 100);
    pt[5] = CPoint(R - 50, B - 50);
    pt[6] = CPoint(R - 100, B);
    pt[7] = CPoint(L + 100, B);
    pt[8] = CPoint(L + 50, B - 50);
    pt[9] = CPoint(L, B - 100);
    pt[10] = CPoint(L, T + 100);
    pt[11] = CPoint(L + 50, T + 50);
}

void MakeCrossHairs(CPoint* pt, const CRect& rc) {
    for (int k = 0; k < kSides; ++k) {
        const CSide& side = kSideTable[k];
        pt[k] = CPoint(side.nDirX > 0 ? rc.left + kCrossHairInset : rc.right - kCrossHairInset,
                       side.nDirY > 0 ? rc.top + kCrossHairInset : rc.bottom - kCrossHairInset);
    }
}

ESymmetry SymmetryOf(const CPoint* pt) {
    const CPoint& topLeft = pt[11];
    const CPoint& topRight = pt[2];
    const CPoint& bottomRight = pt[5];
    const CPoint& bottomLeft = pt[8];
    const bool bRectangle = topLeft.x == bottomLeft.x && topLeft.y == topRight.y &&
                            topRight.x == bottomRight.x && bottomRight.y == bottomLeft.y;
    return bRectangle ? ESymmetry::Symmetric : ESymmetry::Lopsided;
}

// A move of one vertex changes only the two edges through it, and they lie within the
// box of their end points before and after the move: redrawing the shape within that box
// alone sets the same pixels as redrawing it whole (its 1-pixel outline stays inside).
CRect MovedSideBox(const CPoint* pBlue, const CSide& side, CPoint vOld) {
    const CPoint pts[] = {pBlue[side.nNeighbour1], pBlue[side.nNeighbour2], vOld,
                          pBlue[side.nVertex]};
    return PixelBoundsOf(pts, 4);
}

}  // namespace

void CTessixView::DrawProblem4() {
    CClientDC dc(m_pHost->ClientRaster());
    DrawPromptScreen(&dc, g_pszPrompt4);

    const bool bFresh = m_nPhase == PHASE_FRESH;
    if (bFresh) {
        m_nArmFlare = rand() % 4;
        m_nArmInset = rand() % 3;
        m_nCaveStep = rand() % 3 + 3;
        MakeTarget(m_ptTarget, m_rectLeft, m_nArmFlare, m_nArmInset);
    }
    DrawPolygon(&dc, m_penRed, m_brushOrange, m_ptTarget, kVertices);

    if (bFresh) {
        MakeBlue(m_ptBlue, m_rectRight);
        for (int k = 0; k < kVertices; ++k) {
            m_ptBlueStart[k] = m_ptBlue[k];
        }
    }
    DrawPolygon(&dc, m_penBlue, m_brushCyan, m_ptBlue, kVertices);

    if (bFresh) {
        MakeCrossHairs(m_ptCrossHair, m_rectRight);
        m_nSide = 0;
    }
    DrawCrossHair(&dc, m_ptCrossHair[m_nSide], kRed);

    // From here on the target's colour is what the surface shows.
    m_clrOrange = dc.GetPixel(m_ptLeft.x, m_ptLeft.y);
    DrawFrame(&dc);

    if (bFresh) {
        CountLeftPixels(m_clrOrange);
        m_nTolerance = ReshapeTolerance(m_nAreaLeft);
        m_nScoreBase = ReshapeScoreBase(m_nTolerance);
        CountPresentation(4);
    }
    m_nPhase = PHASE_SHOWN;
}

void CTessixView::OnProblem4Key(CDC* pDC, UINT nChar) {
    if (m_nProblem != 4) {
        return;
    }
    const CSide& side = kSideTable[m_nSide];
    CPoint& v = m_ptBlue[side.nVertex];

    if (nChar == VK_DOWN) {
        pDC->SelectObject(&m_penWhite);
        pDC->SelectObject(&m_brushWhite);
        // Tested before the step, so the last step may carry the vertex past the centre.
        const bool bBeforeCentre =
            (m_ptRight.x - v.x) * side.nDirX > 0 && (m_ptRight.y - v.y) * side.nDirY > 0;
        const CPoint vOld = v;
        if (bBeforeCentre) {
            const CPoint vNext(v.x + m_nCaveStep * side.nDirX, v.y + m_nCaveStep * side.nDirY);
            // The strip between the old and the new edges, erased before the redraw.
            m_ptNotch[0] = m_ptBlue[side.nNeighbour1];
            m_ptNotch[1] = v;
            m_ptNotch[2] = m_ptBlue[side.nNeighbour2];
            m_ptNotch[3] = vNext;
            pDC->Polygon(m_ptNotch, kNotchVertices);
            v = vNext;
        }
        {
            const CClipScope clip(*pDC, MovedSideBox(m_ptBlue, side, vOld));
            DrawPolygon(pDC, m_penBlue, m_brushCyan, m_ptBlue, kVertices);
        }
        DrawCrossHair(pDC, m_ptCrossHair[m_nSide], kRed);
    } else if (nChar == VK_UP) {
        // Never past the generated position; the shape only grows, so nothing is erased.
        const CPoint& v0 = m_ptBlueStart[side.nVertex];
        const CPoint vOld = v;
        if ((v.x - v0.x) * side.nDirX > 0 && (v.y - v0.y) * side.nDirY > 0) {
            v.x -= side.nDirX;
            v.y -= side.nDirY;
        }
        const CClipScope clip(*pDC, MovedSideBox(m_ptBlue, side, vOld));
        DrawPolygon(pDC, m_penBlue, m_brushCyan, m_ptBlue, kVertices);
    } else if (nChar == VK_SPACE) {
        DrawCrossHair(pDC, m_ptCrossHair[m_nSide], kWhite);
        m_nSide = (m_nSide + 1) % kSides;
        DrawCrossHair(pDC, m_ptCrossHair[m_nSide], kRed);
    }
}

void CTessixView::OnProblem4Click(CDC* pDC, CPoint point) {
    if (m_nProblem != 4 || !m_rectRight.ContainsStrictly(point)) {
        return;
    }
    // The prompt goes before anything is measured or decided.
    WipeMessage(pDC);
    CountRightPixels(kCyan);
    const CReshapeJudgement judgement =
        JudgeReshape(m_nAreaLeft, m_nAreaRight, m_nTolerance, m_nScoreBase, SymmetryOf(m_ptBlue));
    NoteForCoach(CoachNote(judgement));
    FinishAnswer(pDC, judgement.answer, EWipe::AlreadyWiped);
}
