// SPDX-License-Identifier: MIT
// Dialogs described by templates, as a desktop resource file describes them: a caption,
// a font, and controls placed in dialog units. A host runs a dialog (IViewHost::DoModal):
// it opens the dialog's controls (CDialogControls), calls OnInitDialog so that the dialog
// fills them, and shows them (platform/DialogQt.h) or only records them (tests).
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "platform/Dc.h"
#include "platform/Raster.h"
#include "platform/Types.h"

class QListWidget;

// Window and dialog styles of a template (the values a resource file uses).
constexpr DWORD WS_POPUP = 0x80000000u;
constexpr DWORD WS_VISIBLE = 0x10000000u;
constexpr DWORD WS_CAPTION = 0x00C00000u;
constexpr DWORD WS_BORDER = 0x00800000u;
constexpr DWORD WS_VSCROLL = 0x00200000u;
constexpr DWORD WS_SYSMENU = 0x00080000u;
constexpr DWORD WS_GROUP = 0x00020000u;
constexpr DWORD WS_TABSTOP = 0x00010000u;
constexpr DWORD DS_MODALFRAME = 0x00000080u;
// List box styles.
constexpr DWORD LBS_SORT = 0x0002u;
constexpr DWORD LBS_NOINTEGRALHEIGHT = 0x0100u;
constexpr DWORD LBS_NOSEL = 0x4000u;
// Button styles.
constexpr DWORD BS_PUSHBUTTON = 0x0000u;
constexpr DWORD BS_DEFPUSHBUTTON = 0x0001u;
// Static text styles.
constexpr DWORD SS_LEFT = 0x0000u;
constexpr DWORD SS_CENTER = 0x0001u;
constexpr DWORD SS_RIGHT = 0x0002u;
constexpr DWORD SS_NOPREFIX = 0x0080u;

enum class EDlgClass { ListBox, Button, Static, Icon };

// One control. Position and size are in dialog units. A button's or a static's text is
// its label ("&" marks a mnemonic unless SS_NOPREFIX); an icon's text is the number of
// its icon resource.
struct CDlgItem {
    int nId = 0;
    EDlgClass eClass = EDlgClass::Static;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    CString strText;
    DWORD dwStyle = 0;
};

// A whole dialog; cx and cy are the client area in dialog units.
struct CDlgTemplate {
    int nId = 0;
    int cx = 0;
    int cy = 0;
    CString strCaption;
    DWORD dwStyle = 0;
    int nPointSize = 8;
    CString strFace = "MS Sans Serif";
    std::vector<CDlgItem> items;
};

// A list box's contents while its dialog is open. When the dialog is shown, the lines
// are mirrored into the widget that displays them.
class CListBox {
public:
    explicit CListBox(const CDlgItem& item) : m_dwStyle(item.dwStyle) {}
    CListBox(const CListBox&) = delete;
    CListBox& operator=(const CListBox&) = delete;

    void ResetContent();
    // Adds a line at the end (or in order when the list is sorted); returns its index.
    int AddString(const CString& str);
    int GetCount() const { return static_cast<int>(m_lines.size()); }
    // The line at nIndex; empty for an index out of range.
    CString GetText(int nIndex) const;

    // The widget that shows the lines, or null while the dialog is not shown.
    void Attach(QListWidget* pWidget);
    void Detach() { m_pWidget = nullptr; }

private:
    DWORD m_dwStyle = 0;
    std::vector<CString> m_lines;
    QListWidget* m_pWidget = nullptr;
};

class CDialog {
public:
    CDialog() = default;
    explicit CDialog(CDlgTemplate dlgTemplate) : m_template(std::move(dlgTemplate)) {}
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;
    virtual ~CDialog() = default;

    const CDlgTemplate& Template() const { return m_template; }

    // Called when the dialog opens, after its controls exist; TRUE gives the focus to
    // the first tab-stop control.
    virtual BOOL OnInitDialog() { return TRUE; }

    // The list box of control nId while the dialog is open; null otherwise.
    CListBox* GetListBox(int nId) const;

private:
    friend class CDialogControls;

    CDlgTemplate m_template;
    std::vector<std::pair<int, std::unique_ptr<CListBox>>> m_listBoxes;
};

// The controls of a dialog for the length of one opening: created from the template on
// construction, gone on destruction. Every host opens one around each run.
class CDialogControls {
public:
    explicit CDialogControls(CDialog& dlg);
    ~CDialogControls();
    CDialogControls(const CDialogControls&) = delete;
    CDialogControls& operator=(const CDialogControls&) = delete;

private:
    CDialog& m_dlg;
};

namespace dialog_detail {
// Keeps the raster of a CDialogDC alive before its CDC base is built.
struct CRasterHolder {
    CRaster m_raster{1, 1};
};
}  // namespace dialog_detail

// A drawing context of a dialog's client area, for measuring text in a chosen font.
class CDialogDC : private dialog_detail::CRasterHolder, public CDC {
public:
    explicit CDialogDC(const CDialog& /*dlg*/) : CDC(m_raster) {}
};
