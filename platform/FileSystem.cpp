// SPDX-License-Identifier: MIT
#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <utility>

namespace {

constexpr char32_t kEscapeBase = 0xDC00;
constexpr qsizetype kBufferSize = qsizetype{64} * 1024;
// As many symbolic links as the kernel follows in one path.
constexpr int kMaxLinks = 40;

QString ErrnoText(int nErrno) {
    return qt_error_string(nErrno);
}

// The length of the valid UTF-8 sequence at p (of at most nLeft bytes) and its code
// point, or 0 when the bytes there are not valid UTF-8.
int Utf8Sequence(const unsigned char* p, qsizetype nLeft, char32_t* pCode) {
    const unsigned char c = p[0];
    int nLength = 0;
    char32_t code = 0;
    char32_t nMin = 0;
    if (c < 0x80) {
        *pCode = c;
        return 1;
    } else if (c >= 0xC2 && c <= 0xDF) {
        nLength = 2, code = c & 0x1F, nMin = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        nLength = 3, code = c & 0x0F, nMin = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        nLength = 4, code = c & 0x07, nMin = 0x10000;
    } else {
        return 0;
    }
    if (nLeft < nLength) {
        return 0;
    }
    for (int i = 1; i < nLength; ++i) {
        if ((p[i] & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (p[i] & 0x3F);
    }
    if (code < nMin || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return 0;
    }
    *pCode = code;
    return nLength;
}

void AppendUtf8(QByteArray& out, char32_t code) {
    if (code < 0x80) {
        out.append(char(code));
    } else if (code < 0x800) {
        out.append(char(0xC0 | (code >> 6))).append(char(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.append(char(0xE0 | (code >> 12))).append(char(0x80 | ((code >> 6) & 0x3F)));
        out.append(char(0x80 | (code & 0x3F)));
    } else {
        out.append(char(0xF0 | (code >> 18))).append(char(0x80 | ((code >> 12) & 0x3F)));
        out.append(char(0x80 | ((code >> 6) & 0x3F))).append(char(0x80 | (code & 0x3F)));
    }
}

bool IsEscapedByte(char16_t c) {
    return c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF;
}

EFileKind KindOfMode(mode_t mode) {
    if (S_ISREG(mode)) {
        return EFileKind::Regular;
    }
    return S_ISDIR(mode) ? EFileKind::Folder : EFileKind::Other;
}

QString KindRefusal(EFileKind eKind) {
    return eKind == EFileKind::Folder ? QStringLiteral("it is a folder")
                                      : QStringLiteral("it is not a regular file");
}

// The entries of a folder whose names, as Qt's file dialog shows them, read strShown.
QStringList EntriesShownAs(const QString& strFolder, const QString& strShown) {
    QStringList matches;
    const std::unique_ptr<DIR, int (*)(DIR*)> pDir(
        opendir(EncodeFileName(strFolder.isEmpty() ? QStringLiteral("/") : strFolder)), closedir);
    if (!pDir) {
        return matches;
    }
    while (const dirent* pEntry = readdir(pDir.get())) {
        const QByteArray name(pEntry->d_name);
        if (QFile::decodeName(name) == strShown) {
            matches.append(DecodeFileName(name));
        }
    }
    return matches;
}

// The kernel's rule for protected symbolic links, applied whatever the system's setting:
// in a folder that others may write to (sticky or writable by all) a link is followed
// only when it belongs to the user or to the folder's owner, so that a link planted by
// another user never turns a write onto one of the user's files.
bool MayFollow(const struct stat& link, const struct stat& folder) {
    const bool bShared = (folder.st_mode & (S_ISVTX | S_IWOTH)) != 0;
    return !bShared || link.st_uid == geteuid() || link.st_uid == folder.st_uid;
}

QString ForeignLinkRefusal() {
    return QStringLiteral("it is a symbolic link that another user made in a shared folder");
}

enum class EResolve { Resolved, Refused, Failed };
enum class ELink { Follow, Keep, Refused, Failed };

// What to do with the symbolic link at path, held by folder: refuse it (MayFollow), keep
// it as it stands (a link to a pipe, a socket or a device is opened through: the links of
// /proc to a pipe name no path), or follow its text, put in *pTarget.
ELink ReadLink(const QByteArray& folder, const QByteArray& path, const struct stat& link,
               QByteArray* pTarget, int* pErrno) {
    struct stat folderInfo {};
    if (stat(folder.constData(), &folderInfo) == 0 && !MayFollow(link, folderInfo)) {
        return ELink::Refused;
    }
    struct stat object {};
    if (stat(path.constData(), &object) == 0 && !S_ISREG(object.st_mode) &&
        !S_ISDIR(object.st_mode)) {
        return ELink::Keep;
    }
    char target[PATH_MAX];
    const ssize_t nLength = readlink(path.constData(), target, sizeof target);
    if (nLength <= 0 || nLength == ssize_t(sizeof target)) {
        *pErrno = nLength < 0 ? errno : ENAMETOOLONG;
        return ELink::Failed;
    }
    *pTarget = QByteArray(target, nLength);
    return ELink::Follow;
}

// path with its symbolic links resolved part by part into an absolute path in *pResolved.
// A part that does not exist ends nothing: the rest is taken as written, and opening
// reports what is missing.
EResolve ResolveLinks(const QByteArray& path, QByteArray* pResolved, int* pErrno) {
    QByteArray current;  // resolved so far, without a trailing '/'; empty for the root
    if (!path.startsWith('/')) {
        const std::unique_ptr<char, void (*)(void*)> pCwd(getcwd(nullptr, 0), std::free);
        if (!pCwd) {
            *pErrno = errno;
            return EResolve::Failed;
        }
        current = QByteArray(pCwd.get()) == "/" ? QByteArray() : QByteArray(pCwd.get());
    }
    QList<QByteArray> pending = path.split('/');
    int nLinks = 0;
    while (!pending.isEmpty()) {
        const QByteArray part = pending.takeFirst();
        if (part.isEmpty() || part == ".") {
            continue;
        }
        if (part == "..") {
            current.truncate(std::max<qsizetype>(current.lastIndexOf('/'), 0));
            continue;
        }
        const QByteArray next = current + '/' + part;
        struct stat link {};
        QByteArray target;
        const ELink eLink =
            lstat(next.constData(), &link) != 0 || !S_ISLNK(link.st_mode)
                ? ELink::Keep
                : ReadLink(current.isEmpty() ? "/" : current, next, link, &target, pErrno);
        if (eLink == ELink::Refused || eLink == ELink::Failed) {
            return eLink == ELink::Refused ? EResolve::Refused : EResolve::Failed;
        }
        if (eLink == ELink::Keep) {
            current = next;
        } else if (++nLinks > kMaxLinks) {
            *pErrno = ELOOP;
            return EResolve::Failed;
        } else {
            current = target.startsWith('/') ? QByteArray() : current;
            pending = target.split('/') + pending;
        }
    }
    *pResolved = current.isEmpty() ? QByteArray("/") : current;
    return EResolve::Resolved;
}

// A short hidden name for a temporary file, whatever the length of the target's name.
QByteArray TemporaryName() {
    return ".tessix-" +
           QByteArray::number(QRandomGenerator::global()->generate64(), 36).rightJustified(13, '0');
}

// The path through which an open file can be linked to a name.
QByteArray ProcFdPath(int fd) {
    return "/proc/self/fd/" + QByteArray::number(fd);
}

// Makes the entries of a folder durable (a name just given). Some file systems cannot;
// the data is durable already, so that is not a failure.
void SyncFolder(const QByteArray& folder) {
    const CUniqueFd dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.IsOpen()) {
        fsync(dir.Get());
    }
}

}  // namespace

QString DecodeFileName(const QByteArray& bytes) {
    QString result;
    result.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype nSize = bytes.size();
    for (qsizetype i = 0; i < nSize;) {
        char32_t code = 0;
        const int nLength = Utf8Sequence(p + i, nSize - i, &code);
        if (nLength == 0) {
            result.append(QChar(char16_t(kEscapeBase + p[i])));
            ++i;
            continue;
        }
        result.append(QString::fromUcs4(&code, 1));
        i += nLength;
    }
    return result;
}

QByteArray EncodeFileName(const QString& strName) {
    QByteArray out;
    out.reserve(strName.size());
    const qsizetype nSize = strName.size();
    for (qsizetype i = 0; i < nSize; ++i) {
        const char16_t c = strName.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < nSize &&
            QChar::isLowSurrogate(strName.at(i + 1).unicode())) {
            AppendUtf8(out, QChar::surrogateToUcs4(c, strName.at(i + 1).unicode()));
            ++i;
        } else if (IsEscapedByte(c)) {
            out.append(char(c - kEscapeBase));
        } else {
            AppendUtf8(out, QChar::isSurrogate(c) ? char32_t(0xFFFD) : char32_t(c));
        }
    }
    return out;
}

QString DisplayFileName(const QString& strName) {
    QString shown = strName;
    for (QChar& c : shown) {
        if (IsEscapedByte(c.unicode())) {
            c = QChar::ReplacementCharacter;
        }
    }
    return shown;
}

EFileKind FileKindOf(const QString& strPath) {
    struct stat info {};
    if (stat(EncodeFileName(strPath).constData(), &info) != 0) {
        return EFileKind::Missing;
    }
    return KindOfMode(info.st_mode);
}

bool OpensAsDevice(const QString& strPath) {
    const QByteArray path = EncodeFileName(strPath);
    struct stat info {};
    if (stat(path.constData(), &info) != 0 || !(S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))) {
        return false;
    }
    const int fd = open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return false;
    }
    close(fd);
    return true;
}

bool OpenRegularFile(QFile& file, const QString& strPath, EOpenFor eOpen, QString* pError) {
    const EFileKind eKind = FileKindOf(strPath);
    if (eKind == EFileKind::Folder || eKind == EFileKind::Other) {
        *pError = KindRefusal(eKind);
        return false;
    }
    QByteArray path = EncodeFileName(strPath);
    int nFlags = O_RDONLY;
    if (eOpen == EOpenFor::Truncate) {
        // Emptying a file through a planted link would destroy another file of the user's.
        int nErrno = 0;
        const EResolve eResolve = ResolveLinks(EncodeFileName(strPath), &path, &nErrno);
        if (eResolve != EResolve::Resolved) {
            *pError = eResolve == EResolve::Refused ? ForeignLinkRefusal() : ErrnoText(nErrno);
            return false;
        }
        nFlags = O_WRONLY | O_CREAT | O_NOFOLLOW;
    }
    // O_NONBLOCK: a pipe that appeared since the look above still does not hold us; the
    // kind is checked again on what was opened. Nothing is emptied before that check.
    CUniqueFd fd(open(path.constData(), nFlags | O_NONBLOCK | O_CLOEXEC, 0666));
    if (!fd.IsOpen()) {
        *pError = ErrnoText(errno);
        return false;
    }
    struct stat info {};
    if (fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        *pError = KindRefusal(KindOfMode(info.st_mode));
        return false;
    }
    if (eOpen == EOpenFor::Truncate && ftruncate(fd.Get(), 0) != 0) {
        *pError = ErrnoText(errno);
        return false;
    }
    fcntl(fd.Get(), F_SETFL, fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);
    const QIODevice::OpenMode mode =
        eOpen == EOpenFor::Read ? QIODevice::ReadOnly : QIODevice::WriteOnly;
    if (!file.open(fd.Get(), mode, QFileDevice::AutoCloseHandle)) {
        *pError = file.errorString();
        return false;
    }
    fd.Release();
    return true;
}

QString ResolveShownPath(const QString& strShown) {
    if (FileKindOf(strShown) != EFileKind::Missing) {
        return strShown;
    }
    const QStringList parts = strShown.split(QLatin1Char('/'));
    QString resolved = parts.front();
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString& part = parts.at(i);
        const QString candidate = resolved + QLatin1Char('/') + part;
        if (part.contains(QChar::ReplacementCharacter) &&
            FileKindOf(candidate) == EFileKind::Missing) {
            const QStringList matches = EntriesShownAs(resolved, part);
            if (matches.size() == 1) {
                resolved += QLatin1Char('/') + matches.front();
                continue;
            }
        }
        resolved = candidate;
    }
    return resolved;
}

QString EscapeControls(const QString& strText) {
    QString escaped;
    escaped.reserve(strText.size());
    for (const QChar c : strText) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F)) {
            escaped += QStringLiteral("\\x%1").arg(unsigned(u), 2, 16, QLatin1Char('0'));
        } else {
            escaped += c;
        }
    }
    return escaped;
}

void CUniqueFd::Reset(int fd) {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    m_fd = fd;
}

int CUniqueFd::Release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

int CUniqueFd::Close() {
    if (m_fd < 0) {
        return 0;
    }
    const int nResult = ::close(Release());
    return nResult == 0 ? 0 : errno;
}

CSafeOutputFile::CSafeOutputFile(QString strPath) : m_strPath(std::move(strPath)) {}

CSafeOutputFile::~CSafeOutputFile() {
    Discard();
}

bool CSafeOutputFile::Begin(QString* pError) {
    int nErrno = 0;
    const EResolve eResolve = ResolveLinks(EncodeFileName(m_strPath), &m_target, &nErrno);
    if (eResolve != EResolve::Resolved) {
        *pError = eResolve == EResolve::Refused ? ForeignLinkRefusal() : ErrnoText(nErrno);
        return false;
    }
    struct stat info {};
    const bool bExists = stat(m_target.constData(), &info) == 0;
    if (bExists && S_ISDIR(info.st_mode)) {
        *pError = KindRefusal(EFileKind::Folder);
        return false;
    }
    const bool bOpened = bExists && !S_ISREG(info.st_mode)
                             ? OpenDirect(S_ISFIFO(info.st_mode), pError)
                             : OpenTemporary(bExists ? &info : nullptr, pError);
    return bOpened && open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

bool CSafeOutputFile::OpenDirect(bool bPipe, QString* pError) {
    // A device or a pipe cannot be replaced; what is written goes straight to it. The open
    // does not wait: a pipe without a reader fails at once instead of hanging.
    m_fd.Reset(::open(m_target.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!m_fd.IsOpen()) {
        *pError = bPipe && errno == ENXIO ? QStringLiteral("no process is reading the pipe")
                                          : ErrnoText(errno);
        return false;
    }
    fcntl(m_fd.Get(), F_SETFL, fcntl(m_fd.Get(), F_GETFL) & ~O_NONBLOCK);
    m_eTemporary = ETemporary::None;
    return true;
}

bool CSafeOutputFile::OpenTemporary(const struct stat* pOld, QString* pError) {
    m_folder = m_target.left(m_target.lastIndexOf('/') + 1);
    m_bReplacing = pOld != nullptr;
    m_nOldMode = pOld ? pOld->st_mode & 07777 : 0;
    // A replacement is private until Commit gives it the old file's mode; a new file gets
    // the mode any new file gets (0666 less the umask).
    const mode_t nMode = m_bReplacing ? 0600 : 0666;
    m_fd.Reset(::open(m_folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, nMode));
    if (m_fd.IsOpen() && access(ProcFdPath(m_fd.Get()).constData(), F_OK) == 0) {
        m_eTemporary = ETemporary::Unnamed;
        return true;
    }
    const bool bNoUnnamedFiles =
        m_fd.IsOpen() || errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL;
    m_fd.Reset();
    // Without unnamed files (or without /proc to link one): a hidden name of our own.
    for (int nTry = 0; bNoUnnamedFiles && nTry < 100 && !m_fd.IsOpen(); ++nTry) {
        m_temporary = m_folder + TemporaryName();
        m_fd.Reset(::open(m_temporary.constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, nMode));
        if (!m_fd.IsOpen() && errno != EEXIST) {
            break;
        }
    }
    if (!m_fd.IsOpen()) {
        *pError = ErrnoText(errno);
        m_temporary.clear();
        return false;
    }
    m_eTemporary = ETemporary::Named;
    return true;
}

qint64 CSafeOutputFile::writeData(const char* pData, qint64 nLength) {
    if (m_nErrno != 0) {
        return -1;
    }
    m_buffer.append(pData, nLength);
    if (m_buffer.size() >= kBufferSize && !WriteOut()) {
        return -1;
    }
    return nLength;
}

bool CSafeOutputFile::WriteOut() {
    const char* p = m_buffer.constData();
    qsizetype nLeft = m_buffer.size();
    while (nLeft > 0 && m_nErrno == 0) {
        const ssize_t nWritten = ::write(m_fd.Get(), p, size_t(nLeft));
        if (nWritten < 0 && errno == EINTR) {
            continue;
        }
        if (nWritten <= 0) {
            // A write that takes nothing is a full device.
            m_nErrno = nWritten < 0 ? errno : ENOSPC;
            break;
        }
        p += nWritten;
        nLeft -= nWritten;
    }
    m_buffer.clear();
    return m_nErrno == 0;
}

bool CSafeOutputFile::Commit(QString* pError) {
    if (!m_fd.IsOpen()) {
        *pError = ErrnoText(EBADF);
        return false;
    }
    WriteOut();
    if (m_nErrno == 0 && m_eTemporary != ETemporary::None) {
        // The data and its mode reach the disk before the file gets the target's name.
        if ((m_bReplacing && fchmod(m_fd.Get(), m_nOldMode) != 0) || fsync(m_fd.Get()) != 0) {
            m_nErrno = errno;
        }
    }
    if (m_nErrno == 0 && m_eTemporary == ETemporary::Unnamed) {
        m_nErrno = PutInPlace();
    }
    const int nCloseErrno = m_fd.Close();
    m_nErrno = m_nErrno != 0 ? m_nErrno : nCloseErrno;
    if (m_nErrno == 0 && m_eTemporary == ETemporary::Named) {
        m_nErrno = PutInPlace();
    }
    if (m_nErrno != 0) {
        *pError = ErrnoText(m_nErrno);
        Discard();
        return false;
    }
    if (m_eTemporary != ETemporary::None) {
        SyncFolder(m_folder);
    }
    QIODevice::close();
    return true;
}

int CSafeOutputFile::PutInPlace() {
    if (m_eTemporary == ETemporary::Unnamed) {
        // A new name is linked at once; it fails, rather than replacing, if a file of that
        // name appeared meanwhile, which is then replaced as any old file is.
        if (!m_bReplacing && linkat(AT_FDCWD, ProcFdPath(m_fd.Get()).constData(), AT_FDCWD,
                                    m_target.constData(), AT_SYMLINK_FOLLOW) == 0) {
            return 0;
        }
        if (const int nErrno = m_bReplacing || errno == EEXIST ? LinkUnderTemporaryName() : errno) {
            return nErrno;
        }
    }
    // rename() replaces the old file whole, in one step.
    if (rename(m_temporary.constData(), m_target.constData()) != 0) {
        return errno;
    }
    m_temporary.clear();
    return 0;
}

int CSafeOutputFile::LinkUnderTemporaryName() {
    const QByteArray source = ProcFdPath(m_fd.Get());
    int nErrno = EEXIST;
    for (int nTry = 0; nTry < 100 && nErrno == EEXIST; ++nTry) {
        m_temporary = m_folder + TemporaryName();
        if (linkat(AT_FDCWD, source.constData(), AT_FDCWD, m_temporary.constData(),
                   AT_SYMLINK_FOLLOW) == 0) {
            return 0;
        }
        nErrno = errno;
    }
    m_temporary.clear();
    return nErrno;
}

void CSafeOutputFile::Discard() {
    m_fd.Reset();
    if (!m_temporary.isEmpty()) {
        unlink(m_temporary.constData());
        m_temporary.clear();
    }
    if (isOpen()) {
        QIODevice::close();
    }
}
