// SPDX-License-Identifier: MIT
// Reading a judged answer off the screen: a copy of the window kept each time a sound
// plays (a verdict's sound plays while its message is up, before the pause and the
// menu), and the verdict line that copy shows.
#pragma once

#include <QImage>
#include <vector>

#include "support/Headless.h"

// Keeps a copy of game's window in shots each time a sound plays; shots must outlive
// the game's plays.
void WitnessSounds(CGame& game, std::vector<QImage>& shots);

// The verdict line in view's message band on shot: the one among the wrong answers'
// texts and every "CORRECT for N POINTS!" the game can give whose rendering in its
// colour covers the same box as the band's ink and differs from it in the fewest
// pixels; "" when none covers that box.
CString VerdictShown(const QImage& shot, CTessixView& view);
