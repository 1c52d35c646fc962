// SPDX-License-Identifier: MIT
// The framework's document: a name (the file it came from or was saved to, or
// "Untitled"), new/open/save, and the Save command with its dialog. What a document
// reads and writes is its Serialize.
#pragma once

#include <QString>
#include <functional>
#include <utility>

#include "platform/FrameWnd.h"
#include "platform/Types.h"

class IFileDialogs;
class QIODevice;
class QWidget;

enum class EArchive { Load, Store };

class CDocument : public CCmdTarget {
public:
    CDocument() = default;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;
    ~CDocument() override = default;

    // Empties the document: no file, title "Untitled".
    virtual BOOL OnNewDocument();
    // Opens strPath for reading and loads it; on failure the document is unchanged and
    // *pError says why. Only a regular file is opened: a pipe or a device is refused
    // without waiting on it.
    virtual BOOL OnOpenDocument(const QString& strPath, QString* pError);
    // Creates (or empties) strPath and stores the document in it; on failure the document
    // is unchanged and *pError says why. Only a regular file is emptied.
    virtual BOOL OnSaveDocument(const QString& strPath, QString* pError);
    virtual void DeleteContents() {}
    virtual void Serialize(QIODevice& file, EArchive eArchive) = 0;

    const QString& GetTitle() const { return m_strTitle; }
    const QString& GetPathName() const { return m_strPathName; }
    // The document now belongs to strPath; its title becomes the file's name.
    void SetPathName(const QString& strPath);

    // Called whenever the title changes.
    void SetTitleSink(std::function<void()> sink) { m_titleSink = std::move(sink); }

    // The Save command: the save dialog (every time, so that no file is emptied unasked),
    // the question before replacing an existing file, then the save; a failure is
    // reported and changes nothing. TRUE when saved.
    BOOL DoSave(IFileDialogs& dialogs, QWidget* pParent);

    // Routes Save to DoSave once SetSaveUi has been called.
    BOOL OnCmdMsg(UINT nID, ECmd eCmd) override;
    void SetSaveUi(IFileDialogs* pDialogs, QWidget* pParent) {
        m_pDialogs = pDialogs;
        m_pParent = pParent;
    }

    // The filter of the document's file dialogs.
    static const char* const kFileFilter;

private:
    void SetTitle(const QString& strTitle);

    QString m_strTitle = QStringLiteral("Untitled");
    QString m_strPathName;
    std::function<void()> m_titleSink;
    IFileDialogs* m_pDialogs = nullptr;
    QWidget* m_pParent = nullptr;
};
