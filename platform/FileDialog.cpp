// SPDX-License-Identifier: MIT
#include "platform/FileDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "platform/FileSystem.h"

namespace {

const QString kAppTitle = QStringLiteral("Tessix");

}  // namespace

QString QtFileFilter(const QString& strFilter) {
    QString filter = strFilter;
    filter.replace(QStringLiteral("*.*"), QStringLiteral("*"));
    return filter;
}

QString CQtFileDialogs::GetOpenFileName(QWidget* pParent, const QString& strFilter) {
    return ResolveShownPath(QFileDialog::getOpenFileName(pParent, QStringLiteral("Open"), QString(),
                                                         QtFileFilter(strFilter)));
}

QString CQtFileDialogs::GetSaveFileName(QWidget* pParent, const QString& strSuggested,
                                        const QString& strFilter) {
    return ResolveShownPath(QFileDialog::getSaveFileName(
        pParent, QStringLiteral("Save As"), DisplayFileName(strSuggested), QtFileFilter(strFilter),
        nullptr, QFileDialog::DontConfirmOverwrite));
}

EReplace CQtFileDialogs::AskReplace(QWidget* pParent, const QString& strPath) {
    const QString text = QStringLiteral("%1 already exists.\nDo you want to replace it?")
                             .arg(DisplayFileName(QFileInfo(strPath).fileName()));
    const QMessageBox::StandardButton answer =
        QMessageBox::warning(pParent, QStringLiteral("Save As"), text,
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes ? EReplace::Replace : EReplace::Keep;
}

void CQtFileDialogs::ReportError(QWidget* pParent, const QString& strText) {
    QMessageBox::warning(pParent, kAppTitle, strText);
}
