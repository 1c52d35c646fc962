// SPDX-License-Identifier: MIT
// The print job: the framework sequence and its dialog, page geometry, header lines,
// heading and body lines, every laid-out page printed, the game state left alone; and
// real jobs through Qt: PDF files read back with pdftotext, the print dialog and the
// preview, and the failures of the command-line runners.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <string>
#include <vector>

#include "platform/Print.h"
#include "platform/Raster.h"
#include "print/PrintCommands.h"
#include "support/Headless.h"
#include "unit/PrintSurface.h"

namespace {

using CFontSeen = CCharCellDC::CFontSeen;

// Answers the print dialog as told and remembers what the job offered it.
class CScriptedPrompter : public IPrintPrompter {
public:
    explicit CScriptedPrompter(BOOL bAnswer) : m_bAnswer(bAnswer) {}
    BOOL Prompt(CPrintInfo& info) override {
        ++m_nPrompts;
        m_nMinPage = info.GetMinPage();
        m_nMaxPage = info.GetMaxPage();
        m_nPreviewPages = info.m_nNumPreviewPages;
        return m_bAnswer;
    }
    BOOL m_bAnswer = FALSE;
    int m_nPrompts = 0;
    UINT m_nMinPage = 0;
    UINT m_nMaxPage = 0;
    UINT m_nPreviewPages = 0;
};

// One OnPrint on the character-cell surface with a printable area of W by H units.
void PrintOnCells(CTessixView& view, CCharCellDC& dc, const CRect& rectDraw) {
    CPrintInfo info;
    info.m_rectDraw = rectDraw;
    info.m_pPageSink = &dc;
    view.OnPrint(&dc, &info);
    EXPECT_EQ(info.m_bContinuePrinting, FALSE);
}

std::vector<CCharCellDC::CDrawn> DrawnOnPage(const CCharCellDC& dc, int nPage) {
    std::vector<CCharCellDC::CDrawn> drawn;
    for (const auto& d : dc.m_drawn) {
        if (d.nPage == nPage) {
            drawn.push_back(d);
        }
    }
    return drawn;
}

// A heading and nLines further lines of one word each, five lines to a piece.
void SetLongText(CTessixView& view, int nLines) {
    int i = 0;
    view.m_astrLine[i++] = "[Long text ,,";
    for (int n = 0; n < nLines; n += 5) {
        CString strPiece;
        for (int k = n; k < n + 5 && k < nLines; ++k) {
            strPiece += "line" + std::to_string(k) + " ,, ";
        }
        view.m_astrLine[i++] = strPiece;
    }
    view.m_astrLine[i] = "???*???";
}

// ---- The sequence and its dialog.

TEST(PrintJob, PrepareOffersOnePageAndAsksTheDialog) {
    struct CCase {
        EPrintMode eMode;
        BOOL bAnswer;
        BOOL bGoesAhead;
        int nPrompts;
    };
    const CCase cases[] = {
        {EPrintMode::Dialog, TRUE, TRUE, 1},
        {EPrintMode::Dialog, FALSE, FALSE, 1},
        {EPrintMode::Direct, FALSE, TRUE, 0},
        {EPrintMode::Preview, FALSE, TRUE, 0},
    };
    for (const CCase& c : cases) {
        CGame game;
        CScriptedPrompter prompter(c.bAnswer);
        CPrintInfo info;
        info.m_eMode = c.eMode;
        info.m_pPrompter = &prompter;
        EXPECT_EQ(game.View().OnPreparePrinting(&info), c.bGoesAhead);
        EXPECT_EQ(prompter.m_nPrompts, c.nPrompts);
        EXPECT_EQ(info.GetMinPage(), 1u);
        EXPECT_EQ(info.GetMaxPage(), 1u);
        EXPECT_EQ(info.m_nNumPreviewPages, 1u);
        if (c.nPrompts > 0) {
            EXPECT_EQ(prompter.m_nMaxPage, 1u);
            EXPECT_EQ(prompter.m_nPreviewPages, 1u);
        }
    }
}

// ---- Geometry and what each page draws, on a surface of 10 units a character.

TEST(PrintJob, PageGeometryFromThePrintableArea) {
    struct CCase {
        CRect rectDraw;
        int nTextWidth, nLeftMargin, nTextHeight, nFontUnit, nTopMargin;
    };
    const CCase cases[] = {
        {CRect(0, 0, 4800, 6300), 4320, 240, 5670, 105, 472},
        {CRect(100, 200, 4900, 6500), 4320, 240, 5670, 105, 472},
        {CRect(0, 0, 4801, 6301), 4320, 240, 5670, 105, 473},
        {CRect(0, 0, 999, 1999), 899, 50, 1799, 33, 150},
    };
    for (const CCase& c : cases) {
        CGame game;
        CCharCellDC dc;
        PrintOnCells(game.View(), dc, c.rectDraw);
        const CTessixView& view = game.View();
        EXPECT_EQ(view.m_nPageWidth, c.rectDraw.Width());
        EXPECT_EQ(view.m_nPageHeight, c.rectDraw.Height());
        EXPECT_EQ(view.m_nTextWidth, c.nTextWidth);
        EXPECT_EQ(view.m_nLeftMargin, c.nLeftMargin);
        EXPECT_EQ(view.m_nTextHeight, c.nTextHeight);
        EXPECT_EQ(view.m_nFontUnit, c.nFontUnit);
        EXPECT_EQ(view.m_nTopMargin, c.nTopMargin);
    }
}

TEST(PrintJob, DrawsHeaderHeadingsAndBodyLinesWhereTheyBelong) {
    CGame game;
    game.Paint();
    CCharCellDC dc;
    PrintOnCells(game.View(), dc, CRect(0, 0, 4800, 6300));
    const CTessixView& view = game.View();
    ASSERT_EQ(view.m_nPages, 1);
    ASSERT_FALSE(view.m_strBanner.empty());

    const auto drawn = DrawnOnPage(dc, 0);
    ASSERT_GE(drawn.size(), 3u);
    const int lh = CCharCellDC::kCellHeight;
    EXPECT_EQ(drawn[0], (CCharCellDC::CDrawn{0, 240 - lh, lh, view.m_strBanner + "    ",
                                             CFontSeen{"Arial", 84, FALSE}}));
    EXPECT_EQ(drawn[1], (CCharCellDC::CDrawn{0, 240, 472, "Introduction to Tessix ",
                                             CFontSeen{"Arial Bold", 140, TRUE}}));
    EXPECT_EQ(drawn[2],
              (CCharCellDC::CDrawn{
                  0, 240, 472 + 2 * lh,
                  "The object of this game is to see how good you are in the visual perception "
                  "department while having some fun at the same time. ",
                  CFontSeen{"Arial", 105, FALSE}}));
    // Every line but the header stands at the margin on the line pitch, and no text is
    // drawn with its "[".
    for (std::size_t i = 1; i < drawn.size(); ++i) {
        EXPECT_EQ(drawn[i].x, 240);
        EXPECT_EQ((drawn[i].y - 472) % lh, 0);
        EXPECT_FALSE(drawn[i].strText.empty());
        EXPECT_NE(drawn[i].strText[0], '[');
        const bool bHeading = drawn[i].font.strFace == "Arial Bold";
        const int nLine = (drawn[i].y - 472) / lh;
        EXPECT_EQ(bHeading, view.m_szPageLine[0][nLine][0] == '[') << drawn[i].strText;
    }
    // The header font is released after each page; the job's fonts stay selected nowhere.
    EXPECT_FALSE(view.m_fontPageNumber.GetSafeHandle());
    EXPECT_EQ(dc.Selected(), nullptr);
}

TEST(PrintJob, PrintsEveryPageWithItsNumberFromPageTwo) {
    CGame game;
    game.Paint();
    // 10 units a character on a page 4800 wide: 432 characters to a line; 53 lines a page.
    SetLongText(game.View(), 10 * 53);
    CCharCellDC dc;
    PrintOnCells(game.View(), dc, CRect(0, 0, 4800, 6300));
    const CTessixView& view = game.View();
    ASSERT_EQ(view.m_nPages, 10);
    EXPECT_EQ(dc.m_nPage, 9) << "a new page between pages, none after the last";

    const CString strBanner = view.m_strBanner;
    const CString headers[] = {strBanner + "    ",   strBanner + "     2", strBanner + "     3",
                               strBanner + "     4", strBanner + "     5", strBanner + "     6",
                               strBanner + "     7", strBanner + "     8", strBanner + "     9",
                               strBanner + "    10"};
    for (int p = 0; p < 10; ++p) {
        const auto drawn = DrawnOnPage(dc, p);
        ASSERT_FALSE(drawn.empty());
        EXPECT_EQ(drawn.front().strText, headers[p]);
        EXPECT_EQ(drawn.front().font, (CFontSeen{"Arial", 84, FALSE}));
        // Lines 0 to the page's last line, the empty ones drawing nothing.
        int nNonEmpty = 0;
        for (int j = 0; j <= view.m_nLastLine[p]; ++j) {
            nNonEmpty += view.m_szPageLine[p][j][0] != '\0' ? 1 : 0;
        }
        EXPECT_EQ(static_cast<int>(drawn.size()) - 1, nNonEmpty) << "page " << p + 1;
    }
}

TEST(PrintJob, PrintingTwiceGivesIdenticalPages) {
    CGame game;
    game.Paint();
    SetLongText(game.View(), 80);
    CCharCellDC first;
    CCharCellDC second;
    PrintOnCells(game.View(), first, CRect(0, 0, 4800, 6300));
    PrintOnCells(game.View(), second, CRect(0, 0, 4800, 6300));
    EXPECT_EQ(game.View().m_nPages, 2);
    EXPECT_EQ(first.m_drawn, second.m_drawn);
}

// The game state before and after a job.
struct CStateSnapshot {
    int nPhase, nProblem, nScore, nPlays[4];
    BOOL bGameOver, bMenuActive, bLayoutDone;
    CRect rectItem[4];
    bool operator==(const CStateSnapshot& o) const {
        for (int i = 0; i < 4; ++i) {
            if (nPlays[i] != o.nPlays[i] || rectItem[i] != o.rectItem[i]) {
                return false;
            }
        }
        return nPhase == o.nPhase && nProblem == o.nProblem && nScore == o.nScore &&
               bGameOver == o.bGameOver && bMenuActive == o.bMenuActive &&
               bLayoutDone == o.bLayoutDone;
    }
};

CStateSnapshot Snapshot(const CTessixView& v) {
    return {v.m_nPhase,
            v.m_nProblem,
            v.m_nScore,
            {v.m_nPlays[0], v.m_nPlays[1], v.m_nPlays[2], v.m_nPlays[3]},
            v.m_bGameOver,
            v.m_bMenuActive,
            v.m_bLayoutDone,
            {v.m_rectMenuItem[0], v.m_rectMenuItem[1], v.m_rectMenuItem[2], v.m_rectMenuItem[3]}};
}

TEST(PrintJob, LeavesTheGameAloneAndPrintsTheSameFromEveryScreen) {
    CGame game;
    game.Paint();
    CCharCellDC fromMenu;
    PrintOnCells(game.View(), fromMenu, CRect(0, 0, 4800, 6300));

    game.ChooseProblem(1);
    const CStateSnapshot before = Snapshot(game.View());
    const QImage screen = game.m_host.ClientRaster().Image().copy();
    CCharCellDC fromProblem;
    PrintOnCells(game.View(), fromProblem, CRect(0, 0, 4800, 6300));

    EXPECT_TRUE(Snapshot(game.View()) == before);
    EXPECT_TRUE(game.m_host.ClientRaster().Image() == screen);
    EXPECT_EQ(fromProblem.m_drawn, fromMenu.m_drawn);
}

// ---- Real jobs through Qt.

class PrintToPdf : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_strPdfToText = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        game.Paint();
    }
    QString PathOf(const char* pszName) const {
        return m_dir.filePath(QString::fromLatin1(pszName));
    }

    // The pages of the PDF as pdftotext reads them.
    QStringList PagesOf(const QString& strPdf) const {
        QProcess process;
        process.start(m_strPdfToText, {QStringLiteral("-layout"), strPdf, QStringLiteral("-")});
        process.waitForFinished(-1);
        QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(QChar('\f'));
        if (!pages.isEmpty() && pages.back().trimmed().isEmpty()) {
            pages.removeLast();
        }
        return pages;
    }

    QTemporaryDir m_dir;
    QString m_strPdfToText;
    CGame game;
};

void ExpectInstructionPages(const QStringList& pages, const CTessixView& view) {
    ASSERT_EQ(pages.size(), view.m_nPages);
    const QString strBanner = QString::fromStdString(view.m_strBanner);
    // Page 1: the header without a number, then the first heading without its "[".
    EXPECT_TRUE(pages[0].contains(strBanner)) << pages[0].toStdString();
    EXPECT_FALSE(pages[0].contains(
        QRegularExpression(QRegularExpression::escape(strBanner) + QStringLiteral("\\s+\\d"))));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Introduction to Tessix")));
    for (int p = 1; p < pages.size(); ++p) {
        EXPECT_TRUE(pages[p].contains(QRegularExpression(QRegularExpression::escape(strBanner) +
                                                         QStringLiteral("\\s+%1\\b").arg(p + 1))))
            << "page " << p + 1 << ": " << pages[p].toStdString();
    }
    for (const QString& strPage : pages) {
        EXPECT_FALSE(strPage.contains(QChar('['))) << strPage.toStdString();
    }
    QStringList lastLines = pages.back().split(QChar('\n'), Qt::SkipEmptyParts);
    while (!lastLines.isEmpty() && lastLines.back().trimmed().isEmpty()) {
        lastLines.removeLast();
    }
    ASSERT_FALSE(lastLines.isEmpty());
    EXPECT_TRUE(lastLines.back().contains(
        QRegularExpression(QStringLiteral("^\\s*-\\s+Mouse and Keyboard\\s*$"))))
        << lastLines.back().toStdString();
}

TEST_F(PrintToPdf, WritesEveryPageOfTheInstructions) {
    const QString strPdf = PathOf("instructions.pdf");
    const CPrintOutcome outcome =
        PrintInstructionsToPdf(game.View(), strPdf, QStringLiteral("Tessix"));
    ASSERT_EQ(outcome.eResult, EPrintResult::Printed) << outcome.strError.toStdString();
    EXPECT_EQ(outcome.nPages, game.View().m_nPages);
    ASSERT_TRUE(QFile::exists(strPdf));
    if (m_strPdfToText.isEmpty()) {
        GTEST_SKIP() << "pdftotext is not installed";
    }
    ExpectInstructionPages(PagesOf(strPdf), game.View());
}

// On a narrow page the lines are short and the instructions take more than one page.
TEST_F(PrintToPdf, NumbersThePagesFromPageTwo) {
    const QString strPdf = PathOf("narrow.pdf");
    QPrinter printer(QPrinter::HighResolution);
    SelectPdfFile(printer, strPdf);
    printer.setPageSize(QPageSize(QSizeF(150, 300), QPageSize::Millimeter));
    CViewPrinting printing(game.View());
    CAcceptPrompter accept;
    const CPrintOutcome outcome = RunPrintJob(printing, printer, EPrintMode::Direct, accept);
    ASSERT_EQ(outcome.eResult, EPrintResult::Printed) << outcome.strError.toStdString();
    ASSERT_GE(game.View().m_nPages, 2);
    EXPECT_EQ(outcome.nPages, game.View().m_nPages);
    if (m_strPdfToText.isEmpty()) {
        GTEST_SKIP() << "pdftotext is not installed";
    }
    ExpectInstructionPages(PagesOf(strPdf), game.View());
}

TEST_F(PrintToPdf, CancelledDialogPrintsNothing) {
    const QString strPdf = PathOf("cancelled.pdf");
    QPrinter printer(QPrinter::HighResolution);
    SelectPdfFile(printer, strPdf);
    CViewPrinting printing(game.View());
    CScriptedPrompter cancel(FALSE);
    const CPrintOutcome outcome = RunPrintJob(printing, printer, EPrintMode::Dialog, cancel);
    EXPECT_EQ(outcome.eResult, EPrintResult::Cancelled);
    EXPECT_EQ(outcome.nPages, 0);
    EXPECT_EQ(cancel.m_nPrompts, 1);
    EXPECT_FALSE(QFile::exists(strPdf));
}

TEST_F(PrintToPdf, RunnersReportWhatCannotBePrinted) {
    struct CCase {
        const char* pszName;
        CPrintOutcome outcome;
        const char* pszError;
    };
    const QString strUnwritable = PathOf("missing-folder/instructions.pdf");
    const CCase cases[] = {
        {"unwritable file", PrintInstructionsToPdf(game.View(), strUnwritable, QString()),
         "Could not start print job."},
        {"no file name", PrintInstructionsToPdf(game.View(), QString(), QString()),
         "No PDF file name"},
        {"unknown printer",
         PrintInstructionsToPrinter(game.View(), QStringLiteral("no-such-printer-here"), QString()),
         "No printer is named \"no-such-printer-here\"."},
    };
    for (const CCase& c : cases) {
        EXPECT_EQ(c.outcome.eResult, EPrintResult::Failed) << c.pszName;
        EXPECT_TRUE(c.outcome.strError.contains(QString::fromLatin1(c.pszError)))
            << c.pszName << ": " << c.outcome.strError.toStdString();
    }
    EXPECT_TRUE(cases[0].outcome.strError.contains(strUnwritable));
    EXPECT_FALSE(QFile::exists(strUnwritable));
}

TEST_F(PrintToPdf, DefaultPrinterMissingIsReported) {
    if (!QPrinterInfo::defaultPrinter().isNull()) {
        GTEST_SKIP() << "this machine has a default printer";
    }
    const CPrintOutcome outcome = PrintInstructionsToDefaultPrinter(game.View(), QString());
    EXPECT_EQ(outcome.eResult, EPrintResult::Failed);
    EXPECT_FALSE(outcome.strError.isEmpty());
}

// The Print command's dialog reports a job that cannot start in a message box.
TEST_F(PrintToPdf, PrintCommandReportsAJobThatCannotStart) {
    if (!QPrinterInfo::defaultPrinter().isNull()) {
        GTEST_SKIP() << "this machine has a default printer";
    }
    const CPrintOutcome outcome = OnFilePrint(game.View(), nullptr, EPrintDialog::Skip);
    EXPECT_EQ(outcome.eResult, EPrintResult::Failed);
    ASSERT_EQ(game.m_host.m_messages.size(), 1u);
    EXPECT_EQ(game.m_host.m_messages[0].strText, outcome.strError.toStdString());
}

// Qt's print dialog is shown with the pages 1 to 1; closing it with Cancel prints
// nothing.
TEST_F(PrintToPdf, PrintDialogOffersPageOneToOne) {
    QPrinter printer(QPrinter::HighResolution);
    SelectPdfFile(printer, PathOf("dialog.pdf"));
    CDialogPrompter dialog(printer, nullptr);
    CViewPrinting printing(game.View());
    int nMin = -1;
    int nMax = -1;
    bool bShown = false;
    QTimer::singleShot(0, [&] {
        auto* pDialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!pDialog) {
            return;
        }
        bShown = true;
        nMin = pDialog->minPage();
        nMax = pDialog->maxPage();
        pDialog->reject();
    });
    const CPrintOutcome outcome = RunPrintJob(printing, printer, EPrintMode::Dialog, dialog);
    ASSERT_TRUE(bShown);
    EXPECT_EQ(nMin, 1);
    EXPECT_EQ(nMax, 1);
    EXPECT_EQ(outcome.eResult, EPrintResult::Cancelled);
    EXPECT_FALSE(QFile::exists(PathOf("dialog.pdf")));
}

// A job from a window shows the progress box over it, named after the job; the PDF
// carries the name as its Title. Cancel in the box aborts the job and an old file stays.
TEST_F(PrintToPdf, ProgressBoxNamesTheJobAndItsCancelAbortsIt) {
    const QString strInfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    if (strInfo.isEmpty()) {
        GTEST_SKIP() << "pdfinfo is not installed";
    }
    for (const bool bCancel : {false, true}) {
        const QString strPdf = PathOf(bCancel ? "cancelled-job.pdf" : "named-job.pdf");
        QFile old(strPdf);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        QWidget window;
        QPrinter printer(QPrinter::HighResolution);
        SelectPdfFile(printer, strPdf);
        CPrintJobSetup job;
        job.strTitle = QStringLiteral("game \u00e9.tsx");
        job.pProgressParent = &window;
        QStringList lines;
        QTimer::singleShot(0, [&] {
            auto* pBox = window.findChild<QDialog*>();
            if (!pBox) {
                return;
            }
            for (const QLabel* pLabel : pBox->findChildren<QLabel*>()) {
                lines.append(pLabel->text());
            }
            if (bCancel) {
                pBox->findChild<QPushButton*>()->click();
            }
        });
        CViewPrinting printing(game.View());
        CAcceptPrompter accept;
        const CPrintOutcome outcome =
            RunPrintJob(printing, printer, EPrintMode::Direct, accept, job);
        EXPECT_EQ(lines,
                  QStringList({QStringLiteral("Printing"), job.strTitle, QStringLiteral("on the"),
                               QStringLiteral("PDF file on ") + strPdf}));
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        const QByteArray start = old.read(5);
        old.close();
        if (bCancel) {
            EXPECT_EQ(outcome.eResult, EPrintResult::Cancelled);
            EXPECT_EQ(start, "old");
            continue;
        }
        EXPECT_EQ(outcome.eResult, EPrintResult::Printed) << outcome.strError.toStdString();
        EXPECT_EQ(start, "%PDF-");
        QProcess info;
        info.start(strInfo, {strPdf});
        info.waitForFinished(-1);
        EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput())
                        .contains(QRegularExpression(QStringLiteral("Title: +game \u00e9.tsx\n"))));
    }
}

TEST_F(PrintToPdf, PreviewShowsEveryPage) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QSizeF(150, 300), QPageSize::Millimeter));
    CViewPrinting printing(game.View());
    int nShownPages = -1;
    QTimer::singleShot(0, [&] {
        auto* pDialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!pDialog) {
            return;
        }
        if (auto* pWidget = pDialog->findChild<QPrintPreviewWidget*>()) {
            nShownPages = pWidget->pageCount();
        }
        pDialog->reject();
    });
    const CPrintOutcome outcome = RunPrintPreview(printing, printer, nullptr);
    EXPECT_EQ(outcome.eResult, EPrintResult::Printed);
    EXPECT_GE(game.View().m_nPages, 2);
    EXPECT_EQ(nShownPages, game.View().m_nPages);
    EXPECT_EQ(outcome.nPages, game.View().m_nPages);
}

}  // namespace
