// SPDX-License-Identifier: MIT
// Problem 2, "Stop When They Are Equal": the triangle of problem 1 in yellow on the left
// and a smaller magenta circle on the right, which Up grows and Down shrinks by 2 pixels
// of diameter a press within limits drawn at the start. The triangle is measured once,
// the circle after every step, and the click on the circle is judged on the ratio of the
// two pixel counts. A right click switches either shape between yellow and magenta; the
// resize keys take the circle's colour from its centre, so a switched circle stays so.
#include "game/Coach.h"
#include "game/Colours.h"
#include "game/TessixView.h"
#include "problems/Judges.h"
#include "problems/Prompts.h"
#include "problems/Shapes.h"

const char* const g_pszPrompt2 =
    "This is problem 2, worth 150 points. On the left there is a yellow triangle and on the "
    "right there is a purple circle, which is smaller. Each time you press the Up arrow key, "
    "the circle will get bigger and each time you press the Down arrow key, the circle will "
    "get smaller. Using these two keys, try to make the circle as close as possible to the "
    "size of the triangle. When you are done, click on the circle. Right click on either "
    "image to change its color. \nTo see the instructions, press F1. To print them, press the "
    "Ctrl and P keys. \nTo quit, press the Alt and F4 keys. ";

namespace {

// The circle's box lies this far inside the right square, plus the inset.
constexpr int kCircleMargin = 24;
// The limit v = kLimitTop - rand() % kLimitDraws serves both ends of the range: Up acts
// while the inset is above v, Down while it is below v + kShrinkSpan.
constexpr int kLimitTop = 6;
constexpr int kLimitDraws = 7;
constexpr int kShrinkSpan = 25;
// The starting inset is drawn as rand() % kInsetDraws until it is at least kMinStartInset.
constexpr int kInsetDraws = 21;
constexpr int kMinStartInset = 15;

CPen* PenOf(CTessixView& view, COLORREF clr) {
    return clr == kMagenta ? &view.m_penMagenta : &view.m_penYellow;
}

CBrush* BrushOf(CTessixView& view, COLORREF clr) {
    return clr == kMagenta ? &view.m_brushMagenta : &view.m_brushYellow;
}

COLORREF TriangleColor(const CTessixView& view) {
    return view.m_bSwapLeft ? kMagenta : kYellow;
}

COLORREF CircleColor(const CTessixView& view) {
    return view.m_bSwapRight ? kYellow : kMagenta;
}

// The circle's colour as the screen shows it: magenta at the centre, otherwise yellow.
COLORREF CircleColorOnScreen(const CDC& dc, CPoint ptCenter) {
    return dc.GetPixel(ptCenter.x, ptCenter.y) == kMagenta ? kMagenta : kYellow;
}

CRect CircleBox(const CTessixView& view) {
    return InsetSquare(view.m_rectRight, kCircleMargin + view.m_nInset);
}

void DrawTriangle(CDC* pDC, CTessixView& view) {
    const COLORREF clr = TriangleColor(view);
    pDC->SelectObject(PenOf(view, clr));
    pDC->SelectObject(BrushOf(view, clr));
    pDC->Polygon(view.m_ptTriangle, 3);
}

void DrawCircle(CDC* pDC, CTessixView& view, COLORREF clr) {
    pDC->SelectObject(PenOf(view, clr));
    pDC->SelectObject(BrushOf(view, clr));
    pDC->Ellipse(CircleBox(view));
}

}  // namespace

void CTessixView::DrawProblem2() {
    CClientDC dc(m_pHost->ClientRaster());
    DrawPromptScreen(&dc, g_pszPrompt2);

    DrawFrame(&dc);

    TriangleInSquare(m_rectLeft, m_ptTriangle);
    DrawTriangle(&dc, *this);

    if (m_nPhase == PHASE_FRESH) {
        const int v = kLimitTop - rand() % kLimitDraws;
        m_nGrowLimit = v;
        m_nShrinkLimit = v;
        do {
            m_nInset = rand() % kInsetDraws;
        } while (m_nInset < kMinStartInset);
    }
    DrawCircle(&dc, *this, CircleColor(*this));

    if (m_nPhase == PHASE_FRESH) {
        CountLeftPixels(kYellow);
        CountRightPixels(kMagenta);
        CountPresentation(2);
    }
    m_nPhase = PHASE_SHOWN;
}

void CTessixView::OnProblem2Key(CDC* pDC, UINT nChar) {
    if (m_nProblem != 2) {
        return;
    }
    if (nChar == VK_UP) {
        if (m_nInset <= m_nGrowLimit) {
            return;
        }
        --m_nInset;
        // The larger circle covers the old one whole: nothing needs erasing.
        const COLORREF clr = CircleColorOnScreen(*pDC, m_ptRight);
        DrawCircle(pDC, *this, clr);
        CountRightPixels(clr);
    } else if (nChar == VK_DOWN) {
        if (m_nInset >= m_nShrinkLimit + kShrinkSpan) {
            return;
        }
        const COLORREF clr = CircleColorOnScreen(*pDC, m_ptRight);
        // Three wide white rings, at the old size and the two below it, wipe the old rim
        // and fill inside with the circle's colour; the 1-pixel ellipse then repaints the
        // new circle whole.
        pDC->SelectObject(&m_penWhiteWide);
        pDC->SelectObject(BrushOf(*this, clr));
        pDC->Ellipse(CircleBox(*this));
        ++m_nInset;
        pDC->Ellipse(CircleBox(*this));
        ++m_nInset;
        pDC->Ellipse(CircleBox(*this));
        --m_nInset;
        pDC->SelectObject(PenOf(*this, clr));
        pDC->Ellipse(CircleBox(*this));
        CountRightPixels(clr);
    }
}

void CTessixView::OnProblem2Click(CDC* pDC, CPoint point) {
    if (m_nProblem != 2 || !m_rectRight.ContainsStrictly(point)) {
        return;
    }
    const CEqualJudgement judgement = JudgeEqual(m_nAreaLeft, m_nAreaRight);
    m_nRatio = judgement.nRatio;
    NoteForCoach(CoachNote(judgement));
    FinishAnswer(pDC, judgement.answer);
}

void CTessixView::OnProblem2RightClick(CDC* pDC, CPoint point) {
    if (m_nProblem != 2 || m_bMenuActive) {
        return;
    }
    if (m_rectLeft.ContainsStrictly(point)) {
        m_bSwapLeft = m_bSwapLeft ? FALSE : TRUE;
        DrawTriangle(pDC, *this);
    } else if (m_rectRight.ContainsStrictly(point)) {
        m_bSwapRight = m_bSwapRight ? FALSE : TRUE;
        DrawCircle(pDC, *this, CircleColor(*this));
    }
}
