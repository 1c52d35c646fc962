// SPDX-License-Identifier: MIT
#include "game/ProblemTable.h"

#include <iterator>

#include "game/Colours.h"
#include "problems/Judges.h"
#include "problems/Prompts.h"

const CProblemRow CProblemTable::kRows[] = {
    {"   1 - Which Shape Is Bigger", RGB(0, 180, 90), &g_pszPrompt1, kBiggerPoints,
     &CTessixView::DrawProblem1, nullptr, &CTessixView::OnProblem1Click,
     &CTessixView::OnProblem1RightClick},
    {"   2 - Stop When They Are Equal", kRed, &g_pszPrompt2, kEqualPoints,
     &CTessixView::DrawProblem2, &CTessixView::OnProblem2Key, &CTessixView::OnProblem2Click,
     &CTessixView::OnProblem2RightClick},
    {"   3 - Find The Center", kBlue, &g_pszPrompt3, kCentrePoints, &CTessixView::DrawProblem3,
     nullptr, &CTessixView::OnProblem3Click, nullptr},
    {"   4 - Reshape The Larger One", RGB(255, 120, 80), &g_pszPrompt4, kReshapeMaxPoints,
     &CTessixView::DrawProblem4, &CTessixView::OnProblem4Key, &CTessixView::OnProblem4Click,
     nullptr},
};
const CProblemRow& CProblemTable::Row(int nProblem) {
    static_assert(std::size(kRows) == kProblems, "one row for each problem");
    return kRows[nProblem - 1];
}
