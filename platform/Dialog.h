// SPDX-License-Identifier: MIT
// Base of the game's modal dialogs. A host runs a dialog (IViewHost::DoModal); the
// dialog fills its controls in OnInitDialog each time it opens.
#pragma once

#include "platform/Types.h"

class CDialog {
public:
    CDialog() = default;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;
    virtual ~CDialog() = default;

    // Called when the dialog opens; TRUE gives the focus to the first tab-stop control.
    virtual BOOL OnInitDialog() { return TRUE; }
};
