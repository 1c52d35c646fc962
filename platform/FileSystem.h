// SPDX-License-Identifier: MIT
// Files as the file system keeps them. A file name is a string of bytes that need not be
// valid UTF-8; Qt's own decoding turns such bytes into U+FFFD and so loses the file. Here
// a name keeps its bytes: valid UTF-8 decodes as QFile::decodeName does, and every other
// byte b becomes the lone surrogate U+DC00 + b, which encoding turns back into b. Every
// function below takes names in that form and reaches the file through its bytes.
// Opening never waits: a pipe or a device is refused before anything blocks on it.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

class QFile;

QString DecodeFileName(const QByteArray& bytes);
QByteArray EncodeFileName(const QString& strName);
// The name as it is shown to a person: each kept byte reads as U+FFFD.
QString DisplayFileName(const QString& strName);

enum class EFileKind { Missing, Regular, Folder, Other };
// What strPath names, following symbolic links.
EFileKind FileKindOf(const QString& strPath);

enum class EOpenFor {
    Read,      // an existing file, as it is
    Truncate,  // created when missing, emptied when present
};

// Opens strPath into file (which must not be open) when it is a regular file. A folder, a
// pipe, a device or a socket is refused without waiting on it. FALSE with the reason in
// *pError (a phrase such as "it is not a regular file") when it cannot be opened.
bool OpenRegularFile(QFile& file, const QString& strPath, EOpenFor eOpen, QString* pError);

// A path chosen in Qt's file dialog, which shows every byte it cannot decode as U+FFFD:
// each part of the path that does not exist as written is matched against the entries
// of its folder as the dialog shows them, and a single match gives back the entry's
// real name. A path that exists, or matches nothing, comes back as it is.
QString ResolveShownPath(const QString& strShown);

// A file written so that a failed or short write is never taken for success and a file
// that was there before is never left half-written. A regular file (or a new one) is
// written to a temporary file in the same folder and renamed into place by Commit; a
// device or a pipe that exists is written to directly. Without Commit nothing replaces
// the file and the temporary file is removed.
class CSafeOutputFile final : public QIODevice {
public:
    explicit CSafeOutputFile(QString strPath);
    ~CSafeOutputFile() override;
    CSafeOutputFile(const CSafeOutputFile&) = delete;
    CSafeOutputFile& operator=(const CSafeOutputFile&) = delete;

    // Opens for writing; FALSE with the reason in *pError.
    bool Begin(QString* pError);
    // Writes out what is buffered, makes it durable and puts the file in place; FALSE with
    // the reason in *pError if any write failed or the file cannot be put in place.
    bool Commit(QString* pError);

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* /*pData*/, qint64 /*nMax*/) override { return -1; }
    qint64 writeData(const char* pData, qint64 nLength) override;

private:
    bool WriteOut();
    void Discard();

    QString m_strPath;
    QByteArray m_target;     // the bytes of the file's path, symbolic links resolved
    QByteArray m_temporary;  // the temporary file's path; empty when written directly
    QByteArray m_buffer;
    int m_fd = -1;
    int m_nErrno = 0;  // the first failure of a write, 0 while all went well
};
