#include "modbus/wait.h"

#include <QtTest>
#include <sys/resource.h>

// Wall and processor time, in ms, that fn takes.
static std::pair<qint64, qint64> timed(const std::function<void()> &fn)
{
    const auto cpuMs = [] {
        rusage use{};
        getrusage(RUSAGE_SELF, &use);
        return (use.ru_utime.tv_sec + use.ru_stime.tv_sec) * 1000LL +
               (use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1000;
    };
    QElapsedTimer clock;
    clock.start();
    const qint64 cpu = cpuMs();
    fn();
    return {clock.elapsed(), cpuMs() - cpu};
}

class TestWait : public QObject {
    Q_OBJECT
private slots:
    // At least the time, events handled meanwhile (once even without time), and
    // asleep rather than polling: one long wait, then many short ones whose last
    // stretch is slept off directly. Only gross overruns fail: a loaded machine
    // may hold any wait up.
    void waitsAsleep()
    {
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
        timer.start(0);
        QVERIFY(modbus::WaitMs(0) && modbus::WaitMs(-5) && modbus::WaitMs(1));
        QCOMPARE(ticks, 3);
        timer.start(20);
        auto [wall, cpu] = timed([] { QVERIFY(modbus::WaitMs(300)); });
        QVERIFY2(wall >= 300 && wall < 3000 && ticks >= 5 && cpu * 4 < wall,
                 "a long wait was off or busy");
        std::tie(wall, cpu) = timed([] {
            for (int i = 0; i < 100; ++i)
                modbus::WaitMs(3);
        });
        QVERIFY2(wall >= 300 && cpu * 4 < wall, "short waits used the processor");
    }

    // An abandoned wait, and one in an application that quits, end at once, and say so.
    void endsEarly()
    {
        for (int ms : {0, 50}) { // in the first round of events, or while asleep
            QTimer::singleShot(ms, [] { modbus::AbandonWaits(); });
            QVERIFY(timed([] { QVERIFY(!modbus::WaitMs(60000)); }).first < 30000);
        }
        qint64 quitting = -1;
        QTimer::singleShot(0, [&quitting] {
            QTimer::singleShot(50, qApp, &QCoreApplication::quit);
            quitting = timed([] { QVERIFY(!modbus::WaitMs(100) && !modbus::WaitMs(60000)); }).first;
        });
        QCoreApplication::exec();
        QVERIFY2(quitting >= 50 && quitting < 30000,
                 "a wait went on once the application was quitting");
    }
};

QTEST_GUILESS_MAIN(TestWait)
#include "tst_wait.moc"
