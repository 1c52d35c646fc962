// SPDX-License-Identifier: MIT
#include "print/PrintCommands.h"

#include <QPrinter>

#include "game/TessixView.h"

namespace {

CPrintOutcome Failure(const QString& strError) {
    CPrintOutcome outcome;
    outcome.eResult = EPrintResult::Failed;
    outcome.strError = strError;
    return outcome;
}

CPrintOutcome RunDirect(CTessixView& view, QPrinter& printer) {
    CViewPrinting printing(view);
    CAcceptPrompter accept;
    return RunPrintJob(printing, printer, EPrintMode::Direct, accept);
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
    QPrinter printer(QPrinter::HighResolution);
    CPrintOutcome outcome;
    if (eDialog == EPrintDialog::Skip) {
        QString strError;
        outcome =
            SelectDefaultPrinter(printer, &strError) ? RunDirect(view, printer) : Failure(strError);
    } else {
        CViewPrinting printing(view);
        CDialogPrompter dialog(printer, pParent);
        outcome = RunPrintJob(printing, printer, EPrintMode::Dialog, dialog);
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

CPrintOutcome PrintInstructionsToDefaultPrinter(CTessixView& view) {
    QPrinter printer(QPrinter::HighResolution);
    QString strError;
    if (!SelectDefaultPrinter(printer, &strError)) {
        return Failure(strError);
    }
    return RunDirect(view, printer);
}

CPrintOutcome PrintInstructionsToPrinter(CTessixView& view, const QString& strPrinterName) {
    QPrinter printer(QPrinter::HighResolution);
    QString strError;
    if (!SelectNamedPrinter(printer, strPrinterName, &strError)) {
        return Failure(strError);
    }
    return RunDirect(view, printer);
}

CPrintOutcome PrintInstructionsToPdf(CTessixView& view, const QString& strPath) {
    if (strPath.isEmpty()) {
        return Failure(QStringLiteral("No PDF file name was given."));
    }
    QPrinter printer(QPrinter::HighResolution);
    SelectPdfFile(printer, strPath);
    return RunDirect(view, printer);
}
