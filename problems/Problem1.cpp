// SPDX-License-Identifier: MIT
// Problem 1, "Which Shape Is Bigger": a fixed blue triangle on the left, a red circle of
// one of 18 sizes on the right. Both are measured as pixel counts when the problem is
// generated, and the click is judged against those counts alone, whatever colours the
// player has swapped the shapes to since.
#include "game/Coach.h"
#include "game/Colours.h"
#include "game/TessixView.h"
#include "problems/Judges.h"
#include "problems/Prompts.h"
#include "problems/Shapes.h"

const char* const g_pszPrompt1 =
    "This is problem 1, worth 100 points. On the left there is a blue triangle and on the "
    "right there is a red circle. Click on the one you think has a bigger surface. In other "
    "words, if you had to paint them, which one would need more paint. If the colors confuse "
    "you, right click on the one you don't like to change it. \nTo see the instructions, "
    "press F1. To print them, press the Ctrl and P keys. \nTo quit, press the Alt and F4 "
    "keys. ";

namespace {

constexpr int kInsets = 18;
// The circle's box lies this far inside the right square at inset 0.
constexpr int kCircleMargin = 28;

}  // namespace

CRect CTessixView::Problem1CircleBox() const {
    return InsetSquare(m_rectRight, kCircleMargin + m_nInset);
}

void CTessixView::DrawProblem1Triangle(CDC* pDC) {
    pDC->SelectObject(m_bSwapLeft ? &m_penRed : &m_penBlue);
    pDC->SelectObject(m_bSwapLeft ? &m_brushRed : &m_brushBlue);
    pDC->Polygon(m_ptTriangle, 3);
}

void CTessixView::DrawProblem1Circle(CDC* pDC) {
    pDC->SelectObject(m_bSwapRight ? &m_penBlue : &m_penRed);
    pDC->SelectObject(m_bSwapRight ? &m_brushBlue : &m_brushRed);
    pDC->Ellipse(Problem1CircleBox());
}

void CTessixView::DrawProblem1() {
    CClientDC dc(m_pHost->ClientRaster());
    DrawPromptScreen(&dc, g_pszPrompt1);

    DrawFrame(&dc);

    TriangleInSquare(m_rectLeft, m_ptTriangle);
    DrawProblem1Triangle(&dc);

    if (m_nPhase == PHASE_FRESH) {
        m_nInset = rand() % kInsets;
    }
    DrawProblem1Circle(&dc);

    if (m_nPhase == PHASE_FRESH) {
        CountLeftPixels(kBlue);
        CountRightPixels(kRed);
        CountPresentation(1);
    }
    m_nPhase = PHASE_SHOWN;
}

void CTessixView::OnProblem1Click(CDC* pDC, CPoint point) {
    if (m_nProblem != 1) {
        return;
    }
    // The whole square counts, not only the shape in it.
    ESquare eChosen = ESquare::Left;
    if (m_rectRight.ContainsStrictly(point)) {
        eChosen = ESquare::Right;
    } else if (!m_rectLeft.ContainsStrictly(point)) {
        return;
    }
    const CBiggerJudgement judgement = JudgeBigger(m_nAreaLeft, m_nAreaRight, eChosen);
    NoteForCoach(CoachNote(judgement, eChosen));
    FinishAnswer(pDC, judgement.answer);
}

void CTessixView::OnProblem1RightClick(CDC* pDC, CPoint point) {
    if (m_nProblem != 1 || m_bMenuActive) {
        return;
    }
    if (m_rectLeft.ContainsStrictly(point)) {
        m_bSwapLeft = m_bSwapLeft ? FALSE : TRUE;
        DrawProblem1Triangle(pDC);
    } else if (m_rectRight.ContainsStrictly(point)) {
        m_bSwapRight = m_bSwapRight ? FALSE : TRUE;
        DrawProblem1Circle(pDC);
    }
}
