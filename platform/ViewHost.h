// SPDX-License-Identifier: MIT
// The two sides of the window a view lives in: what the view may ask of its window
// (IViewHost) and what the window sends to the view (IHostedView). The Qt widget is the
// window of the real program; tests use a headless host that keeps the raster in memory
// and records message boxes, dialogs and the end of the program instead of taking them.
#pragma once

#include "platform/Types.h"

class CDC;
class CRaster;
class CDialog;
struct CChartSheet;

constexpr UINT MB_OK = 0x0000;
constexpr UINT MB_ICONEXCLAMATION = 0x0030;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

class IViewHost {
public:
    virtual ~IViewHost() = default;

    // The client area in pixels; left and top are 0.
    virtual CRect GetClientRect() const = 0;
    // The raster that is the client area: what is drawn on it is what the window shows.
    virtual CRaster& ClientRaster() = 0;
    virtual void SetWindowText(const CString& strCaption) = 0;
    // Puts what has been drawn on the screen now, before the game blocks.
    virtual void ShowNow() = 0;
    // A modal message box; the caption is the application title.
    virtual int MessageBox(const CString& strText, UINT nType) = 0;
    // Runs a dialog modally and returns how it was closed (IDOK, IDCANCEL).
    virtual int DoModal(CDialog& dlg) = 0;
    // Shows charts in a modal window until it is closed (platform/Charts.h).
    virtual void ShowCharts(const CChartSheet& sheet) = 0;
    // Ends the program with this exit code. A host may only record it, so the caller
    // returns at once after asking.
    virtual void EndProgram(int nExitCode) = 0;
    // Asks for a paint of the whole screen by the view, as a window-system repaint does;
    // it comes after the handler that asked has returned.
    virtual void Invalidate() = 0;
};

// What the window sends to the view it hosts: window-system paints, key presses as
// virtual-key codes, left and right button presses in client coordinates.
class IHostedView {
public:
    virtual ~IHostedView() = default;
    virtual void OnDraw(CDC* pDC) = 0;
    virtual void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) = 0;
    virtual void OnLButtonDown(UINT nFlags, CPoint point) = 0;
    virtual void OnRButtonDown(UINT nFlags, CPoint point) = 0;
};
