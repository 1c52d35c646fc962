// SPDX-License-Identifier: MIT
#include "platform/WindowSystem.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWindow>
#include <cstdint>
#include <cstdlib>

namespace {

// The Motif window-manager hints (flags, functions, decorations, input mode, status).
constexpr std::uint32_t kMwmHintsFunctions = 1u << 0;
constexpr std::uint32_t kMwmHintsDecorations = 1u << 1;
constexpr std::uint32_t kMwmFuncResize = 1u << 1;
constexpr std::uint32_t kMwmFuncMove = 1u << 2;
constexpr std::uint32_t kMwmFuncMaximize = 1u << 4;
constexpr std::uint32_t kMwmFuncClose = 1u << 5;
constexpr std::uint32_t kMwmDecorBorder = 1u << 1;
constexpr std::uint32_t kMwmDecorTitle = 1u << 3;

xcb_connection_t* X11Connection() {
    if (CurrentWindowSystem() != EWindowSystem::X11) {
        return nullptr;
    }
    auto* pX11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return pX11 ? pX11->connection() : nullptr;
}

xcb_atom_t InternAtom(xcb_connection_t* pConnection, const char* pszName) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(pConnection, 0, static_cast<std::uint16_t>(qstrlen(pszName)), pszName);
    xcb_intern_atom_reply_t* pReply = xcb_intern_atom_reply(pConnection, cookie, nullptr);
    if (!pReply) {
        return XCB_ATOM_NONE;
    }
    const xcb_atom_t atom = pReply->atom;
    std::free(pReply);
    return atom;
}

}  // namespace

EWindowSystem CurrentWindowSystem() {
    const QString name = QGuiApplication::platformName();
    if (name == QLatin1String("xcb")) {
        return EWindowSystem::X11;
    }
    if (name.startsWith(QLatin1String("wayland"))) {
        return EWindowSystem::Wayland;
    }
    return EWindowSystem::Other;
}

void SetFrameHints(QWindow& window) {
    xcb_connection_t* pConnection = X11Connection();
    if (!pConnection) {
        return;
    }
    const xcb_atom_t atom = InternAtom(pConnection, "_MOTIF_WM_HINTS");
    if (atom == static_cast<xcb_atom_t>(XCB_ATOM_NONE)) {
        return;
    }
    const std::uint32_t hints[5] = {
        kMwmHintsFunctions | kMwmHintsDecorations,
        kMwmFuncResize | kMwmFuncMove | kMwmFuncMaximize | kMwmFuncClose,
        kMwmDecorBorder | kMwmDecorTitle, 0, 0};
    xcb_change_property(pConnection, XCB_PROP_MODE_REPLACE,
                        static_cast<xcb_window_t>(window.winId()), atom, atom, 32, 5, hints);
    xcb_flush(pConnection);
}

void SetWindowClass(QWindow& window, const QByteArray& instance, const QByteArray& windowClass) {
    xcb_connection_t* pConnection = X11Connection();
    if (!pConnection) {
        return;
    }
    // Two strings, each ending in a zero byte.
    QByteArray value = instance;
    value.append('\0');
    value.append(windowClass);
    value.append('\0');
    xcb_change_property(pConnection, XCB_PROP_MODE_REPLACE,
                        static_cast<xcb_window_t>(window.winId()), XCB_ATOM_WM_CLASS,
                        XCB_ATOM_STRING, 8, static_cast<std::uint32_t>(value.size()),
                        value.constData());
    xcb_flush(pConnection);
}
