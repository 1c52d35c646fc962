// SPDX-License-Identifier: MIT
// Plays wave images through SDL2's audio queue. Waits never spin: they sleep through the
// injected clock, so tests can run a Sync play without real time passing.
#include "platform/SdlSoundPlayer.h"

#include <SDL.h>

#include <climits>
#include <cstdint>
#include <memory>

namespace {

// How much longer than its own duration a Sync sound may take to drain before the
// player stops waiting for a device that has stalled.
constexpr DWORD kStallAllowanceMs = 2000;

struct SWavDeleter {
    void operator()(Uint8* pSamples) const { SDL_FreeWAV(pSamples); }
};

// A wave's format and samples as SDL_LoadWAV_RW decoded them.
struct SParsedWave {
    SDL_AudioSpec spec = {};
    std::unique_ptr<Uint8, SWavDeleter> samples;
    Uint32 nBytes = 0;
};

// Parses a RIFF WAVE image held in memory; false when SDL does not read it as one.
bool ParseWave(const std::vector<unsigned char>& wave, SParsedWave& parsed) {
    if (wave.empty() || wave.size() > static_cast<std::size_t>(INT_MAX)) {
        return false;
    }
    SDL_RWops* pStream = SDL_RWFromConstMem(wave.data(), static_cast<int>(wave.size()));
    if (pStream == nullptr) {
        return false;
    }
    Uint8* pSamples = nullptr;
    Uint32 nBytes = 0;
    // freesrc = 1: SDL closes the stream whether or not the parse succeeds.
    if (SDL_LoadWAV_RW(pStream, 1, &parsed.spec, &pSamples, &nBytes) == nullptr) {
        return false;
    }
    parsed.samples.reset(pSamples);
    parsed.nBytes = nBytes;
    return true;
}

// Milliseconds needed to play the samples, rounded up.
DWORD DurationMs(const SParsedWave& parsed) {
    const std::uint64_t nFrameBytes = static_cast<std::uint64_t>(parsed.spec.channels) *
                                      (SDL_AUDIO_BITSIZE(parsed.spec.format) / 8);
    const std::uint64_t nBytesPerSecond =
        nFrameBytes * static_cast<std::uint64_t>(parsed.spec.freq > 0 ? parsed.spec.freq : 0);
    if (nBytesPerSecond == 0) {
        return 0;
    }
    return static_cast<DWORD>((parsed.nBytes * std::uint64_t{1000} + nBytesPerSecond - 1) /
                              nBytesPerSecond);
}

// A device buffer of about 20 ms (a power of two of frames, as SDL prefers): short
// enough that the tail after the queue drains is brief, long enough not to underrun.
Uint16 BufferFrames(int nFreq) {
    Uint16 nFrames = 256;
    while (nFrames < 4096 && nFrames * 50 < nFreq) {
        nFrames = static_cast<Uint16>(nFrames * 2);
    }
    return nFrames;
}

}  // namespace

CSdlSoundPlayer::CSdlSoundPlayer(EAudio eAudio, IClock& clock)
    : m_clock(clock), m_bMuted(eAudio == EAudio::Muted) {
    if (m_bMuted) {
        return;
    }
    // The game handles its own signals; SDL must not install handlers for SIGINT/SIGTERM.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    m_bAudioStarted = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

CSdlSoundPlayer::~CSdlSoundPlayer() {
    CloseDevice();
    if (m_bAudioStarted) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

bool CSdlSoundPlayer::IsSilent() const {
    return m_bMuted || !m_bAudioStarted || m_bDeviceFailed;
}

void CSdlSoundPlayer::CloseDevice() {
    if (m_nDevice != 0) {
        SDL_CloseAudioDevice(m_nDevice);
        m_nDevice = 0;
    }
}

void CSdlSoundPlayer::SleepFor(DWORD dwMilliseconds) {
    while (dwMilliseconds > 0) {
        const DWORD dwStep = dwMilliseconds < kSleepStepMs ? dwMilliseconds : kSleepStepMs;
        m_clock.Sleep(dwStep);
        dwMilliseconds -= dwStep;
    }
}

void CSdlSoundPlayer::PlayWave(const std::vector<unsigned char>& wave, EPlayMode mode) {
    // One sound at a time: whatever plays now is cut, even by an image that fails to parse.
    CloseDevice();

    SParsedWave parsed;
    if (!ParseWave(wave, parsed)) {
        return;
    }
    const DWORD dwDurationMs = DurationMs(parsed);
    const int nFreq = parsed.spec.freq > 0 ? parsed.spec.freq : 1;
    const Uint16 nBufferFrames = BufferFrames(nFreq);

    if (!m_bMuted && m_bAudioStarted) {
        SDL_AudioSpec desired = parsed.spec;
        desired.samples = nBufferFrames;
        desired.callback = nullptr;  // fed through SDL_QueueAudio
        desired.userdata = nullptr;
        SDL_AudioSpec obtained = {};
        // No allowed changes: SDL converts to whatever the hardware wants, so the queue
        // takes the wave's samples unchanged.
        m_nDevice = SDL_OpenAudioDevice(nullptr, 0, &desired, &obtained, 0);
        m_bDeviceFailed = m_nDevice == 0;
        if (m_nDevice != 0 && SDL_QueueAudio(m_nDevice, parsed.samples.get(), parsed.nBytes) != 0) {
            CloseDevice();
        }
    }

    if (m_nDevice == 0) {
        // Silent: keep the game's pace as if the sound had played.
        if (mode == EPlayMode::Sync) {
            SleepFor(dwDurationMs);
        }
        return;
    }

    SDL_PauseAudioDevice(m_nDevice, 0);
    if (mode == EPlayMode::Async) {
        return;  // the device stays open, playing, until the next sound or destruction
    }

    // Sync: wait until SDL has taken every queued sample, then for the last buffers it
    // handed on (its own and about as much in the system's mixer) to be heard.
    const DWORD dwLimitMs = dwDurationMs + kStallAllowanceMs;
    DWORD dwWaitedMs = 0;
    while (SDL_GetQueuedAudioSize(m_nDevice) > 0 && dwWaitedMs < dwLimitMs) {
        if (SDL_GetAudioDeviceStatus(m_nDevice) != SDL_AUDIO_PLAYING) {
            // The device went away mid-sound: finish the wave's time in silence.
            SleepFor(dwDurationMs > dwWaitedMs ? dwDurationMs - dwWaitedMs : 0);
            break;
        }
        m_clock.Sleep(kSleepStepMs);
        dwWaitedMs += kSleepStepMs;
    }
    const std::uint64_t nTailFrames = 2u * std::uint64_t{nBufferFrames};
    SleepFor(static_cast<DWORD>((nTailFrames * 1000u + static_cast<std::uint64_t>(nFreq) - 1) /
                                static_cast<std::uint64_t>(nFreq)));
    CloseDevice();
}
