// SPDX-License-Identifier: MIT
// Writes the game's rules that the end-to-end scripts check, as bash assignments, from the
// game's own constants: the colours of the shapes, texts and verdicts, the menu entries'
// colours, the points, problem 2's band, problem 4's tolerance and the answer pause. The
// build runs it into the file the scripts source, so that no script keeps a copy.
#include <cstdio>

#include "game/Colours.h"
#include "game/ProblemTable.h"
#include "game/Rules.h"
#include "problems/Judges.h"

namespace {

void PrintColour(const char* pszName, COLORREF clr) {
    std::printf("readonly %s=%d,%d,%d\n", pszName, GetRValue(clr), GetGValue(clr), GetBValue(clr));
}

void PrintInt(const char* pszName, long long nValue) {
    std::printf("readonly %s=%lld\n", pszName, nValue);
}

}  // namespace

int main() {
    std::printf("# Written by the build from the game's constants (tests/rules/PrintRules.cpp).\n");
    const struct {
        const char* pszName;
        COLORREF clr;
    } colours[] = {
        {"E2E_WHITE", kWhite},
        {"E2E_TITLE", kTitleColor},
        {"E2E_SCORE", kScoreColor},
        {"E2E_HELP", kHelpColor},
        {"E2E_GAME_OVER", kGameOverColor},
        {"E2E_RIGHT", kRightColor},
        {"E2E_WRONG", kWrongColor},
        {"E2E_BLUE", kBlue},
        {"E2E_RED", kRed},
        {"E2E_YELLOW", kYellow},
        {"E2E_MAGENTA", kMagenta},
        {"E2E_GREEN", kGreen},
        {"E2E_CYAN", kCyan},
        {"E2E_ORANGE", kOrange},
    };
    for (const auto& c : colours) {
        PrintColour(c.pszName, c.clr);
    }
    // Arrays in problem order: the menu entries' colours and the most each problem earns.
    std::printf("readonly E2E_ENTRY=(");
    for (int p = 1; p <= kProblems; ++p) {
        const COLORREF clr = CProblemTable::Row(p).clrMenuEntry;
        std::printf("%s%d,%d,%d", p > 1 ? " " : "", GetRValue(clr), GetGValue(clr), GetBValue(clr));
    }
    std::printf(")\nreadonly E2E_POINTS=(");
    for (int p = 1; p <= kProblems; ++p) {
        std::printf("%s%d", p > 1 ? " " : "", CProblemTable::Row(p).nPoints);
    }
    std::printf(")\n");
    PrintInt("E2E_RATIO_SCALE", kRatioScale);
    PrintInt("E2E_EQUAL_BAND_LOW", kEqualBandLow);
    PrintInt("E2E_EQUAL_BAND_HIGH", kEqualBandHigh);
    PrintInt("E2E_TOLERANCE_PER_MILLE", kTolerancePerMille);
    // Not read-only: a script may stretch it to a slow machine.
    std::printf("E2E_PAUSE_MS=%lld\n", static_cast<long long>(kAnswerPauseMs));
    return 0;
}
