// SPDX-License-Identifier: MIT
// The game's colours, in one place: the pure colours its shapes are drawn and counted
// in, and the colours of its texts. A shape's colour is exact on the screen raster, so
// a count of one of these colours counts exactly the pixels drawn in it.
#pragma once

#include "platform/Types.h"

// Shapes and the background.
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kCyan = RGB(0, 255, 255);
// Problem 4's target as requested; the surface may give the nearest colour it has.
constexpr COLORREF kOrange = RGB(255, 128, 0);

// Texts.
constexpr COLORREF kTitleColor = RGB(212, 0, 212);
constexpr COLORREF kScoreLabelColor = RGB(192, 192, 192);
constexpr COLORREF kScoreColor = RGB(0, 120, 120);
constexpr COLORREF kHelpColor = RGB(0, 0, 190);
constexpr COLORREF kGameOverColor = RGB(200, 0, 0);
constexpr COLORREF kPromptColor = kBlack;
constexpr COLORREF kRightColor = RGB(182, 255, 0);  // the verdict on a right answer
constexpr COLORREF kWrongColor = RGB(128, 128, 128);
