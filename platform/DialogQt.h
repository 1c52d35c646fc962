// SPDX-License-Identifier: MIT
// A dialog template realised as a fixed-size QDialog. Dialog units are converted to
// pixels from the dialog font: horizontally by a quarter of its average character width,
// vertically by an eighth of its character height. List boxes, push buttons, static
// texts and icons are built from their template styles; the OK button (id IDOK) accepts,
// IDCANCEL and Esc reject.
#pragma once

#include <QFont>
#include <QPointer>
#include <QRect>
#include <utility>
#include <vector>

#include "platform/Dialog.h"

class QDialog;
class QPaintDevice;
class QWidget;

// The dialog base units of a font, in pixels.
struct CDialogBaseUnits {
    int nCharWidth = 0;   // average width of the letters A to Z and a to z, rounded
    int nCharHeight = 0;  // ascent + descent
};

// The template's font (its face mapped, its point size at the device's resolution).
QFont DialogFont(const CDlgTemplate& dlgTemplate, QPaintDevice* pDevice);
CDialogBaseUnits DialogBaseUnits(const QFont& font, QPaintDevice* pDevice);
// A rectangle in dialog units as pixels, each value rounded to the nearest pixel.
QRect MapDialogRect(int x, int y, int cx, int cy, const CDialogBaseUnits& base);

// Gives the keyboard back to a window when a modal box or dialog over it closes (at the
// end of the scope), also where no window manager does: without one the X server hands
// the focus to the root window when the box goes away.
class CFocusReturn {
public:
    explicit CFocusReturn(QWidget* pWindow) : m_pWindow(pWindow) {}
    ~CFocusReturn();
    CFocusReturn(const CFocusReturn&) = delete;
    CFocusReturn& operator=(const CFocusReturn&) = delete;

private:
    QPointer<QWidget> m_pWindow;
};

class CQtDialog {
public:
    CQtDialog(CDialog& dlg, QWidget* pParent);
    ~CQtDialog();
    CQtDialog(const CQtDialog&) = delete;
    CQtDialog& operator=(const CQtDialog&) = delete;

    // Lets the dialog fill its controls (OnInitDialog) and, when it answers TRUE, gives
    // the focus to the first visible tab-stop control. Call once, before showing.
    void Init();
    // Init, then shows the dialog modally; returns IDOK or IDCANCEL.
    int DoModal();

    // How a finished dialog ended: IDOK or IDCANCEL.
    int Result() const;

private:
    friend class CQtDialogProbe;  // tests/support/Probes.h

    void BuildControls(const CDialogBaseUnits& base);

    CDialog& m_dlg;
    CDialogControls m_controls;
    QPointer<QDialog> m_pDialog;
    std::vector<std::pair<int, QWidget*>> m_widgets;
};
