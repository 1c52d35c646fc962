// SPDX-License-Identifier: MIT
#include "platform/Document.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/FileDialog.h"
#include "platform/FileSystem.h"

const char* const CDocument::kFileFilter = "All Files (*.*)";

namespace {

QString FileError(const QString& strWhat, const QString& strPath, const QString& strReason) {
    return QStringLiteral("%1 \"%2\": %3.")
        .arg(strWhat, DisplayFileName(QDir::toNativeSeparators(strPath)), strReason);
}

}  // namespace

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.clear();
    SetTitle(QStringLiteral("Untitled"));
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const QString& strPath, QString* pError) {
    QFile file;
    QString reason;
    if (!OpenRegularFile(file, strPath, EOpenFor::Read, &reason)) {
        *pError = FileError(QStringLiteral("Cannot open"), strPath, reason);
        return FALSE;
    }
    DeleteContents();
    Serialize(file, EArchive::Load);
    SetPathName(strPath);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(const QString& strPath, QString* pError) {
    QFile file;
    QString reason;
    if (!OpenRegularFile(file, strPath, EOpenFor::Truncate, &reason)) {
        *pError = FileError(QStringLiteral("Cannot save to"), strPath, reason);
        return FALSE;
    }
    Serialize(file, EArchive::Store);
    if (!file.flush()) {
        *pError = FileError(QStringLiteral("Cannot save to"), strPath, file.errorString());
        return FALSE;
    }
    SetPathName(strPath);
    return TRUE;
}

void CDocument::SetPathName(const QString& strPath) {
    m_strPathName = strPath;
    SetTitle(QFileInfo(strPath).fileName());
}

void CDocument::SetTitle(const QString& strTitle) {
    m_strTitle = strTitle;
    if (m_titleSink) {
        m_titleSink();
    }
}

BOOL CDocument::DoSave(IFileDialogs& dialogs, QWidget* pParent) {
    const QString filter = QString::fromLatin1(kFileFilter);
    QString suggested = m_strPathName.isEmpty() ? m_strTitle : m_strPathName;
    for (;;) {
        const QString path = dialogs.GetSaveFileName(pParent, suggested, filter);
        if (path.isEmpty()) {
            return FALSE;
        }
        if (FileKindOf(path) != EFileKind::Missing &&
            dialogs.AskReplace(pParent, path) == EReplace::Keep) {
            // As the save dialog does: back to choosing a name.
            suggested = path;
            continue;
        }
        QString error;
        if (!OnSaveDocument(path, &error)) {
            dialogs.ReportError(pParent, error);
            return FALSE;
        }
        return TRUE;
    }
}

BOOL CDocument::OnCmdMsg(UINT nID, ECmd eCmd) {
    if (nID != ID_FILE_SAVE || !m_pDialogs) {
        return FALSE;
    }
    if (eCmd == ECmd::Execute) {
        DoSave(*m_pDialogs, m_pParent);
    }
    return TRUE;
}
