// SPDX-License-Identifier: MIT
// The coach's progress window: from the record of answers, per problem, the error of
// every answer in order with its moving average, and the share of right answers in each
// game.
#pragma once

#include <cstdint>

#include "game/AnswerRecord.h"
#include "platform/Charts.h"

// The moving average is taken over this many answers (fewer at the start).
constexpr int kProgressWindow = 5;

// Two charts a problem, in problem order: its errors (their sizes, whichever way they
// missed) with their moving average, then its share of right answers per game in per
// cent. The title names uSeed, the seed of the game being played, which --seed replays.
// Records of one game are consecutive and share their seed and game number.
CChartSheet ProgressSheet(const CRecordScan& scan, std::uint32_t uSeed);
