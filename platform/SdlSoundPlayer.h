// SPDX-License-Identifier: MIT
// The sound player over SDL2 audio: one output device at a time, opened for the wave it
// plays and fed from memory through SDL's audio queue, always as signed 16-bit samples.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Clock.h"
#include "platform/Sound.h"

class CSdlSoundPlayer final : public ISoundPlayer {
public:
    // Starts SDL's audio subsystem unless eAudio is Muted: on PipeWire's own backend where
    // a PipeWire daemon answers, else on SDL's usual order of drivers; a driver named in
    // SDL_AUDIODRIVER is used as it stands. Every wait goes through clock.Sleep, which
    // must outlive the player.
    CSdlSoundPlayer(EAudio eAudio, IClock& clock);
    ~CSdlSoundPlayer() override;
    CSdlSoundPlayer(const CSdlSoundPlayer&) = delete;
    CSdlSoundPlayer& operator=(const CSdlSoundPlayer&) = delete;

    // Stops whatever is playing, then plays wave. An image that is not a WAVE returns at
    // once. When the player is silent, or the wave is in a format it does not play (only
    // 8-bit and 16-bit PCM are), Sync still sleeps the wave's duration.
    void PlayWave(const std::vector<unsigned char>& wave, EPlayMode mode) override;

    // True when muted, when SDL audio did not start, or when the last attempt to open an
    // output device failed.
    bool IsSilent() const;

    // Wait granularity while a Sync sound plays, in milliseconds.
    static constexpr DWORD kSleepStepMs = 10;
    // The device's buffer, in milliseconds of sound (rounded up to a power of two of
    // frames). SDL's PulseAudio backend (and any other that feeds the server from SDL's
    // own thread) keeps no more than one buffer in the server, so the buffer is how long
    // that thread may be kept from running: on a machine with two busy processes 45 and
    // 90 ms still left gaps, 180 ms none. SDL's PipeWire backend is fed from the server's
    // real-time thread, where 45 ms played cleanly and 180 ms did not.
    static constexpr DWORD kClientThreadBufferMs = 180;
    static constexpr DWORD kServerThreadBufferMs = 45;

private:
    struct SLibraryCloser {
        void operator()(void* pLibrary) const;
    };

    bool StartAudio();
    void CloseDevice();
    // Sleeps dwMilliseconds through the clock in steps of at most kSleepStepMs.
    void SleepFor(DWORD dwMilliseconds);
    // Waits until the device has played everything queued (or has stalled), then closes it.
    void WaitUntilHeard(DWORD dwDurationMs, DWORD dwTailMs);

    IClock& m_clock;
    bool m_bMuted = false;
    bool m_bAudioStarted = false;  // this player holds a reference on SDL's audio subsystem
    bool m_bDeviceFailed = false;
    std::uint32_t m_nDevice = 0;  // SDL_AudioDeviceID of the open device; 0 when none
    DWORD m_dwBufferMs = kClientThreadBufferMs;  // for the driver SDL audio started on
    // alsa-lib, held loaded while SDL may use it so that its silenced error handler stays.
    std::unique_ptr<void, SLibraryCloser> m_alsaLibrary;
};
