// SPDX-License-Identifier: MIT
#include "platform/ViewWidget.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <algorithm>
#include <optional>

#include "platform/Charts.h"
#include "platform/Dc.h"
#include "platform/DialogQt.h"
#include "platform/LocaleText.h"

// "tessix.paint.info=true" in QT_LOGGING_RULES reports the first paint, for start-up
// measurements.
Q_LOGGING_CATEGORY(lcPaint, "tessix.paint", QtWarningMsg)

namespace {

constexpr UINT kIconMask = 0x00F0;

struct CKeyRow {
    int nQtKey;
    UINT nVirtualKey;
};

constexpr CKeyRow kKeys[] = {
    {Qt::Key_Backspace, 0x08}, {Qt::Key_Tab, 0x09},    {Qt::Key_Return, 0x0D},
    {Qt::Key_Enter, 0x0D},     {Qt::Key_Shift, 0x10},  {Qt::Key_Control, 0x11},
    {Qt::Key_Alt, 0x12},       {Qt::Key_Pause, 0x13},  {Qt::Key_CapsLock, 0x14},
    {Qt::Key_Escape, 0x1B},    {Qt::Key_Space, 0x20},  {Qt::Key_PageUp, 0x21},
    {Qt::Key_PageDown, 0x22},  {Qt::Key_End, 0x23},    {Qt::Key_Home, 0x24},
    {Qt::Key_Left, 0x25},      {Qt::Key_Up, 0x26},     {Qt::Key_Right, 0x27},
    {Qt::Key_Down, 0x28},      {Qt::Key_Insert, 0x2D}, {Qt::Key_Delete, 0x2E},
};

}  // namespace

CViewWidget::CViewWidget(QWidget* pParent) : QWidget(pParent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CViewWidget::~CViewWidget() = default;

UINT CViewWidget::VirtualKeyOf(int nQtKey) {
    if (nQtKey >= Qt::Key_F1 && nQtKey <= Qt::Key_F24) {
        return 0x70 + static_cast<UINT>(nQtKey - Qt::Key_F1);
    }
    if ((nQtKey >= Qt::Key_A && nQtKey <= Qt::Key_Z) ||
        (nQtKey >= Qt::Key_0 && nQtKey <= Qt::Key_9)) {
        return static_cast<UINT>(nQtKey);  // same codes as ASCII upper case and digits
    }
    for (const CKeyRow& row : kKeys) {
        if (row.nQtKey == nQtKey) {
            return row.nVirtualKey;
        }
    }
    return 0;
}

int CViewWidget::QtKeyOf(UINT nVirtualKey) {
    if (nVirtualKey >= 0x70 && nVirtualKey <= 0x87) {
        return Qt::Key_F1 + static_cast<int>(nVirtualKey - 0x70);
    }
    if ((nVirtualKey >= 'A' && nVirtualKey <= 'Z') || (nVirtualKey >= '0' && nVirtualKey <= '9')) {
        return static_cast<int>(nVirtualKey);
    }
    for (const CKeyRow& row : kKeys) {
        if (row.nVirtualKey == nVirtualKey) {
            return row.nQtKey;
        }
    }
    return 0;
}

CRect CViewWidget::GetClientRect() const {
    return CRect(0, 0, m_raster.Width(), m_raster.Height());
}

CPresentation CViewWidget::Presentation() const {
    return CPresentation(CSize(m_raster.Width(), m_raster.Height()), CSize(width(), height()));
}

void CViewWidget::SetWindowText(const CString& strCaption) {
    const QString caption = FromLocaleText(strCaption);
    if (m_captionSink) {
        m_captionSink(caption);
    } else {
        window()->setWindowTitle(caption);
    }
}

void CViewWidget::ShowNow() {
    // Paint synchronously: the game is about to block the event loop.
    ShowDrawn(EShow::Now);
}

int CViewWidget::MessageBox(const CString& strText, UINT nType) {
    QMessageBox box(window());
    box.setWindowTitle(QStringLiteral("Tessix"));
    box.setText(FromLocaleText(strText));
    // A box that names no icon gets the exclamation mark, as the desktop's default box does.
    const UINT nIcon = nType & kIconMask;
    box.setIcon(nIcon == 0 || nIcon == MB_ICONEXCLAMATION ? QMessageBox::Warning
                                                          : QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    ReturnFocus();
    return IDOK;
}

int CViewWidget::DoModal(CDialog& dlg) {
    CQtDialog dialog(dlg, window());
    const int nResult = dialog.DoModal();
    ReturnFocus();
    return nResult;
}

void CViewWidget::ShowCharts(const CChartSheet& sheet) {
    RunChartWindow(sheet, window());
    ReturnFocus();
}

void CViewWidget::ReturnFocus() {
    // Without a window manager the X server gives the focus to the root window when the
    // box's window goes away; the game's window takes it back itself.
    window()->activateWindow();
    setFocus(Qt::OtherFocusReason);
}

void CViewWidget::EndProgram(int nExitCode) {
    m_eState = EState::Ended;
    if (m_endProgramSink) {
        m_endProgramSink(nExitCode);
    } else {
        QCoreApplication::exit(nExitCode);
    }
}

void CViewWidget::Invalidate() {
    m_bNeedsDraw = true;
    update();
}

void CViewWidget::Start() {
    if (m_eState != EState::Waiting) {
        return;
    }
    m_eState = EState::Running;
    // The game surface: the size the window has now, for the whole run. An empty widget
    // still gets a pixel, so that the view sees a real (too small) client area.
    m_raster.Resize(std::max(width(), 1), std::max(height(), 1));
    m_rgnUnshown = QRegion();
    // Take the keyboard at once, also where no window manager hands out the focus.
    ReturnFocus();
    // The white surface is on the screen before the view's first paint, which may stop
    // at a message box (a client area too small for the game).
    repaint();
    Invalidate();
    if (visibleRegion().isEmpty()) {
        // A widget with no pixels on the screen (a screen smaller than the menu bar) is
        // never painted: the view's first paint, which holds the size rules, runs now.
        DrawByView();
    }
}

void CViewWidget::showEvent(QShowEvent* pEvent) {
    QWidget::showEvent(pEvent);
    if (QWindow* pWindow = window()->windowHandle()) {
        pWindow->removeEventFilter(this);
        pWindow->installEventFilter(this);
    }
}

bool CViewWidget::eventFilter(QObject* pWatched, QEvent* pEvent) {
    // An expose from the window system (first show, uncovering) repaints the screen.
    if (pEvent->type() == QEvent::Expose && m_eState == EState::Running) {
        if (QWindow* pWindow = qobject_cast<QWindow*>(pWatched); pWindow && pWindow->isExposed()) {
            Invalidate();
        }
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

void CViewWidget::CallView(const std::function<void()>& operation) {
    ++m_nViewCalls;
    operation();
    --m_nViewCalls;
    if (m_nViewCalls > 0) {
        return;
    }
    while (!m_deferred.empty() && m_eState == EState::Running) {
        const CInput input = m_deferred.front();
        m_deferred.pop_front();
        Deliver(input);
    }
    // A paint that came while the view was busy showed the raster as it stood; the
    // view's own paint follows now. Otherwise only what the handlers drew is shown.
    if (m_bNeedsDraw) {
        update();
    }
    if (!m_bInPaint) {
        ShowDrawn(EShow::Later);
    }
}

const QRegion& CViewWidget::CollectDrawn() {
    const CPresentation presentation = Presentation();
    for (const CRect& rcDrawn : m_raster.TakeDrawn()) {
        const CRect rc = presentation.WindowRectOf(rcDrawn);
        if (!rc.IsRectEmpty()) {
            m_rgnUnshown += QRect(rc.left, rc.top, rc.Width(), rc.Height());
        }
    }
    return m_rgnUnshown;
}

void CViewWidget::ShowDrawn(EShow eShow) {
    // At the end the window turns white (paintEvent): all of it changes.
    const QRegion region = m_eState == EState::Ended ? QRegion(rect()) : CollectDrawn();
    if (region.isEmpty()) {
        return;
    }
    if (eShow == EShow::Now) {
        repaint(region);
    } else {
        update(region);
    }
}

void CViewWidget::DrawByView() {
    CallView([this] { PaintByView(); });
}

void CViewWidget::PaintByView() {
    m_bNeedsDraw = false;
    CDC dc(m_raster);
    m_pView->OnDraw(&dc);
    if (!m_bPainted) {
        m_bPainted = true;
        qCInfo(lcPaint, "first paint at %dx%d", m_raster.Width(), m_raster.Height());
    }
}

void CViewWidget::paintEvent(QPaintEvent* pEvent) {
    if (m_eState == EState::Running && m_bNeedsDraw && m_nViewCalls == 0 && m_pView) {
        m_bInPaint = true;
        DrawByView();
        m_bInPaint = false;
    }
    const QRegion region = pEvent->region();
    {
        QPainter painter(this);  // clipped to region
        if (m_raster.Image().isNull() || m_eState != EState::Running) {
            painter.fillRect(rect(), Qt::white);
        } else {
            PaintSurface(painter, region);
        }
    }
    // The raster as it stands is now on screen inside region; what was drawn outside it
    // (the view's own paint redraws everything) gets a paint of its own.
    CollectDrawn();
    m_rgnUnshown -= region;
    if (!m_rgnUnshown.isEmpty()) {
        update(m_rgnUnshown);
    }
}

void CViewWidget::PaintSurface(QPainter& painter, const QRegion& region) {
    const CPresentation presentation = Presentation();
    const CRect& rc = presentation.Target();
    const QRect target(rc.left, rc.top, rc.Width(), rc.Height());
    const QRegion around = QRegion(rect()) - QRegion(target);
    for (const QRect& band : around) {
        painter.fillRect(band, palette().color(QPalette::Window));
    }
    if (!presentation.IsScaled()) {
        // At 1:1 only the part of the surface inside the painted region is copied.
        for (const QRect& rcPaint : region) {
            const QRect source = rcPaint.translated(-target.topLeft()) & m_raster.Image().rect();
            if (!source.isEmpty()) {
                painter.drawImage(source.topLeft() + target.topLeft(), m_raster.Image(), source);
            }
        }
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, m_raster.Image());
}

void CViewWidget::Dispatch(const CInput& input) {
    if (m_eState != EState::Running || !m_pView) {
        return;
    }
    if (m_nViewCalls > 0) {
        m_deferred.push_back(input);
        return;
    }
    Deliver(input);
}

void CViewWidget::RunWhenIdle(std::function<void()> command) {
    if (IsBusy()) {
        m_deferred.push_back({EInput::Command, 0, 0, CPoint(), std::move(command)});
        return;
    }
    command();
}

void CViewWidget::Deliver(const CInput& input) {
    CallView([this, &input] {
        // A paint the view asked for (a new game lays itself out at its next paint) comes
        // before any input behind it, so that input meets the screen the paint draws.
        if (m_bNeedsDraw && m_eState == EState::Running) {
            PaintByView();
        }
        switch (input.eKind) {
            case EInput::Key:
                m_pView->OnKeyDown(input.nChar, 1, input.nFlags);
                break;
            case EInput::LeftButton:
                m_pView->OnLButtonDown(0, input.point);
                break;
            case EInput::RightButton:
                m_pView->OnRButtonDown(0, input.point);
                break;
            case EInput::Command:
                input.command();
                break;
        }
    });
}

void CViewWidget::keyPressEvent(QKeyEvent* pEvent) {
    const UINT nChar = VirtualKeyOf(pEvent->key());
    if (nChar == 0) {
        return;
    }
    Dispatch({EInput::Key, nChar, pEvent->isAutoRepeat() ? 0x4000u : 0u, CPoint(), {}});
}

void CViewWidget::mousePressEvent(QMouseEvent* pEvent) {
    // A click outside the surface (on the background around it) reaches no handler.
    const QPoint pos = pEvent->position().toPoint();
    const std::optional<CPoint> point = Presentation().SurfacePointOf(CPoint(pos.x(), pos.y()));
    if (!point) {
        return;
    }
    if (pEvent->button() == Qt::LeftButton) {
        Dispatch({EInput::LeftButton, 0, 0, *point, {}});
    } else if (pEvent->button() == Qt::RightButton) {
        Dispatch({EInput::RightButton, 0, 0, *point, {}});
    }
}

void CViewWidget::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    // The second press of a double-click is a message of its own that the view does not
    // handle: it is neither a click nor a right-click.
    pEvent->accept();
}
