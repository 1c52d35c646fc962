// SPDX-License-Identifier: MIT
#include "platform/CaptionBar.h"

#include <wayland-client.h>

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <cstring>

namespace {

constexpr int kPadding = 6;
constexpr int kIconSize = 20;

// Registry listener: notes whether the compositor announces its decoration manager.
void OnGlobal(void* pData, wl_registry* /*pRegistry*/, std::uint32_t /*nName*/,
              const char* pszInterface, std::uint32_t /*nVersion*/) {
    if (std::strcmp(pszInterface, "zxdg_decoration_manager_v1") == 0) {
        *static_cast<bool*>(pData) = true;
    }
}

void OnGlobalRemove(void* /*pData*/, wl_registry* /*pRegistry*/, std::uint32_t /*nName*/) {}

constexpr wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

}  // namespace

bool CompositorDecoratesWindows() {
    // A connection of its own, only to read the list of globals once.
    wl_display* pDisplay = wl_display_connect(nullptr);
    if (!pDisplay) {
        return false;
    }
    bool bDecorates = false;
    wl_registry* pRegistry = wl_display_get_registry(pDisplay);
    wl_registry_add_listener(pRegistry, &kRegistryListener, &bDecorates);
    wl_display_roundtrip(pDisplay);
    wl_registry_destroy(pRegistry);
    wl_display_disconnect(pDisplay);
    return bDecorates;
}

CCaptionBar::CCaptionBar(QWidget* pParent) : QWidget(pParent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The caption follows the title and icon of the window it belongs to.
    window()->installEventFilter(this);
}

QSize CCaptionBar::sizeHint() const {
    return QSize(kIconSize, fontMetrics().height() + 2 * kPadding);
}

void CCaptionBar::paintEvent(QPaintEvent* /*pEvent*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Mid));
    const QRect iconRect(kPadding, (height() - kIconSize) / 2, kIconSize, kIconSize);
    window()->windowIcon().paint(&painter, iconRect);
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect textRect = rect().adjusted(iconRect.right() + kPadding, 0, -kPadding, 0);
    const QString title =
        fontMetrics().elidedText(window()->windowTitle(), Qt::ElideRight, textRect.width());
    painter.drawText(textRect, Qt::AlignCenter, title);
}

void CCaptionBar::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton && window()->windowHandle()) {
        window()->windowHandle()->startSystemMove();
    }
}

void CCaptionBar::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    // A double-click on the caption maximizes the window, as window managers do; it never
    // restores, since the game's window is a maximized one. It brings back a window that
    // was moved partly off the screen.
    pEvent->accept();
    window()->setWindowState((window()->windowState() & ~Qt::WindowMinimized) |
                             Qt::WindowMaximized);
}

bool CCaptionBar::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pEvent->type() == QEvent::WindowTitleChange || pEvent->type() == QEvent::WindowIconChange) {
        update();
    }
    return QWidget::eventFilter(pWatched, pEvent);
}
