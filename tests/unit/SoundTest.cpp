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
#include "platform/Wave.h"

namespace {

// A clock that records what it is asked to sleep. With bPace it also really sleeps a
// tenth of that, to give SDL's audio thread time to run (the disk driver below writes a
// buffer a millisecond, far faster than real time); nothing asserts on real time.
class CCountingClock final : public IClock {
public:
    explicit CCountingClock(bool bPace = false) : m_bPace(bPace) {}
    DWORD timeGetTime() override { return m_dwSlept; }
    std::int32_t Time() override { return 0; }
    void Sleep(DWORD dwMilliseconds) override {
        m_dwSlept += dwMilliseconds + m_dwOvershoot;
        ++m_nSleeps;
        if (m_bPace) {
            std::this_thread::sleep_for(std::chrono::microseconds(dwMilliseconds * 100));
        }
    }

    bool m_bPace = false;
    DWORD m_dwOvershoot = 0;  // each sleep takes this much longer than asked
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

std::uint32_t Le(const std::vector<unsigned char>& b, std::size_t at, int nBytes) {
    std::uint32_t n = 0;
    for (int i = nBytes - 1; i >= 0; --i) {
        n = (n << 8) | b[at + static_cast<std::size_t>(i)];
    }
    return n;
}

// A RIFF WAVE image: a "fmt " chunk of 16 bytes for the format given, then the chunks
// given after it (each a tag and its body, padded to an even length).
std::vector<unsigned char> MakeWave(
    std::uint16_t nChannels, std::uint32_t nRate, std::uint16_t nBits,
    const std::vector<std::pair<std::string, std::size_t>>& chunks) {
    std::vector<unsigned char> b;
    const auto put = [&b](std::uint32_t n, int nBytes) {
        for (int i = 0; i < nBytes; ++i) {
            b.push_back(static_cast<unsigned char>(n >> (8 * i)));
        }
    };
    const auto tag = [&b](const char* pszTag) {
        for (int i = 0; i < 4; ++i) {
            b.push_back(static_cast<unsigned char>(pszTag[i]));
        }
    };
    tag("RIFF");
    put(0, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2);
    put(nChannels, 2);
    put(nRate, 4);
    put(nRate * nChannels * (nBits / 8u), 4);
    put(nChannels * (nBits / 8u), 2);
    put(nBits, 2);
    for (const auto& chunk : chunks) {
        tag(chunk.first.c_str());
        put(static_cast<std::uint32_t>(chunk.second), 4);
        b.resize(b.size() + chunk.second + (chunk.second & 1u), 0x80);
    }
    const auto nRiff = static_cast<std::uint32_t>(b.size() - 8);
    for (int i = 0; i < 4; ++i) {
        b[4 + static_cast<std::size_t>(i)] = static_cast<unsigned char>(nRiff >> (8 * i));
    }
    return b;
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
int SampleAt(const std::vector<unsigned char>& b, const CWaveHeader& info, std::size_t i) {
    if (info.nBits == 8) {
        return static_cast<int>(b[info.nDataOffset + i]) - 128;
    }
    return static_cast<std::int16_t>(Le(b, info.nDataOffset + 2 * i, 2));
}

TEST(SoundResource, EachCueIsMonoPcmWithItsFormatAndLength) {
    for (const SSoundCase& c : kSounds) {
        SCOPED_TRACE(c.nId);
        const std::vector<unsigned char> wave = LoadSoundResource(c.nId);
        const std::optional<CWaveHeader> info = ReadWaveHeader(wave);
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
        const std::optional<CWaveHeader> info = ReadWaveHeader(wave);
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
                                      const CWaveHeader& info) {
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
        const std::optional<CWaveHeader> info = ReadWaveHeader(wave);
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
            const std::optional<CWaveHeader> info = ReadWaveHeader(wave);
            ASSERT_TRUE(info.has_value());
            const DWORD dwDuration = WaveLengthMs(*info);

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

// The pace of a silent play from the wave's header alone, whoever plays it: a Sync play
// sleeps the samples' length in steps, an Async one or an image that is not a wave none.
struct SPaceCase {
    const char* pszName;
    std::vector<unsigned char> wave;
    EPlayMode eMode;
    DWORD dwSlept;
};

TEST(SilentPace, SyncSleepsTheLengthTheHeaderGives) {
    std::vector<unsigned char> truncated = MakeWave(1, 8000, 8, {{"data", 800}});
    truncated.resize(truncated.size() - 1);
    const SPaceCase cases[] = {
        {"8-bit mono", MakeWave(1, 8000, 8, {{"data", 800}}), EPlayMode::Sync, 100},
        {"16-bit stereo rounds up", MakeWave(2, 1000, 16, {{"data", 4001}}), EPlayMode::Sync, 1001},
        {"odd chunk before the data", MakeWave(1, 1000, 8, {{"LIST", 3}, {"data", 250}}),
         EPlayMode::Sync, 250},
        {"async", MakeWave(1, 8000, 8, {{"data", 800}}), EPlayMode::Async, 0},
        {"no data chunk", MakeWave(1, 8000, 8, {}), EPlayMode::Sync, 0},
        {"data past the end", truncated, EPlayMode::Sync, 0},
        {"no byte rate", MakeWave(1, 0, 8, {{"data", 800}}), EPlayMode::Sync, 0},
    };
    for (const SPaceCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        CCountingClock clock;
        KeepSilentPace(clock, c.wave, c.eMode, CSdlSoundPlayer::kSleepStepMs);
        EXPECT_EQ(clock.m_dwSlept, c.dwSlept);
        EXPECT_GE(clock.m_nSleeps * CSdlSoundPlayer::kSleepStepMs, c.dwSlept) << "in steps";
        // Sleeps that overrun do not add up: the length is waited out by the clock.
        CCountingClock late;
        late.m_dwOvershoot = 1;
        KeepSilentPace(late, c.wave, c.eMode, CSdlSoundPlayer::kSleepStepMs);
        EXPECT_LE(late.m_dwSlept, c.dwSlept + late.m_dwOvershoot);
    }
}

}  // namespace
