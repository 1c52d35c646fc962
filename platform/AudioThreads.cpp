// SPDX-License-Identifier: MIT
#include "platform/AudioThreads.h"

#include <SDL.h>
#include <sched.h>
#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace {

// The thread's name as the kernel keeps it (at most 15 characters); empty once it is gone.
std::string ThreadName(pid_t nThread) {
    std::ifstream comm("/proc/self/task/" + std::to_string(nThread) + "/comm");
    std::string strName;
    std::getline(comm, strName);
    return strName;
}

// True when the thread runs under the normal policy at a nice value above nNice.
bool RunsBelow(pid_t nThread, int nNice) {
    if (sched_getscheduler(nThread) != SCHED_OTHER) {
        return false;
    }
    errno = 0;
    const int nNow = getpriority(PRIO_PROCESS, static_cast<id_t>(nThread));
    return errno == 0 && nNow > nNice;
}

}  // namespace

std::vector<pid_t> CurrentThreadIds() {
    std::vector<pid_t> threads;
    std::error_code error;
    for (std::filesystem::directory_iterator it("/proc/self/task", error), end; !error && it != end;
         it.increment(error)) {
        const std::string strId = it->path().filename().string();
        if (!strId.empty() &&
            std::all_of(strId.begin(), strId.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            threads.push_back(static_cast<pid_t>(std::stol(strId)));
        }
    }
    return threads;
}

int RaiseNewThreads(const std::vector<pid_t>& before, std::string_view prefix, int nNice) {
    int nRaised = 0;
    for (const pid_t nThread : CurrentThreadIds()) {
        if (std::find(before.begin(), before.end(), nThread) != before.end() ||
            ThreadName(nThread).rfind(prefix, 0) != 0 || !RunsBelow(nThread, nNice)) {
            continue;
        }
        // SDL tries setpriority first and asks RealtimeKit over D-Bus when that is refused.
        if (SDL_LinuxSetThreadPriority(nThread, nNice) == 0) {
            ++nRaised;
        }
    }
    return nRaised;
}
