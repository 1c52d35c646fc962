// SPDX-License-Identifier: MIT
// The Qt widget that is the game view's window: its client area is the raster, it
// forwards keys (as virtual-key codes), clicks and window-system paints to the view, and
// answers the view's requests (caption, message boxes, dialogs, end of program).
#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "platform/Raster.h"
#include "platform/ViewHost.h"

class CTessixView;
struct CViewWorld;

class CViewWidget : public QWidget, public IViewHost {
    Q_OBJECT
public:
    explicit CViewWidget(QWidget* pParent = nullptr);
    ~CViewWidget() override;

    // Creates the game view living in this window; the world's host is this widget.
    void CreateView(CViewWorld world);
    CTessixView* View() const { return m_pView.get(); }

    // Asks for a full paint of the current screen by the view at the next paint, as a
    // window-system repaint does.
    void Invalidate();

    // The top-level caption is set through this callback (the frame owns the caption).
    void SetCaptionSink(std::function<void(const QString&)> sink) { m_captionSink = std::move(sink); }

    // Translates a Qt key to the desktop virtual-key code the game reads; 0 if none.
    static UINT VirtualKeyOf(int nQtKey);

    // IViewHost
    CRect GetClientRect() const override;
    CRaster& ClientRaster() override { return m_raster; }
    void SetWindowText(const CString& strCaption) override;
    void ShowNow() override;
    int MessageBox(const CString& strText, UINT nType) override;
    int DoModal(CDialog& dlg) override;
    void EndProgram(int nExitCode) override;

    bool HasEnded() const { return m_bEnded; }

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;

private:
    void Start();

    CRaster m_raster;
    std::unique_ptr<CTessixView> m_pView;
    std::function<void(const QString&)> m_captionSink;
    // The game starts once the window size has been still for a moment, so that its
    // first paint is at the final (maximized) size.
    QTimer m_settle;
    bool m_bStarted = false;
    bool m_bNeedsDraw = false;
    bool m_bEnded = false;
};
