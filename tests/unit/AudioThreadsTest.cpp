// SPDX-License-Identifier: MIT
// Only threads that are new, carry the driver's name and run below the raised priority
// are raised.
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

// A thread that is named once constructed and stays parked until the object goes.
struct SNamedThread {
    explicit SNamedThread(const std::string& strName)
        : thread([this, strName] {
              pthread_setname_np(pthread_self(), strName.c_str());
              id.set_value(gettid());
              release.get_future().wait();
          }),
          nId(id.get_future().get()) {}
    ~SNamedThread() {
        release.set_value();
        thread.join();
    }
    int Nice() const { return getpriority(PRIO_PROCESS, static_cast<id_t>(nId)); }

    std::promise<pid_t> id;
    std::promise<void> release;
    std::thread thread;
    pid_t nId = 0;  // once named
};

}  // namespace

TEST(AudioThreads, OnlyNewThreadsWithTheNameAreRaisedOnce) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "raising a thread without RealtimeKit needs root";
    }
    const int nNormal = getpriority(PRIO_PROCESS, 0);
    ASSERT_GT(nNormal, kAudioThreadNice);
    const SNamedThread old("SDLAudioP1");
    const std::vector<pid_t> before = CurrentThreadIds();
    const SNamedThread driver("SDLAudioP2");
    const SNamedThread other("QThread");

    EXPECT_EQ(RaiseNewThreads(before, "SDLAudio", kAudioThreadNice), 1);
    EXPECT_EQ(driver.Nice(), kAudioThreadNice);
    EXPECT_EQ(old.Nice(), nNormal);
    EXPECT_EQ(other.Nice(), nNormal);
    EXPECT_EQ(RaiseNewThreads(before, "SDLAudio", kAudioThreadNice), 0);
}
