// SPDX-License-Identifier: MIT
#include "app/TessixApp.h"
#include "app/Version.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QIcon>
#include <QScreen>

#include "app/AboutDlg.h"
#include "app/CommandLine.h"
#include "app/MainFrame.h"
#include "app/Resources.h"
#include "app/TessixDoc.h"
#include "app/ViewCommands.h"
#include "game/Coach.h"
#include "game/TessixView.h"
#include "platform/AppendFile.h"
#include "platform/DialogQt.h"
#include "platform/FileDialog.h"
#include "platform/Print.h"
#include "platform/ViewWidget.h"

CTessixApp::CTessixApp(CAppWorld world) : m_world(std::move(world)) {}

CTessixApp::~CTessixApp() = default;

CViewWidget* CTessixApp::GetViewWidget() const {
    return m_pFrame ? m_pFrame->GetViewWidget() : nullptr;
}

namespace {

// The program's names for the framework's settings and the desktop, and its icon.
void SetProgramIdentity() {
    // The framework's settings key. The program itself stores no settings, and keeps no
    // list of recent files.
    QCoreApplication::setOrganizationName(QString::fromLatin1(kSettingsKey));
    QCoreApplication::setApplicationName(QString::fromLatin1(kAppTitle));
    // Icon 128 for every window of the program.
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/128-32.png"));
    icon.addFile(QStringLiteral(":/icons/128-64.png"));
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
}

}  // namespace

BOOL CTessixApp::InitInstance(const CCommandLineInfo& cmdInfo) {
    SetProgramIdentity();
    CreateDocumentFrameAndView(cmdInfo);
    if (!ProcessShellCommand(cmdInfo)) {
        return FALSE;
    }
    m_pFrame->ShowAndStart();
    return TRUE;
}

void CTessixApp::CreateDocumentFrameAndView(const CCommandLineInfo& cmdInfo) {
    // The single-document arrangement: one document, one frame, one view.
    m_pDocument = std::make_unique<CTessixDoc>();
    m_pFrame = std::make_unique<CMainFrame>();
    // The print commands' printer settings and job name live with the main window.
    auto* pPrintSetup = new CPrintSetup(m_pFrame.get());
    pPrintSetup->SetTitleSource([this] { return m_pDocument->PrintJobTitle(); });
    IPrintCommands* pPrint = m_world.pPrint;
    if (!pPrint) {
        m_pQtPrint = std::make_unique<CQtPrintCommands>();
        pPrint = m_pQtPrint.get();
    }
    CViewWidget* pWidget = m_pFrame->GetViewWidget();
    CViewWorld viewWorld;
    viewWorld.pHost = pWidget;
    viewWorld.pClock = m_world.pClock;
    viewWorld.pSound = m_world.pSound;
    viewWorld.oSeed = cmdInfo.m_oSeed;
    viewWorld.strVersion = g_strVersion;
    viewWorld.eCoach = cmdInfo.m_eCoach;
    viewWorld.strAnswerRecord = AnswerRecordPath(XdgStateHome());
    m_pView = std::make_unique<CTessixView>(viewWorld);
    pWidget->SetView(m_pView.get());
    m_pViewCommands = std::make_unique<CViewCommands>(*m_pView, *m_pFrame, *pPrint);
    m_pFrame->SetRouting(m_pViewCommands.get(), m_pDocument.get(), this);
    m_pDocument->SetSaveUi(m_world.pFileDialogs, m_pFrame.get());
    m_pDocument->SetTitleSink([this] { m_pFrame->OnUpdateFrameTitle(); });
    if (m_world.endProgram) {
        m_pFrame->SetEndProgram(m_world.endProgram);
        m_pFrame->GetViewWidget()->SetEndProgramSink(m_world.endProgram);
    }
}

BOOL CTessixApp::ProcessShellCommand(const CCommandLineInfo& cmdInfo) {
    switch (cmdInfo.m_nShellCommand) {
        case EShellCommand::FileOpen:
            return OpenDocumentFile(cmdInfo.m_strFileName);
        case EShellCommand::FileNew:
            m_pDocument->OnNewDocument();
            return TRUE;
        case EShellCommand::FilePrint:
        case EShellCommand::FilePrintTo:
        case EShellCommand::FilePrintPdf:
        case EShellCommand::FilePrintPreview:
        case EShellCommand::AppHelp:
        case EShellCommand::AppVersion:
        case EShellCommand::Invalid:
            // Answered before any window exists (app/main.cpp).
            return FALSE;
    }
    return FALSE;
}

BOOL CTessixApp::OnCmdMsg(UINT nID, ECmd eCmd) {
    switch (nID) {
        case ID_APP_ABOUT:
            if (eCmd == ECmd::Execute) {
                OnAppAbout();
            }
            return TRUE;
        case ID_FILE_NEW:
            if (eCmd == ECmd::Execute) {
                OnFileNew();
            }
            return TRUE;
        case ID_FILE_PRINT_SETUP:
            // The framework's printer setup; no menu item or key raises it.
            if (eCmd == ECmd::Execute) {
                RunPrintSetup(*CPrintSetup::Of(m_pFrame.get()), m_pFrame.get());
            }
            return TRUE;
        case ID_FILE_OPEN:
            if (!m_world.pFileDialogs) {
                return FALSE;
            }
            if (eCmd == ECmd::Execute) {
                OnFileOpen();
            }
            return TRUE;
        default:
            return FALSE;
    }
}

void CTessixApp::OnAppAbout() {
    CAboutDlg dlg;
    CQtDialog dialog(dlg, m_pFrame.get());
    dialog.DoModal();
}

void CTessixApp::OnFileNew() {
    m_pDocument->OnNewDocument();
    GetViewWidget()->Invalidate();
}

void CTessixApp::OnFileOpen() {
    const QString path = m_world.pFileDialogs->GetOpenFileName(
        m_pFrame.get(), QString::fromLatin1(CDocument::kFileFilter));
    if (path.isEmpty()) {
        return;
    }
    if (OpenDocumentFile(path)) {
        GetViewWidget()->Invalidate();
    }
}

BOOL CTessixApp::OpenDocumentFile(const QString& strPath) {
    QString error;
    if (m_pDocument->OnOpenDocument(strPath, &error)) {
        return TRUE;
    }
    if (m_world.pFileDialogs && m_pFrame->isVisible()) {
        m_world.pFileDialogs->ReportError(m_pFrame.get(), error);
    } else {
        qWarning("%s", qPrintable(error));
    }
    return FALSE;
}
