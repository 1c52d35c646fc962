// SPDX-License-Identifier: MIT
// Problem 3, "Find The Center": a green polygon of fourteen jittered vertices under a
// 4 by 3 grid of red dots, one of which sits on the polygon's centre of area. The centre
// is not computed from the geometry: it is where the green pixels, counted column by
// column and then row by row, split in half.
#include "game/Coach.h"
#include "game/Colours.h"
#include "game/TessixView.h"
#include "problems/Judges.h"
#include "problems/Prompts.h"

const char* const g_pszPrompt3 =
    "This is problem 3, worth 300 points. Find the center of the green shape on the screen. It "
    "is one of the red dots and all you have to do is click on the correct one. The center here "
    "means that there is as much surface or area on the left of it as on the right of it, and "
    "that there is as much surface above it as below it.\nTo see the instructions, press F1. To "
    "print them, press the Ctrl and P keys. \nTo quit, press the Alt and F4 keys. ";

namespace {

constexpr int kStartSound = 104;
constexpr int kVertices = 14;

// Ranges of the jitters a to h, drawn in this order.
constexpr int kJitterRange[8] = {58, 64, 26, 18, 75, 35, 43, 31};

// A limit no shape reaches, so the first sweep reads the whole spanning rectangle.
constexpr int kNoLimit = 999999;

constexpr int kGridCols = 4;
constexpr int kGridRows = 3;
constexpr int kGridStep = 15;

// The blue H written over the centre dot after a wrong answer: the middle column's top
// and bottom pixels are left red.
constexpr CPoint kMark[7] = {{0, 0}, {-1, 0}, {1, 0}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};

// A red dot: the 3 by 3 square of pixels centred on (x, y).
void DrawDot(CDC& dc, int x, int y) {
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            dc.SetPixel(x + dx, y + dy, kRed);
        }
    }
}

// The grid of dots, column by column, placed so that the dot in column nCentreCol and
// row nCentreRow lies on ptCentre.
void DrawDotGrid(CDC& dc, CPoint ptCentre, int nCentreCol, int nCentreRow) {
    for (int col = 0; col < kGridCols; ++col) {
        for (int row = 0; row < kGridRows; ++row) {
            DrawDot(dc, ptCentre.x + (col - nCentreCol) * kGridStep,
                    ptCentre.y + (row - nCentreRow) * kGridStep);
        }
    }
}

}  // namespace

void CTessixView::ComputeGreenShape() {
    const int L = m_rectBoth.left;
    const int T = m_rectBoth.top;
    const int R = m_rectBoth.right;
    const int B = m_rectBoth.bottom;
    const int a = m_nJitter[0];
    const int b = m_nJitter[1];
    const int c = m_nJitter[2];
    const int d = m_nJitter[3];
    const int e = m_nJitter[4];
    const int f = m_nJitter[5];
    const int g = m_nJitter[6];
    const int h = m_nJitter[7];
    m_ptGreenShape[0] = CPoint(L, B - 30);
    m_ptGreenShape[1] = CPoint(L, B - a - 170);
    m_ptGreenShape[2] = CPoint(L - b + 240, T);
    m_ptGreenShape[3] = CPoint(L + 270, T);
    m_ptGreenShape[4] = CPoint(L - c + 270, T + c + 50);
    m_ptGreenShape[5] = CPoint(L + 330, T + 50);
    m_ptGreenShape[6] = CPoint(L + 350, T + 70);
    m_ptGreenShape[7] = CPoint(R - d, T + d + 70);
    m_ptGreenShape[8] = CPoint(R, T + 100);
    m_ptGreenShape[9] = CPoint(R - 80, B - e - 10);
    m_ptGreenShape[10] = CPoint(R + f - 120, B - f - 110);
    m_ptGreenShape[11] = CPoint(R - g - 190, B - 100);
    m_ptGreenShape[12] = CPoint(R - 220, B);
    m_ptGreenShape[13] = CPoint(L + h + 30, B - h);
}

void CTessixView::DrawProblem3() {
    CClientDC dc(m_pHost->ClientRaster());
    DrawPromptScreen(&dc, g_pszPrompt3);

    DrawFrame(&dc);

    const bool bFresh = m_nPhase == PHASE_FRESH;
    if (bFresh) {
        for (int k = 0; k < 8; ++k) {
            m_nJitter[k] = rand() % kJitterRange[k];
        }
        PlaySoundAsync(kStartSound);
        ComputeGreenShape();
    }

    // The outline is the fill's green, so every pixel of the shape counts.
    dc.SelectObject(&m_penGreen);
    dc.SelectObject(&m_brushGreen);
    dc.Polygon(m_ptGreenShape, kVertices);

    if (bFresh) {
        // Measured before the dots are drawn; nothing else on screen is green.
        CountPixelsByColumn(kGreen, kNoLimit);
        const int nHalf = m_nAreaLeft / 2;
        CountPixelsByColumn(kGreen, nHalf);
        m_ptCenter.x = m_i;
        CountPixelsByRow(kGreen, nHalf);
        m_ptCenter.y = m_j;

        m_nCenterCol = rand() % kGridCols;
        m_nInset = rand() % kGridRows;
        CountPresentation(3);
    }

    // m_nInset holds the centre dot's row.
    DrawDotGrid(dc, m_ptCenter, m_nCenterCol, m_nInset);

    m_nPhase = PHASE_SHOWN;
}

void CTessixView::OnProblem3Click(CDC* pDC, CPoint point) {
    if (m_nProblem != 3) {
        return;
    }
    // A click on the shape itself is no answer; the player may try again.
    const EUnderClick eUnder =
        pDC->GetPixel(point.x, point.y) == kGreen ? EUnderClick::Shape : EUnderClick::Elsewhere;
    const CCentreJudgement judgement = JudgeCentre(point, m_ptCenter, eUnder);
    if (judgement.eAnswered == EAnswered::NoAnswer) {
        return;
    }
    NoteForCoach(CoachNote(judgement));
    if (judgement.answer.eVerdict == EVerdict::Right && !m_pCoach) {
        FinishAnswer(pDC, judgement.answer);
        return;
    }
    // The mark goes into the wiped screen before the verdict, so it stays up through
    // the message, the sound and the pause; the coach shows it on a right answer too.
    WipeMessage(pDC);
    for (const CPoint& off : kMark) {
        pDC->SetPixel(m_ptCenter.x + off.x, m_ptCenter.y + off.y, kBlue);
    }
    FinishAnswer(pDC, judgement.answer, EWipe::AlreadyWiped);
}
