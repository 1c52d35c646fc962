// SPDX-License-Identifier: MIT
// Test doubles: a host whose client area is a raster in memory and which records what
// the game asks of the window; a clock that only moves when told or slept on; a sound
// player that records what it was asked to play.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "game/TessixView.h"
#include "platform/Charts.h"
#include "platform/Clock.h"
#include "platform/Raster.h"
#include "platform/Sound.h"
#include "platform/ViewHost.h"

class CHeadlessHost : public IViewHost {
public:
    CHeadlessHost(int nWidth, int nHeight) : m_raster(nWidth, nHeight) {}

    CRect GetClientRect() const override {
        return CRect(0, 0, m_raster.Width(), m_raster.Height());
    }
    CRaster& ClientRaster() override { return m_raster; }
    void SetWindowText(const CString& strCaption) override { m_strCaption = strCaption; }
    void ShowNow() override { ++m_nShowNow; }
    int MessageBox(const CString& strText, UINT nType) override;
    int DoModal(CDialog& dlg) override;
    void ShowCharts(const CChartSheet& sheet) override { m_charts.push_back(sheet); }
    void EndProgram(int nExitCode) override { m_oExitCode = nExitCode; }
    void Invalidate() override { ++m_nInvalidate; }

    // A window-system resize: the raster takes the new size, contents white.
    void Resize(int nWidth, int nHeight) { m_raster.Resize(nWidth, nHeight); }

    struct CMessage {
        CString strText;
        UINT nType = 0;
    };
    CRaster m_raster;
    CString m_strCaption;
    int m_nShowNow = 0;
    int m_nInvalidate = 0;
    std::vector<CMessage> m_messages;
    std::vector<CDialog*> m_dialogs;
    // For each dialog run, the lines its list boxes held after OnInitDialog.
    std::vector<std::vector<CString>> m_dialogLines;
    std::optional<int> m_oExitCode;
    std::vector<CChartSheet> m_charts;  // each chart window shown
    int m_nDialogAnswer = IDOK;
};

class CFakeClock : public IClock {
public:
    DWORD timeGetTime() override { return m_dwNow; }
    std::int32_t Time() override { return m_nSeconds; }
    void Sleep(DWORD dwMilliseconds) override {
        m_dwNow += dwMilliseconds;
        m_dwSlept += dwMilliseconds;
        ++m_nSleeps;
        if (m_onSleep) {
            m_onSleep();
        }
    }

    DWORD m_dwNow = 1000;
    std::int32_t m_nSeconds = 1'700'000'000;
    DWORD m_dwSlept = 0;
    int m_nSleeps = 0;
    // Runs at each sleep, as the window system's events would arrive during a wait.
    std::function<void()> m_onSleep;
};

class CRecordingSound : public ISoundPlayer {
public:
    struct CPlay {
        std::size_t nBytes = 0;
        EPlayMode eMode = EPlayMode::Sync;
    };
    void PlayWave(const std::vector<unsigned char>& wave, EPlayMode eMode) override {
        m_plays.push_back({wave.size(), eMode});
        if (m_onPlay) {
            m_onPlay();
        }
    }
    std::vector<CPlay> m_plays;
    // Runs while each sound "plays", as the window system's events would arrive.
    std::function<void()> m_onPlay;
};

// Pixels of exactly this colour inside the half-open rectangle of a raster.
int CountColorIn(const CRaster& raster, const CRect& rc, COLORREF clr);
// The half-open extent of those pixels; empty (IsRectEmpty) when there are none.
CRect BoundsOfColorIn(const CRaster& raster, const CRect& rc, COLORREF clr);

// A whole game on the headless host at a given client size, with a fixed seed.
class CGame {
public:
    CGame(int nWidth = 800, int nHeight = 600, std::uint32_t nSeed = 1);

    // A paint from the window system: OnDraw on a surface of the client area.
    void Paint();
    void Key(UINT nChar) { m_pView->OnKeyDown(nChar, 1, 0); }
    void Click(int x, int y) { m_pView->OnLButtonDown(0, CPoint(x, y)); }
    void Click(CPoint pt) { m_pView->OnLButtonDown(0, pt); }
    void RightClick(int x, int y) { m_pView->OnRButtonDown(0, CPoint(x, y)); }
    // A print job without a printer: the printing operations in the framework's order on
    // a surface of fixed-size characters, as Print without its dialog runs them.
    void Print();
    // Clicks the middle of the current rectangle of problem p's menu entry.
    void ChooseProblem(int p);

    COLORREF Pixel(int x, int y) const;
    // Pixels of exactly this colour inside the half-open rectangle.
    int CountColor(const CRect& rc, COLORREF clr) const;

    CTessixView& View() { return *m_pView; }
    CHeadlessHost m_host;
    CFakeClock m_clock;
    CRecordingSound m_sound;
    std::unique_ptr<CTessixView> m_pView;
};
