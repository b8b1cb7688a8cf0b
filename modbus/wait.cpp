#include "modbus/wait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <thread>

namespace modbus {

namespace {
constexpr qint64 kNsPerMs = 1000000;
constexpr qint64 kDirectSleepNs = 2 * kNsPerMs; // too short to hold up the window

// Sleeps in a local event loop until the timer fires; the events that come
// meanwhile are handled by that loop. A timer that already fired is not waited for.
void sleepUntilFired(QTimer &timer, QEventLoop &loop, const bool &fired)
{
    if (!fired && timer.isActive())
        loop.exec();
}
} // namespace

void WaitMs(int ms)
{
    // The timer starts with the clock, before the first round of events, so
    // the wait does not overrun by how long those took. Qt's event loop sleeps
    // in whole milliseconds rounded up, so the timer aims a millisecond short
    // and the last stretch is slept off directly.
    QElapsedTimer clock; // monotonic: no wrap-around to handle
    clock.start();
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    bool fired = false;
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        fired = true;
        loop.quit();
    });
    if (ms > 1)
        timer.start(ms - 1);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    sleepUntilFired(timer, loop, fired);

    const qint64 total = static_cast<qint64>(ms) * kNsPerMs;
    for (qint64 left = total - clock.nsecsElapsed(); left > 0;
         left = total - clock.nsecsElapsed()) {
        if (left < kDirectSleepNs) {
            std::this_thread::sleep_for(std::chrono::nanoseconds(left));
            continue;
        }
        fired = false;
        timer.start(static_cast<int>(left / kNsPerMs) - 1);
        sleepUntilFired(timer, loop, fired);
    }
}

} // namespace modbus
