// SPDX-License-Identifier: MIT
// The print sequence of the framework, over Qt PrintSupport. A job runs the printing
// virtuals of a view in the framework's order:
//   OnPreparePrinting (the view calls DoPreparePrinting, which asks the job's prompter:
//   the print dialog, or an automatic yes) -> OnBeginPrinting -> OnPrint on a surface
//   over a painter on the printer (new pages through CPrintInfo::NewPage) ->
//   OnEndPrinting.
// A preview runs the same virtuals into Qt's print preview.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <utility>

#include "platform/Types.h"

class CDC;
class CPrintInfo;
class QPrinter;
class QWidget;

// Answers a job's print dialog.
class IPrintPrompter {
public:
    virtual ~IPrintPrompter() = default;
    // TRUE when the job is to print; FALSE when the user cancelled.
    virtual BOOL Prompt(CPrintInfo& info) = 0;
};

// Where a job's pages go.
class IPageSink {
public:
    virtual ~IPageSink() = default;
    // Ends the current page and starts the next one; FALSE when the device refused.
    virtual BOOL NewPage() = 0;
};

// How a job meets its print dialog.
enum class EPrintMode {
    Dialog,   // the dialog is shown; Cancel ends the job
    Direct,   // no dialog: the printer as chosen by the caller
    Preview,  // no dialog: the pages go to the print preview
};

// The framework's record of one print job.
class CPrintInfo {
public:
    CPrintInfo() = default;
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    // The page range the print dialog offers.
    void SetMinPage(UINT nMinPage) { m_nMinPage = nMinPage; }
    void SetMaxPage(UINT nMaxPage) { m_nMaxPage = nMaxPage; }
    UINT GetMinPage() const { return m_nMinPage; }
    UINT GetMaxPage() const { return m_nMaxPage; }

    // Ends the printer page and starts a new one (through the job's page sink).
    BOOL NewPage() { return m_pPageSink ? m_pPageSink->NewPage() : FALSE; }

    CRect m_rectDraw;  // printable area in device units, origin at its top-left corner
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nNumPreviewPages = 0;
    UINT m_nCurPage = 1;
    EPrintMode m_eMode = EPrintMode::Dialog;
    IPrintPrompter* m_pPrompter = nullptr;
    IPageSink* m_pPageSink = nullptr;

private:
    UINT m_nMinPage = 1;
    UINT m_nMaxPage = 0xFFFF;
};

// The framework's preparation: in dialog mode asks the job's prompter (the print
// dialog); in direct and preview mode it goes ahead. FALSE ends the job unprinted.
BOOL DoPreparePrinting(CPrintInfo* pInfo);

// The printing virtuals a view overrides.
class IPrintView {
public:
    virtual ~IPrintView() = default;
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo) = 0;
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) = 0;
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo) = 0;
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) = 0;
};

enum class EPrintResult {
    Printed,    // the job ran to its end
    Cancelled,  // the print dialog was cancelled: nothing printed
    Failed,     // the job could not start or the device failed; see the error text
};

struct CPrintOutcome {
    EPrintResult eResult = EPrintResult::Failed;
    int nPages = 0;    // pages sent to the device
    int nJobId = 0;    // the print queue's id of a printed job; 0 for a file or a preview
    QString strError;  // set when Failed
};

// The print dialog of Qt, offering the page range of the job.
class CDialogPrompter : public IPrintPrompter {
public:
    CDialogPrompter(QPrinter& printer, QWidget* pParent) : m_printer(printer), m_pParent(pParent) {}
    BOOL Prompt(CPrintInfo& info) override;

private:
    QPrinter& m_printer;
    QWidget* m_pParent = nullptr;
};

// Says yes without asking: jobs that run without a user.
class CAcceptPrompter : public IPrintPrompter {
public:
    BOOL Prompt(CPrintInfo&) override { return TRUE; }
};

// The message the framework gives when a job cannot start.
extern const char* const kCouldNotStartPrintJob;

// What a job carries beside its pages.
struct CPrintJobSetup {
    // The job's name: the title of the job in the print queue and of a PDF file.
    QString strTitle;
    // The window over which the progress box (with its Cancel button) shows while the
    // job runs; null: no box, as for jobs that run without a user.
    QWidget* pProgressParent = nullptr;
};

// Runs one job on the printer: prepare (with the prompter), then draw the pages as a PDF
// document with the printer's page layout. A printer is configured by the caller
// (QPrinter::HighResolution). A job whose printer writes a PDF file (from the caller or
// the print dialog) goes through a CSafeOutputFile: a write that fails makes the job fail
// and leaves any old file as it was. A job for a print queue fails before drawing when the
// queue is not accepting jobs, and is printed only when CUPS accepted it (nJobId).
// Cancel in the progress box aborts the job: nothing reaches the printer or file.
CPrintOutcome RunPrintJob(IPrintView& view, QPrinter& printer, EPrintMode eMode,
                          IPrintPrompter& prompter, const CPrintJobSetup& job = {});

// Shows Qt's print preview of the job's pages, modal; returns when it is closed.
CPrintOutcome RunPrintPreview(IPrintView& view, QPrinter& printer, QWidget* pParent);

// Points a printer at the system's default printer, a named printer, or a PDF file.
// FALSE (with the reason in *pError) when there is no such printer.
BOOL SelectDefaultPrinter(QPrinter& printer, QString* pError);
BOOL SelectNamedPrinter(QPrinter& printer, const QString& strName, QString* pError);
void SelectPdfFile(QPrinter& printer, const QString& strPath);

// The application's printer settings: the printer, paper and orientation that Print
// Setup and the print dialog chose, kept for the next job, and the name jobs carry. It
// is a child object of the main window, where the print commands find it.
class CPrintSetup final : public QObject {
    Q_OBJECT
public:
    explicit CPrintSetup(QWidget* pWindow);
    ~CPrintSetup() override;

    // Made on first use, since asking the print system for its printers takes time.
    QPrinter& Printer();
    // Where the job's name comes from; without one it is the application's name.
    void SetTitleSource(std::function<QString()> source) { m_titleSource = std::move(source); }
    QString JobTitle() const;

    // The settings of pWidget's window, or null when it has none.
    static CPrintSetup* Of(const QWidget* pWidget);

private:
    std::unique_ptr<QPrinter> m_pPrinter;
    std::function<QString()> m_titleSource;
};

// Print Setup: Qt's page setup dialog for the application's printer; OK keeps the
// choice for the jobs that follow.
void RunPrintSetup(CPrintSetup& setup, QWidget* pParent);
