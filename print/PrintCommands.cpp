// SPDX-License-Identifier: MIT
#include "print/PrintCommands.h"

#include <QCoreApplication>
#include <QPrinter>
#include <memory>

#include "game/TessixView.h"

namespace {

CPrintOutcome Failure(const QString& strError) {
    CPrintOutcome outcome;
    outcome.eResult = EPrintResult::Failed;
    outcome.strError = strError;
    return outcome;
}

CPrintOutcome RunDirect(CTessixView& view, QPrinter& printer, const CPrintJobSetup& job) {
    CViewPrinting printing(view);
    CAcceptPrompter accept;
    return RunPrintJob(printing, printer, EPrintMode::Direct, accept, job);
}

CPrintJobSetup CommandLineJob(const QString& strTitle) {
    CPrintJobSetup job;
    job.strTitle = strTitle;
    return job;
}

}  // namespace

BOOL CViewPrinting::OnPreparePrinting(CPrintInfo* pInfo) {
    return m_view.OnPreparePrinting(pInfo);
}
void CViewPrinting::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) {
    m_view.OnBeginPrinting(pDC, pInfo);
}
void CViewPrinting::OnPrint(CDC* pDC, CPrintInfo* pInfo) {
    m_view.OnPrint(pDC, pInfo);
}
void CViewPrinting::OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) {
    m_view.OnEndPrinting(pDC, pInfo);
}

CPrintOutcome OnFilePrint(CTessixView& view, QWidget* pParent, EPrintDialog eDialog) {
    CPrintSetup* pSetup = CPrintSetup::Of(pParent);
    std::unique_ptr<QPrinter> pOwnPrinter;
    if (!pSetup) {
        pOwnPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    QPrinter& printer = pSetup ? pSetup->Printer() : *pOwnPrinter;
    CPrintJobSetup job;
    job.strTitle = pSetup ? pSetup->JobTitle() : QCoreApplication::applicationName();
    job.pProgressParent = pParent;
    CPrintOutcome outcome;
    if (eDialog == EPrintDialog::Skip) {
        // The printer as it stands when it is a print queue; the default one otherwise.
        QString strError;
        const bool bQueue =
            printer.outputFormat() == QPrinter::NativeFormat && !printer.printerName().isEmpty();
        outcome = bQueue || SelectDefaultPrinter(printer, &strError) ? RunDirect(view, printer, job)
                                                                     : Failure(strError);
    } else {
        CViewPrinting printing(view);
        CDialogPrompter dialog(printer, pParent);
        outcome = RunPrintJob(printing, printer, EPrintMode::Dialog, dialog, job);
    }
    if (outcome.eResult == EPrintResult::Failed) {
        view.Host().MessageBox(outcome.strError.toStdString(), MB_OK | MB_ICONEXCLAMATION);
    }
    return outcome;
}

CPrintOutcome OnFilePrintPreview(CTessixView& view, QWidget* pParent) {
    QPrinter printer(QPrinter::HighResolution);
    CViewPrinting printing(view);
    return RunPrintPreview(printing, printer, pParent);
}

CPrintOutcome PrintInstructionsToDefaultPrinter(CTessixView& view, const QString& strTitle) {
    QPrinter printer(QPrinter::HighResolution);
    QString strError;
    if (!SelectDefaultPrinter(printer, &strError)) {
        return Failure(strError);
    }
    return RunDirect(view, printer, CommandLineJob(strTitle));
}

CPrintOutcome PrintInstructionsToPrinter(CTessixView& view, const QString& strPrinterName,
                                         const QString& strTitle) {
    QPrinter printer(QPrinter::HighResolution);
    QString strError;
    if (!SelectNamedPrinter(printer, strPrinterName, &strError)) {
        return Failure(strError);
    }
    return RunDirect(view, printer, CommandLineJob(strTitle));
}

CPrintOutcome PrintInstructionsToPdf(CTessixView& view, const QString& strPath,
                                     const QString& strTitle) {
    if (strPath.isEmpty()) {
        return Failure(QStringLiteral("No PDF file name was given."));
    }
    QPrinter printer(QPrinter::HighResolution);
    SelectPdfFile(printer, strPath);
    return RunDirect(view, printer, CommandLineJob(strTitle));
}
