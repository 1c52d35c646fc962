// SPDX-License-Identifier: MIT
// The file dialogs and questions of the document commands, behind an interface so that
// a test answers them. Filters are written as a desktop file dialog takes them
// ("All Files (*.*)"); "*.*" means every file.
#pragma once

#include <QString>

class QWidget;

enum class EReplace { Replace, Keep };

class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;
    // An existing file to open; empty when cancelled.
    virtual QString GetOpenFileName(QWidget* pParent, const QString& strFilter) = 0;
    // The file to save to, starting from strSuggested; empty when cancelled. Asks nothing
    // about an existing file.
    virtual QString GetSaveFileName(QWidget* pParent, const QString& strSuggested,
                                    const QString& strFilter) = 0;
    // Whether an existing file may be replaced.
    virtual EReplace AskReplace(QWidget* pParent, const QString& strPath) = 0;
    // A failure the user must hear about.
    virtual void ReportError(QWidget* pParent, const QString& strText) = 0;
};

// Qt's file dialogs and message boxes. The names they return keep the bytes of the file
// chosen (ResolveShownPath), even where the dialog could only show them as U+FFFD.
class CQtFileDialogs final : public IFileDialogs {
public:
    QString GetOpenFileName(QWidget* pParent, const QString& strFilter) override;
    QString GetSaveFileName(QWidget* pParent, const QString& strSuggested,
                            const QString& strFilter) override;
    EReplace AskReplace(QWidget* pParent, const QString& strPath) override;
    void ReportError(QWidget* pParent, const QString& strText) override;
};

// A filter as Qt's file dialog matches it: "*.*" becomes "*", which matches names
// without a dot as well.
QString QtFileFilter(const QString& strFilter);
