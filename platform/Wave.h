// SPDX-License-Identifier: MIT
// A RIFF WAVE image's header, read without playing it, and the pace of a silent sound: a
// player that cannot sound a wave still takes as long over a Sync play as the wave lasts,
// so that the game keeps the same timing muted, without a device or on any backend.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Clock.h"
#include "platform/Sound.h"

struct CWaveHeader {
    std::uint16_t nFormat = 0;  // 1: PCM
    std::uint16_t nChannels = 0;
    std::uint32_t nRate = 0;  // frames a second
    std::uint16_t nBits = 0;  // a sample
    std::size_t nDataOffset = 0;
    std::uint32_t nDataBytes = 0;
};

// The header of a RIFF WAVE image; nullopt unless the RIFF size matches the image and it
// has a "fmt " chunk and a "data" chunk lying wholly inside it.
std::optional<CWaveHeader> ReadWaveHeader(const std::vector<unsigned char>& wave);

// Milliseconds the samples last, rounded up; 0 for a header that gives no byte rate.
DWORD WaveLengthMs(const CWaveHeader& header);

// What a player that cannot sound does with a play: for Sync, waits out the wave's length
// on clock, sleeping at most dwStepMs at a time; for Async, or an image that is not a
// wave, nothing.
void KeepSilentPace(IClock& clock, const std::vector<unsigned char>& wave, EPlayMode eMode,
                    DWORD dwStepMs);
