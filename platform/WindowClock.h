// SPDX-License-Identifier: MIT
// The clock of a program with windows. Its Sleep keeps serving the window system while
// the game waits (frames are presented, the window manager's pings answered, exposes
// repainted), but delivers no key or click: those stay queued in the window system
// until the game returns to the event loop.
#pragma once

#include "platform/Clock.h"

class CWindowClock final : public IClock {
public:
    DWORD timeGetTime() override { return m_clock.timeGetTime(); }
    std::int32_t Time() override { return m_clock.Time(); }
    // Returns after dwMilliseconds, having served the window system meanwhile.
    void Sleep(DWORD dwMilliseconds) override;

private:
    CSystemClock m_clock;
};
