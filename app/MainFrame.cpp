// SPDX-License-Identifier: MIT
#include "app/MainFrame.h"

#include <QWindow>

#include "app/Resources.h"
#include "platform/Document.h"
#include "platform/ViewWidget.h"
#include "platform/WindowSystem.h"

CMainFrame::CMainFrame() {
    setWindowFlags(FrameWindowFlags());
    LoadMenu(MainMenu());
    LoadAccelTable(MainAccelerators());
    m_pViewWidget = new CViewWidget(this);
    setCentralWidget(m_pViewWidget);
    SetCommandGate(m_pViewWidget);
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

void CMainFrame::ShowAndStart() {
    winId();
    SetWindowClass(*windowHandle(), QByteArrayLiteral("tessix"), QByteArray(kDesktopId));
    ShowMaximizedAndSettle([this] { m_pViewWidget->Start(); });
}
