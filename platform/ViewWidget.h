// SPDX-License-Identifier: MIT
// The Qt widget that is the game view's window. The view's client area is the raster, a
// game surface whose size is settled once when the game starts and kept for the whole run;
// the widget presents it at whatever size the desktop gives the window (CPresentation:
// 1:1 and centred, or scaled down to fit), maps clicks back to surface pixels, forwards
// keys (as virtual-key codes) and window-system paints to the view, and answers the
// view's requests (caption, message boxes, dialogs, end of program). The view never
// learns the window's size.
//
// While the view is handling an event it may block (a synchronous sound, the pause after
// an answer) with the program still serving the window system. Meanwhile no view
// operation runs: a paint shows the raster as it stands, and input that reaches the
// widget waits here and is handed to the view, in order, once the handler has returned.
#pragma once

#include <QRegion>
#include <QWidget>
#include <deque>
#include <functional>

#include "platform/Presentation.h"
#include "platform/Raster.h"
#include "platform/ViewHost.h"

class QPainter;

class CViewWidget : public QWidget, public IViewHost {
    Q_OBJECT
public:
    explicit CViewWidget(QWidget* pParent = nullptr);
    ~CViewWidget() override;

    // The view living in this window; it must outlive the widget or be reset to null.
    void SetView(IHostedView* pView) { m_pView = pView; }

    // Starts the game on a surface of the widget's present size, kept from now on; paints
    // go to the view from now on. The host calls it once the window system has confirmed
    // a size, so that the first layout is made at that size.
    void Start();

    // The top-level caption is set through this callback (the frame owns the caption).
    void SetCaptionSink(std::function<void(const QString&)> sink) {
        m_captionSink = std::move(sink);
    }

    // Whether a view operation is under way (a handler, a sound, the pause, a modal box).
    bool IsBusy() const { return m_nViewCalls > 0; }
    // Runs a command of the frame (a menu item, an accelerator) once the view's operation
    // under way has returned, in order with the input kept meanwhile; at once if none is.
    void RunWhenIdle(std::function<void()> command);

    // Translates a Qt key to the desktop virtual-key code the game reads; 0 if none.
    static UINT VirtualKeyOf(int nQtKey);
    // The Qt key of a virtual-key code; 0 if none.
    static int QtKeyOf(UINT nVirtualKey);

    // What ends the program; by default the application's event loop ends with the code.
    void SetEndProgramSink(std::function<void(int)> sink) { m_endProgramSink = std::move(sink); }

    // IViewHost
    CRect GetClientRect() const override;
    CRaster& ClientRaster() override { return m_raster; }
    void SetWindowText(const CString& strCaption) override;
    void ShowNow() override;
    int MessageBox(const CString& strText, UINT nType) override;
    int DoModal(CDialog& dlg) override;
    void ShowCharts(const CChartSheet& sheet) override;
    void EndProgram(int nExitCode) override;
    void Invalidate() override;

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;

private:
    enum class EInput { Key, LeftButton, RightButton, Command };
    struct CInput {
        EInput eKind = EInput::Key;
        UINT nChar = 0;
        UINT nFlags = 0;
        CPoint point;
        std::function<void()> command;  // EInput::Command
    };
    enum class EState { Waiting, Running, Ended };
    enum class EShow { Later, Now };

    // Hands input to the view, or keeps it while the view is busy with an earlier event.
    void Dispatch(const CInput& input);
    void Deliver(const CInput& input);
    // Runs a view operation; input kept meanwhile is delivered once it has returned.
    void CallView(const std::function<void()>& operation);
    void DrawByView();
    // The view's paint of the whole screen, inside a view operation already under way.
    void PaintByView();
    // Where the surface shows in the widget at its present size.
    CPresentation Presentation() const;
    // Adds the window pixels that show what has been drawn into the raster since it was
    // last taken to the region that the screen has not shown yet, and returns that region.
    const QRegion& CollectDrawn();
    // Draws the surface and the plain background around it inside region, the paint's clip.
    void PaintSurface(QPainter& painter, const QRegion& region);
    // Keyboard focus back to this window once a modal box or dialog over it has closed,
    // also where no window manager hands it back.
    void ReturnFocus();
    // Asks for a paint of what the screen has not shown yet: after the event (Later) or
    // before returning (Now).
    void ShowDrawn(EShow eShow);

    CRaster m_raster;
    IHostedView* m_pView = nullptr;
    std::function<void(const QString&)> m_captionSink;
    std::function<void(int)> m_endProgramSink;
    std::deque<CInput> m_deferred;
    EState m_eState = EState::Waiting;
    int m_nViewCalls = 0;  // view operations under way (nested through modal dialogs)
    bool m_bNeedsDraw = false;
    bool m_bPainted = false;  // the view has painted once
    bool m_bInPaint = false;  // paintEvent runs; it shows what is drawn meanwhile itself
    // Window pixels showing what was drawn into the raster and asked for, but not yet
    // painted on the screen.
    QRegion m_rgnUnshown;
};
