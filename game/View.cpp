// SPDX-License-Identifier: MIT
// Construction, a new game, and the counting of presentations.
#include "game/TessixView.h"

#include <QtGlobal>

#include "game/Coach.h"
#include "game/Colours.h"
#include "scores/ScoresDlg.h"

CTessixView::CTessixView(const CViewWorld& world)
    : m_strVersion(world.strVersion),
      m_clrOrange(kOrange),
      m_pHost(world.pHost),
      m_pClock(world.pClock),
      m_pSound(world.pSound) {
    // The game's sounds and icons live in a static library: its resource data is linked
    // in (and registered) only when something refers to it. Registering twice is harmless.
    Q_INIT_RESOURCE(tessix);
    const std::uint32_t uSeed =
        world.oSeed ? *world.oSeed : static_cast<std::uint32_t>(m_pClock->Time());
    m_random.srand(uSeed);
    if (world.eCoach == ECoach::On) {
        m_pCoach = std::make_unique<CCoach>(uSeed, world.strAnswerRecord);
    }
    NewGame(1);
}

CTessixView::~CTessixView() = default;

void CTessixView::NewGame(int nFirst) {
    if (!m_brushRed.GetSafeHandle()) {
        m_brushBlue.CreateSolidBrush(kBlue);
        m_brushRed.CreateSolidBrush(kRed);
        m_brushYellow.CreateSolidBrush(kYellow);
        m_brushMagenta.CreateSolidBrush(kMagenta);
        m_brushCyan.CreateSolidBrush(kCyan);
        m_brushWhite.CreateSolidBrush(kWhite);
        m_brushGreen.CreateSolidBrush(kGreen);
        m_penRed.CreatePen(PS_SOLID, 1, kRed);
        m_penBlue.CreatePen(PS_SOLID, 1, kBlue);
        m_penYellow.CreatePen(PS_SOLID, 1, kYellow);
        m_penMagenta.CreatePen(PS_SOLID, 1, kMagenta);
        m_penGreen.CreatePen(PS_SOLID, 1, kGreen);
        m_penWhite.CreatePen(PS_SOLID, 1, kWhite);
        m_penWhiteWide.CreatePen(PS_SOLID, 3, kWhite);
    }

    m_nProblem = 0;
    m_nPhase = PHASE_MENU;
    m_bGameOver = FALSE;
    m_bLayoutDone = FALSE;  // the next paint lays the screen out again
    m_bMenuActive = FALSE;

    m_bSwapLeft = FALSE;
    m_bSwapRight = FALSE;
    for (int& nPlays : m_nPlays) {
        nPlays = 0;
    }

    if (nFirst == 1) {
        m_nScore = 0;
        g_dlgScores.ClearHistory();
    }

    BuildInstructions();
}

void CTessixView::CountPresentation(int nProblem) {
    m_nPlays[nProblem - 1] += 1;
    if (m_nPlays[nProblem - 1] != kPresentations) {
        return;
    }
    // Close up the entries still open from the top, in problem order.
    m_nSlot = 0;
    for (m_k = 0; m_k < kProblems; ++m_k) {
        if (m_nPlays[m_k] < kPresentations) {
            m_rectMenuItem[m_k] = m_rectMenuSlot[m_nSlot];
            ++m_nSlot;
        }
    }
}
