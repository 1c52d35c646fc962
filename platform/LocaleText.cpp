// SPDX-License-Identifier: MIT
#include "platform/LocaleText.h"

#include <iconv.h>
#include <langinfo.h>

#include <QByteArray>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {

// An iconv conversion descriptor, closed when it goes.
class CIconv {
public:
    CIconv(const char* pszTo, const char* pszFrom) : m_cd(iconv_open(pszTo, pszFrom)) {}
    ~CIconv() {
        if (IsOpen()) {
            iconv_close(m_cd);
        }
    }
    CIconv(const CIconv&) = delete;
    CIconv& operator=(const CIconv&) = delete;
    bool IsOpen() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return m_cd; }

private:
    iconv_t m_cd;
};

// U+FFFD in UTF-8.
constexpr char kReplacement[] = "\xEF\xBF\xBD";

bool IsUtf8(const char* pszCodeset) {
    return std::strcmp(pszCodeset, "UTF-8") == 0 || std::strcmp(pszCodeset, "utf8") == 0;
}

}  // namespace

QString FromLocaleText(const CString& text) {
    const char* pszCodeset = nl_langinfo(CODESET);
    if (text.empty() || !pszCodeset || IsUtf8(pszCodeset)) {
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    const CIconv converter("UTF-8", pszCodeset);
    if (!converter.IsOpen()) {
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    // UTF-8 takes at most four bytes for one input byte of any 8-bit or multibyte set.
    std::vector<char> in(text.begin(), text.end());
    std::vector<char> out(in.size() * 4 + 4);
    char* pIn = in.data();
    char* pOut = out.data();
    std::size_t nIn = in.size();
    std::size_t nOut = out.size();
    while (nIn > 0) {
        if (iconv(converter.Get(), &pIn, &nIn, &pOut, &nOut) != static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno != EILSEQ && errno != EINVAL) {
            break;
        }
        // A byte the encoding does not know: the replacement character, and on.
        if (nOut < 3) {
            break;
        }
        std::copy_n(kReplacement, 3, pOut);
        pOut += 3;
        nOut -= 3;
        ++pIn;
        --nIn;
    }
    return QString::fromUtf8(out.data(), static_cast<qsizetype>(pOut - out.data()));
}
