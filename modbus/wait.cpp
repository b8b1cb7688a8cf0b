#include "modbus/wait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace modbus {

namespace {
constexpr qint64 kNsPerMs = 1000000;
constexpr qint64 kDirectSleepNs = 2 * kNsPerMs; // too short to hold up the window

// One wait in progress; waits nest when an event handled in one starts another.
struct Wait {
    Wait()
    {
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, &loop, [this] {
            fired = true;
            loop.quit();
        });
        inProgress().push_back(this);
    }
    ~Wait()
    {
        auto &waits = inProgress();
        waits.erase(std::remove(waits.begin(), waits.end(), this), waits.end());
    }
    Wait(const Wait &) = delete;
    Wait &operator=(const Wait &) = delete;

    static std::vector<Wait *> &inProgress()
    {
        static std::vector<Wait *> waits;
        return waits;
    }

    // Sleeps in the loop until the timer fires; the events that come meanwhile
    // are handled there. False when the wait is over early: abandoned, or the
    // application quitting, when Qt no longer runs the loop and waiting on would spin.
    bool sleptUntilFired()
    {
        if (abandoned)
            return false;
        if (!fired && timer.isActive())
            loop.exec();
        return fired || !timer.isActive();
    }

    QEventLoop loop;
    QTimer timer;
    bool fired = false;
    bool abandoned = false;
};
} // namespace

bool WaitMs(int ms)
{
    // The timer starts with the clock, before the first round of events, so
    // the wait does not overrun by how long those took. Qt's event loop sleeps
    // in whole milliseconds rounded up, so the timer aims a millisecond short
    // and the last stretch is slept off directly.
    QElapsedTimer clock; // monotonic: no wrap-around to handle
    clock.start();
    Wait wait;
    if (ms > 1)
        wait.timer.start(ms - 1);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (!wait.sleptUntilFired())
        return false;

    const qint64 total = static_cast<qint64>(ms) * kNsPerMs;
    for (qint64 left = total - clock.nsecsElapsed(); left > 0 && !wait.abandoned;
         left = total - clock.nsecsElapsed()) {
        if (left < kDirectSleepNs) {
            std::this_thread::sleep_for(std::chrono::nanoseconds(left));
            continue;
        }
        wait.fired = false;
        wait.timer.start(static_cast<int>(left / kNsPerMs) - 1);
        if (!wait.sleptUntilFired())
            return false;
    }
    return true;
}

void AbandonWaits()
{
    for (Wait *wait : Wait::inProgress()) {
        wait->abandoned = true;
        wait->loop.quit();
    }
}

} // namespace modbus
