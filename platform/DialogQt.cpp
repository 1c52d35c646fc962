// SPDX-License-Identifier: MIT
#include "platform/DialogQt.h"

#include <QDialog>
#include <QFile>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPaintDevice>
#include <QPushButton>

#include "platform/FontMapping.h"
#include "platform/Gdi.h"
#include "platform/ViewHost.h"

namespace {

// The size a static icon takes, whatever its template size.
constexpr int kIconPixels = 32;

// a * b / c rounded half away from zero, as dialog-unit arithmetic rounds.
int MulDiv(int a, int b, int c) {
    const long long n = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(n >= 0 ? (n + half) / c : (n - half) / c);
}

QString ToQString(const CString& str) {
    return QString::fromLatin1(str.data(), static_cast<int>(str.size()));
}

// A static text without SS_NOPREFIX shows "&&" as "&" and drops a single "&".
QString StaticText(const CDlgItem& item) {
    if (item.dwStyle & SS_NOPREFIX) {
        return ToQString(item.strText);
    }
    CString text;
    for (std::size_t i = 0; i < item.strText.size(); ++i) {
        if (item.strText[i] == '&') {
            if (i + 1 < item.strText.size() && item.strText[i + 1] == '&') {
                text += '&';
                ++i;
            }
            continue;
        }
        text += item.strText[i];
    }
    return ToQString(text);
}

QPixmap IconPixmap(const CString& strResource) {
    QIcon icon;
    const QString base = QStringLiteral(":/icons/") + ToQString(strResource);
    for (const QString& path : {base + QStringLiteral("-32.png"), base + QStringLiteral(".svg")}) {
        if (QFile::exists(path)) {
            icon.addFile(path);
        }
    }
    return icon.pixmap(kIconPixels, kIconPixels);
}

Qt::FocusPolicy FocusPolicyOf(DWORD dwStyle) {
    return (dwStyle & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus;
}

// A list box item as a list widget, attached to the dialog's list box of its id.
QListWidget* MakeListBox(const CDlgItem& item, CDialog& dlg, QDialog* pDialog) {
    auto* pList = new QListWidget(pDialog);
    pList->setSortingEnabled(false);  // the list box keeps its own order
    pList->setUniformItemSizes(true);
    pList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pList->setVerticalScrollBarPolicy((item.dwStyle & WS_VSCROLL) ? Qt::ScrollBarAsNeeded
                                                                  : Qt::ScrollBarAlwaysOff);
    if (!(item.dwStyle & WS_BORDER)) {
        pList->setFrameShape(QFrame::NoFrame);
    }
    if (item.dwStyle & LBS_NOSEL) {
        // Nothing is ever selected, and without the focus no current line is outlined
        // either.
        pList->setSelectionMode(QAbstractItemView::NoSelection);
        pList->setFocusPolicy(Qt::NoFocus);
    } else {
        pList->setSelectionMode(QAbstractItemView::SingleSelection);
        pList->setFocusPolicy(FocusPolicyOf(item.dwStyle));
    }
    if (CListBox* pListBox = dlg.GetListBox(item.nId)) {
        pListBox->Attach(pList);
    }
    return pList;
}

// A push button; IDOK accepts the dialog and IDCANCEL rejects it.
QPushButton* MakeButton(const CDlgItem& item, QDialog* pDialog) {
    auto* pButton = new QPushButton(ToQString(item.strText), pDialog);
    pButton->setDefault((item.dwStyle & BS_DEFPUSHBUTTON) != 0);
    pButton->setFocusPolicy(FocusPolicyOf(item.dwStyle));
    if (item.nId == IDOK) {
        QObject::connect(pButton, &QPushButton::clicked, pDialog, &QDialog::accept);
    } else if (item.nId == IDCANCEL) {
        QObject::connect(pButton, &QPushButton::clicked, pDialog, &QDialog::reject);
    }
    return pButton;
}

// A static text, word-wrapped plain text aligned as its style says, from the top.
QLabel* MakeStatic(const CDlgItem& item, QDialog* pDialog) {
    auto* pLabel = new QLabel(StaticText(item), pDialog);
    pLabel->setTextFormat(Qt::PlainText);
    pLabel->setWordWrap(true);
    Qt::Alignment align = Qt::AlignLeft;
    if (item.dwStyle & SS_CENTER) {
        align = Qt::AlignHCenter;
    } else if (item.dwStyle & SS_RIGHT) {
        align = Qt::AlignRight;
    }
    pLabel->setAlignment(align | Qt::AlignTop);
    return pLabel;
}

QLabel* MakeIcon(const CDlgItem& item, QDialog* pDialog) {
    auto* pLabel = new QLabel(pDialog);
    pLabel->setPixmap(IconPixmap(item.strText));
    return pLabel;
}

// The widget of one template item, a child of the dialog, not yet placed.
QWidget* MakeControl(const CDlgItem& item, CDialog& dlg, QDialog* pDialog) {
    switch (item.eClass) {
        case EDlgClass::ListBox:
            return MakeListBox(item, dlg, pDialog);
        case EDlgClass::Button:
            return MakeButton(item, pDialog);
        case EDlgClass::Static:
            return MakeStatic(item, pDialog);
        case EDlgClass::Icon:
            return MakeIcon(item, pDialog);
    }
    return nullptr;
}

}  // namespace

QFont DialogFont(const CDlgTemplate& dlgTemplate, QPaintDevice* pDevice) {
    const int nDpi = pDevice && pDevice->logicalDpiY() > 0 ? pDevice->logicalDpiY() : 96;
    CFont font;
    // A negative height asks for the character height, as a point size does.
    font.CreateFont(-MulDiv(dlgTemplate.nPointSize, nDpi, 72), 0, 0, 0, FW_DONTCARE, FALSE, FALSE,
                    FALSE, ANSI_CHARSET, OUT_DEVICE_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                    DEFAULT_PITCH, dlgTemplate.strFace.c_str());
    return MakeQFont(font, pDevice);
}

CDialogBaseUnits DialogBaseUnits(const QFont& font, QPaintDevice* pDevice) {
    const QFontMetrics metrics(font, pDevice);
    const int nLetters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    CDialogBaseUnits base;
    base.nCharWidth = (nLetters / 26 + 1) / 2;
    base.nCharHeight = metrics.ascent() + metrics.descent();
    return base;
}

QRect MapDialogRect(int x, int y, int cx, int cy, const CDialogBaseUnits& base) {
    return QRect(MulDiv(x, base.nCharWidth, 4), MulDiv(y, base.nCharHeight, 8),
                 MulDiv(cx, base.nCharWidth, 4), MulDiv(cy, base.nCharHeight, 8));
}

CQtDialog::CQtDialog(CDialog& dlg, QWidget* pParent)
    : m_dlg(dlg), m_controls(dlg), m_pDialog(new QDialog(pParent)) {
    const CDlgTemplate& tmpl = m_dlg.Template();
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::MSWindowsFixedSizeDialogHint;
    if (tmpl.dwStyle & WS_SYSMENU) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    m_pDialog->setWindowFlags(flags);
    m_pDialog->setWindowTitle(ToQString(tmpl.strCaption));
    m_pDialog->setSizeGripEnabled(false);

    const QFont font = DialogFont(tmpl, m_pDialog);
    m_pDialog->setFont(font);
    const CDialogBaseUnits base = DialogBaseUnits(font, m_pDialog);
    m_pDialog->setFixedSize(MapDialogRect(0, 0, tmpl.cx, tmpl.cy, base).size());
    BuildControls(base);
}

CQtDialog::~CQtDialog() {
    for (const auto& entry : m_widgets) {
        if (CListBox* pList = m_dlg.GetListBox(entry.first)) {
            pList->Detach();
        }
    }
    delete m_pDialog.data();
}

void CQtDialog::BuildControls(const CDialogBaseUnits& base) {
    for (const CDlgItem& item : m_dlg.Template().items) {
        QWidget* pWidget = MakeControl(item, m_dlg, m_pDialog);
        QRect rc = MapDialogRect(item.x, item.y, item.cx, item.cy, base);
        if (item.eClass == EDlgClass::Icon) {
            rc.setSize(QSize(kIconPixels, kIconPixels));
        }
        pWidget->setGeometry(rc);
        pWidget->setVisible((item.dwStyle & WS_VISIBLE) != 0);
        m_widgets.emplace_back(item.nId, pWidget);
    }
}

void CQtDialog::Init() {
    if (!m_dlg.OnInitDialog()) {
        return;
    }
    const std::vector<CDlgItem>& items = m_dlg.Template().items;
    for (std::size_t i = 0; i < items.size() && i < m_widgets.size(); ++i) {
        QWidget* pWidget = m_widgets[i].second;
        if ((items[i].dwStyle & WS_TABSTOP) && (items[i].dwStyle & WS_VISIBLE) &&
            pWidget->focusPolicy() != Qt::NoFocus) {
            pWidget->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

CFocusReturn::~CFocusReturn() {
    if (m_pWindow && m_pWindow->isVisible()) {
        m_pWindow->window()->activateWindow();
    }
}

int CQtDialog::DoModal() {
    Init();
    const CFocusReturn focusBack(m_pDialog->parentWidget());
    m_pDialog->exec();
    return Result();
}

int CQtDialog::Result() const {
    return m_pDialog && m_pDialog->result() == QDialog::Accepted ? IDOK : IDCANCEL;
}
