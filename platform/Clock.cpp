// SPDX-License-Identifier: MIT
#include "platform/Clock.h"

#include <chrono>
#include <ctime>
#include <thread>

DWORD CSystemClock::timeGetTime() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

std::int32_t CSystemClock::Time() {
    return static_cast<std::int32_t>(std::time(nullptr));
}

void CSystemClock::Sleep(DWORD dwMilliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds));
}

CString CTime::Format(const char* pszFormat) const {
    const std::time_t t = m_nSeconds;
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    char buffer[256] = {};
    const std::size_t n = std::strftime(buffer, sizeof buffer, pszFormat, &local);
    return CString(buffer, n);
}
