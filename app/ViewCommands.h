// SPDX-License-Identifier: MIT
// The game view's command map: Print (with its dialog), Print without the dialog and
// Print preview, each enabled as the view's OnUpdateFilePrint says. The print runs
// behind an interface so that a test can stand in for the printer and its dialogs.
#pragma once

#include "platform/FrameWnd.h"

class CTessixView;
class QWidget;

class IPrintCommands {
public:
    virtual ~IPrintCommands() = default;
    // Runs ID_FILE_PRINT, ID_FILE_PRINT_DIRECT or ID_FILE_PRINT_PREVIEW for the view.
    virtual void Run(UINT nID, CTessixView& view, QWidget* pParent) = 0;
};

// The framework's print sequence over Qt PrintSupport (print/PrintCommands.h).
class CQtPrintCommands final : public IPrintCommands {
public:
    void Run(UINT nID, CTessixView& view, QWidget* pParent) override;
};

class CViewCommands final : public CCmdTarget {
public:
    // parent: the window the print dialogs belong to.
    CViewCommands(CTessixView& view, QWidget& parent, IPrintCommands& print)
        : m_view(view), m_parent(parent), m_print(print) {}
    BOOL OnCmdMsg(UINT nID, ECmd eCmd) override;

private:
    CTessixView& m_view;
    QWidget& m_parent;
    IPrintCommands& m_print;
};
