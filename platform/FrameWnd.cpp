// SPDX-License-Identifier: MIT
#include "platform/FrameWnd.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include "platform/CaptionBar.h"
#include "platform/ViewWidget.h"
#include "platform/WindowSystem.h"

namespace {

QString ToQString(const CString& str) {
    return QString::fromLatin1(str.data(), static_cast<int>(str.size()));
}

constexpr const char* kCommandProperty = "tessixCommand";

// A style with no margin inside its menus (Fusion) draws the menu's frame line over the
// top pixels of a separator that comes first, and the menu seems to begin with its
// first command. Pushing the items down by what the style lacks of kLeadingGap keeps
// that separator inside the frame, where it reads as a line of its own.
void KeepLeadingSeparatorInside(QMenu& menu) {
    constexpr int kLeadingGap = 3;
    const QStyle* pStyle = menu.style();
    const int nInside = pStyle->pixelMetric(QStyle::PM_MenuVMargin, nullptr, &menu) +
                        pStyle->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, &menu);
    if (nInside < kLeadingGap) {
        const QMargins margins = menu.contentsMargins();
        menu.setContentsMargins(margins.left(), margins.top() + kLeadingGap - nInside,
                                margins.right(), margins.bottom());
    }
}

}  // namespace

int QtKeyCombination(const CAccel& accel) {
    int nCombination = CViewWidget::QtKeyOf(accel.nKey);
    if (accel.fVirt & FSHIFT) {
        nCombination |= Qt::SHIFT;
    }
    if (accel.fVirt & FCONTROL) {
        nCombination |= Qt::CTRL;
    }
    if (accel.fVirt & FALT) {
        nCombination |= Qt::ALT;
    }
    return nCombination;
}

CFrameWnd::CFrameWnd(QWidget* pParent) : QMainWindow(pParent) {
    // The menu area holds the frame's own caption (hidden unless asked for) above the
    // menu bar.
    auto* pMenuArea = new QWidget(this);
    auto* pLayout = new QVBoxLayout(pMenuArea);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    m_pCaption = new CCaptionBar(pMenuArea);
    m_pCaption->hide();
    m_pMenuBar = new QMenuBar(pMenuArea);
    pLayout->addWidget(m_pCaption);
    pLayout->addWidget(m_pMenuBar);
    setMenuWidget(pMenuArea);

    // Alt+F4 is the window's close command. A window manager usually takes the key
    // itself; without one it reaches the window.
    auto* pClose = new QAction(this);
    pClose->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    pClose->setShortcutContext(Qt::WindowShortcut);
    addAction(pClose);
    connect(pClose, &QAction::triggered, this, &QWidget::close);
}

CFrameWnd::~CFrameWnd() = default;

void CFrameWnd::LoadMenu(const CMenuResource& menu) {
    QMenuBar* pBar = m_pMenuBar;
    pBar->clear();
    for (const CMenuPopup& popup : menu) {
        QMenu* pMenu = pBar->addMenu(ToQString(popup.strTitle));
        // Every separator of the resource shows, a leading one too.
        pMenu->setSeparatorsCollapsible(false);
        if (!popup.items.empty() && popup.items.front().nID == 0) {
            KeepLeadingSeparatorInside(*pMenu);
        }
        for (const CMenuItem& item : popup.items) {
            if (item.nID == 0) {
                pMenu->addSeparator();
                continue;
            }
            // The text carries its shortcut after a tab; the key itself is an accelerator.
            QAction* pAction = pMenu->addAction(ToQString(item.strText));
            pAction->setProperty(kCommandProperty, item.nID);
            const UINT nID = item.nID;
            connect(pAction, &QAction::triggered, this, [this, nID] { SendCommand(nID); });
        }
        connect(pMenu, &QMenu::aboutToShow, this, [this, pMenu] { UpdateMenu(pMenu); });
    }
}

void CFrameWnd::LoadAccelTable(const CAccelResource& accels) {
    for (auto& entry : m_accels) {
        removeAction(entry.second);
        delete entry.second;
    }
    m_accels.clear();
    for (const CAccel& accel : accels) {
        auto* pAction = new QAction(this);
        pAction->setShortcut(QKeySequence(QtKeyCombination(accel)));
        pAction->setShortcutContext(Qt::WindowShortcut);
        addAction(pAction);
        const UINT nCmd = accel.nCmd;
        connect(pAction, &QAction::triggered, this, [this, nCmd] { SendCommand(nCmd); });
        m_accels.emplace_back(accel, pAction);
    }
}

void CFrameWnd::ShowOwnCaption() {
    m_pCaption->show();
}

BOOL CFrameWnd::SendCommand(UINT nID) {
    if (m_pCommandGate && m_pCommandGate->IsBusy()) {
        m_pCommandGate->RunWhenIdle([this, nID] { OnCmdMsg(nID, ECmd::Execute); });
        return TRUE;
    }
    return OnCmdMsg(nID, ECmd::Execute);
}

BOOL CFrameWnd::IsCommandEnabled(UINT nID) {
    return OnCmdMsg(nID, ECmd::Update);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, ECmd eCmd) {
    if (nID != ID_APP_EXIT) {
        return FALSE;
    }
    if (eCmd == ECmd::Execute) {
        close();
    }
    return TRUE;
}

void CFrameWnd::UpdateMenu(const QMenu* pMenu) {
    for (QAction* pAction : pMenu->actions()) {
        const QVariant id = pAction->property(kCommandProperty);
        if (id.isValid()) {
            pAction->setEnabled(IsCommandEnabled(id.toUInt()) != FALSE);
        }
    }
}

void CFrameWnd::closeEvent(QCloseEvent* pEvent) {
    // Nothing is ever modified, so closing asks nothing.
    pEvent->accept();
    if (m_endProgram) {
        m_endProgram(0);
    } else {
        QCoreApplication::exit(0);
    }
}

void CFrameWnd::ShowMaximizedAndSettle(std::function<void()> onSettled) {
    m_onSettled = std::move(onSettled);
    m_ePlacement = EPlacement::Settling;
    const QScreen* pScreen = QGuiApplication::primaryScreen();
    const QRect available = pScreen ? pScreen->availableGeometry() : QRect(0, 0, 800, 600);
    winId();
    QWindow* pWindow = windowHandle();
    pWindow->installEventFilter(this);
    if (CurrentWindowSystem() == EWindowSystem::Wayland) {
        if (!CompositorDecoratesWindows()) {
            ShowOwnCaption();
        }
        // The size a compositor's configure of 0x0 leaves to the program.
        m_sizeAsked = available.size();
        resize(m_sizeAsked);
        showMaximized();
        return;
    }
    // On X11 the size is fixed until it is settled: tiling window managers float a window
    // whose minimum and maximum sizes agree, and decide that when it is mapped.
    setGeometry(available);
    setFixedSize(available.size());
    SetFrameHints(*pWindow);
    showMaximized();
}

bool CFrameWnd::eventFilter(QObject* pWatched, QEvent* pEvent) {
    const QEvent::Type eType = pEvent->type();
    if (eType == QEvent::Expose || eType == QEvent::Move || eType == QEvent::Resize) {
        Settle();
    }
    return QMainWindow::eventFilter(pWatched, pEvent);
}

void CFrameWnd::Settle() {
    const QWindow* pWindow = windowHandle();
    if (m_ePlacement == EPlacement::Confirming && size() != m_sizeAsked) {
        SettleNow();
        return;
    }
    if (m_ePlacement != EPlacement::Settling || !pWindow || !pWindow->isExposed()) {
        return;
    }
    const EWindowSystem eSystem = CurrentWindowSystem();
    if (eSystem == EWindowSystem::X11 && !FitsScreen()) {
        return;
    }
    if (eSystem == EWindowSystem::Wayland && size() == m_sizeAsked) {
        m_ePlacement = EPlacement::Confirming;
        QTimer::singleShot(kConfirmMs, this, [this] {
            if (m_ePlacement == EPlacement::Confirming) {
                SettleNow();
            }
        });
        return;
    }
    SettleNow();
}

void CFrameWnd::SettleNow() {
    m_ePlacement = EPlacement::Settled;
    // From now on the window manager may resize the window as it likes (maximize after a
    // move, a tiling toggle): the game surface keeps the settled size.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (m_onSettled) {
        m_onSettled();
    }
}

bool CFrameWnd::FitsScreen() {
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
    // While the window manager is still placing the window, the frame Qt reports may be
    // at its new place and the client at its old one, so that the frame does not surround
    // the client; margins from them would grow the window past the screen. There is
    // nothing to fit by then: the window keeps the available size it was given.
    if (margins.left() < 0 || margins.top() < 0 || margins.right() < 0 || margins.bottom() < 0) {
        return true;
    }
    const QRect fitted = available.marginsRemoved(margins);
    ++m_nFitAttempts;
    setFixedSize(fitted.size());
    setGeometry(fitted);
    return false;
}
