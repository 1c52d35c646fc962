// SPDX-License-Identifier: MIT
#include "platform/Print.h"

#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintEngine>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QVBoxLayout>

#include "platform/Dc.h"
#include "platform/DialogQt.h"
#include "platform/FileSystem.h"
#include "platform/PrintQueue.h"

const char* const kCouldNotStartPrintJob = "Could not start print job.";

namespace {

enum class EJobState { Running, Cancelled };

// The framework's progress box: "Printing", the job's name, "on the", the printer and
// its port, and Cancel. It is application-modal, so no input reaches the game while the
// job runs; Poll lets it paint and hear Cancel between pages.
class CPrintProgress {
public:
    CPrintProgress(const CPrintJobSetup& job, const QString& strPrinter) {
        if (!job.pProgressParent) {
            return;
        }
        m_pBox = std::make_unique<QDialog>(job.pProgressParent);
        m_pBox->setWindowTitle(QCoreApplication::applicationName());
        m_pBox->setWindowModality(Qt::ApplicationModal);
        auto* pLayout = new QVBoxLayout(m_pBox.get());
        for (const QString& line :
             {QStringLiteral("Printing"), job.strTitle, QStringLiteral("on the"), strPrinter}) {
            auto* pLabel = new QLabel(line, m_pBox.get());
            pLabel->setAlignment(Qt::AlignCenter);
            pLabel->setTextFormat(Qt::PlainText);
            pLayout->addWidget(pLabel);
        }
        // Qt's own Cancel button, in the desktop's language.
        auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Cancel, m_pBox.get());
        pButtons->setCenterButtons(true);
        pLayout->addWidget(pButtons);
        QObject::connect(pButtons, &QDialogButtonBox::rejected,
                         [this] { m_eState = EJobState::Cancelled; });
        // The close box cancels too; the box never closes by itself.
        QObject::connect(m_pBox.get(), &QDialog::rejected,
                         [this] { m_eState = EJobState::Cancelled; });
        m_pBox->show();
        Poll();
    }
    CPrintProgress(const CPrintProgress&) = delete;
    CPrintProgress& operator=(const CPrintProgress&) = delete;

    EJobState Poll() {
        if (m_pBox) {
            QCoreApplication::processEvents();
        }
        return m_eState;
    }

private:
    std::unique_ptr<QDialog> m_pBox;
    EJobState m_eState = EJobState::Running;
};

// The pages of a job on a printer or PDF writer; counts the pages begun. A cancelled
// job starts no further page.
class CPrinterPages : public IPageSink {
public:
    CPrinterPages(QPagedPaintDevice& device, CPrintProgress& progress)
        : m_device(device), m_progress(progress) {}
    BOOL NewPage() override {
        if (m_progress.Poll() == EJobState::Cancelled || !m_device.newPage()) {
            return FALSE;
        }
        ++m_nPages;
        return TRUE;
    }
    int Pages() const { return m_nPages; }

private:
    QPagedPaintDevice& m_device;
    CPrintProgress& m_progress;
    int m_nPages = 1;  // the painter opens the first page
};

// The framework's page loop, on a painter already open on the device. The printable
// area is the painter's device: with the printer's full-page mode off, the origin is
// the top-left corner of the printable area.
void DrawJob(IPrintView& view, QPainter& painter, QPagedPaintDevice& device, CPrintInfo& info,
             CPrinterPages& pages) {
    info.m_rectDraw = CRect(0, 0, device.width(), device.height());
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

QString StartError(const QPrinter& printer, const QString& strReason = QString()) {
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        QString text = QStringLiteral("%1 The PDF file \"%2\" cannot be written")
                           .arg(QString::fromLatin1(kCouldNotStartPrintJob),
                                DisplayFileName(printer.outputFileName()));
        return text + (strReason.isEmpty() ? QString() : QStringLiteral(": ") + strReason) +
               QLatin1Char('.');
    }
    return QString::fromLatin1(kCouldNotStartPrintJob);
}

// The printer and its port as the progress box names them.
QString PrinterAndPort(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        return QStringLiteral("PDF file on %1").arg(DisplayFileName(printer.outputFileName()));
    }
    // A print queue's connection is the print system's business; its location is what a
    // user knows it by.
    const QString location = QPrinterInfo(printer).location();
    return QStringLiteral("%1 on %2")
        .arg(printer.printerName(), location.isEmpty() ? QStringLiteral("CUPS") : location);
}

CPrintOutcome Outcome(EPrintResult eResult, int nPages, const QString& strError = QString()) {
    CPrintOutcome outcome;
    outcome.eResult = eResult;
    outcome.nPages = nPages;
    outcome.strError = strError;
    return outcome;
}

// The job's pages as a PDF document on out, with the printer's page layout, resolution
// and name; the number of pages through *pPages. FALSE when the writer cannot start.
bool RenderPdf(IPrintView& view, const QPrinter& printer, CPrintInfo& info,
               CPrintProgress& progress, QIODevice& out, int* pPages) {
    QPdfWriter writer(&out);
    writer.setTitle(printer.docName());
    writer.setCreator(printer.creator());
    writer.setResolution(printer.resolution());
    writer.setPageLayout(printer.pageLayout());
    QPainter painter;
    if (!painter.begin(&writer)) {
        return false;
    }
    CPrinterPages pages(writer, progress);
    DrawJob(view, painter, writer, info, pages);
    painter.end();
    *pPages = pages.Pages();
    return true;
}

// The pages go to a safe output file, put in place only when all of it was written.
CPrintOutcome RunPdfJob(IPrintView& view, QPrinter& printer, CPrintInfo& info,
                        CPrintProgress& progress) {
    const QString path = printer.outputFileName();
    if (path.isEmpty()) {
        return Outcome(EPrintResult::Failed, 0, StartError(printer));
    }
    CSafeOutputFile file(path);
    QString reason;
    if (!file.Begin(&reason)) {
        return Outcome(EPrintResult::Failed, 0, StartError(printer, reason));
    }
    int nPages = 0;
    if (!RenderPdf(view, printer, info, progress, file, &nPages)) {
        return Outcome(EPrintResult::Failed, 0, StartError(printer));
    }
    if (progress.Poll() == EJobState::Cancelled) {
        return Outcome(EPrintResult::Cancelled, 0);
    }
    if (!file.Commit(&reason)) {
        return Outcome(EPrintResult::Failed, nPages,
                       QStringLiteral("The PDF file \"%1\" could not be written: %2.")
                           .arg(DisplayFileName(path), reason));
    }
    return Outcome(EPrintResult::Printed, nPages);
}

// The options the print dialog chose for the queue, as Qt's CUPS engine hands them on:
// the paper, copies, collation, sides, orientation, and the engine's own list (the key
// under which it keeps name, value, name, value...: banner pages, pages per sheet...).
QList<CJobOption> QueueOptions(QPrinter& printer) {
    constexpr auto kEngineCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);
    const QPageLayout layout = printer.pageLayout();
    QList<CJobOption> options;
    const auto add = [&options](QByteArray name, QByteArray value) {
        options.append(CJobOption{std::move(name), std::move(value)});
    };
    add("media", layout.pageSize().key().toUtf8());
    if (printer.copyCount() > 1) {
        add("copies", QByteArray::number(printer.copyCount()));
        if (printer.collateCopies()) {
            add("Collate", "True");
        }
    }
    const bool bPortrait = layout.orientation() == QPageLayout::Portrait;
    switch (printer.duplex()) {
        case QPrinter::DuplexNone:
            add("sides", "one-sided");
            break;
        case QPrinter::DuplexAuto:
            add("sides", bPortrait ? "two-sided-long-edge" : "two-sided-short-edge");
            break;
        case QPrinter::DuplexLongSide:
            add("sides", "two-sided-long-edge");
            break;
        case QPrinter::DuplexShortSide:
            add("sides", "two-sided-short-edge");
            break;
    }
    if (!bPortrait) {
        add("landscape", "");
    }
    const QStringList engine = printer.printEngine()->property(kEngineCupsOptions).toStringList();
    for (qsizetype i = 0; i + 1 < engine.size(); i += 2) {
        add(engine.at(i).toUtf8(), engine.at(i + 1).toUtf8());
    }
    return options;
}

// The pages go to a print queue as one PDF job. A queue that refuses jobs is reported
// before anything is drawn, and the job is printed only once CUPS has accepted it.
CPrintOutcome RunPrinterJob(IPrintView& view, QPrinter& printer, CPrintInfo& info,
                            CPrintProgress& progress) {
    const QString queue = printer.printerName();
    if (queue.isEmpty()) {
        return Outcome(EPrintResult::Failed, 0, StartError(printer));
    }
    if (QueueState(queue) == EQueueState::Refusing) {
        return Outcome(EPrintResult::Failed, 0,
                       QStringLiteral("%1 The printer \"%2\" is not accepting jobs.")
                           .arg(QString::fromLatin1(kCouldNotStartPrintJob), queue));
    }
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    int nPages = 0;
    if (!RenderPdf(view, printer, info, progress, buffer, &nPages)) {
        return Outcome(EPrintResult::Failed, 0, StartError(printer));
    }
    if (progress.Poll() == EJobState::Cancelled) {
        // Nothing is sent to the print queue.
        return Outcome(EPrintResult::Cancelled, 0);
    }
    const CSubmittedJob job = SubmitPdfJob(queue, printer.docName(), pdf, QueueOptions(printer));
    if (job.nJobId == 0) {
        return Outcome(
            EPrintResult::Failed, nPages,
            QStringLiteral("The printer \"%1\" did not take the job: %2").arg(queue, job.strError));
    }
    CPrintOutcome outcome = Outcome(EPrintResult::Printed, nPages);
    outcome.nJobId = job.nJobId;
    return outcome;
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
    const CFocusReturn focusBack(m_pParent);
    return dialog.exec() == QDialog::Accepted ? TRUE : FALSE;
}

CPrintOutcome RunPrintJob(IPrintView& view, QPrinter& printer, EPrintMode eMode,
                          IPrintPrompter& prompter, const CPrintJobSetup& job) {
    CPrintInfo info;
    info.m_eMode = eMode;
    info.m_pPrompter = &prompter;
    if (!job.strTitle.isEmpty()) {
        printer.setDocName(job.strTitle);
    }
    if (!view.OnPreparePrinting(&info)) {
        return Outcome(EPrintResult::Cancelled, 0);
    }
    CPrintProgress progress(job, PrinterAndPort(printer));
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        return RunPdfJob(view, printer, info, progress);
    }
    return RunPrinterJob(view, printer, info, progress);
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
        CPrintProgress noBox(CPrintJobSetup{}, QString());
        CPrinterPages pages(*pPrinter, noBox);
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

CPrintSetup::CPrintSetup(QWidget* pWindow) : QObject(pWindow) {}

CPrintSetup::~CPrintSetup() = default;

QPrinter& CPrintSetup::Printer() {
    if (!m_pPrinter) {
        m_pPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *m_pPrinter;
}

QString CPrintSetup::JobTitle() const {
    return m_titleSource ? m_titleSource() : QCoreApplication::applicationName();
}

CPrintSetup* CPrintSetup::Of(const QWidget* pWidget) {
    const QWidget* pWindow = pWidget ? pWidget->window() : nullptr;
    return pWindow ? pWindow->findChild<CPrintSetup*>(QString(), Qt::FindDirectChildrenOnly)
                   : nullptr;
}

void RunPrintSetup(CPrintSetup& setup, QWidget* pParent) {
    QPageSetupDialog dialog(&setup.Printer(), pParent);
    const CFocusReturn focusBack(pParent);
    dialog.exec();
}
