// SPDX-License-Identifier: MIT
// The program's resources: menu 128, accelerators 128, the about box's template 100 and
// the strings of the document template and the application title.
#pragma once

#include "platform/Dialog.h"
#include "platform/FrameWnd.h"

constexpr int IDR_MAINFRAME = 128;
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDC_STATIC = -1;

// The application title: caption of message boxes and the settings' application name.
constexpr const char* kAppTitle = "Tessix";
// The framework's settings key (Qt's organisation name).
constexpr const char* kSettingsKey = "Local AppWizard-Generated Applications";
// The program's identity on the desktop: the desktop entry's name, the Wayland app id
// and the X11 window class.
constexpr const char* kDesktopId = "io.github.tessix.Tessix";
// The about box's one-line notice.
constexpr const char* kAboutNotice = "Free software, MIT licence.";

CMenuResource MainMenu();
CAccelResource MainAccelerators();
CDlgTemplate AboutBoxTemplate();
