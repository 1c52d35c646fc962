// SPDX-License-Identifier: MIT
// The runtime's pseudo-random generator, reproduced exactly so that a seed replays a
// game: state = state * 214013 + 2531011 (mod 2^32), rand() = (state >> 16) & 0x7FFF.
#pragma once

#include <cstdint>

class CRandom {
public:
    void srand(std::uint32_t nSeed) { m_nState = nSeed; }
    int rand() {
        m_nState = m_nState * 214013u + 2531011u;
        return static_cast<int>((m_nState >> 16) & 0x7FFFu);
    }

private:
    std::uint32_t m_nState = 1;
};
