// SPDX-License-Identifier: MIT
// A caption drawn by the program itself, for a compositor that leaves the decoration to
// its clients: the window's icon and title, no buttons and no sizing edges. Dragging it
// moves the window; a double-click maximizes it.
#pragma once

#include <QWidget>

class CCaptionBar final : public QWidget {
    Q_OBJECT
public:
    explicit CCaptionBar(QWidget* pParent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
};

// Whether the Wayland compositor the program talks to decorates windows itself (it
// offers the xdg-decoration protocol); false where it does not or cannot be asked.
bool CompositorDecoratesWindows();
