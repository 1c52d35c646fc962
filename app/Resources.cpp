// SPDX-License-Identifier: MIT
#include "app/Resources.h"

#include <string>

#include "app/Version.h"
#include "platform/ViewHost.h"

namespace {

constexpr UINT VK_BACK = 0x08;
constexpr UINT VK_INSERT = 0x2D;
constexpr UINT VK_DELETE = 0x2E;
constexpr UINT VK_F6 = 0x75;
constexpr UINT kSeparator = 0;

}  // namespace

CMenuResource MainMenu() {
    return {
        {"&File",
         {
             {"", kSeparator},
             {"&Print...\tCtrl+P", ID_FILE_PRINT},
             {"", kSeparator},
             {"E&xit", ID_APP_EXIT},
         }},
        {"&Help", {{"&About Tessix...", ID_APP_ABOUT}}},
    };
}

CAccelResource MainAccelerators() {
    return {
        {FVIRTKEY | FCONTROL, 'N', ID_FILE_NEW},   {FVIRTKEY | FCONTROL, 'O', ID_FILE_OPEN},
        {FVIRTKEY | FCONTROL, 'S', ID_FILE_SAVE},  {FVIRTKEY | FCONTROL, 'P', ID_FILE_PRINT},
        {FVIRTKEY | FCONTROL, 'Z', ID_EDIT_UNDO},  {FVIRTKEY | FALT, VK_BACK, ID_EDIT_UNDO},
        {FVIRTKEY | FCONTROL, 'X', ID_EDIT_CUT},   {FVIRTKEY | FSHIFT, VK_DELETE, ID_EDIT_CUT},
        {FVIRTKEY | FCONTROL, 'C', ID_EDIT_COPY},  {FVIRTKEY | FCONTROL, VK_INSERT, ID_EDIT_COPY},
        {FVIRTKEY | FCONTROL, 'V', ID_EDIT_PASTE}, {FVIRTKEY | FSHIFT, VK_INSERT, ID_EDIT_PASTE},
        {FVIRTKEY, VK_F6, ID_NEXT_PANE},           {FVIRTKEY | FSHIFT, VK_F6, ID_PREV_PANE},
    };
}

CDlgTemplate AboutBoxTemplate() {
    CDlgTemplate dlg;
    dlg.nId = IDD_ABOUTBOX;
    dlg.cx = 235;
    dlg.cy = 68;
    dlg.strCaption = "About Tessix";
    dlg.dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    dlg.nPointSize = 8;
    dlg.strFace = "MS Sans Serif";
    dlg.items = {
        {IDC_STATIC, EDlgClass::Icon, 11, 17, 20, 20, std::to_string(IDR_MAINFRAME), WS_VISIBLE},
        {IDC_STATIC, EDlgClass::Static, 40, 12, 119, 26,
         "Tessix Version " + g_strVersion + "\nPress F1 for instructions\nPress F2 for scores",
         WS_VISIBLE | SS_LEFT | SS_NOPREFIX | WS_GROUP},
        {IDC_STATIC, EDlgClass::Static, 40, 40, 119, 8, kAboutNotice,
         WS_VISIBLE | SS_LEFT | WS_GROUP},
        {IDOK, EDlgClass::Button, 178, 7, 50, 14, "OK",
         WS_VISIBLE | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP},
    };
    return dlg;
}
