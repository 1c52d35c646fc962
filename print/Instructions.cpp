// SPDX-License-Identifier: MIT
// The instructions in their two forms: the print form, pieces of mark-up for the print
// layout ending in a sentinel, and the screen form that F1 shows. Both are rebuilt whole
// at every new game, so they read the same every time.
#include <cstddef>

#include "game/TessixView.h"

namespace {

constexpr const char* kSentinel = "???*???";

// Read as one stream of blank-separated tokens: a piece boundary separates two words.
constexpr const char* kPrintText[] = {
    "[Introduction to Tessix .. The object of this game is",
    "to see how good you are in the visual perception department while having some fun at "
    "the same time. .. ,, ",

    // This edition.
    "[About This Edition .. ::: This is the portable edition of Tessix, made for desktop "
    "Linux. It is built with Qt and runs on both X11 and Wayland desktops. ,, ",
    "::: Every shape is drawn and measured in the pixels of the game's own window, so areas "
    "are judged the same way on every screen. ,, ",
    "::: The game keeps nothing between runs: the list of past scores lasts until you close "
    "the game. ,, .. ",

    "[Description and Events .. ::: When Tessix comes up you will see ",
    "a menu that lists the four problems that make up the game. ",
    "Click on one of these to start playing. ,, ::: ",
    "When the selected problem is displayed, you will see instructions on what to do. Once "
    "you have",
    "finished with a problem, you will be returned to the menu. Each problem can be played up "
    "to five",
    "times in the course of a game. .. ,, ",
    "[Remember .. : - ::: Don't rush - there is no time limit. ,, ",
    ": - ::: Read the instructions. ,, ",
    ": - ::: Sizes of objects are not always the same. In some cases, the shapes vary as "
    "well. ,, ",
    ": - ::: In case of Problems 1 and 2, you can change colors using the right mouse "
    "button. ,, ",
    ": - ::: In case of Problems 2 and 4,",
    "when you press a key, release it quickly, before the repeat delay runs out. ,, ",
    ": - ::: You can print the instructions by pressing the Ctrl and P keys. ,, ",
    ": - ::: Between games you can check past scores from this session by pressing F2. .. ,, ",
    "[Minimum System Requirements .. You need a PC with: ,, ",
    "- :: A speed of 200MHz ,, ",
    "- :: Windows 95/98/NT/2000/ME/XP/Vista ,, ",
    "- :: 1MB of free space on a hard drive for the application ,, ",
    "- :: 16MB of RAM ,, ",
    "- :: Hi Color (16 bit color) at a screen resolution of 800x600 or greater ,, ",
    "- :: Sound ,, ",
    "- :: Mouse and Keyboard ,, ",
};

// Concatenated with nothing between: paragraphs are separated by two line feeds, and
// each item under "Remember:" starts its own line.
constexpr const char* kScreenText[] = {
    "The object of this game is ",
    "to see how good you are in the visual perception department while having some fun at the "
    "same time. ",
    "\n\nWhen Tessix comes up you will see ",
    "a menu that lists the four problems that make up the game. ",
    "Click on one of these to start playing. ",
    "\n\nWhen the selected problem is displayed, you will see instructions on what to do. Once "
    "you have ",
    "finished with a problem, you will be returned to the menu. Each problem can be played up "
    "to five ",
    "times in the course of a game. ",
    "\n\nRemember: \n -   Don't rush - there is no time limit. ",
    "\n -   Sizes of objects are not always the same. In some cases, the shapes vary as well. ",
    "\n -   In case of Problems 1 and 2, you can change colors using the right mouse button. ",
    "\n -   In case of Problems 2 and 4, when you press a key, release it quickly, before the "
    "repeat delay runs out.",
    "\n -   Between games you can check past scores from this session by pressing F2.",
};

constexpr int kPrintTextPieces = static_cast<int>(sizeof kPrintText / sizeof kPrintText[0]);
static_assert(kPrintTextPieces + 1 <= kPrintPieces, "the print form and its sentinel must fit");

}  // namespace

void CTessixView::BuildInstructions() {
    int n = 0;
    for (const char* pszPiece : kPrintText) {
        m_astrLine[n++] = pszPiece;
    }
    m_astrLine[n++] = kSentinel;
    for (; n < kPrintPieces; ++n) {
        m_astrLine[n].clear();
    }

    m_strInstructions = kScreenText[0];
    for (std::size_t i = 1; i < sizeof kScreenText / sizeof kScreenText[0]; ++i) {
        m_strInstructions += kScreenText[i];
    }
}
