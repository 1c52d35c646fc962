// SPDX-License-Identifier: MIT
// What the program tells the desktop's window system about its main window beyond what
// Qt says on every platform: on X11, the Motif hints of a frame that cannot be resized
// and the window class that matches the desktop entry.
#pragma once

#include <QByteArray>

class QWindow;

enum class EWindowSystem { X11, Wayland, Other };

// The window system Qt's platform plugin talks to.
EWindowSystem CurrentWindowSystem();

// X11: a caption and a thin border, with no sizing border and no caption buttons; the
// window manager may still move, maximize, resize (through its own keys) and close it,
// so that its maximize brings a moved window back. Must be set again whenever Qt
// rewrites the hints (a change of window flags). Elsewhere nothing.
void SetFrameHints(QWindow& window);

// X11: WM_CLASS, the instance and class names window managers and docks match windows
// by. Before the window is shown. Elsewhere nothing.
void SetWindowClass(QWindow& window, const QByteArray& instance, const QByteArray& windowClass);
