// SPDX-License-Identifier: MIT
#include "app/CommandLinePrint.h"
#include "app/Version.h"

#include "app/CommandLine.h"
#include "app/TessixDoc.h"
#include "game/TessixView.h"
#include "platform/Dc.h"
#include "platform/LocaleText.h"
#include "platform/Raster.h"
#include "print/PrintCommands.h"

namespace {

// The window of a view that is never shown: a raster of the smallest screen the game
// accepts, so that one paint lays the view out and composes the banner that heads the
// printed pages.
class CHiddenHost final : public IViewHost {
public:
    CRect GetClientRect() const override {
        return CRect(0, 0, m_raster.Width(), m_raster.Height());
    }
    CRaster& ClientRaster() override { return m_raster; }
    void SetWindowText(const CString& /*strCaption*/) override {}
    void ShowNow() override {}
    void Invalidate() override {}
    int MessageBox(const CString& strText, UINT /*nType*/) override {
        m_strMessage = FromLocaleText(strText);
        return IDOK;
    }
    int DoModal(CDialog& /*dlg*/) override { return IDCANCEL; }
    // Printing runs no game, so there is no record to chart.
    void ShowCharts(const CChartSheet& /*sheet*/) override {}
    void EndProgram(int /*nExitCode*/) override {}

    QString m_strMessage;

private:
    CRaster m_raster{800, 600};
};

// Plays nothing: the view makes no sound before it is shown.
class CNoSound final : public ISoundPlayer {
public:
    void PlayWave(const std::vector<unsigned char>& /*wave*/, EPlayMode /*mode*/) override {}
};

}  // namespace

bool PrintSwitchNeedsNoDisplay(const CCommandLineInfo& cmdInfo) {
    return cmdInfo.m_nShellCommand == EShellCommand::FilePrint ||
           cmdInfo.m_nShellCommand == EShellCommand::FilePrintTo ||
           cmdInfo.m_nShellCommand == EShellCommand::FilePrintPdf;
}

int RunPrintSwitch(const CCommandLineInfo& cmdInfo, IClock& clock, QString* pError) {
    CHiddenHost host;
    CNoSound sound;
    CViewWorld world;
    world.pHost = &host;
    world.pClock = &clock;
    world.pSound = &sound;
    world.oSeed = cmdInfo.m_oSeed;
    world.strVersion = g_strVersion;
    CTessixView view(world);
    {
        CDC dc(host.ClientRaster());
        view.OnDraw(&dc);
    }

    // The job's name is the document's title, as for a job from the Print command.
    CTessixDoc document;
    if (!cmdInfo.m_strFileName.isEmpty()) {
        document.SetPathName(cmdInfo.m_strFileName);
    }
    const QString title = document.PrintJobTitle();
    CPrintOutcome outcome;
    switch (cmdInfo.m_nShellCommand) {
        case EShellCommand::FilePrint:
            outcome = PrintInstructionsToDefaultPrinter(view, title);
            break;
        case EShellCommand::FilePrintTo:
            outcome = PrintInstructionsToPrinter(view, cmdInfo.m_strPrinterName, title);
            break;
        case EShellCommand::FilePrintPdf:
            outcome = PrintInstructionsToPdf(view, cmdInfo.m_strPdfFile, title);
            break;
        case EShellCommand::FilePrintPreview:
            outcome = OnFilePrintPreview(view, nullptr);
            break;
        default:
            *pError = QStringLiteral("not a print switch");
            return kExitUsage;
    }
    if (outcome.eResult == EPrintResult::Failed) {
        *pError = outcome.strError.isEmpty() ? host.m_strMessage : outcome.strError;
        return kExitPrintFailed;
    }
    return 0;
}
