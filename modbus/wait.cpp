#include "modbus/wait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace modbus {

namespace {
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
    // the wait ends on time instead of overrunning by how long those took.
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
    if (ms > 0)
        timer.start(ms);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    sleepUntilFired(timer, loop, fired);

    const qint64 total = static_cast<qint64>(ms) * 1000000;
    for (qint64 left = total - clock.nsecsElapsed(); left > 0;
         left = total - clock.nsecsElapsed()) {
        fired = false;
        timer.start(static_cast<int>((left + 999999) / 1000000));
        sleepUntilFired(timer, loop, fired);
    }
}

} // namespace modbus
