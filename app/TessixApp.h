// SPDX-License-Identifier: MIT
// The application object: InitInstance sets the settings' names, creates the one
// document, main frame and game view, processes the command line and shows the frame
// maximized. It handles About, New and Open.
#pragma once

#include <functional>
#include <memory>

#include "platform/FrameWnd.h"
#include "platform/Types.h"

class CMainFrame;
class CTessixDoc;
class CTessixView;
class CViewWidget;
class IClock;
class IFileDialogs;
class IPrintCommands;
class ISoundPlayer;
struct CCommandLineInfo;

// What the shell takes from outside; tests hand in their own.
struct CAppWorld {
    IClock* pClock = nullptr;
    ISoundPlayer* pSound = nullptr;
    IFileDialogs* pFileDialogs = nullptr;
    // The view's print commands; null: Qt's print dialog, printer and preview.
    IPrintCommands* pPrint = nullptr;
    // Ends the program (Exit, the close command, the view's own end); empty: the
    // application's event loop ends with the code.
    std::function<void(int)> endProgram;
};

class CTessixApp final : public CCmdTarget {
public:
    explicit CTessixApp(CAppWorld world);
    ~CTessixApp() override;
    CTessixApp(const CTessixApp&) = delete;
    CTessixApp& operator=(const CTessixApp&) = delete;

    // FALSE when the command line could not be processed; no window has been shown then.
    BOOL InitInstance(const CCommandLineInfo& cmdInfo);

    BOOL OnCmdMsg(UINT nID, ECmd eCmd) override;
    void OnAppAbout();
    // Re-initialises the empty document; the view repaints, the game goes on unchanged.
    void OnFileNew();
    // The open dialog; the chosen file becomes the document's name, nothing is read.
    void OnFileOpen();

    CViewWidget* GetViewWidget() const;

private:
    friend class CTessixAppProbe;  // tests/support/Probes.h

    // InitInstance's steps: the one document, frame and view wired together; then the
    // command line's document opened or made new (FALSE for a command that is not run
    // with a window, or a file that cannot be opened).
    void CreateDocumentFrameAndView(const CCommandLineInfo& cmdInfo);
    BOOL ProcessShellCommand(const CCommandLineInfo& cmdInfo);
    BOOL OpenDocumentFile(const QString& strPath);

    CAppWorld m_world;
    std::unique_ptr<CTessixDoc> m_pDocument;
    // The view outlives the frame, whose window keeps a pointer to it.
    std::unique_ptr<CTessixView> m_pView;
    std::unique_ptr<CMainFrame> m_pFrame;
    std::unique_ptr<IPrintCommands> m_pQtPrint;
    std::unique_ptr<CCmdTarget> m_pViewCommands;
};
