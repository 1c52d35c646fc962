// SPDX-License-Identifier: MIT
// The framework's main frame over QMainWindow: a menu bar built from a menu resource,
// accelerators from an accelerator resource (virtual keys), and command routing. Every
// menu item and accelerator sends its command id to the frame's OnCmdMsg; a command no
// target handles does nothing, and its menu item is disabled.
#pragma once

#include <QMainWindow>
#include <functional>
#include <utility>
#include <vector>

#include "platform/Types.h"

class QAction;
class QMenuBar;
class CCaptionBar;
class CViewWidget;

// The framework's standard command ids.
constexpr UINT ID_FILE_NEW = 57600;
constexpr UINT ID_FILE_OPEN = 57601;
constexpr UINT ID_FILE_SAVE = 57603;
constexpr UINT ID_FILE_PRINT_SETUP = 57606;
constexpr UINT ID_FILE_PRINT = 57607;
constexpr UINT ID_FILE_PRINT_DIRECT = 57608;
constexpr UINT ID_FILE_PRINT_PREVIEW = 57609;
constexpr UINT ID_EDIT_COPY = 57634;
constexpr UINT ID_EDIT_CUT = 57635;
constexpr UINT ID_EDIT_PASTE = 57637;
constexpr UINT ID_EDIT_UNDO = 57643;
constexpr UINT ID_APP_ABOUT = 57664;
constexpr UINT ID_APP_EXIT = 57665;
constexpr UINT ID_NEXT_PANE = 57680;
constexpr UINT ID_PREV_PANE = 57681;

// Accelerator flags, as an accelerator resource writes them.
constexpr UINT FVIRTKEY = 0x01;
constexpr UINT FSHIFT = 0x04;
constexpr UINT FCONTROL = 0x08;
constexpr UINT FALT = 0x10;

// Whether a command target is asked to run a command or only whether it would.
enum class ECmd { Update, Execute };

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;
    // Execute: runs command nID. Update: runs nothing. TRUE when this target handles the
    // command (for Update: handles it and it is enabled now).
    virtual BOOL OnCmdMsg(UINT nID, ECmd eCmd) = 0;
};

// One item of a drop-down menu; nID 0 is a separator. A tab in the text separates the
// shortcut shown at the right of the item.
struct CMenuItem {
    CString strText;
    UINT nID = 0;
};

struct CMenuPopup {
    CString strTitle;
    std::vector<CMenuItem> items;
};

using CMenuResource = std::vector<CMenuPopup>;

// One accelerator: flags (FVIRTKEY with FSHIFT, FCONTROL, FALT), a virtual-key code, and
// the command it sends.
struct CAccel {
    UINT fVirt = FVIRTKEY;
    UINT nKey = 0;
    UINT nCmd = 0;
};

using CAccelResource = std::vector<CAccel>;

class CFrameWnd : public QMainWindow, public CCmdTarget {
    Q_OBJECT
public:
    explicit CFrameWnd(QWidget* pParent = nullptr);
    ~CFrameWnd() override;

    // Builds the menu bar; each item sends its command.
    void LoadMenu(const CMenuResource& menu);
    // Installs the accelerators on the window; each sends its command.
    void LoadAccelTable(const CAccelResource& accels);

    // Routes a command as a menu item or an accelerator does; TRUE when it was handled.
    // While the view in pGate (SetCommandGate) is busy, the command waits for it and
    // TRUE is returned.
    BOOL SendCommand(UINT nID);
    // The view window whose operations a command must not interrupt; may be null.
    void SetCommandGate(CViewWidget* pGate) { m_pCommandGate = pGate; }
    // Whether command nID is handled and enabled now.
    BOOL IsCommandEnabled(UINT nID);

    // Handles Exit: the window closes.
    BOOL OnCmdMsg(UINT nID, ECmd eCmd) override;

    // The menu bar, under the frame's own caption when it shows one.
    QMenuBar* MenuBar() const { return m_pMenuBar; }
    // Shows the caption the frame draws itself, for a compositor that does not decorate
    // windows (the toolkit's own decoration has buttons this frame must not offer).
    void ShowOwnCaption();

    // Shows the frame maximized and calls onSettled once, at the first size the window
    // system confirms: the maximized size where the desktop maximizes the window, the
    // tile of a tiling layout, or the screen's available area where the compositor leaves
    // the size to the program. It never waits for a state that may not come. Later sizes
    // are the desktop's to give: the frame honours every one.
    void ShowMaximizedAndSettle(std::function<void()> onSettled);

    // The accelerator actions, in table order (one per accelerator).
    const std::vector<std::pair<CAccel, QAction*>>& Accelerators() const { return m_accels; }

    // What ends the program once the frame has closed; by default the application's event
    // loop ends with that exit code.
    void SetEndProgram(std::function<void(int)> endProgram) {
        m_endProgram = std::move(endProgram);
    }

protected:
    void closeEvent(QCloseEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    // Settling: shown, waiting for the first size the window system confirms. Confirming
    // (Wayland): exposed at the size the program asked for, which a tiling compositor
    // answers with the tile once the window has its first frame; the next size or
    // kConfirmMs settles it.
    enum class EPlacement { Hidden, Settling, Confirming, Settled };

    void UpdateMenu(const QMenu* pMenu);
    // Settles the size at the first expose; on X11 first brings the whole frame, caption
    // included, into the available area where it is not.
    void Settle();
    void SettleNow();
    // X11: whether the frame lies inside the available area; if not, asks for the client
    // geometry that puts it there.
    bool FitsScreen();

    CCaptionBar* m_pCaption = nullptr;
    QMenuBar* m_pMenuBar = nullptr;
    std::vector<std::pair<CAccel, QAction*>> m_accels;
    std::function<void(int)> m_endProgram;
    std::function<void()> m_onSettled;
    CViewWidget* m_pCommandGate = nullptr;
    EPlacement m_ePlacement = EPlacement::Hidden;
    // The frame size asked for before showing (Wayland).
    QSize m_sizeAsked;
    static constexpr int kConfirmMs = 500;
    // Tries at fitting the frame before the size is settled regardless.
    static constexpr int kMaxFitAttempts = 3;
    int m_nFitAttempts = 0;
};

// The Qt key combination of an accelerator.
int QtKeyCombination(const CAccel& accel);
