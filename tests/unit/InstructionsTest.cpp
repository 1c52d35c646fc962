// SPDX-License-Identifier: MIT
// The two forms of the instructions, and F1 on every screen.
#include <gtest/gtest.h>

#include <QImage>
#include <sstream>
#include <vector>

#include "scores/ScoresDlg.h"
#include "support/Headless.h"

namespace {

constexpr const char* kSentinel = "???*???";

int SentinelIndex(const CTessixView& view) {
    for (int i = 0; i < kPrintPieces; ++i) {
        if (view.m_astrLine[i] == kSentinel) {
            return i;
        }
    }
    return -1;
}

// The print form before the sentinel, as the layout reads it: one stream of tokens.
std::vector<CString> PrintTokens(const CTessixView& view, int nFirst, int nEnd) {
    std::vector<CString> tokens;
    for (int i = nFirst; i < nEnd; ++i) {
        std::istringstream in(view.m_astrLine[i]);
        for (CString token; in >> token;) {
            tokens.push_back(token);
        }
    }
    return tokens;
}

std::vector<CString> Split(const CString& text, const CString& separator) {
    std::vector<CString> parts;
    std::size_t nStart = 0;
    for (std::size_t n = text.find(separator); n != CString::npos;
         n = text.find(separator, nStart)) {
        parts.push_back(text.substr(nStart, n - nStart));
        nStart = n + separator.size();
    }
    parts.push_back(text.substr(nStart));
    return parts;
}

bool StartsWith(const CString& text, const CString& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

class InstructionsTest : public ::testing::Test {
protected:
    void SetUp() override { g_dlgScores.ClearHistory(); }
    CTessixView& View() { return m_game.View(); }
    CGame m_game;
};

TEST_F(InstructionsTest, TextAfterTenNewGamesIsTheTextAtStartUp) {
    std::vector<CString> printForm(View().m_astrLine, View().m_astrLine + kPrintPieces);
    const CString screenForm = View().m_strInstructions;
    for (int i = 0; i < 10; ++i) {
        View().NewGame(0);
    }
    EXPECT_EQ(std::vector<CString>(View().m_astrLine, View().m_astrLine + kPrintPieces), printForm);
    EXPECT_EQ(View().m_strInstructions, screenForm);
}

TEST_F(InstructionsTest, NewGameClearsStaleEntriesAfterTheSentinel) {
    const int nSentinel = SentinelIndex(View());
    ASSERT_GT(nSentinel, 0);
    View().m_astrLine[nSentinel + 1] = "stale";
    View().m_astrLine[kPrintPieces - 1] = "stale";
    View().NewGame(0);
    for (int i = nSentinel + 1; i < kPrintPieces; ++i) {
        EXPECT_TRUE(View().m_astrLine[i].empty()) << "entry " << i;
    }
}

TEST_F(InstructionsTest, PrintFormEndsWithTheMouseAndKeyboardLineThenTheSentinel) {
    const int nSentinel = SentinelIndex(View());
    ASSERT_GT(nSentinel, 0);
    EXPECT_EQ(View().m_astrLine[nSentinel - 1], "- :: Mouse and Keyboard ,, ");
    for (int i = nSentinel + 1; i < kPrintPieces; ++i) {
        EXPECT_TRUE(View().m_astrLine[i].empty()) << "entry " << i;
    }
}

TEST_F(InstructionsTest, EveryPrintPieceFitsThePieceBuffer) {
    const int nSentinel = SentinelIndex(View());
    for (int i = 0; i < nSentinel; ++i) {
        EXPECT_LT(View().m_astrLine[i].size(), static_cast<std::size_t>(kPrintBufferChars))
            << "entry " << i;
    }
}

TEST_F(InstructionsTest, PrintFormHasItsSectionsInOrderEachClosedByTwoBlankLines) {
    const std::vector<CString> tokens = PrintTokens(View(), 0, SentinelIndex(View()));
    std::vector<CString> headings;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i][0] != '[') {
            continue;
        }
        CString heading = tokens[i].substr(1);
        for (std::size_t j = i + 1; j < tokens.size() && tokens[j] != ".."; ++j) {
            heading += " " + tokens[j];
        }
        headings.push_back(heading);
        // A heading after the first closes the section before it with ".." and ",,"
        // (two blank lines), in either order.
        if (i > 0) {
            ASSERT_GE(i, 2u);
            const CString closing = tokens[i - 2] + tokens[i - 1];
            EXPECT_TRUE(closing == "..,," || closing == ",,..")
                << "before [" << heading << ": " << tokens[i - 2] << " " << tokens[i - 1];
        }
    }
    ASSERT_EQ(headings.size(), 5u);
    EXPECT_EQ(headings[0], "Introduction to Tessix");
    EXPECT_EQ(headings[2], "Description and Events");
    EXPECT_EQ(headings[3], "Remember");
    EXPECT_EQ(headings[4], "Minimum System Requirements");
    EXPECT_EQ(View().m_astrLine[1],
              "to see how good you are in the visual perception department while having some "
              "fun at the same time. .. ,, ");
}

TEST_F(InstructionsTest, EditionSectionIsHeadingThenIndentedParagraphs) {
    int nEnd = 2;
    while (nEnd < kPrintPieces && !StartsWith(View().m_astrLine[nEnd], "[Description")) {
        ++nEnd;
    }
    const std::vector<CString> tokens = PrintTokens(View(), 2, nEnd);
    ASSERT_GE(tokens.size(), 4u);
    EXPECT_EQ(tokens.front()[0], '[');
    EXPECT_EQ(tokens.back(), "..");

    std::size_t i = 1;
    while (i < tokens.size() && tokens[i] != "..") {
        ++i;
    }
    ++i;  // past the heading's ".."
    int nParagraphs = 0;
    while (i + 1 < tokens.size()) {
        ASSERT_EQ(tokens[i], ":::") << "token " << i;
        std::size_t nWords = 0;
        for (++i; i < tokens.size() && tokens[i] != ",,"; ++i) {
            EXPECT_TRUE(tokens[i] != ".." && tokens[i] != "..." && tokens[i][0] != ':' &&
                        tokens[i][0] != '[')
                << "control token inside a paragraph: " << tokens[i];
            ++nWords;
        }
        EXPECT_GT(nWords, 0u);
        ++i;  // past ",,"
        ++nParagraphs;
    }
    EXPECT_GE(nParagraphs, 1);
    EXPECT_EQ(i + 1, tokens.size());
}

TEST_F(InstructionsTest, ScreenFormSeparatesParagraphsAndRememberItems) {
    const std::vector<CString> paragraphs = Split(View().m_strInstructions, "\n\n");
    ASSERT_EQ(paragraphs.size(), 4u);
    const char* kParagraphStarts[] = {"The object of this game is to see",
                                      "When Tessix comes up you will see a menu",
                                      "When the selected problem is displayed", "Remember: \n"};
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        EXPECT_TRUE(StartsWith(paragraphs[i], kParagraphStarts[i])) << paragraphs[i];
        if (i < 3) {
            EXPECT_EQ(paragraphs[i].find('\n'), CString::npos) << paragraphs[i];
        }
    }

    const std::vector<CString> lines = Split(paragraphs[3], "\n");
    const char* kItems[] = {"Don't rush", "Sizes of objects", "In case of Problems 1 and 2",
                            "In case of Problems 2 and 4", "Between games"};
    ASSERT_EQ(lines.size(), 1u + std::size(kItems));
    EXPECT_EQ(lines[0], "Remember: ");
    for (std::size_t i = 0; i < std::size(kItems); ++i) {
        EXPECT_TRUE(StartsWith(lines[i + 1], CString(" -   ") + kItems[i])) << lines[i + 1];
    }
}

TEST_F(InstructionsTest, ScreenFormJoinsItsLiteralsWithSingleBlanks) {
    CString text = View().m_strInstructions;
    for (std::size_t n = text.find("\n -   "); n != CString::npos; n = text.find("\n -   ")) {
        text.erase(n, 6);
    }
    EXPECT_EQ(text.find("  "), CString::npos);
    for (const char* pszJoin :
         {"The object of this game is to see how good", "Once you have finished with a problem",
          "played up to five times in the course of a game. ",
          "you will see a menu that lists the four problems that make up the game. Click on"}) {
        EXPECT_NE(View().m_strInstructions.find(pszJoin), CString::npos) << pszJoin;
    }
    for (const char* pszAbsent : {"Read the instructions", "Ctrl", "Minimum", "[", "::"}) {
        EXPECT_EQ(View().m_strInstructions.find(pszAbsent), CString::npos) << pszAbsent;
    }
}

// What F1 must leave alone.
struct CGameState {
    int nPhase = 0;
    int nProblem = 0;
    BOOL bGameOver = FALSE;
    BOOL bMenuActive = FALSE;
    int nScore = 0;
    std::vector<int> plays;
    QImage screen;
};

CGameState StateOf(CGame& game) {
    CTessixView& v = game.View();
    return {v.m_nPhase,
            v.m_nProblem,
            v.m_bGameOver,
            v.m_bMenuActive,
            v.m_nScore,
            std::vector<int>(v.m_nPlays, v.m_nPlays + 4),
            game.m_host.ClientRaster().Image().copy()};
}

void ExpectSameState(const CGameState& a, const CGameState& b) {
    EXPECT_EQ(a.nPhase, b.nPhase);
    EXPECT_EQ(a.nProblem, b.nProblem);
    EXPECT_EQ(a.bGameOver, b.bGameOver);
    EXPECT_EQ(a.bMenuActive, b.bMenuActive);
    EXPECT_EQ(a.nScore, b.nScore);
    EXPECT_EQ(a.plays, b.plays);
    EXPECT_TRUE(a.screen == b.screen) << "the screen changed";
}

// Presses F1 and checks that exactly the instruction box was shown and nothing changed.
void PressF1AndExpectOnlyTheBox(CGame& game) {
    const CGameState before = StateOf(game);
    game.Key(VK_F1);
    ASSERT_EQ(game.m_host.m_messages.size(), 1u);
    EXPECT_EQ(game.m_host.m_messages[0].strText, game.View().m_strInstructions);
    EXPECT_EQ(game.m_host.m_messages[0].nType, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_TRUE(game.m_host.m_dialogs.empty());
    ExpectSameState(before, StateOf(game));
}

TEST_F(InstructionsTest, F1OnTheMenuShowsTheBoxAndChangesNothing) {
    m_game.Paint();
    PressF1AndExpectOnlyTheBox(m_game);
}

TEST_F(InstructionsTest, F1DuringAProblemShowsTheBoxAndTheProblemGoesOn) {
    m_game.Paint();
    m_game.ChooseProblem(3);
    ASSERT_EQ(View().m_nProblem, 3);
    PressF1AndExpectOnlyTheBox(m_game);

    m_game.Click(View().m_ptCenter);
    EXPECT_EQ(View().m_nProblem, 0);
    EXPECT_EQ(View().m_nScore, 300);
}

TEST_F(InstructionsTest, F1AfterGameOverKeepsTheGameOver) {
    m_game.Paint();
    for (int& nPlays : View().m_nPlays) {
        nPlays = 5;
    }
    View().m_nScore = 450;
    View().DrawMenu();
    ASSERT_TRUE(View().m_bGameOver);
    PressF1AndExpectOnlyTheBox(m_game);
    EXPECT_EQ(g_dlgScores.m_nScoreCount, 1);

    m_game.Key(VK_HOME);
    EXPECT_FALSE(View().m_bGameOver);
    EXPECT_EQ(View().m_nScore, 0);
}

}  // namespace
