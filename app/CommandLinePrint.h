// SPDX-License-Identifier: MIT
// The print switches of the command line: the instructions are printed (or previewed)
// by a game view that is never shown, and the program ends.
#pragma once

#include <QString>

class IClock;
struct CCommandLineInfo;

// Whether a print switch must run without a display (everything but the preview).
bool PrintSwitchNeedsNoDisplay(const CCommandLineInfo& cmdInfo);

// Runs the print switch of cmdInfo and returns the program's exit status: 0 when the job
// ran (or the preview was closed), kExitPrintFailed with the reason in *pError when it
// failed. Needs a GUI application object.
int RunPrintSwitch(const CCommandLineInfo& cmdInfo, IClock& clock, QString* pError);
