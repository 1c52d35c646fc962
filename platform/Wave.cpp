// SPDX-License-Identifier: MIT
#include "platform/Wave.h"

#include <algorithm>

namespace {

// The little-endian number of nBytes bytes at b[at].
std::uint32_t Le(const std::vector<unsigned char>& b, std::size_t at, int nBytes) {
    std::uint32_t n = 0;
    for (int i = nBytes - 1; i >= 0; --i) {
        n = (n << 8) | b[at + static_cast<std::size_t>(i)];
    }
    return n;
}

bool TagIs(const std::vector<unsigned char>& b, std::size_t at, const char* pszTag) {
    return std::equal(pszTag, pszTag + 4, b.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

std::optional<CWaveHeader> ReadWaveHeader(const std::vector<unsigned char>& b) {
    if (b.size() < 12 || !TagIs(b, 0, "RIFF") || !TagIs(b, 8, "WAVE") ||
        Le(b, 4, 4) != b.size() - 8) {
        return std::nullopt;
    }
    CWaveHeader header;
    bool bFmt = false;
    bool bData = false;
    std::size_t at = 12;
    // Chunks are padded to an even length.
    while (at + 8 <= b.size()) {
        const std::uint32_t nSize = Le(b, at + 4, 4);
        const std::size_t body = at + 8;
        if (nSize > b.size() - body) {
            return std::nullopt;
        }
        if (TagIs(b, at, "fmt ") && nSize >= 16) {
            header.nFormat = static_cast<std::uint16_t>(Le(b, body, 2));
            header.nChannels = static_cast<std::uint16_t>(Le(b, body + 2, 2));
            header.nRate = Le(b, body + 4, 4);
            header.nBits = static_cast<std::uint16_t>(Le(b, body + 14, 2));
            bFmt = true;
        } else if (TagIs(b, at, "data")) {
            header.nDataOffset = body;
            header.nDataBytes = nSize;
            bData = true;
        }
        at = body + nSize + (nSize & 1u);
    }
    if (!bFmt || !bData) {
        return std::nullopt;
    }
    return header;
}

DWORD WaveLengthMs(const CWaveHeader& header) {
    const std::uint64_t nBytesPerSecond =
        std::uint64_t{header.nRate} * header.nChannels * (header.nBits / 8u);
    if (nBytesPerSecond == 0) {
        return 0;
    }
    return static_cast<DWORD>((std::uint64_t{header.nDataBytes} * 1000 + nBytesPerSecond - 1) /
                              nBytesPerSecond);
}

void KeepSilentPace(IClock& clock, const std::vector<unsigned char>& wave, EPlayMode eMode,
                    DWORD dwStepMs) {
    if (eMode != EPlayMode::Sync) {
        return;
    }
    const std::optional<CWaveHeader> header = ReadWaveHeader(wave);
    const DWORD dwLength = header ? WaveLengthMs(*header) : 0;
    // The length is waited out by the clock, not counted in steps: each sleep may take a
    // little longer than asked, and counted steps would add that up.
    const DWORD dwStart = clock.timeGetTime();
    for (DWORD dwWaited = 0; dwWaited < dwLength; dwWaited = clock.timeGetTime() - dwStart) {
        const DWORD dwLeft = dwLength - dwWaited;
        clock.Sleep(std::min(dwLeft, dwStepMs > 0 ? dwStepMs : dwLeft));
    }
}
