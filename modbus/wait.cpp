#include "modbus/wait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace modbus {

void WaitMs(int ms)
{
    QElapsedTimer clock; // monotonic: no wrap-around to handle
    clock.start();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    for (qint64 left = ms - clock.elapsed(); left > 0; left = ms - clock.elapsed()) {
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(left), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

} // namespace modbus
