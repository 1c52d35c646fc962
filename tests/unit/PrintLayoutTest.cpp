// SPDX-License-Identifier: MIT
// The print layout, measured on a surface where every character is 10 units wide and
// every line 10 units high: pages and lines of the mark-up, fonts, line pitch, and the
// limits of the layout buffers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "support/Headless.h"
#include "unit/PrintSurface.h"

namespace {

using CPages = std::vector<std::vector<std::string>>;

constexpr const char* kSentinel = "???*???";

void SetText(CTessixView& view, const std::vector<std::string>& pieces) {
    std::size_t i = 0;
    for (; i < pieces.size(); ++i) {
        view.m_astrLine[i] = pieces[i];
    }
    view.m_astrLine[i] = kSentinel;
}

// Lays out with a text width in units and a page of nLines lines of 10 units.
void Layout(CTessixView& view, CCharCellDC& dc, int nWidth, int nLines) {
    view.m_nTextWidth = nWidth;
    view.m_nTextHeight = nLines * CCharCellDC::kCellHeight;
    view.m_nFontUnit = 30;
    view.LayoutPrintText(&dc);
}

// Lines 0 to m_nLastLine of every laid-out page.
CPages PagesOf(const CTessixView& view) {
    CPages pages;
    for (int p = 0; p < view.m_nPages; ++p) {
        std::vector<std::string> lines;
        for (int j = 0; j <= view.m_nLastLine[p]; ++j) {
            lines.emplace_back(view.m_szPageLine[p][j]);
        }
        pages.push_back(lines);
    }
    return pages;
}

std::string Blanks(int n) {
    return std::string(static_cast<std::size_t>(n), ' ');
}

struct CLayoutCase {
    const char* pszName;
    std::vector<std::string> pieces;
    int nWidth;
    int nLines;
    CPages expected;  // each page's lines 0 to its m_nLastLine
};

const CLayoutCase kLayoutCases[] = {
    {"WorkedExample",
     {"[Hd one .. aa bb cc dd ee ,, ::: ff gg .. [Hx two .. hh"},
     100,
     6,
     {{"[Hd one ", "", "aa bb cc ", "dd ee ", Blanks(4) + "ff ", "gg "}, {"[Hx two ", "", "hh "}}},
    {"HeadingThreeLinesBeforePageEndStays",
     {"[Hd one .. aa ,, [Hx two"},
     100,
     6,
     {{"[Hd one ", "", "aa ", "[Hx two "}}},
    {"HeadingTwoLinesBeforePageEndMoves",
     {"[Hd one .. aa ,, bb ,, [Hx two"},
     100,
     6,
     {{"[Hd one ", "", "aa ", "bb ", ""}, {"[Hx two "}}},
    {"HeadingOnLastLineMoves",
     {"[Hd one .. aa ,, bb ,, cc ,, [Hx two"},
     100,
     6,
     {{"[Hd one ", "", "aa ", "bb ", "cc ", ""}, {"[Hx two "}}},
    {"PageEndKeepsLineUnderConstruction",
     {"[Hd one ,, aa bb ... cc"},
     100,
     6,
     {{"[Hd one ", "aa bb "}, {"cc "}}},
    {"PageEndOnFirstLineOfPage",
     {"[Hd one ... aa ... bb"},
     100,
     6,
     {{"[Hd one "}, {"aa "}, {"bb "}}},
    {"ParagraphEndOnLastLineLeavesNoBlankLine",
     {"[Hd one .. aa ,, bb ,, cc ,, dd .. ee"},
     100,
     6,
     {{"[Hd one ", "", "aa ", "bb ", "cc ", "dd "}, {"ee "}}},
    {"WordNotFittingLastLineStartsNextPage",
     {"[Hd one .. aa ,, bb ,, cc ,, dd eeeeee ff"},
     100,
     6,
     {{"[Hd one ", "", "aa ", "bb ", "cc ", "dd "}, {"eeeeee ", "ff "}}},
    {"WordWiderThanPageStandsAlone",
     {"[Hd one ,, aa abcdefghijklmn bb"},
     100,
     6,
     {{"[Hd one ", "aa ", "abcdefghijklmn ", "bb "}}},
    {"HeadingMidLineNearPageEndTakesLineAlong",
     {"[Hd one .. aa ,, bb ,, cc [Hx two"},
     100,
     6,
     {{"[Hd one ", "", "aa ", "bb ", "cc "}, {"cc [Hx ", "two "}}},
    {"ColonsIndentOnlyAtTokenStart",
     {"[Hd one ,, : - ::: x ,, - :: y ,, with: a:b"},
     200,
     6,
     {{"[Hd one ", Blanks(2) + "-" + Blanks(5) + "x ", "-" + Blanks(4) + "y ", "with: a:b "}}},
    {"PieceBoundarySeparatesWordsAndLineRunsOn",
     {"[Hd one .. aa", "bb   cc ", "", "dd"},
     200,
     6,
     {{"[Hd one ", "", "aa bb cc dd "}}},
};

class PrintLayoutCases : public ::testing::TestWithParam<CLayoutCase> {};

TEST_P(PrintLayoutCases, LaysOutPagesLineByLine) {
    const CLayoutCase& c = GetParam();
    CGame game;
    CCharCellDC dc;
    SetText(game.View(), c.pieces);
    Layout(game.View(), dc, c.nWidth, c.nLines);
    EXPECT_EQ(PagesOf(game.View()), c.expected);
    EXPECT_EQ(game.View().m_nPages, static_cast<int>(c.expected.size()));
}

INSTANTIATE_TEST_SUITE_P(Markup, PrintLayoutCases, ::testing::ValuesIn(kLayoutCases),
                         [](const ::testing::TestParamInfo<CLayoutCase>& testInfo) {
                             return std::string(testInfo.param.pszName);
                         });

TEST(PrintLayout, ReadsNothingAfterTheSentinel) {
    CGame game;
    CCharCellDC dc;
    SetText(game.View(), {"[Hd one ,, aa"});
    game.View().m_astrLine[2] = "zz ,, yy";
    Layout(game.View(), dc, 100, 6);
    EXPECT_EQ(PagesOf(game.View()), (CPages{{"[Hd one ", "aa "}}));
}

TEST(PrintLayout, LinesPerPageAreAtMost53) {
    struct CCase {
        int nTextHeight;
        int nLinesPerPage;
    };
    const CCase cases[] = {{520, 52}, {539, 53}, {540, 53}, {6000, 53}};
    for (const CCase& c : cases) {
        CGame game;
        CCharCellDC dc;
        game.View().m_nTextWidth = 900;
        game.View().m_nTextHeight = c.nTextHeight;
        game.View().m_nFontUnit = 30;
        game.View().LayoutPrintText(&dc);
        EXPECT_EQ(game.View().m_nLineHeight, CCharCellDC::kCellHeight);
        EXPECT_EQ(game.View().m_nLinesPerPage, c.nLinesPerPage) << "text height " << c.nTextHeight;
    }
}

TEST(PrintLayout, MeasuresWholeLinesInTheBodyFontAndRestoresTheFont) {
    CGame game;
    CCharCellDC dc;
    CFont before;
    before.CreateFont(12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Courier New");
    dc.SelectObject(&before);
    SetText(game.View(), {"[Hd one .. aa bb"});
    game.View().m_nTextWidth = 1000;
    game.View().m_nTextHeight = 600;
    game.View().m_nFontUnit = 100;
    game.View().LayoutPrintText(&dc);

    const CTessixView& view = game.View();
    EXPECT_EQ(view.m_fontHeading.Face(), "Arial Bold");
    EXPECT_EQ(view.m_fontHeading.Height(), 133);
    EXPECT_TRUE(view.m_fontHeading.Underline());
    EXPECT_EQ(view.m_fontHeading.Weight(), 0);
    EXPECT_EQ(view.m_fontBody.Face(), "Arial");
    EXPECT_EQ(view.m_fontBody.Height(), 100);
    EXPECT_FALSE(view.m_fontBody.Underline());

    std::vector<std::string> measured;
    for (const auto& m : dc.m_measured) {
        EXPECT_EQ(m.font, (CCharCellDC::CFontSeen{"Arial", 100, FALSE})) << m.strText;
        measured.push_back(m.strText);
    }
    EXPECT_EQ(measured, (std::vector<std::string>{"MW", "[Hd one ", "aa ", "aa bb "}));
    EXPECT_EQ(view.m_sizeText, CSize(60, 10));
    EXPECT_EQ(dc.Selected(), &before);
}

// A second layout starts from scratch: the blank lines of a shorter text are empty,
// whatever an earlier, longer text left in their slots.
TEST(PrintLayout, SecondRunClearsWhatTheFirstLeft) {
    CGame game;
    CCharCellDC dc;
    SetText(game.View(), {"[Ha xx ,, aa ,, bb ,, cc ,, dd ,, ee ,, ff ,, gg ,, hh"});
    Layout(game.View(), dc, 100, 6);
    ASSERT_EQ(game.View().m_nPages, 2);

    SetText(game.View(), {"[Hd one .. aa"});
    Layout(game.View(), dc, 100, 6);
    EXPECT_EQ(PagesOf(game.View()), (CPages{{"[Hd one ", "", "aa "}}));
}

// ---- Input beyond the limits of the buffers.

class PrintLayoutLimits : public ::testing::Test {
protected:
    static constexpr char kCanary = '#';
    static constexpr int kShownCanary = 4242;

    void SetUp() override {
        // Slots past the 54 that are ever written, and the field after the last-line
        // array, must survive any layout.
        CTessixView& view = game.View();
        for (int p = 0; p < kPrintPages; ++p) {
            for (int j = 54; j < kPrintPageSlots; ++j) {
                std::memset(view.m_szPageLine[p][j], kCanary, kPrintLineChars);
            }
        }
        view.m_nPageShown = kShownCanary;
    }

    void ExpectBuffersIntact() {
        const CTessixView& view = game.View();
        EXPECT_GE(view.m_nPages, 1);
        EXPECT_LE(view.m_nPages, kPrintPages);
        EXPECT_EQ(view.m_nPageShown, kShownCanary);
        for (int p = 0; p < kPrintPages; ++p) {
            EXPECT_GE(view.m_nLastLine[p], -1);
            EXPECT_LT(view.m_nLastLine[p], 54);
            for (int j = 0; j < 54; ++j) {
                // Each line ends inside its own slot.
                EXPECT_NE(std::memchr(view.m_szPageLine[p][j], '\0', kPrintLineChars), nullptr)
                    << "page " << p << " line " << j;
                EXPECT_LT(std::strlen(view.m_szPageLine[p][j]), std::size_t(kPrintLineChars));
            }
            for (int j = 54; j < kPrintPageSlots; ++j) {
                for (int i = 0; i < kPrintLineChars; ++i) {
                    ASSERT_EQ(view.m_szPageLine[p][j][i], kCanary) << "page " << p << " slot " << j;
                }
            }
        }
    }

    CGame game;
    CCharCellDC dc;
};

TEST_F(PrintLayoutLimits, StopsAfterTheTenthPage) {
    std::vector<std::string> pieces{"[Hd one ,,"};
    for (int i = 0; i < 200; ++i) {
        char szWord[16];
        std::snprintf(szWord, sizeof szWord, "w%04d ,,", i);
        pieces.emplace_back(szWord);
    }
    SetText(game.View(), pieces);
    Layout(game.View(), dc, 100, 6);

    ExpectBuffersIntact();
    const CPages pages = PagesOf(game.View());
    ASSERT_EQ(pages.size(), 10u);
    EXPECT_EQ(pages[1].front(), "w0005 ");
    EXPECT_EQ(pages[9], (std::vector<std::string>{"w0053 ", "w0054 ", "w0055 ", "w0056 ", "w0057 ",
                                                  "w0058 "}));
}

TEST_F(PrintLayoutLimits, StopsAfterTheTenthPageAtAMovedHeading) {
    std::vector<std::string> pieces;
    for (int i = 0; i < 30; ++i) {
        pieces.emplace_back("[Hd one .. aa ,, bb ,,");
    }
    SetText(game.View(), pieces);
    Layout(game.View(), dc, 100, 6);

    ExpectBuffersIntact();
    EXPECT_EQ(game.View().m_nPages, 10);
    EXPECT_EQ(PagesOf(game.View())[9],
              (std::vector<std::string>{"[Hd one ", "", "aa ", "bb ", ""}));
}

// A word longer than a line is cut to what a line holds; the next word moves on as
// after any word that fills the line. The result is the same however wide the page.
TEST_F(PrintLayoutLimits, CutsAWordLongerThanALine) {
    for (int nWidth : {100, 100000}) {
        SetText(game.View(), {"[Hd one ..", std::string(300, 'x'), "ok"});
        Layout(game.View(), dc, nWidth, 6);
        ExpectBuffersIntact();
        EXPECT_EQ(PagesOf(game.View()),
                  (CPages{{"[Hd one ", "", "", std::string(168, 'x') + " ", "ok "}}))
            << "width " << nWidth;
    }
}

// On a page wide enough for any line, a line still ends before it outgrows its slot.
TEST_F(PrintLayoutLimits, BreaksALineBeforeItOutgrowsItsSlot) {
    std::string strPiece;
    for (int i = 0; i < 50; ++i) {
        strPiece += "abcd ";
    }
    SetText(game.View(), {"[Hd one ..", strPiece});
    Layout(game.View(), dc, 100000, 6);

    ExpectBuffersIntact();
    std::string strFull;
    for (int i = 0; i < 33; ++i) {
        strFull += "abcd ";
    }
    EXPECT_EQ(PagesOf(game.View()), (CPages{{"[Hd one ", "", strFull, strFull.substr(0, 85)}}));
}

TEST_F(PrintLayoutLimits, CutsAPieceLongerThanItsBuffer) {
    std::string strPiece;
    while (strPiece.size() < 400) {
        strPiece += "ab ";
    }
    SetText(game.View(), {"[Hd one ..", strPiece, "end"});
    Layout(game.View(), dc, 1000, 53);

    ExpectBuffersIntact();
    int nWords = 0;
    std::string strLast;
    for (const auto& page : PagesOf(game.View())) {
        for (const std::string& strLine : page) {
            for (std::size_t at = strLine.find("ab "); at != std::string::npos;
                 at = strLine.find("ab ", at + 3)) {
                ++nWords;
            }
            if (!strLine.empty()) {
                strLast = strLine;
            }
        }
    }
    // The buffer holds 279 characters of the piece: 93 words.
    EXPECT_EQ(nWords, 93);
    EXPECT_EQ(strLast.substr(strLast.size() - 4), "end ");
}

TEST_F(PrintLayoutLimits, CutsAHeadingAppendedToALongLine) {
    SetText(game.View(),
            {"[Hd one .. aa ,, bb ,,", std::string(150, 'x'), "[" + std::string(100, 'y')});
    Layout(game.View(), dc, 100000, 6);

    ExpectBuffersIntact();
    const CPages pages = PagesOf(game.View());
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[1], (std::vector<std::string>{std::string(150, 'x') + " [" +
                                                  std::string(16, 'y') + " "}));
}

// ---- The built-in print form, about 90 characters to a line.

class PrintLayoutBuiltIn : public ::testing::Test {
protected:
    void SetUp() override {
        game.View().m_nTextWidth = 900;
        game.View().m_nTextHeight = 540;
        game.View().m_nFontUnit = 30;
        game.View().LayoutPrintText(&dc);
        pages = PagesOf(game.View());
    }
    bool PageOneHas(const std::string& strLine) const {
        return std::find(pages[0].begin(), pages[0].end(), strLine) != pages[0].end();
    }
    CGame game;
    CCharCellDC dc;
    CPages pages;
};

TEST_F(PrintLayoutBuiltIn, PageOneStartsWithTheIntroduction) {
    ASSERT_FALSE(pages.empty());
    ASSERT_GE(pages[0].size(), 7u);
    EXPECT_EQ(pages[0][0], "[Introduction to Tessix ");
    EXPECT_EQ(pages[0][1], "");
    EXPECT_EQ(pages[0][2],
              "The object of this game is to see how good you are in the visual perception "
              "department ");
    EXPECT_EQ(pages[0][3], "while having some fun at the same time. ");
    EXPECT_EQ(pages[0][4], "");
    EXPECT_EQ(pages[0][5], "");
    EXPECT_EQ(pages[0][6].substr(0, 1), "[");
}

TEST_F(PrintLayoutBuiltIn, PageOneHoldsIndentsItemsAndRequirements) {
    ASSERT_FALSE(pages.empty());
    const std::string strItem = Blanks(2) + "-" + Blanks(5);
    const std::string strRequirement = "-" + Blanks(4);
    const char* const expected[] = {
        "[Description and Events ",
        "[Remember ",
        "[Minimum System Requirements ",
        "    When Tessix comes up you will see a menu that lists the four problems that make up ",
        "the game. Click on one of these to start playing. ",
    };
    for (const char* pszLine : expected) {
        EXPECT_TRUE(PageOneHas(pszLine)) << pszLine;
    }
    const std::string lines[] = {
        strItem + "Don't rush - there is no time limit. ",
        strItem +
            "In case of Problems 1 and 2, you can change colors using the right mouse "
            "button. ",
        strItem + "In case of Problems 2 and 4, when you press a key, release it quickly, before ",
        "the repeat delay runs out. ",
        "You need a PC with: ",
        strRequirement + "A speed of 200MHz ",
        strRequirement + "Windows 95/98/NT/2000/ME/XP/Vista ",
    };
    for (const std::string& strLine : lines) {
        EXPECT_TRUE(PageOneHas(strLine)) << strLine;
    }
}

TEST_F(PrintLayoutBuiltIn, EndsWithTheLastRequirementAndAnEmptyLine) {
    ASSERT_FALSE(pages.empty());
    const std::vector<std::string>& last = pages.back();
    ASSERT_GE(last.size(), 2u);
    EXPECT_EQ(last[last.size() - 2], "-" + Blanks(4) + "Mouse and Keyboard ");
    EXPECT_EQ(last.back(), "");
}

}  // namespace
