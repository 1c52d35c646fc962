// SPDX-License-Identifier: MIT
// Wave sounds played from memory, one at a time: a new sound cuts the one playing.
#pragma once

#include <vector>

#include "platform/Types.h"

enum class EPlayMode { Sync, Async };
enum class EAudio { Enabled, Muted };

class ISoundPlayer {
public:
    virtual ~ISoundPlayer() = default;
    // Plays a complete RIFF WAVE image. Sync returns when the sound has ended; Async
    // returns at once. A player that cannot sound stays silent, keeping the same timing.
    virtual void PlayWave(const std::vector<unsigned char>& wave, EPlayMode mode) = 0;
};

// The wave image of sound resource nId (101 to 104), compiled into the program;
// empty when there is no such resource.
std::vector<unsigned char> LoadSoundResource(int nId);
