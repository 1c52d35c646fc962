// SPDX-License-Identifier: MIT
// The sound cues: 102 for a right answer, 103 for a wrong one (both played to their end
// before the game goes on), 104 when a new "find the center" problem appears.
#include "game/TessixView.h"

void CTessixView::PlaySoundSync(int nId) {
    const std::vector<unsigned char> wave = LoadSoundResource(nId);
    if (!wave.empty()) {
        m_pSound->PlayWave(wave, EPlayMode::Sync);
    }
}

void CTessixView::PlaySoundAsync(int nId) {
    const std::vector<unsigned char> wave = LoadSoundResource(nId);
    if (!wave.empty()) {
        m_pSound->PlayWave(wave, EPlayMode::Async);
    }
}
