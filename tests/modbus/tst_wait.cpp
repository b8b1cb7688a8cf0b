#include "modbus/wait.h"
#include "tests/support/cpu_time.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

class TestWait : public QObject {
    Q_OBJECT
private slots:
    void handlesPendingEventsEvenWithoutTime_data()
    {
        QTest::addColumn<int>("ms");
        QTest::newRow("zero") << 0;
        QTest::newRow("negative") << -5;
    }
    void handlesPendingEventsEvenWithoutTime()
    {
        QFETCH(int, ms);
        bool handled = false;
        QMetaObject::invokeMethod(
            this, [&handled] { handled = true; }, Qt::QueuedConnection);
        modbus::WaitMs(ms);
        QVERIFY(handled);
    }

    void waitsAtLeastTheTimeAndHandlesEventsMeanwhile()
    {
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
        timer.start(20);
        QElapsedTimer clock;
        clock.start();
        modbus::WaitMs(200);
        QVERIFY(clock.elapsed() >= 200);
        QVERIFY(clock.elapsed() < 1500);
        QVERIFY(ticks >= 3);
    }

    // A wait that polled for events would burn the whole 500 ms.
    void sleepsInsteadOfSpinning()
    {
        const qint64 before = cpuMs();
        modbus::WaitMs(500);
        QVERIFY2(cpuMs() - before < 100, "the wait used the processor");
    }
};

QTEST_GUILESS_MAIN(TestWait)
#include "tst_wait.moc"
