// SPDX-License-Identifier: MIT
// The tests' way into parts of the shell and of a dialog that the product itself never
// asks for: the application's frame, document and view, a dialog's window and the widget
// of one of its controls. Friends of the classes they open (the product keeps no
// accessor for tests).
#pragma once

#include <QDialog>
#include <QWidget>

#include "app/MainFrame.h"
#include "app/TessixApp.h"
#include "app/TessixDoc.h"
#include "game/TessixView.h"
#include "platform/DialogQt.h"

class CTessixAppProbe {
public:
    static CMainFrame& Frame(const CTessixApp& app) { return *app.m_pFrame; }
    static CTessixDoc& Document(const CTessixApp& app) { return *app.m_pDocument; }
    static CTessixView& View(const CTessixApp& app) { return *app.m_pView; }
};

class CQtDialogProbe {
public:
    static QDialog& Dialog(const CQtDialog& dialog) { return *dialog.m_pDialog; }
    // The widget of control nId, or null.
    static QWidget* Control(const CQtDialog& dialog, int nId) {
        for (const auto& entry : dialog.m_widgets) {
            if (entry.first == nId) {
                return entry.second;
            }
        }
        return nullptr;
    }
};
