#include "modbus/wait.h"

#include <QtTest>
#include <sys/resource.h>

static qint64 cpuMs() // processor time of this process so far, user and system
{
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return (use.ru_utime.tv_sec + use.ru_stime.tv_sec) * 1000LL +
           (use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1000;
}

class TestWait : public QObject {
    Q_OBJECT
private slots:
    // At least the time, events handled meanwhile (once even without time), and
    // asleep rather than polling: one long wait, then many short ones whose last
    // stretch is slept off directly.
    void waitsAsleep()
    {
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
        timer.start(0);
        for (int ms : {0, -5})
            modbus::WaitMs(ms);
        QCOMPARE(ticks, 2);
        timer.start(20);
        QElapsedTimer clock;
        clock.start();
        qint64 cpu = cpuMs();
        modbus::WaitMs(300);
        QVERIFY(clock.elapsed() >= 300 && clock.elapsed() < 1500 && ticks >= 7);
        QVERIFY2(cpuMs() - cpu < 60, "a long wait used the processor");
        timer.stop();
        clock.restart();
        cpu = cpuMs();
        for (int i = 0; i < 300; ++i)
            modbus::WaitMs(3);
        QVERIFY(clock.elapsed() >= 900);
        QVERIFY2((cpuMs() - cpu) * 4 < clock.elapsed(), "short waits used the processor");
    }

    // An abandoned wait, and one in an application that quits, return at once without spinning.
    void endsEarly()
    {
        QElapsedTimer clock;
        clock.start();
        QTimer::singleShot(50, [] { modbus::AbandonWaits(); });
        modbus::WaitMs(3000);
        QVERIFY(clock.elapsed() < 1000);
        qint64 cpu = 0;
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(50, qApp, &QCoreApplication::quit);
            clock.restart();
            cpu = cpuMs();
            modbus::WaitMs(100);
            modbus::WaitMs(2000);
            cpu = cpuMs() - cpu;
        });
        QCoreApplication::exec();
        QVERIFY2(clock.elapsed() >= 50 && clock.elapsed() < 1000,
                 qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(cpu < 30, "a wait spun once the application was quitting");
    }
};

QTEST_GUILESS_MAIN(TestWait)
#include "tst_wait.moc"
