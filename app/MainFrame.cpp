// SPDX-License-Identifier: MIT
#include "app/MainFrame.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWindow>

#include "app/Resources.h"
#include "platform/CaptionBar.h"
#include "platform/Document.h"
#include "platform/ViewWidget.h"
#include "platform/WindowSystem.h"

CMainFrame::CMainFrame() {
    setWindowFlags(FrameWindowFlags());
    LoadMenu(MainMenu());
    LoadAccelTable(MainAccelerators());
    m_pViewWidget = new CViewWidget(this);
    setCentralWidget(m_pViewWidget);
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

void CMainFrame::ShowFixedMaximized() {
    const QScreen* pScreen = QGuiApplication::primaryScreen();
    const QRect available = pScreen ? pScreen->availableGeometry() : QRect(0, 0, 800, 600);
    m_ePlacement = EPlacement::Settling;
    if (CurrentWindowSystem() == EWindowSystem::Wayland) {
        // The compositor tells the maximized size in its first configure.
        if (!CompositorDecoratesWindows()) {
            ShowOwnCaption();
        }
        winId();
        windowHandle()->installEventFilter(this);
        showMaximized();
        return;
    }
    // On X11 the size is fixed before the window is mapped: tiling window managers float
    // a window whose minimum and maximum sizes agree, and decide that at the map.
    setGeometry(available);
    setFixedSize(available.size());
    winId();
    QWindow* pWindow = windowHandle();
    pWindow->installEventFilter(this);
    SetFixedFrameHints(*pWindow);
    SetWindowClass(*pWindow, QByteArrayLiteral("tessix"), QByteArray(kDesktopId));
    showMaximized();
}

bool CMainFrame::eventFilter(QObject* pWatched, QEvent* pEvent) {
    switch (pEvent->type()) {
        case QEvent::Expose:
        case QEvent::Move:
        case QEvent::Resize:
            Settle();
            break;
        case QEvent::WindowStateChange:
            Settle();
            KeepMaximized();
            break;
        default:
            break;
    }
    return CFrameWnd::eventFilter(pWatched, pEvent);
}

void CMainFrame::Settle() {
    const QWindow* pWindow = windowHandle();
    if (m_ePlacement != EPlacement::Settling || !pWindow || !pWindow->isExposed()) {
        return;
    }
    const EWindowSystem eSystem = CurrentWindowSystem();
    if (eSystem == EWindowSystem::Wayland && !(pWindow->windowStates() & Qt::WindowMaximized)) {
        return;
    }
    if (eSystem == EWindowSystem::X11 && !FitsScreen()) {
        return;
    }
    m_ePlacement = EPlacement::Fixed;
    setFixedSize(size());
    m_pViewWidget->Start();
}

bool CMainFrame::FitsScreen() {
    if (m_nFitAttempts >= kMaxFitAttempts || !screen()) {
        return true;
    }
    const QRect available = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    if (available.contains(frame)) {
        return true;
    }
    // The window manager's frame (caption, border) reaches off the available area: the
    // client takes what is left inside it.
    const QRect client = geometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                           frame.right() - client.right(), frame.bottom() - client.bottom());
    const QRect fitted = available.marginsRemoved(margins);
    ++m_nFitAttempts;
    setFixedSize(fitted.size());
    setGeometry(fitted);
    return false;
}

void CMainFrame::KeepMaximized() {
    // Qt's own caption on Wayland offers maximize and minimize whatever the window
    // flags say; a running game stays maximized (its size is fixed anyway).
    if (m_ePlacement == EPlacement::Fixed && CurrentWindowSystem() == EWindowSystem::Wayland &&
        !(windowState() & Qt::WindowMaximized)) {
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    }
}
