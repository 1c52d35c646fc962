// SPDX-License-Identifier: MIT
// The game view: the one owner of all game state. Its operations are spread over the
// subsystem folders: game/ (state, screens, input, sounds), problems/ (measurement and
// the four problems), print/ (instruction text, layout, print job). It reaches the
// world only through the platform layer handed to it at construction.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

#include "game/Rules.h"
#include "platform/Clock.h"
#include "platform/Dc.h"
#include "platform/Gdi.h"
#include "platform/Random.h"
#include "platform/Sound.h"
#include "platform/Types.h"
#include "platform/ViewHost.h"

class CPrintInfo;
class CCoach;
struct CCoachNote;

constexpr int PHASE_MENU = 1;   // the menu (or the game-over menu) is the screen
constexpr int PHASE_FRESH = 2;  // a problem was just chosen: generate it afresh
constexpr int PHASE_SHOWN = 3;  // a problem is on screen: drawing repeats it

// How an answer was judged, handed from a problem to FinishAnswer.
enum class EVerdict { Wrong, Right };

struct CAnswer {
    EVerdict eVerdict = EVerdict::Wrong;
    int nPoints = 0;  // added to the score when right
    CString strMessage;
};

// A right answer earning nPoints, its message "CORRECT for nPoints POINTS!" (game/Input.cpp).
CAnswer RightAnswer(int nPoints);
// A wrong answer shown as pszMessage; it earns nothing.
CAnswer WrongAnswer(const char* pszMessage);

// Whether FinishAnswer wipes the message band itself or finds it already wiped (a
// problem that draws into the wiped band before the verdict).
enum class EWipe { Wipe, AlreadyWiped };

// Whether the player asked for the coach (game/Coach.h).
enum class ECoach { Off, On };

// Where the view gets its seed: the clock (whole seconds) unless a fixed seed replays
// a game.
struct CViewWorld {
    IViewHost* pHost = nullptr;
    IClock* pClock = nullptr;
    ISoundPlayer* pSound = nullptr;
    std::optional<std::uint32_t> oSeed;
    // The program's version text, shown at the end of the caption.
    CString strVersion;
    ECoach eCoach = ECoach::Off;
    QString strAnswerRecord;  // the coach's record file (game/Coach.h)
};

constexpr int kPrintPieces = 440;
constexpr int kPrintPages = 10;
constexpr int kPrintPageSlots = 64;
constexpr int kPrintLineChars = 170;
constexpr int kPrintBufferChars = 280;

class CTessixView final : public IHostedView {
public:
    explicit CTessixView(const CViewWorld& world);
    ~CTessixView() override;
    CTessixView(const CTessixView&) = delete;
    CTessixView& operator=(const CTessixView&) = delete;

    // Lifecycle (game/View.cpp).
    void NewGame(int nFirst);

    // Screens (game/Screens.cpp).
    void OnDraw(CDC* pDC) override;
    void DrawMenu();
    void DrawFrame(CDC* pDC);
    // The start of every problem screen: the client area cleared white and the prompt
    // word-wrapped into the message band in black.
    void DrawPromptScreen(CDC* pDC, const char* pszPrompt);
    // The menu, or the screen of the problem under way (generated afresh when the phase
    // says so).
    void DrawCurrentScreen();

    // Input (game/Input.cpp, problems/*).
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnRButtonDown(UINT nFlags, CPoint point) override;
    // Print is available on every screen.
    BOOL OnUpdateFilePrint() const { return m_nProblem > -1; }

    // Printing (print/).
    BOOL OnPreparePrinting(CPrintInfo* pInfo);
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    void LayoutPrintText(CDC* pDC);
    void PrintPage(CDC* pDC);

    IViewHost& Host() const { return *m_pHost; }

    // ---- The game's state. Public so that the shell, the print job and the tests
    // ---- read it under the names the game documents.

    // Text.
    CString m_astrLine[kPrintPieces];  // print form of the instructions, then "???*???"
    CString m_strInstructions;         // screen form, shown by F1
    CString m_strLabel;                // scratch: a menu entry, a prompt

    // Layout (client pixels).
    CRect m_rectClient;
    CRect m_rectClientInit;
    CRect m_rectTitle;
    CRect m_rectScore;
    CRect m_rectScoreLabel;
    CRect m_rectMenuItem[kProblems];
    CRect m_rectMenuSlot[kProblems];
    CRect m_rectMessage;
    int m_nUnitX = 0;
    int m_nUnitY = 0;
    int m_nCenterX = 0;
    int m_nCenterY = 0;

    // Screen state.
    int m_nPhase = PHASE_MENU;
    BOOL m_bLayoutDone = FALSE;
    int m_i = 0;
    int m_j = 0;
    int m_k = 0;
    int m_nSlot = 0;
    int m_nProblem = 0;
    int m_nFontHeight = 0;
    BOOL m_bGameOver = FALSE;
    BOOL m_bMenuActive = FALSE;

    // Drawing resources.
    CBrush m_brushOrange;
    CBrush m_brushWhite;
    CBrush m_brushBlue;
    CBrush m_brushMagenta;
    CBrush m_brushGreen;
    CBrush m_brushRed;
    CBrush m_brushYellow;
    CBrush m_brushCyan;
    CPen m_penBlue;
    CPen m_penRed;
    CPen m_penYellow;
    CPen m_penWhite;
    CPen m_penWhiteWide;
    CPen m_penMagenta;
    CPen m_penGreen;
    CFont m_fontResult;
    CFont m_fontTitle;
    CFont m_fontMessage;
    CFont m_fontLabel;
    CFont m_fontHeading;
    CFont m_fontBody;
    CFont m_fontPageNumber;
    char m_szNumber[16] = {};
    CString m_strHelp;
    CString m_strCaption;
    CString m_strVersion;  // from the world: the program's version text
    CString m_strBanner;
    CString m_strDate;
    CTime m_timeNow;

    // Printing state (printer units).
    int m_nTopMargin = 0;
    int m_nLeftMargin = 0;
    int m_nPages = 0;
    int m_nTextWidth = 0;
    int m_nPageHeight = 0;
    int m_nTextHeight = 0;
    int m_nPrintPage = 0;
    int m_nFontUnit = 0;
    CSize m_sizeText;
    char* m_pszToken = nullptr;
    char* m_pszNextToken = nullptr;
    char m_szLine[kPrintBufferChars] = {};
    char m_szPiece[kPrintBufferChars] = {};
    char m_szPageLine[kPrintPages][kPrintPageSlots][kPrintLineChars] = {};
    int m_nLastLine[kPrintPages] = {};
    int m_nPageShown = 0;
    int m_nLineHeight = 0;
    int m_nLinesPerPage = 0;
    int m_nPageWidth = 0;

    // The game proper.
    int m_nShrinkLimit = 0;
    int m_nGrowLimit = 0;
    int m_nCenterCol = 0;
    int m_nInset = 0;
    int m_nArmFlare = 0;
    int m_nArmInset = 0;
    int m_nCaveStep = 0;
    BOOL m_bSwapLeft = FALSE;
    BOOL m_bSwapRight = FALSE;
    int m_nScore = 0;
    int m_nPlays[kProblems] = {};
    int m_nJitter[8] = {};
    CPoint m_ptCenter;
    int m_nSide = 0;
    CPoint m_ptLeft;
    CPoint m_ptRight;
    CPoint m_ptTriangle[3];
    CPoint m_ptGreenShape[30];
    CPoint m_ptTarget[30];
    CPoint m_ptBlue[30];
    CPoint m_ptBlueStart[30];
    CPoint m_ptNotch[30];
    CPoint m_ptCrossHair[12];
    CRect m_rectLeft;
    CRect m_rectRight;
    CRect m_rectBoth;
    DWORD m_dwWaitStart = 0;
    DWORD m_dwWaitNow = 0;
    DWORD m_dwWaited = 0;
    COLORREF m_clrOrange;  // kOrange until the layout asks the surface for its nearest
    int m_nAreaLeft = 0;
    int m_nAreaRight = 0;
    int m_nRatio = 0;
    int m_nTolerance = 0;
    int m_nScoreBase = 0;

    // Measurement (problems/Measure.cpp): counts of one exact colour, results in
    // m_nAreaLeft / m_nAreaRight, cursors left in m_i / m_j.
    void CountLeftPixels(COLORREF clr);
    void CountRightPixels(COLORREF clr);
    void CountPixelsByColumn(COLORREF clr, int nLimit);
    void CountPixelsByRow(COLORREF clr, int nLimit);

    // Problem screens and their input (problems/ProblemN.cpp).
    void DrawProblem1();
    void DrawProblem2();
    void DrawProblem3();
    void DrawProblem4();

    // Closes a judged answer: message, sound, points, pause, menu (game/Input.cpp).
    void FinishAnswer(CDC* pDC, const CAnswer& answer, EWipe eWipe = EWipe::Wipe);
    // Fills the message band white, wiping the prompt.
    void WipeMessage(CDC* pDC);

    // Coaching (game/Coach.cpp); each does nothing without the coach.
    void NoteForCoach(const CCoachNote& note);
    // The verdict's part of the band: all of it, or its top when a coach's line follows.
    CRect VerdictBox() const;
    void DrawCoachLine(CDC* pDC);
    // After the pause: the answer into the record, a failure reported once.
    void RecordForCoach();
    void CoachNewGame();
    // The progress window over the record (game/Progress.cpp); only with the coach.
    void ShowProgress();

    // Sound cues (game/Sounds.cpp).
    void PlaySoundSync(int nId);
    void PlaySoundAsync(int nId);

private:
    friend class CProblem3Probe;
    friend class CProblemTable;  // its rows name the per-problem operations below

    // Game flow helpers (game/).
    void CountPresentation(int nProblem);
    // The layout made once per game, at its first paint: the frame, the message band, the
    // menu slots and their fonts; the paint's units, centre and squares already computed.
    void LayOutForTheGame(CDC* pDC);
    // The height of m_fontMessage for the band just laid out: m_nFontHeight, or smaller
    // where the band had to end above the shape squares, so that every prompt fits it.
    int PromptFontHeight() const;
    void StartNewGame();
    void BuildInstructions();  // print/Instructions.cpp
    int rand() { return m_random.rand(); }
    DWORD timeGetTime() { return m_pClock->timeGetTime(); }

    // Per-problem input, each acting only while its problem is under way.
    void OnProblem1Click(CDC* pDC, CPoint point);
    void OnProblem1RightClick(CDC* pDC, CPoint point);
    // Problem 1's shapes in the colours the swap flags give them.
    CRect Problem1CircleBox() const;
    void DrawProblem1Triangle(CDC* pDC);
    void DrawProblem1Circle(CDC* pDC);
    void OnProblem2Key(CDC* pDC, UINT nChar);
    void OnProblem2Click(CDC* pDC, CPoint point);
    void OnProblem2RightClick(CDC* pDC, CPoint point);
    void OnProblem3Click(CDC* pDC, CPoint point);
    // Problem 3's fourteen vertices from m_nJitter and the current m_rectBoth.
    void ComputeGreenShape();
    void OnProblem4Key(CDC* pDC, UINT nChar);
    void OnProblem4Click(CDC* pDC, CPoint point);

    IViewHost* m_pHost = nullptr;
    IClock* m_pClock = nullptr;
    ISoundPlayer* m_pSound = nullptr;
    CRandom m_random;
    std::unique_ptr<CCoach> m_pCoach;  // null unless the player asked for the coach
};
