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
    // manager honours the hints, and still maximizable.
    static Qt::WindowFlags FrameWindowFlags();

    // The command targets after the frame's view window. Any may be null.
    void SetRouting(CCmdTarget* pViewCommands, CDocument* pDocument, CCmdTarget* pApp);

    CViewWidget* GetViewWidget() const { return m_pViewWidget; }

    BOOL OnCmdMsg(UINT nID, ECmd eCmd) override;

    // "Tessix - " and the document's title, until the view has set its own caption at
    // its first paint; from then on the caption is the view's.
    void OnUpdateFrameTitle();

private:
    // Before the game lays itself out: brings the whole frame, caption included, into the
    // screen's available area. False when it had to change the window.
    bool FitToScreen();

    CViewWidget* m_pViewWidget = nullptr;
    CCmdTarget* m_pViewCommands = nullptr;
    CDocument* m_pDocument = nullptr;
    CCmdTarget* m_pApp = nullptr;
    bool m_bViewCaption = false;
    // Tries at fitting the frame before the game starts regardless.
    static constexpr int kMaxFitAttempts = 3;
    int m_nFitAttempts = 0;
};
