// SPDX-License-Identifier: MIT
#include "platform/WindowClock.h"

#include <QEventLoop>
#include <QTimer>

void CWindowClock::Sleep(DWORD dwMilliseconds) {
    // A local loop sleeps in the event dispatcher until the timer fires, waking for
    // window-system traffic only; user input is left in the queue.
    const DWORD dwStart = m_clock.timeGetTime();
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(static_cast<int>(dwMilliseconds));
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    // Once the program has been asked to end, event loops return at once; the rest of
    // the time is slept plainly, so that the wait never spins.
    const DWORD dwSlept = m_clock.timeGetTime() - dwStart;
    if (dwSlept < dwMilliseconds) {
        m_clock.Sleep(dwMilliseconds - dwSlept);
    }
}
