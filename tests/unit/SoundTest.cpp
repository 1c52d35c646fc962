// SPDX-License-Identifier: MIT
// The sound resources compiled into the program, and the SDL player: what it writes to
// SDL's "disk" output, and how it keeps the game's pace when it cannot sound.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/SdlSoundPlayer.h"
#include "platform/Sound.h"

namespace {

// A clock that records what it is asked to sleep. With bPace it also really sleeps
// that long, to give SDL's audio thread time to run; nothing asserts on real time.
class CCountingClock final : public IClock {
public:
    explicit CCountingClock(bool bPace = false) : m_bPace(bPace) {}
    DWORD timeGetTime() override { return m_dwSlept; }
    std::int32_t Time() override { return 0; }
    void Sleep(DWORD dwMilliseconds) override {
        m_dwSlept += dwMilliseconds;
        ++m_nSleeps;
        if (m_bPace) {
            std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds));
        }
    }

    bool m_bPace = false;
    DWORD m_dwSlept = 0;
    int m_nSleeps = 0;
};

// Sets an environment variable for the lifetime of the object, then puts back what was
// there before (or removes it), so one test's audio driver does not leak into another.
class CScopedEnv {
public:
    CScopedEnv(const char* pszName, const std::string& strValue) : m_strName(pszName) {
        if (const char* pszOld = std::getenv(pszName)) {
            m_oOld = std::string(pszOld);
        }
        setenv(pszName, strValue.c_str(), 1);
    }
    ~CScopedEnv() {
        if (m_oOld) {
            setenv(m_strName.c_str(), m_oOld->c_str(), 1);
        } else {
            unsetenv(m_strName.c_str());
        }
    }
    CScopedEnv(const CScopedEnv&) = delete;
    CScopedEnv& operator=(const CScopedEnv&) = delete;

private:
    std::string m_strName;
    std::optional<std::string> m_oOld;
};

// Removes a file when the test is done with it, whatever happens in between.
class CScopedFile {
public:
    explicit CScopedFile(std::filesystem::path path) : m_path(std::move(path)) {
        std::filesystem::remove(m_path);
    }
    ~CScopedFile() {
        std::error_code ec;
        std::filesystem::remove(m_path, ec);
    }
    CScopedFile(const CScopedFile&) = delete;
    CScopedFile& operator=(const CScopedFile&) = delete;
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// What the test reads from a RIFF WAVE header, independently of the player.
struct SWaveInfo {
    std::uint16_t nFormat = 0;
    std::uint16_t nChannels = 0;
    std::uint32_t nRate = 0;
    std::uint16_t nBits = 0;
    std::size_t nDataOffset = 0;
    std::uint32_t nDataBytes = 0;
};

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

// Walks the chunks of a RIFF WAVE image; nullopt unless it has a "fmt " chunk and a
// "data" chunk that lies wholly inside the image and the RIFF size matches the image.
std::optional<SWaveInfo> ReadWave(const std::vector<unsigned char>& b) {
    if (b.size() < 12 || !TagIs(b, 0, "RIFF") || !TagIs(b, 8, "WAVE") ||
        Le(b, 4, 4) != b.size() - 8) {
        return std::nullopt;
    }
    SWaveInfo info;
    bool bFmt = false;
    bool bData = false;
    std::size_t at = 12;
    while (at + 8 <= b.size()) {
        const std::uint32_t nSize = Le(b, at + 4, 4);
        const std::size_t body = at + 8;
        if (nSize > b.size() - body) {
            return std::nullopt;
        }
        if (TagIs(b, at, "fmt ") && nSize >= 16) {
            info.nFormat = static_cast<std::uint16_t>(Le(b, body, 2));
            info.nChannels = static_cast<std::uint16_t>(Le(b, body + 2, 2));
            info.nRate = Le(b, body + 4, 4);
            info.nBits = static_cast<std::uint16_t>(Le(b, body + 14, 2));
            bFmt = true;
        } else if (TagIs(b, at, "data")) {
            info.nDataOffset = body;
            info.nDataBytes = nSize;
            bData = true;
        }
        at = body + nSize + (nSize & 1u);
    }
    if (!bFmt || !bData) {
        return std::nullopt;
    }
    return info;
}

// Milliseconds the wave's samples last, rounded up.
DWORD DurationMs(const SWaveInfo& info) {
    const std::uint64_t nBytesPerSecond =
        std::uint64_t{info.nRate} * info.nChannels * (info.nBits / 8u);
    return static_cast<DWORD>((std::uint64_t{info.nDataBytes} * 1000 + nBytesPerSecond - 1) /
                              nBytesPerSecond);
}

struct SSoundCase {
    int nId = 0;
    std::uint32_t nRate = 0;
    std::uint16_t nBits = 0;
    std::uint32_t nDataBytes = 0;
};

const SSoundCase kSounds[] = {
    {101, 22050, 16, 9156},
    {102, 22050, 8, 25088},
    {103, 22050, 8, 22052},
    {104, 11025, 8, 30128},
};

// A sample value as a signed distance from silence.
int SampleAt(const std::vector<unsigned char>& b, const SWaveInfo& info, std::size_t i) {
    if (info.nBits == 8) {
        return static_cast<int>(b[info.nDataOffset + i]) - 128;
    }
    return static_cast<std::int16_t>(Le(b, info.nDataOffset + 2 * i, 2));
}

TEST(SoundResource, EachCueIsMonoPcmWithItsFormatAndLength) {
    for (const SSoundCase& c : kSounds) {
        SCOPED_TRACE(c.nId);
        const std::vector<unsigned char> wave = LoadSoundResource(c.nId);
        const std::optional<SWaveInfo> info = ReadWave(wave);
        ASSERT_TRUE(info.has_value());
        EXPECT_EQ(info->nFormat, 1);
        EXPECT_EQ(info->nChannels, 1);
        EXPECT_EQ(info->nRate, c.nRate);
        EXPECT_EQ(info->nBits, c.nBits);
        EXPECT_EQ(info->nDataBytes, c.nDataBytes);
    }
}

TEST(SoundResource, EachCueStaysBelowFullScaleAndStartsAndEndsAtSilence) {
    for (const SSoundCase& c : kSounds) {
        SCOPED_TRACE(c.nId);
        const std::vector<unsigned char> wave = LoadSoundResource(c.nId);
        const std::optional<SWaveInfo> info = ReadWave(wave);
        ASSERT_TRUE(info.has_value());
        const std::size_t nSamples = info->nDataBytes / (info->nBits / 8u);
        ASSERT_GT(nSamples, 0u);
        const int nFullScale = info->nBits == 8 ? 127 : 32767;
        int nPeak = 0;
        for (std::size_t i = 0; i < nSamples; ++i) {
            nPeak = std::max(nPeak, std::abs(SampleAt(wave, *info, i)));
        }
        EXPECT_LT(nPeak, nFullScale);              // never clipped
        EXPECT_GT(nPeak, nFullScale / 4);          // and clearly audible
        const int nNearSilence = nFullScale / 64;  // a fade, not a step, at each end
        EXPECT_LE(std::abs(SampleAt(wave, *info, 0)), nNearSilence);
        EXPECT_LE(std::abs(SampleAt(wave, *info, nSamples - 1)), nNearSilence);
    }
}

TEST(SoundResource, UnknownIdIsEmpty) {
    for (int nId : {0, 100, 105, 999}) {
        SCOPED_TRACE(nId);
        EXPECT_TRUE(LoadSoundResource(nId).empty());
    }
}

// The samples the device should be handed: signed 16-bit, whose silence is 0, so that a
// server padding a stream run short with zero bytes pads it with silence.
std::vector<unsigned char> AsSigned16(const std::vector<unsigned char>& wave,
                                      const SWaveInfo& info) {
    const int nScale = info.nBits == 8 ? 256 : 1;
    std::vector<unsigned char> bytes;
    for (std::size_t i = 0; i < info.nDataBytes / (info.nBits / 8u); ++i) {
        const auto nSample = static_cast<std::uint16_t>(SampleAt(wave, info, i) * nScale);
        bytes.push_back(static_cast<unsigned char>(nSample & 0xFF));
        bytes.push_back(static_cast<unsigned char>(nSample >> 8));
    }
    return bytes;
}

// Sync play through SDL's "disk" driver, which writes what the device plays to a file in
// the device's format: once PlayWave returns and the player is gone, the file holds every
// sample of the sound as signed 16-bit, in order, and nothing but zeros around it (the
// silence the device plays before and after).
TEST(SoundPlayer, SyncPlayOnDiskDriverWritesTheWholeSoundAsSigned16AmidZeros) {
    const CScopedFile out(std::filesystem::temp_directory_path() /
                          ("tessix-sound-test-" + std::to_string(getpid()) + ".raw"));
    const CScopedEnv driver("SDL_AUDIODRIVER", "disk");
    const CScopedEnv file("SDL_DISKAUDIOFILE", out.Path().string());
    // One millisecond between device buffers: much faster than real time, without
    // filling the disk with silence while the player waits.
    const CScopedEnv delay("SDL_DISKAUDIODELAY", "1");

    for (const SSoundCase& c : kSounds) {
        SCOPED_TRACE(c.nId);
        const std::vector<unsigned char> wave = LoadSoundResource(c.nId);
        const std::optional<SWaveInfo> info = ReadWave(wave);
        ASSERT_TRUE(info.has_value());
        {
            CCountingClock clock(true);
            CSdlSoundPlayer player(EAudio::Enabled, clock);
            player.PlayWave(wave, EPlayMode::Sync);
            EXPECT_FALSE(player.IsSilent());
        }
        std::ifstream in(out.Path(), std::ios::binary);
        std::vector<unsigned char> written((std::istreambuf_iterator<char>(in)),
                                           std::istreambuf_iterator<char>());
        const std::vector<unsigned char> expected = AsSigned16(wave, *info);
        const auto at =
            std::search(written.begin(), written.end(), expected.begin(), expected.end());
        ASSERT_NE(at, written.end());
        written.erase(at, at + static_cast<std::ptrdiff_t>(expected.size()));
        EXPECT_FALSE(written.empty());  // the silence after the sound was written too
        EXPECT_TRUE(std::all_of(written.begin(), written.end(),
                                [](unsigned char byte) { return byte == 0; }));
    }
}

struct SSilentCase {
    const char* pszName = "";
    EAudio eAudio = EAudio::Enabled;
    const char* pszDriver = "";
};

// Players that cannot sound: muted, or asked for an audio driver SDL does not have.
const SSilentCase kSilent[] = {
    {"muted", EAudio::Muted, "dummy"},
    {"no driver", EAudio::Enabled, "tessix-no-such-driver"},
};

TEST(SoundPlayer, SilentSyncPlaySleepsTheSoundsDurationAndAsyncDoesNotSleep) {
    for (const SSilentCase& s : kSilent) {
        const CScopedEnv driver("SDL_AUDIODRIVER", s.pszDriver);
        for (const SSoundCase& c : kSounds) {
            SCOPED_TRACE(std::string(s.pszName) + " " + std::to_string(c.nId));
            const std::vector<unsigned char> wave = LoadSoundResource(c.nId);
            const std::optional<SWaveInfo> info = ReadWave(wave);
            ASSERT_TRUE(info.has_value());
            const DWORD dwDuration = DurationMs(*info);

            CCountingClock clock;
            CSdlSoundPlayer player(s.eAudio, clock);
            EXPECT_TRUE(player.IsSilent());

            player.PlayWave(wave, EPlayMode::Sync);
            EXPECT_GE(clock.m_dwSlept + CSdlSoundPlayer::kSleepStepMs, dwDuration);
            EXPECT_LE(clock.m_dwSlept, dwDuration + CSdlSoundPlayer::kSleepStepMs);
            EXPECT_TRUE(player.IsSilent());

            const DWORD dwBefore = clock.m_dwSlept;
            player.PlayWave(wave, EPlayMode::Async);
            EXPECT_EQ(clock.m_dwSlept, dwBefore);
        }
    }
}

TEST(SoundPlayer, ImageThatIsNotAWaveReturnsWithoutSleeping) {
    const std::vector<unsigned char> wave102 = LoadSoundResource(102);
    ASSERT_FALSE(wave102.empty());
    struct SBadImage {
        const char* pszName;
        std::vector<unsigned char> image;
    };
    const SBadImage images[] = {
        {"empty", {}},
        {"text", {'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v', 'e'}},
        {"header only", std::vector<unsigned char>(wave102.begin(), wave102.begin() + 12)},
    };
    for (const SSilentCase& s : kSilent) {
        const CScopedEnv driver("SDL_AUDIODRIVER", s.pszDriver);
        CCountingClock clock;
        CSdlSoundPlayer player(s.eAudio, clock);
        for (const SBadImage& bad : images) {
            SCOPED_TRACE(std::string(s.pszName) + " " + bad.pszName);
            player.PlayWave(bad.image, EPlayMode::Sync);
            player.PlayWave(bad.image, EPlayMode::Async);
            EXPECT_EQ(clock.m_nSleeps, 0);
        }
    }
}

}  // namespace
