// SPDX-License-Identifier: MIT
// Time as the game sees it: a millisecond counter for pauses, the wall clock in whole
// seconds for the caption and the random seed, and a sleep between polls. Tests hand
// the game a clock whose Sleep only advances the counter.
#pragma once

#include <cstdint>

#include "platform/Types.h"

class IClock {
public:
    virtual ~IClock() = default;
    // Milliseconds since an arbitrary start; wraps after 2^32 ms.
    virtual DWORD timeGetTime() = 0;
    // Seconds since 1970 (32-bit, as the game stores its times).
    virtual std::int32_t Time() = 0;
    virtual void Sleep(DWORD dwMilliseconds) = 0;
};

class CSystemClock final : public IClock {
public:
    DWORD timeGetTime() override;
    std::int32_t Time() override;
    void Sleep(DWORD dwMilliseconds) override;
};

// A point in time in whole seconds, formatted as the runtime's strftime does.
class CTime {
public:
    CTime() = default;
    explicit CTime(std::int32_t nSeconds) : m_nSeconds(nSeconds) {}
    std::int32_t GetTime() const { return m_nSeconds; }
    // strftime in the local time zone and the program's locale ("%c": date and time).
    CString Format(const char* pszFormat) const;

private:
    std::int32_t m_nSeconds = 0;
};
