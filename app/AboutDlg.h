// SPDX-License-Identifier: MIT
// The about box of template 100: the icon, the version and key lines, a notice and OK.
#pragma once

#include "platform/Dialog.h"

class CAboutDlg final : public CDialog {
public:
    CAboutDlg();
};
