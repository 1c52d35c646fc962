// SPDX-License-Identifier: MIT
// A scripted player on the headless host: it chooses a problem on the menu and answers
// it through the game's own input, aiming right or wrong, from what it sees on screen.
#pragma once

#include "game/TessixView.h"
#include "problems/Judges.h"
#include "support/Headless.h"

enum class EIntent { AimRight, AimWrong };

// What the player expects of one answer, worked out from what it sees before clicking.
struct CExpected {
    EVerdict eVerdict = EVerdict::Wrong;
    int nPoints = 0;
};

class CPlayer {
public:
    explicit CPlayer(CGame& game) : m_game(game), m_view(game.View()) {}

    // Chooses problem p on the menu and answers it.
    CExpected Play(int nProblem, EIntent eIntent);
    // Answers the problem on screen; nothing happens on the menu.
    CExpected Answer(EIntent eIntent);

private:
    CExpected Problem1(EIntent eIntent);
    CExpected Problem2(EIntent eIntent);
    CEqualJudgement Equal() const { return JudgeEqual(m_view.m_nAreaLeft, m_view.m_nAreaRight); }
    CExpected Problem3(EIntent eIntent);
    CExpected Problem4(EIntent eIntent);
    // The cyan pixels of the right square as the player sees them.
    int Cyan() const;

    CGame& m_game;
    CTessixView& m_view;
    bool m_bLopsided = false;
};
