// SPDX-License-Identifier: MIT
// The print layout: turns the mark-up of the print form into lines and pages, measuring
// whole lines in the body font of the printer.
//
// Limits of the buffers, kept for any input: a piece is cut to what m_szPiece holds; a
// stored line holds at most kPrintLineChars - 1 characters, so a word that would make
// the line longer moves to the next line as a word too wide for the page does, and a
// single word longer than a line is cut; the layout stops after the last page.
#include <algorithm>
#include <cstring>

#include "game/Fonts.h"
#include "game/TessixView.h"

namespace {

constexpr const char* kSentinel = "???*???";
constexpr int kMaxLinesPerPage = 53;
constexpr int kClearedSlots = 54;
constexpr std::size_t kLineLimit = kPrintLineChars - 1;  // characters a stored line holds

enum class EToken { Word, LineEnd, ParagraphEnd, PageEnd };

EToken KindOf(const char* pszToken) {
    if (std::strcmp(pszToken, ",,") == 0) {
        return EToken::LineEnd;
    }
    if (std::strcmp(pszToken, "..") == 0) {
        return EToken::ParagraphEnd;
    }
    if (std::strcmp(pszToken, "...") == 0) {
        return EToken::PageEnd;
    }
    return EToken::Word;
}

// Splits the first blank-separated token off psz in place, as strtok does but with the
// position kept by the caller. Returns the token, or null when only blanks are left;
// *ppszRest is the text after the token, null when the token ended the string.
char* SplitToken(char* psz, char** ppszRest) {
    *ppszRest = nullptr;
    if (!psz) {
        return nullptr;
    }
    while (*psz == ' ') {
        ++psz;
    }
    if (*psz == '\0') {
        return nullptr;
    }
    char* pszEnd = psz;
    while (*pszEnd != '\0' && *pszEnd != ' ') {
        ++pszEnd;
    }
    if (*pszEnd == ' ') {
        *pszEnd = '\0';
        *ppszRest = pszEnd + 1;
    }
    return psz;
}

// Colons at the start of a token become blanks; a colon further in stays.
void ReplaceLeadingColons(char* pszToken) {
    for (; *pszToken == ':'; ++pszToken) {
        *pszToken = ' ';
    }
}

// Appends the token and one blank to the line, cut so that the line keeps at most
// kLineLimit characters.
void AppendToken(char* pszLine, const char* pszToken) {
    std::size_t nLength = std::strlen(pszLine);
    for (const char* pc = pszToken; *pc != '\0' && nLength < kLineLimit - 1; ++pc) {
        pszLine[nLength++] = *pc;
    }
    if (nLength < kLineLimit) {
        pszLine[nLength++] = ' ';
    }
    pszLine[nLength] = '\0';
}

bool TokenFitsLine(const char* pszLine, const char* pszToken) {
    return std::strlen(pszLine) + std::strlen(pszToken) + 1 <= kLineLimit;
}

}  // namespace

void CTessixView::LayoutPrintText(CDC* pDC) {
    m_nPages = 1;
    MakeFont(m_fontHeading, 4 * m_nFontUnit / 3, "Arial Bold", FW_DONTCARE, EUnderline::Underlined);
    MakeFont(m_fontBody, m_nFontUnit, "Arial");
    CFont* pOldFont = pDC->SelectObject(&m_fontBody);

    m_sizeText = pDC->GetTextExtent("MW");
    m_nLineHeight = m_sizeText.cy;
    m_nLinesPerPage = m_nLineHeight > 0 ? m_nTextHeight / m_nLineHeight : 0;
    m_nLinesPerPage = std::clamp(m_nLinesPerPage, 0, kMaxLinesPerPage);

    for (int p = 0; p < kPrintPages; ++p) {
        for (int j = 0; j < kClearedSlots; ++j) {
            m_szPageLine[p][j][0] = '\0';
        }
        m_nLastLine[p] = 0;
    }
    m_szLine[0] = '\0';

    // The pieces read as one stream of tokens, up to the sentinel.
    int nPiece = -1;
    m_pszToken = nullptr;
    m_pszNextToken = nullptr;
    auto nextToken = [&]() -> bool {
        for (;;) {
            m_pszToken = SplitToken(m_pszNextToken, &m_pszNextToken);
            if (m_pszToken) {
                ReplaceLeadingColons(m_pszToken);
                return true;
            }
            ++nPiece;
            if (nPiece >= kPrintPieces || m_astrLine[nPiece] == kSentinel) {
                return false;
            }
            const CString& strPiece = m_astrLine[nPiece];
            const std::size_t nCopy = std::min(strPiece.size(), sizeof m_szPiece - 1);
            std::memcpy(m_szPiece, strPiece.data(), nCopy);
            m_szPiece[nCopy] = '\0';
            m_pszNextToken = m_szPiece;
        }
    };
    auto storeLine = [&](int p, int L) {
        if (L >= 0 && L < kPrintPageSlots) {
            std::memcpy(m_szPageLine[p][L], m_szLine, std::strlen(m_szLine) + 1);
        }
    };

    // The first token waits in the line for the word after it.
    if (nextToken()) {
        AppendToken(m_szLine, m_pszToken);
    }
    int p = 0;
    int L = 0;
    while (nextToken()) {
        char* const pszToken = m_pszToken;
        if (pszToken[0] == '[' && L > m_nLinesPerPage - 3) {
            // A heading is kept off the last two lines of a page.
            if (p + 1 >= kPrintPages) {
                break;
            }
            ++p;
            ++m_nPages;
            m_nLastLine[p] = 0;
            AppendToken(m_szLine, pszToken);
            L = 0;
            storeLine(p, L);
            continue;
        }

        const EToken eToken = KindOf(pszToken);
        bool bFits = false;
        if (eToken == EToken::Word && TokenFitsLine(m_szLine, pszToken)) {
            AppendToken(m_szLine, pszToken);
            m_sizeText = pDC->GetTextExtent(m_szLine);
            bFits = m_sizeText.cx < m_nTextWidth;
        }
        if (bFits) {
            storeLine(p, L);
            continue;
        }

        m_szLine[0] = '\0';
        switch (eToken) {
            case EToken::PageEnd:
                L = m_nLinesPerPage + 1;
                m_nLastLine[p] += 1;
                break;
            case EToken::ParagraphEnd:
                L += 2;
                m_nLastLine[p] += 2;
                break;
            case EToken::LineEnd:
            case EToken::Word:
                L += 1;
                m_nLastLine[p] += 1;
                break;
        }
        if (L >= m_nLinesPerPage) {
            m_nLastLine[p] = std::min(m_nLastLine[p], m_nLinesPerPage) - 1;
            if (p + 1 >= kPrintPages) {
                break;
            }
            ++p;
            ++m_nPages;
            m_nLastLine[p] = 0;
            L = 0;
        }
        if (eToken == EToken::Word) {
            AppendToken(m_szLine, pszToken);
            storeLine(p, L);
        }
    }

    pDC->SelectObject(pOldFont);
}
