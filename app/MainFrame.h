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

    // Shows the frame filling the screen's available area, fixed at its size there (no
    // sizing border, no maximize or minimize), and starts the game in the view's window
    // as soon as that size is final: the window manager has framed and placed the window,
    // or the compositor has configured it maximized.
    void ShowFixedMaximized();

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    enum class EPlacement { Hidden, Settling, Fixed };

    // Starts the game once the window has its final size; on X11 first brings the whole
    // frame, caption included, into the available area where it is not.
    void Settle();
    // X11: whether the frame lies inside the available area; if not, asks for the client
    // geometry that puts it there.
    bool FitsScreen();
    void KeepMaximized();

    CViewWidget* m_pViewWidget = nullptr;
    CCmdTarget* m_pViewCommands = nullptr;
    CDocument* m_pDocument = nullptr;
    CCmdTarget* m_pApp = nullptr;
    bool m_bViewCaption = false;
    EPlacement m_ePlacement = EPlacement::Hidden;
    // Tries at fitting the frame before the game starts regardless.
    static constexpr int kMaxFitAttempts = 3;
    int m_nFitAttempts = 0;
};
