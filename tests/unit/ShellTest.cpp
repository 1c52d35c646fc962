// SPDX-License-Identifier: MIT
// The application shell on the offscreen platform: the frame's menu and accelerators,
// the document commands with their dialogs answered by the test, the about box, the end
// of the program, and the caption.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/MainFrame.h"
#include "app/TessixApp.h"
#include "app/TessixDoc.h"
#include "app/ViewCommands.h"
#include "game/Colours.h"
#include "game/Rules.h"
#include "platform/FileDialog.h"
#include "platform/Presentation.h"
#include "platform/ViewWidget.h"
#include "support/Headless.h"
#include "support/Probes.h"

// Qt's own route for a key press through the shortcut map, as a key from the window
// system takes it; exported by QtGui.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods, const QString& text,
                                               bool autorep, ushort count);

// Readable failure messages.
static void PrintTo(const QString& str, std::ostream* pStream) {
    *pStream << '"' << str.toStdString() << '"';
}

namespace {

class CScriptedFileDialogs final : public IFileDialogs {
public:
    QString GetOpenFileName(QWidget* /*pParent*/, const QString& strFilter) override {
        m_filters.push_back(strFilter);
        ++m_nOpens;
        return Next(m_openAnswers);
    }
    QString GetSaveFileName(QWidget* /*pParent*/, const QString& strSuggested,
                            const QString& strFilter) override {
        m_filters.push_back(strFilter);
        m_suggested.push_back(strSuggested);
        ++m_nSaves;
        return Next(m_saveAnswers);
    }
    EReplace AskReplace(QWidget* /*pParent*/, const QString& strPath) override {
        m_asked.push_back(strPath);
        if (m_replaceAnswers.empty()) {
            return EReplace::Keep;
        }
        const EReplace answer = m_replaceAnswers.front();
        m_replaceAnswers.pop_front();
        return answer;
    }
    void ReportError(QWidget* /*pParent*/, const QString& strText) override {
        m_errors.push_back(strText);
    }

    std::deque<QString> m_openAnswers;
    std::deque<QString> m_saveAnswers;
    std::deque<EReplace> m_replaceAnswers;
    std::vector<QString> m_filters;
    std::vector<QString> m_suggested;
    std::vector<QString> m_asked;
    std::vector<QString> m_errors;
    int m_nOpens = 0;
    int m_nSaves = 0;

private:
    static QString Next(std::deque<QString>& answers) {
        if (answers.empty()) {
            return QString();
        }
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class CRecordingPrint final : public IPrintCommands {
public:
    void Run(UINT nID, CTessixView& /*view*/, QWidget* /*pParent*/) override {
        m_commands.push_back(nID);
    }
    std::vector<UINT> m_commands;
};

QByteArray ReadAll(const QString& strPath) {
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void WriteFile(const QString& strPath, const QByteArray& bytes) {
    QFile file(strPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The running program on the offscreen platform, with every outside answer scripted.
class ShellTest : public ::testing::Test {
public:
    void SetUp() override {
        CAppWorld world;
        world.pClock = &m_clock;
        world.pSound = &m_sound;
        world.pFileDialogs = &m_dialogs;
        world.pPrint = &m_print;
        world.endProgram = [this](int nCode) { m_endCodes.push_back(nCode); };
        m_pApp = std::make_unique<CTessixApp>(world);
        CCommandLineInfo cmdInfo;
        cmdInfo.m_oSeed = 7;
        ASSERT_TRUE(m_pApp->InitInstance(cmdInfo));
        ASSERT_TRUE(m_dir.isValid());
    }

    CMainFrame& Frame() { return CTessixAppProbe::Frame(*m_pApp); }
    CViewWidget& Widget() { return *m_pApp->GetViewWidget(); }
    CTessixView& View() { return CTessixAppProbe::View(*m_pApp); }
    CTessixDoc& Doc() { return CTessixAppProbe::Document(*m_pApp); }
    QString Path(const char* pszName) const { return m_dir.filePath(QString::fromLatin1(pszName)); }

    // Starts the game at the frame's present size and paints its first screen.
    void StartGame() {
        Frame().activateWindow();
        QApplication::processEvents();
        Widget().Start();
        Widget().repaint();
        ASSERT_TRUE(View().m_bLayoutDone);
    }

    // A key pressed on the frame as the window system delivers it: shortcuts first.
    void PressKey(int nKey, Qt::KeyboardModifiers mods) {
        QWidget* pTarget = QApplication::focusWidget() ? QApplication::focusWidget() : &Widget();
        if (qt_sendShortcutOverrideEvent(pTarget, 0, nKey, mods, QString(), false, 1)) {
            return;
        }
        QKeyEvent press(QEvent::KeyPress, nKey, mods);
        QApplication::sendEvent(pTarget, &press);
    }

    void ChooseProblem(int p) {
        const CRect& rc = View().m_rectMenuItem[p - 1];
        View().OnLButtonDown(0, CPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
        ASSERT_EQ(View().m_nProblem, p);
    }

    CFakeClock m_clock;
    CRecordingSound m_sound;
    CScriptedFileDialogs m_dialogs;
    CRecordingPrint m_print;
    std::vector<int> m_endCodes;
    std::unique_ptr<CTessixApp> m_pApp;
    QTemporaryDir m_dir;
};

// ---- The frame ----

struct CMenuRow {
    const char* pszMenu;
    std::vector<const char*> items;  // "" for a separator
};

TEST_F(ShellTest, MenuBarHoldsFileAndHelpWithTheirItemsInOrder) {
    const std::vector<CMenuRow> expected = {
        {"&File", {"", "&Print...\tCtrl+P", "", "E&xit"}},
        {"&Help", {"&About Tessix..."}},
    };
    const QList<QAction*> menus = Frame().MenuBar()->actions();
    ASSERT_EQ(menus.size(), static_cast<int>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].pszMenu);
        EXPECT_EQ(menus[static_cast<int>(i)]->text(), QString::fromLatin1(expected[i].pszMenu));
        const QList<QAction*> items = menus[static_cast<int>(i)]->menu()->actions();
        ASSERT_EQ(items.size(), static_cast<int>(expected[i].items.size()));
        for (std::size_t j = 0; j < expected[i].items.size(); ++j) {
            const QAction* pItem = items[static_cast<int>(j)];
            const QString text = QString::fromLatin1(expected[i].items[j]);
            EXPECT_EQ(pItem->isSeparator(), text.isEmpty()) << "item " << j;
            EXPECT_EQ(pItem->text(), text) << "item " << j;
            // The keys are the accelerators' alone, so that no key is claimed twice.
            EXPECT_TRUE(pItem->shortcut().isEmpty()) << "item " << j;
        }
    }
}

struct CMenuCommandCase {
    int nMenu;
    int nItem;
    const char* pszEffect;
    std::function<bool(ShellTest&)> happened;
};

TEST_F(ShellTest, MenuItemsRunPrintExitAndAbout) {
    // Print and Exit are observed directly; About through its modal box.
    std::optional<QString> aboutTitle;
    const std::vector<CMenuCommandCase> cases = {
        {0, 1, "Print",
         [](ShellTest& t) { return t.m_print.m_commands == std::vector<UINT>{ID_FILE_PRINT}; }},
        {0, 3, "Exit", [](ShellTest& t) { return t.m_endCodes == std::vector<int>{0}; }},
        {1, 0, "About", [&](ShellTest&) { return aboutTitle == QStringLiteral("About Tessix"); }},
    };
    for (const CMenuCommandCase& c : cases) {
        SCOPED_TRACE(c.pszEffect);
        QMenu* pMenu = Frame().MenuBar()->actions()[c.nMenu]->menu();
        QAction* pItem = pMenu->actions()[c.nItem];
        Q_EMIT pMenu->aboutToShow();
        EXPECT_TRUE(pItem->isEnabled());
        QTimer::singleShot(0, [&] {
            if (QWidget* pModal = QApplication::activeModalWidget()) {
                aboutTitle = pModal->windowTitle();
                pModal->close();
            }
        });
        pItem->trigger();
        EXPECT_TRUE(c.happened(*this));
    }
}

TEST_F(ShellTest, FrameHasACaptionWithoutButtonsAndNoBars) {
    const Qt::WindowFlags flags = Frame().windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    for (const Qt::WindowType button : {Qt::WindowSystemMenuHint, Qt::WindowMinimizeButtonHint,
                                        Qt::WindowMaximizeButtonHint, Qt::WindowCloseButtonHint}) {
        EXPECT_FALSE(flags.testFlag(button)) << button;
    }
    EXPECT_TRUE(Frame().isMaximized());
    EXPECT_TRUE(Frame().findChildren<QToolBar*>().isEmpty());
    EXPECT_TRUE(Frame().findChildren<QStatusBar*>().isEmpty());
}

TEST_F(ShellTest, SettingsLiveUnderTheAppWizardKey) {
    EXPECT_EQ(QCoreApplication::organizationName(),
              QStringLiteral("Local AppWizard-Generated Applications"));
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Tessix"));
}

TEST_F(ShellTest, CaptionIsTheDocumentsTitleUntilTheViewPaintsItsOwn) {
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("Tessix - Untitled"));
    StartGame();
    EXPECT_EQ(Frame().windowTitle().toStdString(), View().m_strCaption);
    EXPECT_TRUE(Frame().windowTitle().endsWith(QStringLiteral(" -- Version D613")));

    // A new document name no longer reaches the caption.
    const QString file = Path("named.txt");
    WriteFile(file, "x");
    m_dialogs.m_openAnswers = {file};
    Frame().SendCommand(ID_FILE_OPEN);
    EXPECT_EQ(Doc().GetTitle(), QStringLiteral("named.txt"));
    EXPECT_EQ(Frame().windowTitle().toStdString(), View().m_strCaption);
}

// ---- Accelerators ----

struct CAccelCase {
    QKeyCombination keys;
    UINT nCmd;
};

class AcceleratorTest : public ShellTest, public ::testing::WithParamInterface<CAccelCase> {};

TEST_P(AcceleratorTest, KeyReachesItsCommand) {
    StartGame();
    std::vector<UINT> sent;
    for (const auto& entry : Frame().Accelerators()) {
        const UINT nCmd = entry.first.nCmd;
        QObject::connect(entry.second, &QAction::triggered, &Frame(),
                         [&sent, nCmd] { sent.push_back(nCmd); });
    }
    const CAccelCase& c = GetParam();
    QTimer::singleShot(0, [] {
        if (QWidget* pModal = QApplication::activeModalWidget()) {
            pModal->close();
        }
    });
    PressKey(c.keys.key(), c.keys.keyboardModifiers());
    EXPECT_EQ(sent, std::vector<UINT>{c.nCmd});
}

INSTANTIATE_TEST_SUITE_P(AllOfTable128, AcceleratorTest,
                         ::testing::Values(CAccelCase{Qt::CTRL | Qt::Key_N, ID_FILE_NEW},
                                           CAccelCase{Qt::CTRL | Qt::Key_O, ID_FILE_OPEN},
                                           CAccelCase{Qt::CTRL | Qt::Key_S, ID_FILE_SAVE},
                                           CAccelCase{Qt::CTRL | Qt::Key_P, ID_FILE_PRINT},
                                           CAccelCase{Qt::CTRL | Qt::Key_Z, ID_EDIT_UNDO},
                                           CAccelCase{Qt::ALT | Qt::Key_Backspace, ID_EDIT_UNDO},
                                           CAccelCase{Qt::CTRL | Qt::Key_X, ID_EDIT_CUT},
                                           CAccelCase{Qt::SHIFT | Qt::Key_Delete, ID_EDIT_CUT},
                                           CAccelCase{Qt::CTRL | Qt::Key_C, ID_EDIT_COPY},
                                           CAccelCase{Qt::CTRL | Qt::Key_Insert, ID_EDIT_COPY},
                                           CAccelCase{Qt::CTRL | Qt::Key_V, ID_EDIT_PASTE},
                                           CAccelCase{Qt::SHIFT | Qt::Key_Insert, ID_EDIT_PASTE},
                                           CAccelCase{QKeyCombination(Qt::Key_F6), ID_NEXT_PANE},
                                           CAccelCase{Qt::SHIFT | Qt::Key_F6, ID_PREV_PANE}));

TEST_F(ShellTest, AcceleratorTableHasExactlyTheFourteenKeys) {
    EXPECT_EQ(Frame().Accelerators().size(), 14u);
}

TEST_F(ShellTest, CommandsWithoutHandlersDoNothing) {
    StartGame();
    ChooseProblem(1);
    const QImage before = Widget().ClientRaster().Image().copy();
    for (const UINT nCmd :
         {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_NEXT_PANE, ID_PREV_PANE}) {
        SCOPED_TRACE(nCmd);
        EXPECT_FALSE(Frame().IsCommandEnabled(nCmd));
        EXPECT_FALSE(Frame().SendCommand(nCmd));
    }
    EXPECT_EQ(View().m_nProblem, 1);
    EXPECT_EQ(Widget().ClientRaster().Image(), before);
    EXPECT_EQ(m_dialogs.m_nOpens + m_dialogs.m_nSaves, 0);
    EXPECT_TRUE(m_print.m_commands.empty());
    EXPECT_TRUE(m_endCodes.empty());
}

TEST_F(ShellTest, PrintCommandsGoToThePrintSequence) {
    for (const UINT nCmd : {ID_FILE_PRINT, ID_FILE_PRINT_DIRECT, ID_FILE_PRINT_PREVIEW}) {
        EXPECT_TRUE(Frame().IsCommandEnabled(nCmd)) << nCmd;
        EXPECT_TRUE(Frame().SendCommand(nCmd)) << nCmd;
    }
    EXPECT_EQ(m_print.m_commands,
              (std::vector<UINT>{ID_FILE_PRINT, ID_FILE_PRINT_DIRECT, ID_FILE_PRINT_PREVIEW}));
}

// ---- New: the game goes on ----

struct CViewSnapshot {
    int nPhase, nProblem, nScore, nAreaLeft, nAreaRight;
    BOOL bMenuActive, bGameOver, bLayoutDone;
    std::vector<int> plays;
    CRect rectClientInit;
    QImage raster;

    bool operator==(const CViewSnapshot& o) const {
        return nPhase == o.nPhase && nProblem == o.nProblem && nScore == o.nScore &&
               nAreaLeft == o.nAreaLeft && nAreaRight == o.nAreaRight &&
               bMenuActive == o.bMenuActive && bGameOver == o.bGameOver &&
               bLayoutDone == o.bLayoutDone && plays == o.plays &&
               rectClientInit == o.rectClientInit && raster == o.raster;
    }
};

CViewSnapshot Snapshot(CTessixView& view, CViewWidget& widget) {
    return {view.m_nPhase,
            view.m_nProblem,
            view.m_nScore,
            view.m_nAreaLeft,
            view.m_nAreaRight,
            view.m_bMenuActive,
            view.m_bGameOver,
            view.m_bLayoutDone,
            std::vector<int>(std::begin(view.m_nPlays), std::end(view.m_nPlays)),
            view.m_rectClientInit,
            widget.ClientRaster().Image().copy()};
}

class NewDocumentTest : public ShellTest, public ::testing::WithParamInterface<int> {};

TEST_P(NewDocumentTest, CtrlNDuringAProblemRepaintsItUnchanged) {
    StartGame();
    ChooseProblem(GetParam());
    Widget().repaint();
    const CViewSnapshot before = Snapshot(View(), Widget());
    const QString captionBefore = Frame().windowTitle();

    // The repaint carries the time of the paint, so a later clock shows that it ran.
    m_clock.m_nSeconds += 3600;
    PressKey(Qt::Key_N, Qt::ControlModifier);
    Widget().repaint();

    EXPECT_NE(Frame().windowTitle(), captionBefore);
    EXPECT_EQ(Doc().GetTitle(), QStringLiteral("Untitled"));
    const CViewSnapshot after = Snapshot(View(), Widget());
    EXPECT_TRUE(after == before);
    if (!(after == before)) {
        before.raster.save(Path("before.png"));
        after.raster.save(Path("after.png"));
        m_dir.setAutoRemove(false);
        ADD_FAILURE() << "screens kept in " << m_dir.path().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(EachProblem, NewDocumentTest, ::testing::Values(1, 2, 3, 4));

TEST_F(ShellTest, NewForgetsTheDocumentsFileName) {
    const QString file = Path("game.txt");
    WriteFile(file, "kept");
    m_dialogs.m_openAnswers = {file};
    Frame().SendCommand(ID_FILE_OPEN);
    ASSERT_EQ(Doc().GetPathName(), file);
    Frame().SendCommand(ID_FILE_NEW);
    EXPECT_TRUE(Doc().GetPathName().isEmpty());
    EXPECT_EQ(Doc().GetTitle(), QStringLiteral("Untitled"));
    EXPECT_EQ(ReadAll(file), QByteArray("kept"));
}

// ---- Open ----

TEST_F(ShellTest, OpenNamesTheDocumentAfterTheFileAndReadsNothing) {
    const QString file = Path("scores.dat");
    WriteFile(file, "untouched");
    m_dialogs.m_openAnswers = {file};
    StartGame();
    ChooseProblem(2);
    const int nPlays = View().m_nPlays[1];

    PressKey(Qt::Key_O, Qt::ControlModifier);

    EXPECT_EQ(m_dialogs.m_filters, std::vector<QString>{QStringLiteral("All Files (*.*)")});
    EXPECT_EQ(Doc().GetTitle(), QStringLiteral("scores.dat"));
    EXPECT_EQ(ReadAll(file), QByteArray("untouched"));
    EXPECT_EQ(View().m_nProblem, 2);
    EXPECT_EQ(View().m_nPlays[1], nPlays);
    EXPECT_TRUE(m_dialogs.m_errors.empty());
}

struct COpenFailure {
    const char* pszCase;
    const char* pszAnswer;  // relative to the test's folder; "" cancels
    bool bReported;
};

TEST_F(ShellTest, OpenThatCannotGoAheadLeavesTheDocument) {
    const std::vector<COpenFailure> cases = {
        {"cancelled", "", false},
        {"missing file", "missing.txt", true},
        {"a folder", ".", true},
    };
    for (const COpenFailure& c : cases) {
        SCOPED_TRACE(c.pszCase);
        m_dialogs.m_errors.clear();
        m_dialogs.m_openAnswers = {*c.pszAnswer ? Path(c.pszAnswer) : QString()};
        Frame().SendCommand(ID_FILE_OPEN);
        EXPECT_EQ(Doc().GetTitle(), QStringLiteral("Untitled"));
        EXPECT_TRUE(Doc().GetPathName().isEmpty());
        ASSERT_EQ(m_dialogs.m_errors.size(), c.bReported ? 1u : 0u);
        if (c.bReported) {
            EXPECT_TRUE(m_dialogs.m_errors[0].contains(QStringLiteral("Cannot open")))
                << m_dialogs.m_errors[0].toStdString();
        }
    }
}

// ---- Save ----

struct CSaveCase {
    const char* pszCase;
    const char* pszExisting;        // contents of the chosen file beforehand; null: none
    std::vector<EReplace> answers;  // to "replace it?"
    int nDialogs;                   // save dialogs shown
    int nQuestions;                 // replace questions asked
    const char* pszAfter;           // contents afterwards; null: no file
    bool bNamed;                    // the document now carries the file's name
};

class SaveTest : public ShellTest, public ::testing::WithParamInterface<CSaveCase> {};

TEST_P(SaveTest, CtrlSCreatesAnEmptyFileAskingBeforeReplacing) {
    const CSaveCase& c = GetParam();
    const QString file = Path("saved.tsx");
    if (c.pszExisting) {
        WriteFile(file, c.pszExisting);
    }
    m_dialogs.m_saveAnswers = {file, QString()};
    m_dialogs.m_replaceAnswers.assign(c.answers.begin(), c.answers.end());
    StartGame();

    PressKey(Qt::Key_S, Qt::ControlModifier);

    EXPECT_EQ(m_dialogs.m_nSaves, c.nDialogs);
    EXPECT_EQ(static_cast<int>(m_dialogs.m_asked.size()), c.nQuestions);
    EXPECT_EQ(m_dialogs.m_suggested.front(), QStringLiteral("Untitled"));
    if (c.pszAfter) {
        EXPECT_EQ(ReadAll(file), QByteArray(c.pszAfter));
    } else {
        EXPECT_FALSE(QFile::exists(file));
    }
    EXPECT_EQ(Doc().GetTitle(),
              c.bNamed ? QStringLiteral("saved.tsx") : QStringLiteral("Untitled"));
    EXPECT_TRUE(m_dialogs.m_errors.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveTest,
    ::testing::Values(
        CSaveCase{"new file", nullptr, {}, 1, 0, "", true},
        CSaveCase{"existing, replaced", "old contents", {EReplace::Replace}, 1, 1, "", true},
        CSaveCase{"existing, kept, then cancelled",
                  "old contents",
                  {EReplace::Keep},
                  2,
                  1,
                  "old contents",
                  false}),
    [](const ::testing::TestParamInfo<CSaveCase>& testInfo) {
        std::string name;
        for (const char* p = testInfo.param.pszCase; *p; ++p) {
            if (std::isalnum(static_cast<unsigned char>(*p))) {
                name += *p;
            }
        }
        return name;
    });

TEST_F(ShellTest, SaveThatCannotCreateTheFileSaysSoAndChangesNothing) {
    StartGame();
    ChooseProblem(1);
    const CViewSnapshot before = Snapshot(View(), Widget());
    for (const QString& path : {Path("no-such-folder/saved.tsx"), m_dir.path()}) {
        SCOPED_TRACE(path.toStdString());
        m_dialogs.m_errors.clear();
        m_dialogs.m_saveAnswers = {path};
        m_dialogs.m_replaceAnswers = {EReplace::Replace};
        Frame().SendCommand(ID_FILE_SAVE);
        ASSERT_EQ(m_dialogs.m_errors.size(), 1u);
        EXPECT_TRUE(m_dialogs.m_errors[0].contains(QStringLiteral("Cannot save")))
            << m_dialogs.m_errors[0].toStdString();
        EXPECT_EQ(Doc().GetTitle(), QStringLiteral("Untitled"));
    }
    EXPECT_FALSE(QFile::exists(Path("no-such-folder/saved.tsx")));
    EXPECT_TRUE(Snapshot(View(), Widget()) == before);
}

TEST_F(ShellTest, SaveAfterOpenStillAsksBeforeEmptyingTheOpenedFile) {
    const QString file = Path("mine.txt");
    WriteFile(file, "precious");
    m_dialogs.m_openAnswers = {file};
    Frame().SendCommand(ID_FILE_OPEN);
    m_dialogs.m_saveAnswers = {file, QString()};
    m_dialogs.m_replaceAnswers = {EReplace::Keep};
    Frame().SendCommand(ID_FILE_SAVE);
    // Kept: the dialog comes back with the same name, and is cancelled.
    EXPECT_EQ(m_dialogs.m_suggested, (std::vector<QString>{file, file}));
    EXPECT_EQ(m_dialogs.m_asked, std::vector<QString>{file});
    EXPECT_EQ(ReadAll(file), QByteArray("precious"));
}

// ---- Exit ----

TEST_F(ShellTest, ExitAndAltF4EndTheProgramWithoutAQuestion) {
    struct CExitWay {
        const char* pszWay;
        std::function<void(ShellTest&)> act;
    };
    const std::vector<CExitWay> ways = {
        {"File > Exit", [](ShellTest& t) { t.Frame().SendCommand(ID_APP_EXIT); }},
        {"Alt+F4", [](ShellTest& t) { t.PressKey(Qt::Key_F4, Qt::AltModifier); }},
    };
    for (const CExitWay& way : ways) {
        SCOPED_TRACE(way.pszWay);
        m_endCodes.clear();
        Frame().show();
        StartGame();
        ChooseProblem(3);
        way.act(*this);
        EXPECT_EQ(m_endCodes, std::vector<int>{0});
        EXPECT_FALSE(Frame().isVisible());
        EXPECT_EQ(m_dialogs.m_nSaves + m_dialogs.m_nOpens, 0);
    }
}

// ---- About ----

TEST_F(ShellTest, AboutBoxShowsTheVersionTheKeysANoticeAndOk) {
    std::vector<QString> texts;
    QString title;
    bool bIcon = false;
    QString defaultButton;
    QTimer::singleShot(0, [&] {
        QWidget* pBox = QApplication::activeModalWidget();
        if (!pBox) {
            return;
        }
        title = pBox->windowTitle();
        for (const QLabel* pLabel : pBox->findChildren<QLabel*>()) {
            if (!pLabel->pixmap().isNull()) {
                bIcon = true;
            } else {
                texts.push_back(pLabel->text());
            }
        }
        for (const QPushButton* pButton : pBox->findChildren<QPushButton*>()) {
            if (pButton->isDefault()) {
                defaultButton = pButton->text();
            }
        }
        pBox->close();
    });
    m_pApp->OnAppAbout();

    EXPECT_EQ(title, QStringLiteral("About Tessix"));
    EXPECT_TRUE(bIcon);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], QStringLiteral(
                            "Tessix Version D613\nPress F1 for instructions\nPress F2 for scores"));
    EXPECT_FALSE(texts[1].isEmpty());
    EXPECT_FALSE(texts[1].contains(QLatin1Char('\n')));
    EXPECT_EQ(defaultButton, QStringLiteral("OK"));
}

TEST_F(ShellTest, AboutBoxEndsByOkEnterEscOrItsCloseBox) {
    struct CEnding {
        const char* pszWay;
        std::function<void(QWidget*)> act;
    };
    const std::vector<CEnding> endings = {
        {"OK", [](QWidget* pBox) { pBox->findChild<QPushButton*>()->click(); }},
        {"Enter",
         [](QWidget* pBox) {
             QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
             QApplication::sendEvent(pBox, &key);
         }},
        {"Esc",
         [](QWidget* pBox) {
             QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QApplication::sendEvent(pBox, &key);
         }},
        {"close box", [](QWidget* pBox) { pBox->close(); }},
    };
    for (const CEnding& ending : endings) {
        SCOPED_TRACE(ending.pszWay);
        bool bActed = false;
        bool bStillOpen = false;
        QTimer::singleShot(0, [&] {
            QWidget* pBox = QApplication::activeModalWidget();
            if (!pBox) {
                return;
            }
            bActed = true;
            ending.act(pBox);
            bStillOpen = pBox->isVisible();
            // Whatever happened, the test must not hang in the box.
            pBox->close();
        });
        m_pApp->OnAppAbout();
        EXPECT_TRUE(bActed);
        EXPECT_FALSE(bStillOpen);
    }
}

// ---- The window between the window system and the view ----

void SendClick(QWidget& widget, QEvent::Type eType, const CPoint& point, Qt::MouseButton button) {
    const QPointF pos(point.x, point.y);
    QMouseEvent event(eType, pos, widget.mapToGlobal(pos), button, button, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

CPoint MiddleOf(const CRect& rc) {
    return CPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

// Pixels of the two verdict colours in the message band of the window's raster.
int VerdictPixels(CViewWidget& widget, const CRect& band) {
    return CountColorIn(widget.ClientRaster(), band, kRightColor) +
           CountColorIn(widget.ClientRaster(), band, kWrongColor);
}

TEST_F(ShellTest, SecondPressOfADoubleClickReachesNoHandler) {
    StartGame();
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        SendClick(Widget(), QEvent::MouseButtonDblClick, MiddleOf(View().m_rectMenuItem[2]),
                  button);
        EXPECT_EQ(View().m_nProblem, 0) << "button " << button;
    }
    SendClick(Widget(), QEvent::MouseButtonPress, MiddleOf(View().m_rectMenuItem[0]),
              Qt::LeftButton);
    ASSERT_EQ(View().m_nProblem, 1);
    SendClick(Widget(), QEvent::MouseButtonDblClick, View().m_ptRight, Qt::RightButton);
    EXPECT_EQ(View().m_bSwapRight, FALSE) << "a double right-click swapped a colour";
}

TEST_F(ShellTest, DuringTheVerdictsSoundTheWindowShowsItAndKeepsInputForLater) {
    StartGame();
    ChooseProblem(1);
    int nShownDuringSound = -1;
    int nProblemDuringSound = -1;
    m_sound.m_onPlay = [&] {
        // A click on entry 2 and an expose arrive while the sound plays.
        SendClick(Widget(), QEvent::MouseButtonPress, MiddleOf(View().m_rectMenuSlot[1]),
                  Qt::LeftButton);
        Widget().Invalidate();
        Widget().repaint();
        nShownDuringSound = VerdictPixels(Widget(), View().m_rectMessage);
        nProblemDuringSound = View().m_nProblem;
    };
    SendClick(Widget(), QEvent::MouseButtonPress, View().m_ptLeft, Qt::LeftButton);
    EXPECT_GT(nShownDuringSound, 0) << "the expose repainted the screen instead of showing it";
    EXPECT_EQ(nProblemDuringSound, 1) << "the click was handled during the sound";
    EXPECT_EQ(View().m_nProblem, 2) << "the click made during the sound chooses entry 2 afterwards";
    EXPECT_EQ(View().m_nPlays[1], 1);
}

// Forwards what the window sends to the view, recording the order of the input.
class COrderSpy final : public IHostedView {
public:
    explicit COrderSpy(IHostedView& view) : m_view(view) {}
    void OnDraw(CDC* pDC) override { m_view.OnDraw(pDC); }
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override {
        m_order.push_back("key " + std::to_string(nChar));
        m_view.OnKeyDown(nChar, nRepCnt, nFlags);
    }
    void OnLButtonDown(UINT nFlags, CPoint point) override {
        m_order.push_back("click");
        m_view.OnLButtonDown(nFlags, point);
    }
    void OnRButtonDown(UINT nFlags, CPoint point) override { m_view.OnRButtonDown(nFlags, point); }
    IHostedView& m_view;
    std::vector<std::string> m_order;
};

// The pixels of the verdict colours that the window shows on the screen now (the
// offscreen platform's screen is the window's backing store), in the message band.
int VerdictPixelsOnScreen(CMainFrame& frame, CViewWidget& widget, const CRect& band) {
    const QImage screen = frame.screen()->grabWindow(frame.winId()).toImage();
    const QPoint at = widget.mapTo(&frame, QPoint(band.left, band.top));
    int nPixels = 0;
    for (int y = at.y(); y < at.y() + band.Height() && y < screen.height(); ++y) {
        for (int x = at.x(); x < at.x() + band.Width() && x < screen.width(); ++x) {
            const QRgb px = screen.pixel(x, y);
            const COLORREF clr = RGB(qRed(px), qGreen(px), qBlue(px));
            nPixels += clr == kRightColor || clr == kWrongColor;
        }
    }
    return nPixels;
}

TEST_F(ShellTest, TheVerdictIsOnTheScreenBeforeItsSoundStarts) {
    StartGame();
    ChooseProblem(1);
    int nOnScreen = -1;
    m_sound.m_onPlay = [&] {
        nOnScreen = VerdictPixelsOnScreen(Frame(), Widget(), View().m_rectMessage);
    };
    SendClick(Widget(), QEvent::MouseButtonPress, View().m_ptLeft, Qt::LeftButton);
    EXPECT_GT(nOnScreen, 0);
}

TEST_F(ShellTest, DuringThePauseExposesShowTheRasterAndInputAndCommandsWaitInOrder) {
    StartGame();
    COrderSpy spy(View());
    Widget().SetView(&spy);
    ChooseProblem(2);
    bool bSent = false;
    int nShownInPause = -1;
    std::size_t nPrintsInPause = 0;
    m_clock.m_onSleep = [&] {
        if (bSent || View().m_nProblem != 0) {
            return;  // the synchronous sound is over and the pause has begun
        }
        bSent = true;
        SendClick(Widget(), QEvent::MouseButtonPress, MiddleOf(View().m_rectMenuItem[3]),
                  Qt::LeftButton);
        PressKey(Qt::Key_Space, Qt::NoModifier);
        PressKey(Qt::Key_P, Qt::ControlModifier);
        Widget().Invalidate();
        Widget().repaint();
        nShownInPause = VerdictPixelsOnScreen(Frame(), Widget(), View().m_rectMessage);
        nPrintsInPause = m_print.m_commands.size();
    };
    SendClick(Widget(), QEvent::MouseButtonPress, View().m_ptRight, Qt::LeftButton);
    m_clock.m_onSleep = nullptr;
    ASSERT_TRUE(bSent);
    EXPECT_GT(nShownInPause, 0) << "a repaint in the pause ran the view instead of showing it";
    EXPECT_EQ(nPrintsInPause, 0u) << "Ctrl+P ran during the pause";
    EXPECT_EQ(m_print.m_commands, std::vector<UINT>{ID_FILE_PRINT});
    const std::vector<std::string> expected = {"click", "click", "key " + std::to_string(VK_SPACE)};
    EXPECT_EQ(spy.m_order, expected) << "the answer, then the entry and the key in their order";
    EXPECT_EQ(View().m_nProblem, 4);
    Widget().SetView(&View());
}

TEST_F(ShellTest, HomeAndAClickInTheLastPauseStartTheNextGameLaidOutAndChooseTheProblem) {
    StartGame();
    for (int& nPlays : View().m_nPlays) {
        nPlays = kPresentations;
    }
    View().m_nPlays[0] = kPresentations - 1;
    ChooseProblem(1);
    const CPoint entry1 = MiddleOf(View().m_rectMenuSlot[0]);
    m_clock.m_onSleep = [&] {
        m_clock.m_onSleep = nullptr;
        PressKey(Qt::Key_Home, Qt::NoModifier);
        SendClick(Widget(), QEvent::MouseButtonPress, entry1, Qt::LeftButton);
    };
    SendClick(Widget(), QEvent::MouseButtonPress, View().m_ptLeft, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(View().m_nProblem, 1);
    EXPECT_EQ(View().m_nPhase, PHASE_SHOWN) << "a repaint drew the menu over the problem";
    EXPECT_TRUE(View().m_bLayoutDone) << "the click came before the new game's layout";
    EXPECT_EQ(View().m_nPlays[0], 1);
}

TEST_F(ShellTest, ClicksReachTheSurfacePixelUnderThemAtOneToOneAndScaled) {
    StartGame();
    const CRect surface = Widget().GetClientRect();
    const CRect entry = View().m_rectMenuItem[2];
    for (const QSize window : {QSize(surface.Width() + 200, surface.Height() + 100),
                               QSize(surface.Width() / 2, surface.Height() / 2)}) {
        Widget().resize(window);
        const CPresentation shown(CSize(surface.Width(), surface.Height()),
                                  CSize(window.width(), window.height()));
        const CRect rc = shown.WindowRectOf(entry);
        SendClick(Widget(), QEvent::MouseButtonPress, CPoint(0, 0), Qt::LeftButton);
        EXPECT_EQ(View().m_nProblem, 0) << "a click on the background reached the view";
        SendClick(Widget(), QEvent::MouseButtonPress, MiddleOf(rc), Qt::LeftButton);
        EXPECT_EQ(View().m_nProblem, 3) << window.width() << "x" << window.height();
        EXPECT_EQ(Widget().GetClientRect(), surface) << "the view saw the window's size";
        View().m_nProblem = 0;
        View().DrawMenu();
    }
}

TEST_F(ShellTest, ANewGameIsLaidOutWhileItsMenuIsOnScreen) {
    StartGame();
    for (int& nPlays : View().m_nPlays) {
        nPlays = 5;
    }
    View().DrawMenu();
    ASSERT_TRUE(View().m_bGameOver);
    PressKey(Qt::Key_Home, Qt::NoModifier);
    QApplication::processEvents();
    ChooseProblem(1);
    // Closing a box over the problem makes the window system repaint the window.
    Widget().Invalidate();
    Widget().repaint();
    EXPECT_EQ(View().m_nProblem, 1);
    EXPECT_EQ(View().m_nPhase, PHASE_SHOWN);
}

}  // namespace
