// SPDX-License-Identifier: MIT
#include "app/MainFrame.h"

#include <QMargins>
#include <QScreen>

#include "app/Resources.h"
#include "platform/Document.h"
#include "platform/ViewWidget.h"

CMainFrame::CMainFrame() {
    setWindowFlags(FrameWindowFlags());
    LoadMenu(MainMenu());
    LoadAccelTable(MainAccelerators());
    m_pViewWidget = new CViewWidget(this);
    setCentralWidget(m_pViewWidget);
    m_pViewWidget->SetStartGate([this] { return FitToScreen(); });
    m_pViewWidget->SetCaptionSink([this](const QString& caption) {
        m_bViewCaption = true;
        setWindowTitle(caption);
    });
    OnUpdateFrameTitle();
}

CMainFrame::~CMainFrame() = default;

Qt::WindowFlags CMainFrame::FrameWindowFlags() {
    return Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
}

void CMainFrame::SetRouting(CCmdTarget* pViewCommands, CDocument* pDocument, CCmdTarget* pApp) {
    m_pViewCommands = pViewCommands;
    m_pDocument = pDocument;
    m_pApp = pApp;
    OnUpdateFrameTitle();
}

BOOL CMainFrame::OnCmdMsg(UINT nID, ECmd eCmd) {
    if (m_pViewCommands && m_pViewCommands->OnCmdMsg(nID, eCmd)) {
        return TRUE;
    }
    if (m_pDocument && m_pDocument->OnCmdMsg(nID, eCmd)) {
        return TRUE;
    }
    if (CFrameWnd::OnCmdMsg(nID, eCmd)) {
        return TRUE;
    }
    return m_pApp && m_pApp->OnCmdMsg(nID, eCmd);
}

void CMainFrame::OnUpdateFrameTitle() {
    if (m_bViewCaption) {
        return;
    }
    const QString title = m_pDocument ? m_pDocument->GetTitle() : QStringLiteral("Untitled");
    setWindowTitle(QString::fromLatin1(kAppTitle) + QStringLiteral(" - ") + title);
}

bool CMainFrame::FitToScreen() {
    // Some window managers (xfwm4) maximize only windows that offer a maximize button:
    // they mark this one maximized but leave it at the size it was given, the available
    // area, and refuse to resize it, so that its caption pushes its bottom off the screen.
    // Such a window is shown afresh in the normal state, where the window manager takes
    // the size asked for, with its frame filling the available area.
    if (m_nFitAttempts >= kMaxFitAttempts || !isVisible() || !screen()) {
        return true;
    }
    const QRect available = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    if (available.contains(frame)) {
        return true;
    }
    const QRect client = geometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                           frame.right() - client.right(), frame.bottom() - client.bottom());
    const QRect fitted = available.marginsRemoved(margins);
    ++m_nFitAttempts;
    hide();
    destroy();
    create();
    setGeometry(fitted);
    showMaximized();
    return false;
}
