// SPDX-License-Identifier: MIT
// The sound player over SDL2 audio: one output device at a time, opened in the format
// of the wave it plays and fed from memory through SDL's audio queue.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Clock.h"
#include "platform/Sound.h"

class CSdlSoundPlayer final : public ISoundPlayer {
public:
    // Starts SDL's audio subsystem unless eAudio is Muted. Every wait goes through
    // clock.Sleep, which must outlive the player.
    CSdlSoundPlayer(EAudio eAudio, IClock& clock);
    ~CSdlSoundPlayer() override;
    CSdlSoundPlayer(const CSdlSoundPlayer&) = delete;
    CSdlSoundPlayer& operator=(const CSdlSoundPlayer&) = delete;

    // Stops whatever is playing, then plays wave. An image that is not a WAVE returns at
    // once. When the player is silent, Sync still sleeps the wave's duration.
    void PlayWave(const std::vector<unsigned char>& wave, EPlayMode mode) override;

    // True when muted, when SDL audio did not start, or when the last attempt to open an
    // output device failed.
    bool IsSilent() const;

    // Wait granularity while a Sync sound plays, in milliseconds.
    static constexpr DWORD kSleepStepMs = 10;

private:
    void CloseDevice();
    // Sleeps dwMilliseconds through the clock in steps of at most kSleepStepMs.
    void SleepFor(DWORD dwMilliseconds);

    IClock& m_clock;
    bool m_bMuted = false;
    bool m_bAudioStarted = false;  // this player holds a reference on SDL's audio subsystem
    bool m_bDeviceFailed = false;
    std::uint32_t m_nDevice = 0;  // SDL_AudioDeviceID of the open device; 0 when none
};
