// SPDX-License-Identifier: MIT
#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <utility>

namespace {

constexpr char32_t kEscapeBase = 0xDC00;
constexpr qsizetype kBufferSize = qsizetype{64} * 1024;

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

bool OpenRegularFile(QFile& file, const QString& strPath, EOpenFor eOpen, QString* pError) {
    const EFileKind eKind = FileKindOf(strPath);
    if (eKind == EFileKind::Folder || eKind == EFileKind::Other) {
        *pError = KindRefusal(eKind);
        return false;
    }
    // O_NONBLOCK: a pipe that appeared since the look above still does not hold us; the
    // kind is checked again on what was opened. Nothing is emptied before that check.
    const int nFlags = eOpen == EOpenFor::Read ? O_RDONLY : O_WRONLY | O_CREAT;
    const int fd = open(EncodeFileName(strPath).constData(), nFlags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        *pError = ErrnoText(errno);
        return false;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        *pError = KindRefusal(KindOfMode(info.st_mode));
        close(fd);
        return false;
    }
    if (eOpen == EOpenFor::Truncate && ftruncate(fd, 0) != 0) {
        *pError = ErrnoText(errno);
        close(fd);
        return false;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    const QIODevice::OpenMode mode =
        eOpen == EOpenFor::Read ? QIODevice::ReadOnly : QIODevice::WriteOnly;
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        *pError = file.errorString();
        close(fd);
        return false;
    }
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

CSafeOutputFile::CSafeOutputFile(QString strPath) : m_strPath(std::move(strPath)) {}

CSafeOutputFile::~CSafeOutputFile() {
    Discard();
}

bool CSafeOutputFile::Begin(QString* pError) {
    m_target = EncodeFileName(m_strPath);
    struct stat info {};
    const bool bExists = stat(m_target.constData(), &info) == 0;
    if (bExists && S_ISDIR(info.st_mode)) {
        *pError = KindRefusal(EFileKind::Folder);
        return false;
    }
    if (bExists && !S_ISREG(info.st_mode)) {
        // A device or a pipe cannot be replaced; what is written goes straight to it.
        m_fd = ::open(m_target.constData(), O_WRONLY | O_CLOEXEC);
    } else {
        // Replacing a symbolic link's file, not the link.
        if (char* pReal = bExists ? realpath(m_target.constData(), nullptr) : nullptr) {
            m_target = QByteArray(pReal);
            std::free(pReal);
        }
        const qsizetype nSlash = m_target.lastIndexOf('/');
        const QByteArray folder = nSlash < 0 ? QByteArray() : m_target.left(nSlash + 1);
        const QByteArray name = m_target.mid(nSlash + 1);
        // A hidden name beside the file, unique by a random part; the mode a new file
        // would get (0666 less the umask), or the old file's.
        for (int nTry = 0; nTry < 100 && m_fd < 0; ++nTry) {
            m_temporary = folder + '.' + name + '.' +
                          QByteArray::number(QRandomGenerator::global()->generate(), 36);
            m_fd = ::open(m_temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_fd < 0 && errno != EEXIST) {
                break;
            }
        }
        if (m_fd >= 0 && bExists) {
            fchmod(m_fd, info.st_mode & 07777);
        }
    }
    if (m_fd < 0) {
        *pError = ErrnoText(errno);
        m_temporary.clear();
        return false;
    }
    return open(QIODevice::WriteOnly | QIODevice::Unbuffered);
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
        const ssize_t nWritten = ::write(m_fd, p, size_t(nLeft));
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
    if (m_fd < 0) {
        *pError = ErrnoText(EBADF);
        return false;
    }
    WriteOut();
    if (m_nErrno == 0 && !m_temporary.isEmpty() && fsync(m_fd) != 0) {
        m_nErrno = errno;
    }
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && m_nErrno == 0) {
        m_nErrno = errno;
    }
    if (m_nErrno == 0 && !m_temporary.isEmpty() &&
        rename(m_temporary.constData(), m_target.constData()) != 0) {
        m_nErrno = errno;
    }
    if (m_nErrno != 0) {
        *pError = ErrnoText(m_nErrno);
        Discard();
        return false;
    }
    m_temporary.clear();
    QIODevice::close();
    return true;
}

void CSafeOutputFile::Discard() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.isEmpty()) {
        unlink(m_temporary.constData());
        m_temporary.clear();
    }
    if (isOpen()) {
        QIODevice::close();
    }
}
