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

// X11: a caption and a border; the window moves and closes but is not resized,
// maximized or minimized by the window manager, and shows no buttons for those. Must be
// set again whenever Qt rewrites the hints (a change of window flags). Elsewhere nothing.
void SetFixedFrameHints(QWindow& window);

// X11: WM_CLASS, the instance and class names window managers and docks match windows
// by. Before the window is shown. Elsewhere nothing.
void SetWindowClass(QWindow& window, const QByteArray& instance, const QByteArray& windowClass);
