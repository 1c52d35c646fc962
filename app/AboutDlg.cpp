// SPDX-License-Identifier: MIT
#include "app/AboutDlg.h"

#include "app/Resources.h"

CAboutDlg::CAboutDlg() : CDialog(AboutBoxTemplate()) {}
