// SPDX-License-Identifier: MIT
// Raising the threads an audio driver started: only threads that are new, carry the
// driver's name and run below the raised priority are raised.
#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <future>
#include <string>
#include <thread>
#include <vector>

#include "platform/AudioThreads.h"

namespace {

// A thread that names itself and waits, parked, until the object goes.
class CNamedThread {
public:
    explicit CNamedThread(const std::string& strName)
        : m_thread([this, strName] {
              pthread_setname_np(pthread_self(), strName.c_str());
              m_id.set_value(gettid());
              m_release.get_future().wait();
          }),
          m_nId(m_id.get_future().get()) {}
    ~CNamedThread() {
        m_release.set_value();
        m_thread.join();
    }
    CNamedThread(const CNamedThread&) = delete;
    CNamedThread& operator=(const CNamedThread&) = delete;

    int Nice() const { return getpriority(PRIO_PROCESS, static_cast<id_t>(m_nId)); }

private:
    std::promise<pid_t> m_id;
    std::promise<void> m_release;
    std::thread m_thread;
    pid_t m_nId = 0;
};

}  // namespace

TEST(AudioThreads, OnlyNewThreadsWithTheNameAreRaised) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "raising a thread without RealtimeKit needs root";
    }
    const int nNormal = getpriority(PRIO_PROCESS, 0);
    ASSERT_GT(nNormal, kAudioThreadNice);
    const CNamedThread old("SDLAudioP1");
    const std::vector<pid_t> before = CurrentThreadIds();
    const CNamedThread driver("SDLAudioP2");
    const CNamedThread other("QThread");

    EXPECT_EQ(RaiseNewThreads(before, "SDLAudio", kAudioThreadNice), 1);
    EXPECT_EQ(driver.Nice(), kAudioThreadNice);
    EXPECT_EQ(old.Nice(), nNormal);
    EXPECT_EQ(other.Nice(), nNormal);
    // A thread already raised is not asked for again.
    EXPECT_EQ(RaiseNewThreads(before, "SDLAudio", kAudioThreadNice), 0);
}
