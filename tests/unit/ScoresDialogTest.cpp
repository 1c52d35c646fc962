// SPDX-License-Identifier: MIT
// The past-scores dialog as a Qt window on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFontInfo>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <memory>
#include <vector>

#include "platform/DialogQt.h"
#include "platform/ViewWidget.h"
#include "scores/ScoresDlg.h"
#include "support/Probes.h"

namespace {

using Lines = std::vector<CString>;

Lines LinesOf(const QListWidget& list) {
    Lines lines;
    for (int i = 0; i < list.count(); ++i) {
        lines.push_back(list.item(i)->text().toStdString());
    }
    return lines;
}

void SendKey(QWidget* pWidget, int nKey) {
    QKeyEvent press(QEvent::KeyPress, nKey, Qt::NoModifier);
    QCoreApplication::sendEvent(pWidget, &press);
    QKeyEvent release(QEvent::KeyRelease, nKey, Qt::NoModifier);
    QCoreApplication::sendEvent(pWidget, &release);
}

void SendClick(QWidget* pWidget, QPoint pt) {
    const QPointF local(pt);
    const QPointF global(pWidget->mapToGlobal(pt));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(pWidget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(pWidget, &release);
}

// The dialog opened without blocking, as DoModal shows it.
class ScoresDialogTest : public ::testing::Test {
protected:
    void SetUp() override { g_dlgScores.ClearHistory(); }

    void Open() {
        m_pDialog = std::make_unique<CQtDialog>(g_dlgScores, nullptr);
        m_pDialog->Init();
        CQtDialogProbe::Dialog(*m_pDialog).show();
        QCoreApplication::processEvents();
    }
    QDialog& Dialog() { return CQtDialogProbe::Dialog(*m_pDialog); }
    QListWidget& List() {
        return *qobject_cast<QListWidget*>(
            CQtDialogProbe::Control(*m_pDialog, CScoresDlg::IDC_SCORE_LIST));
    }
    QPushButton& Exit() {
        return *qobject_cast<QPushButton*>(CQtDialogProbe::Control(*m_pDialog, IDOK));
    }

    std::unique_ptr<CQtDialog> m_pDialog;
};

TEST_F(ScoresDialogTest, HasItsTitleAndNoCaptionButtons) {
    Open();
    EXPECT_EQ(Dialog().windowTitle(),
              QStringLiteral("List of Past Scores (Newest is at the Top)."));
    const Qt::WindowFlags flags = Dialog().windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    for (Qt::WindowType button :
         {Qt::WindowSystemMenuHint, Qt::WindowCloseButtonHint, Qt::WindowMinimizeButtonHint,
          Qt::WindowMaximizeButtonHint, Qt::WindowContextHelpButtonHint}) {
        EXPECT_FALSE(flags.testFlag(button)) << std::hex << button;
    }
}

TEST_F(ScoresDialogTest, HasAFixedSizeWithTheListAboveTheExitButton) {
    Open();
    EXPECT_EQ(Dialog().minimumSize(), Dialog().maximumSize());
    const QRect list = List().geometry();
    const QRect exit = Exit().geometry();
    EXPECT_EQ(list.left(), exit.left());
    EXPECT_EQ(list.width(), exit.width());
    EXPECT_LT(list.bottom(), exit.top());
    EXPECT_TRUE(QRect(QPoint(0, 0), Dialog().size()).contains(list.united(exit)));
    EXPECT_GT(list.height(), 10 * exit.height());
}

TEST_F(ScoresDialogTest, ShowsTheScoresInAFixedPitchFont) {
    for (int nScore : {350, 4750, 0}) {
        g_dlgScores.RecordScore(nScore);
    }
    Open();
    EXPECT_EQ(LinesOf(List()), (Lines{"      0", "   4750", "    350", "   ----"}));
    EXPECT_TRUE(QFontInfo(List().font()).fixedPitch());
    EXPECT_FALSE(List().isSortingEnabled());
}

TEST_F(ScoresDialogTest, EmptyHistoryShowsOnlyTheClosingLine) {
    Open();
    EXPECT_EQ(LinesOf(List()), (Lines{"   ----"}));
}

TEST_F(ScoresDialogTest, NoLineCanBeSelected) {
    for (int nScore : {100, 200, 300}) {
        g_dlgScores.RecordScore(nScore);
    }
    Open();
    EXPECT_EQ(List().selectionMode(), QAbstractItemView::NoSelection);
    EXPECT_EQ(List().focusPolicy(), Qt::NoFocus);
    SendClick(List().viewport(), List().visualItemRect(List().item(1)).center());
    List().setCurrentRow(2);
    List().item(0)->setSelected(true);
    EXPECT_TRUE(List().selectedItems().isEmpty());
}

TEST_F(ScoresDialogTest, ExitIsTheDefaultButtonAndHasTheFocus) {
    Open();
    EXPECT_EQ(Exit().text(), QStringLiteral("Exit"));
    EXPECT_TRUE(Exit().isDefault());
    EXPECT_EQ(Dialog().focusWidget(), &Exit());
}

struct CCloseCase {
    const char* pszName;
    void (*pfnClose)(QPushButton& exit);
    int nResult;
};

class ScoresDialogCloseTest : public ScoresDialogTest,
                              public ::testing::WithParamInterface<CCloseCase> {};

TEST_P(ScoresDialogCloseTest, Closes) {
    Open();
    ASSERT_TRUE(Dialog().isVisible());
    GetParam().pfnClose(Exit());
    EXPECT_FALSE(Dialog().isVisible());
    EXPECT_EQ(m_pDialog->Result(), GetParam().nResult);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ScoresDialogCloseTest,
    ::testing::Values(
        CCloseCase{"EscOnTheFocusedButton",
                   [](QPushButton& exit) { SendKey(&exit, Qt::Key_Escape); }, IDCANCEL},
        CCloseCase{"ClickOnExit", [](QPushButton& exit) { exit.click(); }, IDOK},
        CCloseCase{"EnterOnExit", [](QPushButton& exit) { SendKey(&exit, Qt::Key_Return); }, IDOK}),
    [](const ::testing::TestParamInfo<CCloseCase>& testInfo) { return testInfo.param.pszName; });

// The window host runs the dialog modally over the game window; Esc ends the run.
TEST_F(ScoresDialogTest, WindowHostShowsTheDialogModallyUntilEsc) {
    g_dlgScores.RecordScore(4750);
    CViewWidget window;
    QString title;
    Lines lines;
    QWidget* pParent = nullptr;
    QTimer::singleShot(0, [&] {
        QWidget* pModal = QApplication::activeModalWidget();
        if (!pModal) {
            for (QWidget* pTop : QApplication::topLevelWidgets()) {
                if (qobject_cast<QDialog*>(pTop) && pTop->isVisible()) {
                    pModal = pTop;
                }
            }
        }
        if (!pModal) {
            ADD_FAILURE() << "no dialog is shown";
            return;
        }
        title = pModal->windowTitle();
        pParent = pModal->parentWidget();
        if (auto* pList = pModal->findChild<QListWidget*>()) {
            lines = LinesOf(*pList);
        }
        SendKey(pModal->focusWidget() ? pModal->focusWidget() : pModal, Qt::Key_Escape);
        if (pModal->isVisible()) {
            qobject_cast<QDialog*>(pModal)->reject();
        }
    });
    EXPECT_EQ(window.DoModal(g_dlgScores), IDCANCEL);
    EXPECT_EQ(title, QStringLiteral("List of Past Scores (Newest is at the Top)."));
    EXPECT_EQ(lines, (Lines{"   4750", "   ----"}));
    EXPECT_EQ(pParent, &window);
}

}  // namespace
