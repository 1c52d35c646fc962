// SPDX-License-Identifier: MIT
#include "platform/AppendFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>

#include "platform/FileSystem.h"

namespace {

QString ErrnoText(int nError) {
    return QString::fromLocal8Bit(std::strerror(nError));
}

// Folders a state file needs are private to the user.
bool MakeFolders(const QString& strFolder, QString* pError) {
    const QByteArray path = EncodeFileName(strFolder);
    struct stat st = {};
    if (::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode)) {
        return true;
    }
    const qsizetype nSlash = strFolder.lastIndexOf(QLatin1Char('/'));
    if (nSlash > 0 && !MakeFolders(strFolder.left(nSlash), pError)) {
        return false;
    }
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
        *pError = QStringLiteral("cannot create the folder '%1': %2")
                      .arg(DisplayFileName(strFolder), ErrnoText(errno));
        return false;
    }
    return true;
}

// What must go before the new lines: the header into an empty file, a line feed after a
// last line cut short. FALSE with *pError when the file's end cannot be read.
bool Prefix(int fd, const struct stat& st, const CAppendLines& append, QByteArray* pPrefix,
            QString* pError) {
    if (!S_ISREG(st.st_mode)) {
        return true;
    }
    if (st.st_size == 0) {
        *pPrefix = append.header;
        return true;
    }
    char cLast = '\n';
    if (::pread(fd, &cLast, 1, st.st_size - 1) != 1) {
        *pError = ErrnoText(errno);
        return false;
    }
    if (cLast != '\n') {
        *pPrefix = QByteArrayLiteral("\n");
    }
    return true;
}

// One write of everything, made durable. A write that fails or stops short (a full
// disk) and a failed flush are taken back, so no partial line stays.
bool WriteWhole(int fd, const struct stat& st, const QByteArray& bytes, QString* pError) {
    const bool bRegular = S_ISREG(st.st_mode);
    const ssize_t nWritten = ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size()));
    int nError = nWritten < 0 ? errno : ENOSPC;
    if (nWritten == static_cast<ssize_t>(bytes.size())) {
        if (!bRegular || ::fdatasync(fd) == 0) {
            return true;
        }
        nError = errno;
    }
    if (bRegular && nWritten > 0 && ::ftruncate(fd, st.st_size) != 0) {
        nError = errno;
    }
    *pError = ErrnoText(nError);
    return false;
}

}  // namespace

QString XdgStateHome() {
    const QString strState = qEnvironmentVariable("XDG_STATE_HOME");
    if (strState.startsWith(QLatin1Char('/'))) {
        return strState;
    }
    return QDir::homePath() + QStringLiteral("/.local/state");
}

bool AppendLines(const QString& strPath, const CAppendLines& append, QString* pError) {
    const qsizetype nSlash = strPath.lastIndexOf(QLatin1Char('/'));
    if (nSlash > 0 && !MakeFolders(strPath.left(nSlash), pError)) {
        return false;
    }
    const QByteArray path = EncodeFileName(strPath);
    // Non-blocking, so that a pipe without a reader cannot hold the game.
    const CUniqueFd fd(::open(
        path.constData(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644));
    if (!fd.IsOpen()) {
        *pError = ErrnoText(errno);
        return false;
    }
    // Held until the descriptor closes: another player's append cannot come between the
    // look at the file's end and the write, nor be taken back with a short write of ours.
    if (::flock(fd.Get(), LOCK_EX) != 0 && errno != ENOLCK && errno != EINVAL) {
        *pError = ErrnoText(errno);
        return false;
    }
    struct stat st = {};
    if (::fstat(fd.Get(), &st) != 0) {
        *pError = ErrnoText(errno);
        return false;
    }
    if (!S_ISREG(st.st_mode) && !S_ISCHR(st.st_mode)) {
        *pError = QStringLiteral("it is not a regular file");
        return false;
    }
    QByteArray prefix;
    if (!Prefix(fd.Get(), st, append, &prefix, pError)) {
        return false;
    }
    return WriteWhole(fd.Get(), st, prefix + append.lines, pError);
}

bool ReadWholeFile(const QString& strPath, QByteArray* pContent, QString* pError) {
    pContent->clear();
    if (FileKindOf(strPath) == EFileKind::Missing) {
        return true;
    }
    QFile file;
    if (!OpenRegularFile(file, strPath, EOpenFor::Read, pError)) {
        return false;
    }
    *pContent = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *pError = file.errorString();
        return false;
    }
    return true;
}
