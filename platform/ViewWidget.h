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
    void SetCaptionSink(std::function<void(const QString&)> sink) {
        m_captionSink = std::move(sink);
    }

    // Translates a Qt key to the desktop virtual-key code the game reads; 0 if none.
    static UINT VirtualKeyOf(int nQtKey);
    // The Qt key of a virtual-key code; 0 if none.
    static int QtKeyOf(UINT nVirtualKey);

    // Starts the game at the present size at once, for a host that knows its size is
    // final; otherwise the game starts once the size has settled after the first show.
    void StartNow() { Start(); }
    // Asked once the size has settled, before the game starts there; false puts the start
    // off until the size has settled once more (the gate has changed the window).
    void SetStartGate(std::function<bool()> gate) { m_startGate = std::move(gate); }

    // What ends the program; by default the application's event loop ends with the code.
    void SetEndProgramSink(std::function<void(int)> sink) { m_endProgramSink = std::move(sink); }

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
    std::function<void(int)> m_endProgramSink;
    std::function<bool()> m_startGate;
    // The game starts once the window size has been still for a moment, so that its
    // first paint is at the final (maximized) size.
    QTimer m_settle;
    bool m_bStarted = false;
    bool m_bNeedsDraw = false;
    bool m_bEnded = false;
    bool m_bPainted = false;  // the view has painted once
};
