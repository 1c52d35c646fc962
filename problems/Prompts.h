// SPDX-License-Identifier: MIT
// The prompts the four problem screens set in the message band, each defined beside its
// problem (problems/ProblemN.cpp). The layout sizes the band's font so that all of them
// fit where the band has to be short.
#pragma once

extern const char* const g_pszPrompt1;
extern const char* const g_pszPrompt2;
extern const char* const g_pszPrompt3;
extern const char* const g_pszPrompt4;
