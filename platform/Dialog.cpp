// SPDX-License-Identifier: MIT
#include "platform/Dialog.h"

#include <QListWidget>
#include <algorithm>
#include <cctype>

namespace {

QString ToQString(const CString& str) {
    return QString::fromLatin1(str.data(), static_cast<int>(str.size()));
}

// A line of a list box that allows no selection cannot be selected even by the program.
QListWidgetItem* MakeItem(const CString& str, DWORD dwStyle) {
    auto* pItem = new QListWidgetItem(ToQString(str));
    if (dwStyle & LBS_NOSEL) {
        pItem->setFlags(Qt::ItemIsEnabled);
    }
    return pItem;
}

// A sorted list box orders its lines without regard to case.
bool LessNoCase(const CString& a, const CString& b) {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](unsigned char x, unsigned char y) { return std::tolower(x) < std::tolower(y); });
}

}  // namespace

void CListBox::ResetContent() {
    m_lines.clear();
    if (m_pWidget) {
        m_pWidget->clear();
    }
}

int CListBox::AddString(const CString& str) {
    auto it = m_lines.end();
    if (m_dwStyle & LBS_SORT) {
        it = std::upper_bound(m_lines.begin(), m_lines.end(), str, LessNoCase);
    }
    const int nIndex = static_cast<int>(it - m_lines.begin());
    m_lines.insert(it, str);
    if (m_pWidget) {
        m_pWidget->insertItem(nIndex, MakeItem(str, m_dwStyle));
    }
    return nIndex;
}

CString CListBox::GetText(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetCount()) {
        return CString();
    }
    return m_lines[static_cast<std::size_t>(nIndex)];
}

void CListBox::Attach(QListWidget* pWidget) {
    m_pWidget = pWidget;
    if (!m_pWidget) {
        return;
    }
    m_pWidget->clear();
    for (const CString& line : m_lines) {
        m_pWidget->addItem(MakeItem(line, m_dwStyle));
    }
}

CListBox* CDialog::GetListBox(int nId) const {
    for (const auto& entry : m_listBoxes) {
        if (entry.first == nId) {
            return entry.second.get();
        }
    }
    return nullptr;
}

CDialogControls::CDialogControls(CDialog& dlg) : m_dlg(dlg) {
    m_dlg.m_listBoxes.clear();
    for (const CDlgItem& item : m_dlg.m_template.items) {
        if (item.eClass == EDlgClass::ListBox) {
            m_dlg.m_listBoxes.emplace_back(item.nId, std::make_unique<CListBox>(item));
        }
    }
}

CDialogControls::~CDialogControls() {
    m_dlg.m_listBoxes.clear();
}
