// SPDX-License-Identifier: MIT
// The main frame: a caption without caption buttons, menu 128, accelerators 128, no tool
// bar and no status bar; the game view's window fills it. Commands go to the view, then
// the document, then the frame, then the application.
#pragma once

#include "platform/FrameWnd.h"

class CDocument;
class CViewWidget;

class CMainFrame final : public CFrameWnd {
    Q_OBJECT
public:
    CMainFrame();
    ~CMainFrame() override;

    // The window flags of the frame: a caption bar with no buttons where the window
    // manager honours the hints.
    static Qt::WindowFlags FrameWindowFlags();

    // The command targets after the frame's view window. Any may be null.
    void SetRouting(CCmdTarget* pViewCommands, CDocument* pDocument, CCmdTarget* pApp);

    CViewWidget* GetViewWidget() const { return m_pViewWidget; }

    BOOL OnCmdMsg(UINT nID, ECmd eCmd) override;

    // "Tessix - " and the document's title, until the view has set its own caption at
    // its first paint; from then on the caption is the view's.
    void OnUpdateFrameTitle();

    // Shows the frame maximized and starts the game in the view's window at the first
    // size the window system confirms; the game keeps that size whatever the desktop does
    // to the window later.
    void ShowAndStart();

private:
    CViewWidget* m_pViewWidget = nullptr;
    CCmdTarget* m_pViewCommands = nullptr;
    CDocument* m_pDocument = nullptr;
    CCmdTarget* m_pApp = nullptr;
    bool m_bViewCaption = false;
};
