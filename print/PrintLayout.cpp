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

// The fonts of the printed form, the body font selected; the line height and the lines a
// page holds measured in it. Returns the font that was selected before.
CFont* SelectPrintFonts(CTessixView& v, CDC* pDC) {
    MakeFont(v.m_fontHeading, 4 * v.m_nFontUnit / 3, "Arial Bold", FW_DONTCARE,
             EUnderline::Underlined);
    MakeFont(v.m_fontBody, v.m_nFontUnit, "Arial");
    CFont* pOldFont = pDC->SelectObject(&v.m_fontBody);

    v.m_sizeText = pDC->GetTextExtent("MW");
    v.m_nLineHeight = v.m_sizeText.cy;
    v.m_nLinesPerPage = v.m_nLineHeight > 0 ? v.m_nTextHeight / v.m_nLineHeight : 0;
    v.m_nLinesPerPage = std::clamp(v.m_nLinesPerPage, 0, kMaxLinesPerPage);
    return pOldFont;
}

void ClearPrintPages(CTessixView& v) {
    for (int p = 0; p < kPrintPages; ++p) {
        for (int j = 0; j < kClearedSlots; ++j) {
            v.m_szPageLine[p][j][0] = '\0';
        }
        v.m_nLastLine[p] = 0;
    }
    v.m_szLine[0] = '\0';
}

// The pieces read as one stream of tokens, up to the sentinel: the next token into
// v.m_pszToken, taking the next piece (nPiece, -1 before the first) when one runs out.
// False at the end of the stream.
bool NextToken(CTessixView& v, int& nPiece) {
    for (;;) {
        v.m_pszToken = SplitToken(v.m_pszNextToken, &v.m_pszNextToken);
        if (v.m_pszToken) {
            ReplaceLeadingColons(v.m_pszToken);
            return true;
        }
        ++nPiece;
        if (nPiece >= kPrintPieces || v.m_astrLine[nPiece] == kSentinel) {
            return false;
        }
        const CString& strPiece = v.m_astrLine[nPiece];
        const std::size_t nCopy = std::min(strPiece.size(), sizeof v.m_szPiece - 1);
        std::memcpy(v.m_szPiece, strPiece.data(), nCopy);
        v.m_szPiece[nCopy] = '\0';
        v.m_pszNextToken = v.m_szPiece;
    }
}

// Where the layout writes: line L of page p.
struct CPrintCursor {
    int p = 0;
    int L = 0;
};

// The line being built is stored at the cursor, if the cursor is on a stored slot.
void StoreLine(CTessixView& v, const CPrintCursor& at) {
    if (at.L >= 0 && at.L < kPrintPageSlots) {
        std::memcpy(v.m_szPageLine[at.p][at.L], v.m_szLine, std::strlen(v.m_szLine) + 1);
    }
}

// The new-page steps: the next page begins, counted and empty, at its first line. False,
// with nothing changed, when the last page is already in use.
bool StartNextPage(CTessixView& v, CPrintCursor& at) {
    if (at.p + 1 >= kPrintPages) {
        return false;
    }
    ++at.p;
    ++v.m_nPages;
    v.m_nLastLine[at.p] = 0;
    at.L = 0;
    return true;
}

// Appends a word to the line being built; true when the line, measured with it, is still
// narrower than the text. (A word that does not fit is cleared with the line.)
bool AppendIfItFits(CTessixView& v, CDC* pDC, const char* pszWord) {
    if (!TokenFitsLine(v.m_szLine, pszWord)) {
        return false;
    }
    AppendToken(v.m_szLine, pszWord);
    v.m_sizeText = pDC->GetTextExtent(v.m_szLine);
    return v.m_sizeText.cx < v.m_nTextWidth;
}

// The lines a break moves the cursor down: a page end to past the page's last line, a
// paragraph end two lines, a line end or a word that did not fit one.
void MoveDownForBreak(CTessixView& v, CPrintCursor& at, EToken eToken) {
    switch (eToken) {
        case EToken::PageEnd:
            at.L = v.m_nLinesPerPage + 1;
            v.m_nLastLine[at.p] += 1;
            break;
        case EToken::ParagraphEnd:
            at.L += 2;
            v.m_nLastLine[at.p] += 2;
            break;
        case EToken::LineEnd:
        case EToken::Word:
            at.L += 1;
            v.m_nLastLine[at.p] += 1;
            break;
    }
}

// Lays one token out at the cursor. False when the layout stops: the pages are full.
bool PlaceToken(CTessixView& v, CDC* pDC, CPrintCursor& at, const char* pszToken) {
    if (pszToken[0] == '[' && at.L > v.m_nLinesPerPage - 3) {
        // A heading is kept off the last two lines of a page.
        if (!StartNextPage(v, at)) {
            return false;
        }
        AppendToken(v.m_szLine, pszToken);
        StoreLine(v, at);
        return true;
    }

    const EToken eToken = KindOf(pszToken);
    if (eToken == EToken::Word && AppendIfItFits(v, pDC, pszToken)) {
        StoreLine(v, at);
        return true;
    }

    v.m_szLine[0] = '\0';
    MoveDownForBreak(v, at, eToken);
    if (at.L >= v.m_nLinesPerPage) {
        v.m_nLastLine[at.p] = std::min(v.m_nLastLine[at.p], v.m_nLinesPerPage) - 1;
        if (!StartNextPage(v, at)) {
            return false;
        }
    }
    if (eToken == EToken::Word) {
        AppendToken(v.m_szLine, pszToken);
        StoreLine(v, at);
    }
    return true;
}

}  // namespace

void CTessixView::LayoutPrintText(CDC* pDC) {
    m_nPages = 1;
    CFont* pOldFont = SelectPrintFonts(*this, pDC);
    ClearPrintPages(*this);

    int nPiece = -1;
    m_pszToken = nullptr;
    m_pszNextToken = nullptr;
    // The first token waits in the line for the word after it.
    if (NextToken(*this, nPiece)) {
        AppendToken(m_szLine, m_pszToken);
    }
    CPrintCursor at;
    while (NextToken(*this, nPiece)) {
        if (!PlaceToken(*this, pDC, at, m_pszToken)) {
            break;
        }
    }

    pDC->SelectObject(pOldFont);
}
