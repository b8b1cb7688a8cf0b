// Cyclic acquisition: "循环", "停止" and the Timer2 tick on the real window.

#include "device/commands.h"
#include "tests/support/window_rig.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
QTimer *timer2(WindowRig &rig)
{
    return rig.window->findChild<QTimer *>(QStringLiteral("Timer2"));
}

QByteArray liveValues(const QByteArray &request)
{
    QList<int> values;
    for (int k = 0; k < static_cast<quint8>(request[5]); ++k)
        values << 100 * (k + 1);
    return readReply(static_cast<quint8>(request[0]), values);
}
} // namespace

class TestCycle : public QObject {
    Q_OBJECT
private slots:
    void intervalText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("interval"); // 0: refused
        QTest::addColumn<QString>("message");
        const QString notNumber = device::kIntervalNotNumber;
        const QString range = device::kIntervalOutOfRange;
        QTest::newRow("50") << "50" << 50 << "";
        QTest::newRow("60000") << "60000" << 60000 << "";
        QTest::newRow("50.5 to even") << "50.5" << 50 << "";
        QTest::newRow("60000.7") << "60000.7" << 60001 << "";
        QTest::newRow("1e3") << " 1e3 " << 1000 << "";
        QTest::newRow("49") << "49" << 0 << range;
        QTest::newRow("49.9") << "49.9" << 0 << range;
        QTest::newRow("60001") << "60001" << 0 << range;
        QTest::newRow("1e400") << "1e400" << 0 << range;
        QTest::newRow("-100") << "-100" << 0 << range;
        QTest::newRow("abc") << "abc" << 0 << notNumber;
        QTest::newRow("empty") << "" << 0 << notNumber;
        QTest::newRow("1,000") << "1,000" << 0 << notNumber;
    }
    void intervalText()
    {
        QFETCH(QString, text);
        QFETCH(int, interval);
        QFETCH(QString, message);
        WindowRig rig;
        rig.ui().lblCounter->setText(QStringLiteral("7"));
        rig.ui().txtTimerSet->setText(text);
        rig.ui().cmdOneM->click();
        QCOMPARE(rig.ui().lblCounter->text(), QStringLiteral("1"));
        QCOMPARE(timer2(rig)->isActive(), interval != 0);
        if (interval != 0) {
            QCOMPARE(timer2(rig)->interval(), interval);
            QVERIFY(rig.catcher.messages.isEmpty());
            return;
        }
        QCOMPARE(rig.catcher.messages.size(), 1);
        QCOMPARE(rig.catcher.messages[0].text, message);
        QCOMPARE(rig.catcher.messages[0].title, device::kAppTitle);
        QCOMPARE(rig.catcher.messages[0].icon, QMessageBox::NoIcon);
    }

    void rejectedTextKeepsARunningCycle()
    {
        WindowRig rig;
        rig.ui().txtTimerSet->setText(QStringLiteral("5000"));
        rig.ui().cmdOneM->click();
        rig.ui().txtTimerSet->setText(QStringLiteral("abc"));
        rig.ui().cmdOneM->click();
        QVERIFY(timer2(rig)->isActive());
        QCOMPARE(timer2(rig)->interval(), 5000);
        rig.ui().cmdStopOnce->click();
        QVERIFY(!timer2(rig)->isActive());
        rig.ui().cmdStopOnce->click(); // stop while stopped does nothing
        QVERIFY(!timer2(rig)->isActive());
    }

    void tickBeforeAnyQueryShowsOnlyTheReplyText()
    {
        WindowRig rig;
        rig.module->setResponder(liveValues);
        rig.window->commands().onTimer2();
        QCOMPARE(rig.requestBytes(), QList<QByteArray>{bytes({2, 3, 0, 0, 0, 0x10, 0x44, 0x35})});
        QVERIFY(!rig.ui().txtState->toPlainText().isEmpty());
        QCOMPARE(rig.ui().txtCurrentInput[0]->text(), QStringLiteral("0"));
    }

    void ticksRepeatTheFieldsAsTheyStand()
    {
        WindowRig rig;
        rig.module->setResponder(liveValues);
        rig.ui().comDoOnce->click();
        rig.window->commands().onTimer2();
        QCOMPARE(rig.requestBytes().last(), bytes({2, 3, 0, 0, 0, 8, 0x44, 0x3F}));
        QCOMPARE(rig.ui().txtCurrentInput[7]->text(), QStringLiteral("800"));

        rig.ui().txtStartID->setText(QStringLiteral("3"));
        rig.window->commands().onTimer2();
        QCOMPARE(rig.requestBytes().last(), modbus::CloseFrame(2, 3, 0, 2, 0, 8));

        // 8.6 asks for 8 registers but the decoding takes 9 (rounded): the
        // ninth value comes from the CRC bytes and has no box.
        rig.ui().txtDataLength->setText(QStringLiteral("8.6"));
        rig.window->commands().onTimer2();
        QCOMPARE(rig.requestBytes().last(), modbus::CloseFrame(2, 3, 0, 2, 0, 8));
        QCOMPARE(rig.ui().txtCurrentInput[0]->text(), QStringLiteral("1.00"));
    }

    void counterWrapsAbove65535()
    {
        WindowRig rig;
        rig.ui().lblCounter->setText(QStringLiteral("65535"));
        rig.window->commands().onTimer2();
        QCOMPARE(rig.ui().lblCounter->text(), QStringLiteral("65536"));
        rig.window->commands().onTimer2();
        QCOMPARE(rig.ui().lblCounter->text(), QStringLiteral("1"));
    }

    // A field that gives no byte stops the cycle with one message.
    void badFieldStopsTheCycle_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("station") << "txtStationID"
                                 << "abc" << device::kBadStation;
        QTest::newRow("station 256") << "txtStationID"
                                     << "256" << device::kBadStation;
        QTest::newRow("start 0") << "txtStartID"
                                 << "0.9" << device::kBadStart;
        QTest::newRow("start 256") << "txtStartID"
                                   << "256" << device::kBadStart;
        QTest::newRow("length") << "txtDataLength"
                                << "" << device::kBadLength;
        QTest::newRow("length -1") << "txtDataLength"
                                   << "-1" << device::kBadLength;
    }
    void badFieldStopsTheCycle()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        WindowRig rig;
        rig.window->findChild<QLineEdit *>(field)->setText(text);
        rig.ui().txtTimerSet->setText(QStringLiteral("50"));
        rig.ui().cmdOneM->click();
        QTest::qWait(400);
        QVERIFY(!timer2(rig)->isActive());
        QCOMPARE(rig.catcher.texts(), QStringList{message});
        QCOMPARE(rig.catcher.messages[0].icon, QMessageBox::Warning);
        QVERIFY(rig.requestBytes().isEmpty());
    }

    // At 50 ms against a module answering after 150 ms: ticks during an
    // exchange are dropped, write clicks are served, and the counters agree with the line.
    void fastCycleNeverNests()
    {
        WindowRig rig;
        rig.module->setResponder(liveValues);
        rig.module->setDelayMs(150);
        rig.ui().comDoOnce->click();
        rig.ui().txtTimerSet->setText(QStringLiteral("50"));
        rig.ui().cmdOneM->click();
        int clicks = 0;
        QTimer clicker;
        connect(&clicker, &QTimer::timeout, [&] {
            ++clicks;
            rig.ui().cmdWriteP[clicks % 10]->click();
        });
        clicker.start(1000);
        QTest::qWait(3500);
        clicker.stop();
        rig.ui().cmdStopOnce->click();
        QTest::qWait(600); // the last read and any queued click finish

        const auto &requests = rig.module->requests();
        for (int i = 1; i < requests.size(); ++i)
            QVERIFY2(requests[i].atMs - requests[i - 1].atMs >= 190,
                     "a read started inside another");
        int reads = 0;
        for (const auto &r : requests)
            reads += r.bytes[1] == 3 ? 1 : 0;
        QVERIFY(reads >= 6);
        QCOMPARE(rig.ui().lblCounter->text(),
                 QString::number(reads)); // 1 from "循环", minus the first query
        QVERIFY(clicks >= 3);
        int served = 0;
        for (const auto &r : requests)
            served += r.bytes[1] == 6 ? 1 : 0;
        QCOMPARE(served, clicks);
        QCOMPARE(rig.ui().lblRecCount->text(), QString::number(reads));
    }
};

QTEST_MAIN(TestCycle)
#include "tst_cycle.moc"
