// SPDX-License-Identifier: MIT
// The print commands of the game view, run through the framework's print sequence
// (platform/Print.h): the Print command with its dialog, printing without the dialog,
// print preview, and printing from the command line without showing the game.
#pragma once

#include <QString>

#include "platform/Print.h"

class CTessixView;
class QWidget;

// The game view's printing virtuals as the print sequence calls them.
class CViewPrinting : public IPrintView {
public:
    explicit CViewPrinting(CTessixView& view) : m_view(view) {}
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;

private:
    CTessixView& m_view;
};

enum class EPrintDialog {
    Show,  // Print (File > Print, Ctrl+P): the print dialog chooses the printer
    Skip,  // Print without dialog: the default printer
};

// The framework's print command of the view. The job uses the printer settings and name
// of pParent's window (CPrintSetup) when it has them, and shows the progress box there.
// A job that cannot start is reported in a message box on the view's window; Cancel
// prints nothing and says nothing.
CPrintOutcome OnFilePrint(CTessixView& view, QWidget* pParent, EPrintDialog eDialog);

// The framework's print-preview command: Qt's print preview of the same pages.
CPrintOutcome OnFilePrintPreview(CTessixView& view, QWidget* pParent);

// Printing from the command line: no dialog and no message box; a failure comes back
// as EPrintResult::Failed with its reason in strError. The header carries the view's
// m_strBanner as it stands; strTitle is the job's name.
CPrintOutcome PrintInstructionsToDefaultPrinter(CTessixView& view, const QString& strTitle);
CPrintOutcome PrintInstructionsToPrinter(CTessixView& view, const QString& strPrinterName,
                                         const QString& strTitle);
CPrintOutcome PrintInstructionsToPdf(CTessixView& view, const QString& strPath,
                                     const QString& strTitle);
