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
struct stat;

QString DecodeFileName(const QByteArray& bytes);
QByteArray EncodeFileName(const QString& strName);
// The name as it is shown to a person: each kept byte reads as U+FFFD.
QString DisplayFileName(const QString& strName);

enum class EFileKind { Missing, Regular, Folder, Other };
// What strPath names, following symbolic links.
EFileKind FileKindOf(const QString& strPath);

// Whether strPath names a character or block device that opens for reading at once
// (/dev/null does; nothing is read from it).
bool OpensAsDevice(const QString& strPath);

enum class EOpenFor {
    Read,      // an existing file, as it is
    Truncate,  // created when missing, emptied when present
};

// Opens strPath into file (which must not be open) when it is a regular file. A folder, a
// pipe, a device or a socket is refused without waiting on it; for Truncate, so is a
// symbolic link planted by another user in a shared folder. FALSE with the reason in
// *pError (a phrase such as "it is not a regular file") when it cannot be opened.
bool OpenRegularFile(QFile& file, const QString& strPath, EOpenFor eOpen, QString* pError);

// A path chosen in Qt's file dialog, which shows every byte it cannot decode as U+FFFD:
// each part of the path that does not exist as written is matched against the entries
// of its folder as the dialog shows them, and a single match gives back the entry's
// real name. A path that exists, or matches nothing, comes back as it is.
QString ResolveShownPath(const QString& strShown);

// Text shown on a terminal or in a message: every control character (C0, DEL and C1)
// reads as \xHH, so that a name or an argument cannot move the cursor or send an escape
// sequence. Everything else is kept.
QString EscapeControls(const QString& strText);

// A file descriptor owned by one object, closed when it goes.
class CUniqueFd final {
public:
    CUniqueFd() = default;
    explicit CUniqueFd(int fd) : m_fd(fd) {}
    ~CUniqueFd() { Reset(); }
    CUniqueFd(const CUniqueFd&) = delete;
    CUniqueFd& operator=(const CUniqueFd&) = delete;

    int Get() const { return m_fd; }
    bool IsOpen() const { return m_fd >= 0; }
    // Closes the one held, if any, and holds fd.
    void Reset(int fd = -1);
    // Gives the descriptor up without closing it.
    int Release();
    // Closes it; 0, or the errno of a close that reported a failure.
    int Close();

private:
    int m_fd = -1;
};

// A file written so that a failed or short write is never taken for success, a file
// that was there before is never left half-written, and nothing is left behind by a
// process that dies. A regular file (or a new one) is written to an unnamed file in the
// same folder, made durable, then linked into place by Commit with the old file's mode;
// where the file system has no unnamed files, a hidden temporary file with a short name
// is renamed into place instead. A device or a pipe that exists is written to directly,
// once it opens without waiting: a pipe that no process reads is refused. A symbolic link
// planted by another user in a shared folder is never followed. Without Commit nothing
// replaces the file and no temporary file stays.
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
    enum class ETemporary {
        None,     // written directly to a device or a pipe
        Unnamed,  // an unnamed file in the target's folder, linked into place
        Named,    // a hidden file beside the target, renamed into place
    };
    bool OpenDirect(bool bPipe, QString* pError);
    bool OpenTemporary(const struct stat* pOld, QString* pError);
    // Gives the written file the target's name; 0 or the errno of the failure.
    int PutInPlace();
    int LinkUnderTemporaryName();
    bool WriteOut();
    void Discard();

    QString m_strPath;
    QByteArray m_target;     // the bytes of the file's path, symbolic links resolved
    QByteArray m_folder;     // the target's folder, ending in '/'
    QByteArray m_temporary;  // a temporary name in m_folder while one exists, else empty
    QByteArray m_buffer;
    CUniqueFd m_fd;
    ETemporary m_eTemporary = ETemporary::None;
    bool m_bReplacing = false;  // a file of the target's name existed at Begin
    unsigned m_nOldMode = 0;    // its permission bits, which the new file takes
    int m_nErrno = 0;           // the first failure of a write, 0 while all went well
};
