// SPDX-License-Identifier: MIT
#include "platform/Print.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/Dc.h"

const char* const kCouldNotStartPrintJob = "Could not start print job.";

namespace {

// The pages of a job on a Qt printer; counts the pages begun.
class CPrinterPages : public IPageSink {
public:
    explicit CPrinterPages(QPrinter& printer) : m_printer(printer) {}
    BOOL NewPage() override {
        if (!m_printer.newPage()) {
            return FALSE;
        }
        ++m_nPages;
        return TRUE;
    }
    int Pages() const { return m_nPages; }

private:
    QPrinter& m_printer;
    int m_nPages = 1;  // the painter opens the first page
};

// The framework's page loop, on a painter already open on the printer. The printable
// area is the painter's device: with the printer's full-page mode off, the origin is
// the top-left corner of the printable area.
void DrawJob(IPrintView& view, QPainter& painter, QPrinter& printer, CPrintInfo& info,
             CPrinterPages& pages) {
    info.m_rectDraw = CRect(0, 0, printer.width(), printer.height());
    info.m_pPageSink = &pages;
    info.m_bContinuePrinting = TRUE;
    CDC dc(painter);
    view.OnBeginPrinting(&dc, &info);
    for (info.m_nCurPage = info.GetMinPage();
         info.m_nCurPage <= info.GetMaxPage() && info.m_bContinuePrinting; ++info.m_nCurPage) {
        if (info.m_nCurPage != info.GetMinPage()) {
            pages.NewPage();
        }
        view.OnPrint(&dc, &info);
    }
    view.OnEndPrinting(&dc, &info);
    info.m_pPageSink = nullptr;
}

QString StartError(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        return QStringLiteral("%1 The PDF file \"%2\" cannot be written.")
            .arg(QString::fromLatin1(kCouldNotStartPrintJob), printer.outputFileName());
    }
    return QString::fromLatin1(kCouldNotStartPrintJob);
}

}  // namespace

BOOL DoPreparePrinting(CPrintInfo* pInfo) {
    if (!pInfo) {
        return FALSE;
    }
    if (pInfo->m_eMode != EPrintMode::Dialog) {
        return TRUE;
    }
    return pInfo->m_pPrompter && pInfo->m_pPrompter->Prompt(*pInfo) ? TRUE : FALSE;
}

BOOL CDialogPrompter::Prompt(CPrintInfo& info) {
    QPrintDialog dialog(&m_printer, m_pParent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(int(info.GetMinPage()), int(info.GetMaxPage()));
    dialog.setPrintRange(QAbstractPrintDialog::AllPages);
    return dialog.exec() == QDialog::Accepted ? TRUE : FALSE;
}

CPrintOutcome RunPrintJob(IPrintView& view, QPrinter& printer, EPrintMode eMode,
                          IPrintPrompter& prompter) {
    CPrintOutcome outcome;
    CPrintInfo info;
    info.m_eMode = eMode;
    info.m_pPrompter = &prompter;
    if (!view.OnPreparePrinting(&info)) {
        outcome.eResult = EPrintResult::Cancelled;
        return outcome;
    }

    QPainter painter;
    if (!painter.begin(&printer)) {
        outcome.strError = StartError(printer);
        return outcome;
    }
    CPrinterPages pages(printer);
    DrawJob(view, painter, printer, info, pages);
    const bool bEnded = painter.end();
    outcome.nPages = pages.Pages();
    if (!bEnded || printer.printerState() == QPrinter::Error) {
        outcome.strError = QStringLiteral("The printer reported an error.");
        return outcome;
    }
    outcome.eResult = EPrintResult::Printed;
    return outcome;
}

CPrintOutcome RunPrintPreview(IPrintView& view, QPrinter& printer, QWidget* pParent) {
    CPrintOutcome outcome;
    CAcceptPrompter accept;
    CPrintInfo info;
    info.m_eMode = EPrintMode::Preview;
    info.m_pPrompter = &accept;
    if (!view.OnPreparePrinting(&info)) {
        outcome.eResult = EPrintResult::Cancelled;
        return outcome;
    }

    QPrintPreviewDialog dialog(&printer, pParent);
    // The preview asks for the pages again whenever its page setup changes.
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&](QPrinter* pPrinter) {
        QPainter painter;
        if (!painter.begin(pPrinter)) {
            return;
        }
        CPrinterPages pages(*pPrinter);
        DrawJob(view, painter, *pPrinter, info, pages);
        painter.end();
        outcome.nPages = pages.Pages();
    });
    dialog.exec();
    outcome.eResult = EPrintResult::Printed;
    return outcome;
}

BOOL SelectDefaultPrinter(QPrinter& printer, QString* pError) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        if (pError) {
            *pError = QPrinterInfo::availablePrinterNames().isEmpty()
                          ? QStringLiteral("No printer is installed.")
                          : QStringLiteral("No default printer is set.");
        }
        return FALSE;
    }
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(info.printerName());
    return TRUE;
}

BOOL SelectNamedPrinter(QPrinter& printer, const QString& strName, QString* pError) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(strName);
    if (strName.isEmpty() || info.isNull()) {
        if (pError) {
            *pError = QStringLiteral("No printer is named \"%1\".").arg(strName);
        }
        return FALSE;
    }
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(info.printerName());
    return TRUE;
}

void SelectPdfFile(QPrinter& printer, const QString& strPath) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(strPath);
}
