// SPDX-License-Identifier: MIT
// Plays wave images through SDL2's audio queue. Waits never spin: they sleep through the
// injected clock, so tests can run a Sync play without real time passing.
#include "platform/SdlSoundPlayer.h"

#include <SDL.h>
#include <dlfcn.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "platform/AudioThreads.h"
#include "platform/Wave.h"

namespace {

// How much longer than its own duration a Sync sound may take to drain before the
// player stops waiting for a device that has stalled.
constexpr DWORD kStallAllowanceMs = 2000;

// SDL names the threads it starts for a playback device "SDLAudioP" and a number, the
// loop of its PipeWire driver included.
constexpr std::string_view kAudioThreadPrefix = "SDLAudio";

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

// The wave's samples as the device takes them: signed 16-bit, whose silence is 0.
// Unsigned 8-bit samples are centred on 128, and a server that pads a stream run short
// with zero bytes (pipewire-pulse does) would make every gap a full-scale click.
// Empty for a format other than 8-bit or 16-bit PCM.
std::vector<Sint16> ToSigned16(const SParsedWave& parsed) {
    const Uint8* pBytes = parsed.samples.get();
    std::vector<Sint16> samples;
    if (parsed.spec.format == AUDIO_U8) {
        samples.resize(parsed.nBytes);
        for (Uint32 i = 0; i < parsed.nBytes; ++i) {
            samples[i] = static_cast<Sint16>((pBytes[i] - 128) * 256);
        }
    } else if (parsed.spec.format == AUDIO_S16LSB) {
        samples.resize(parsed.nBytes / 2);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            samples[i] = static_cast<Sint16>(pBytes[2 * i] | (pBytes[2 * i + 1] << 8));
        }
    }
    return samples;
}

// A device buffer of at least dwBufferMs, in a power of two of frames as SDL prefers.
Uint16 BufferFrames(int nFreq, DWORD dwBufferMs) {
    Uint16 nFrames = 256;
    while (nFrames < 8192 && std::uint64_t{nFrames} * 1000 <
                                 std::uint64_t{dwBufferMs} * static_cast<std::uint64_t>(nFreq)) {
        nFrames = static_cast<Uint16>(nFrames * 2);
    }
    return nFrames;
}

// What still plays once SDL has taken the last samples from its queue: the buffer it
// took them into and about one more in the server, less the silence that pads the last
// buffer (SDL takes whole buffers, counted from the sound's first sample). So a Sync
// sound ends when it has been heard, not a buffer or two later.
DWORD TailMs(std::size_t nFrames, Uint16 nBufferFrames, int nFreq) {
    const std::uint64_t nBuffer = nBufferFrames;
    const std::uint64_t nPadding = (nBuffer - nFrames % nBuffer) % nBuffer;
    const std::uint64_t nTail = 2 * nBuffer - nPadding;
    const auto nRate = static_cast<std::uint64_t>(nFreq);
    return static_cast<DWORD>((nTail * 1000 + nRate - 1) / nRate);
}

// Drops alsa-lib's reports. Without a sound server SDL falls back to ALSA, whose every
// failed probe (no card, no PCM) would otherwise print a line on the terminal.
void DropAlsaReport(const char* /*file*/, int /*line*/, const char* /*function*/, int /*err*/,
                    const char* /*fmt*/, ...) {}

using AlsaErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
using AlsaSetErrorHandler = int (*)(AlsaErrorHandler);

// Loads alsa-lib (the instance SDL will load too) and silences it; null when the
// library is not installed, in which case SDL cannot use ALSA either.
void* LoadQuietAlsa() {
    void* pLibrary = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (pLibrary == nullptr) {
        return nullptr;
    }
    // POSIX guarantees that a function's address survives the round trip through void*.
    const auto pSetHandler =
        reinterpret_cast<AlsaSetErrorHandler>(dlsym(pLibrary, "snd_lib_error_set_handler"));
    if (pSetHandler != nullptr) {
        pSetHandler(&DropAlsaReport);
    }
    return pLibrary;
}

}  // namespace

void CSdlSoundPlayer::SLibraryCloser::operator()(void* pLibrary) const {
    dlclose(pLibrary);
}

CSdlSoundPlayer::CSdlSoundPlayer(EAudio eAudio, IClock& clock)
    : m_clock(clock), m_bMuted(eAudio == EAudio::Muted) {
    if (m_bMuted) {
        return;
    }
    // The game handles its own signals; SDL must not install handlers for SIGINT/SIGTERM.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    m_bAudioStarted = StartAudio();
}

CSdlSoundPlayer::~CSdlSoundPlayer() {
    CloseDevice();
    if (m_bAudioStarted) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

bool CSdlSoundPlayer::StartAudio() {
    const char* pszChosen = SDL_getenv("SDL_AUDIODRIVER");
    bool bStarted = false;
    if (pszChosen == nullptr || *pszChosen == '\0') {
        // SDL 2.26 prefers its PulseAudio backend even where PipeWire serves it through
        // pipewire-pulse; PipeWire's own backend plays from the server's thread, which a
        // busy machine does not starve. Without a PipeWire daemon this attempt fails.
        SDL_SetHint(SDL_HINT_AUDIODRIVER, "pipewire");
        bStarted = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
        if (!bStarted) {
            SDL_ResetHint(SDL_HINT_AUDIODRIVER);
        }
    }
    if (!bStarted) {
        m_alsaLibrary.reset(LoadQuietAlsa());
        bStarted = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    }
    const char* pszDriver = bStarted ? SDL_GetCurrentAudioDriver() : nullptr;
    if (pszDriver != nullptr && std::strcmp(pszDriver, "pipewire") == 0) {
        m_dwBufferMs = kServerThreadBufferMs;
    }
    return bStarted;
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
    const Uint16 nBufferFrames = BufferFrames(nFreq, m_dwBufferMs);
    const std::vector<Sint16> samples = ToSigned16(parsed);

    std::vector<pid_t> threadsBefore;  // the threads there were before the device opened
    if (!m_bMuted && m_bAudioStarted && !samples.empty()) {
        SDL_AudioSpec desired = parsed.spec;
        desired.format = AUDIO_S16SYS;
        desired.samples = nBufferFrames;
        desired.callback = nullptr;  // fed through SDL_QueueAudio
        desired.userdata = nullptr;
        SDL_AudioSpec obtained = {};
        threadsBefore = CurrentThreadIds();
        // No allowed changes: SDL converts to whatever the server wants, so the queue
        // takes the samples as they are.
        m_nDevice = SDL_OpenAudioDevice(nullptr, 0, &desired, &obtained, 0);
        m_bDeviceFailed = m_nDevice == 0;
        const auto nBytes = static_cast<Uint32>(samples.size() * sizeof(Sint16));
        if (m_nDevice != 0 && SDL_QueueAudio(m_nDevice, samples.data(), nBytes) != 0) {
            CloseDevice();
        }
    }

    if (m_nDevice == 0) {
        // Silent: keep the game's pace as if the sound had played.
        KeepSilentPace(m_clock, wave, mode, kSleepStepMs);
        return;
    }

    SDL_PauseAudioDevice(m_nDevice, 0);
    // After the sound has started, so that asking RealtimeKit does not delay it.
    RaiseNewThreads(threadsBefore, kAudioThreadPrefix, kAudioThreadNice);
    if (mode == EPlayMode::Async) {
        return;  // the device stays open, playing, until the next sound or destruction
    }
    const std::size_t nFrames =
        samples.size() / (parsed.spec.channels > 0 ? parsed.spec.channels : 1u);
    WaitUntilHeard(dwDurationMs, TailMs(nFrames, nBufferFrames, nFreq));
}

void CSdlSoundPlayer::WaitUntilHeard(DWORD dwDurationMs, DWORD dwTailMs) {
    // Asking for the queue's size takes the device's lock, which SDL's audio thread (under
    // PipeWire the server's real-time thread) needs for every buffer; a game thread
    // preempted while it holds the lock on a busy machine makes the stream miss a buffer.
    // So the player first sleeps as long as the queue takes to drain when nothing stalls
    // (the lock-free status check still notices a device that went away) and asks only
    // after that.
    const DWORD dwUnaskedMs = dwDurationMs > dwTailMs ? dwDurationMs - dwTailMs : 0;
    const DWORD dwLimitMs = dwDurationMs + kStallAllowanceMs;
    DWORD dwWaitedMs = 0;
    while (dwWaitedMs < dwLimitMs &&
           (dwWaitedMs < dwUnaskedMs || SDL_GetQueuedAudioSize(m_nDevice) > 0)) {
        if (SDL_GetAudioDeviceStatus(m_nDevice) != SDL_AUDIO_PLAYING) {
            // The device went away mid-sound: finish the wave's time in silence.
            SleepFor(dwDurationMs > dwWaitedMs ? dwDurationMs - dwWaitedMs : 0);
            CloseDevice();
            return;
        }
        m_clock.Sleep(kSleepStepMs);
        dwWaitedMs += kSleepStepMs;
    }
    SleepFor(dwTailMs);
    CloseDevice();
}
