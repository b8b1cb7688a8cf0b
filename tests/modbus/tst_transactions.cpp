// The read and the write transaction on the real window, over a pseudo-terminal.

#include "modbus/transactions.h"
#include "serial/comm_port.h"
#include "tests/support/cpu_time.h"
#include "tests/support/window_rig.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace {

QByteArray echo(const QByteArray &request)
{
    return request;
}
} // namespace

class TestTransactions : public QObject {
    Q_OBJECT
private slots:
    void readSendsTheFrameAndCounts_data()
    {
        QTest::addColumn<QList<int>>("args"); // D1 d2 d3 d4 d5
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("station 1, 8 from 0")
            << QList<int>{1, 3, 0, 8, 0} << bytes({1, 3, 0, 0, 0, 8, 0x44, 0x0C});
        QTest::newRow("station 2, 8 from 10")
            << QList<int>{2, 3, 10, 8, 0} << bytes({2, 3, 0, 0x0A, 0, 8, 0x64, 0x3D});
        QTest::newRow("high start byte")
            << QList<int>{2, 3, 1, 1, 1} << modbus::CloseFrame(2, 3, 1, 1, 0, 1);
    }
    void readSendsTheFrameAndCounts()
    {
        QFETCH(QList<int>, args);
        QFETCH(QByteArray, frame);
        WindowRig rig;
        rig.window->client().ReadModule(args[0], args[1], args[2], args[3], args[4]);
        QCOMPARE(rig.requestBytes(), QList<QByteArray>{frame});
        QCOMPARE(rig.ui().txtCommand->text(), modbus::RequestText(frame));
        QCOMPARE(rig.ui().txtCommand->text().size(), 24);
        QVERIFY(rig.ui().txtCommand->text().endsWith(' '));
        QCOMPARE(rig.window->client().expectedReplyLength(), 2 * args[3] + 5);
        QCOMPARE(rig.ui().lblCounter->text(), QStringLiteral("1"));
        QCOMPARE(rig.ui().lblRecCount->text(), QStringLiteral("0"));
        QCOMPARE(rig.frontLamp(), QStringLiteral("imgConnected"));
    }

    void lampsFollowTheWaits()
    {
        WindowRig rig;
        QString whenSent, afterFirstWait;
        connect(rig.module.get(), &ScriptedModule::requestReceived,
                [&] { whenSent = rig.frontLamp(); });
        QTimer::singleShot(150, [&] { afterFirstWait = rig.frontLamp(); });
        rig.window->client().ReadModule(2, 3, 0, 8, 0);
        QCOMPARE(whenSent, QStringLiteral("ImgYellow"));
        QCOMPARE(afterFirstWait, QStringLiteral("imgConnected"));
        QCOMPARE(rig.frontLamp(), QStringLiteral("imgConnected"));
    }

    // Replies of any length: counted from three bytes, shown from six.
    void replyLengths_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("recCount");
        QTest::addColumn<QString>("state");
        QTest::newRow("none") << QByteArray() << "0"
                              << "";
        QTest::newRow("two bytes") << bytes({2, 3}) << "0"
                                   << "";
        QTest::newRow("three bytes") << bytes({2, 3, 0}) << "1"
                                     << "";
        QTest::newRow("exception, five") << bytes({2, 0x83, 2, 0x30, 0xF1}) << "1"
                                         << "";
        const QByteArray full = readReply(2, {2000, 0, 65535, 40001, 1000, 0, 0, 65526});
        QTest::newRow("full") << full << "1" << modbus::ShowHex(full);
    }
    void replyLengths()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QString, recCount);
        QFETCH(QString, state);
        WindowRig rig;
        rig.module->setResponder([&](const QByteArray &) { return reply; });
        rig.window->client().ReadModule(2, 3, 0, 8, 0);
        QCOMPARE(rig.ui().lblCounter->text(), QStringLiteral("1"));
        QCOMPARE(rig.ui().lblRecCount->text(), recCount);
        QCOMPARE(rig.ui().txtState->toPlainText(), state);
    }

    void pendingInputIsThrownAwayBeforeSending()
    {
        WindowRig rig;
        QByteArray reply = readReply(2, {1, 2, 3, 4, 5, 6, 7, 8});
        rig.module->setResponder([&](const QByteArray &) { return reply; });
        rig.pty.writeToMaster(bytes({0xAA, 0xBB, 0xCC}));
        QTest::qWait(50);
        rig.window->client().ReadModule(2, 3, 0, 8, 0);
        QCOMPARE(rig.ui().txtState->toPlainText(), modbus::ShowHex(reply));
    }

    void lateReplyIsThrownAwayByTheNextRequest()
    {
        WindowRig rig;
        int calls = 0;
        rig.module->setResponder([&](const QByteArray &) { return readReply(2, {++calls * 100}); });
        rig.module->setDelayMs(260); // after the 200 ms of the first read
        rig.window->client().ReadModule(2, 3, 0, 1, 0);
        QCOMPARE(rig.ui().txtState->toPlainText(), QString());
        QTest::qWait(150);
        rig.module->setDelayMs(20);
        rig.window->client().ReadModule(2, 3, 0, 1, 0);
        QCOMPARE(rig.ui().txtState->toPlainText(), modbus::ShowHex(readReply(2, {200})));
    }

    void closedPortSendsNothing()
    {
        WindowRig rig("4,19200\r\n", false); // no ports/COM4: the port stays closed
        QVERIFY(!rig.window->serial().portOpen());
        rig.ui().txtState->setPlainText(QStringLiteral("old"));
        rig.ui().txtCommand->setText(QStringLiteral("old"));
        rig.window->client().ReadModule(2, 3, 0, 8, 0);
        QCOMPARE(rig.frontLamp(), QStringLiteral("imgNotConnected"));
        QCOMPARE(rig.ui().txtState->toPlainText(), QString());
        QCOMPARE(rig.ui().txtCommand->text(), QString());
        QCOMPARE(rig.ui().lblCounter->text(), QStringLiteral("0"));

        rig.window->showLamp(modbus::Lamp::Connected);
        QVERIFY(rig.window->client().ModbusSetReg(0, 8, 3, 232));
        QCOMPARE(rig.frontLamp(), QStringLiteral("imgConnected"));
        QCOMPARE(rig.ui().txtCommand->text(), QString());
        QVERIFY(rig.pty.readFromMaster(100).isEmpty());
    }

    void portVanishingMidWaitDoesNotHang()
    {
        WindowRig rig;
        QTimer::singleShot(50, [&] { rig.pty.closeMaster(); });
        rig.window->client().ReadModule(2, 3, 0, 8, 0);
        QCOMPARE(rig.ui().lblCounter->text(), QStringLiteral("1"));
        QVERIFY(!rig.window->serial().portOpen());
        rig.window->client().ReadModule(2, 3, 0, 8, 0);
        QCOMPARE(rig.frontLamp(), QStringLiteral("imgNotConnected"));

        // The adapter comes back under the same name; picking the port reopens it.
        Pty back;
        back.linkAs(rig.dir.path(), 4);
        ScriptedModule module(back, echo);
        rig.window->onPortPicked(3);
        QVERIFY(rig.window->serial().portOpen());
        rig.window->client().ReadModule(2, 3, 0, 8, 0);
        QCOMPARE(module.requests().size(), 1);
    }

    void writeSendsTheFrameAndShowsTheEcho_data()
    {
        QTest::addColumn<QString>("station");
        QTest::addColumn<QList<int>>("args");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("1000 into register 8")
            << "1" << QList<int>{0, 8, 3, 232} << bytes({1, 6, 0, 8, 3, 0xE8, 0x08, 0xB6});
        QTest::newRow("station rounded") << "2.5" << QList<int>{0, 10, 0x27, 0x10}
                                         << bytes({2, 6, 0, 0x0A, 0x27, 0x10, 0xB3, 0xC7});
        QTest::newRow("value byte 10")
            << "2" << QList<int>{0, 9, 0, 10} << modbus::CloseFrame(2, 6, 0, 9, 0, 10);
    }
    void writeSendsTheFrameAndShowsTheEcho()
    {
        QFETCH(QString, station);
        QFETCH(QList<int>, args);
        QFETCH(QByteArray, frame);
        WindowRig rig;
        rig.module->setResponder(echo);
        rig.ui().txtStationID->setText(station);
        QVERIFY(rig.window->client().ModbusSetReg(args[0], args[1], args[2], args[3]));
        QCOMPARE(rig.requestBytes(), QList<QByteArray>{frame});
        QCOMPARE(rig.ui().txtCommand->text(), modbus::RequestText(frame));
        QCOMPARE(rig.ui().txtState->toPlainText(), modbus::ShowHex(frame));
        QCOMPARE(rig.frontLamp(), QStringLiteral("ImgYellow"));
        QCOMPARE(rig.ui().lblCounter->text(), QStringLiteral("0"));
    }

    void writeWithoutReplyLeavesTheStateEmpty()
    {
        WindowRig rig;
        rig.pty.writeToMaster(bytes({1, 2, 3}));
        QTest::qWait(30);
        QVERIFY(rig.window->client().ModbusSetReg(0, 8, 0, 1));
        QCOMPARE(rig.ui().txtState->toPlainText(), QString());
        QCOMPARE(rig.frontLamp(), QStringLiteral("ImgYellow"));
    }

    // No frame is sent with a byte that could not be formed.
    void writeRefusesWhatGivesNoByte_data()
    {
        QTest::addColumn<QString>("station");
        QTest::addColumn<QList<int>>("args");
        QTest::newRow("station text") << "abc" << QList<int>{0, 8, 0, 1};
        QTest::newRow("station 256") << "255.5" << QList<int>{0, 8, 0, 1};
        QTest::newRow("value high") << "2" << QList<int>{0, 8, 256, 1};
        QTest::newRow("value negative") << "2" << QList<int>{0, 8, 0, -1};
    }
    void writeRefusesWhatGivesNoByte()
    {
        QFETCH(QString, station);
        QFETCH(QList<int>, args);
        WindowRig rig;
        rig.ui().txtState->setPlainText(QStringLiteral("kept"));
        rig.ui().txtStationID->setText(station);
        QVERIFY(!rig.window->client().ModbusSetReg(args[0], args[1], args[2], args[3]));
        QCOMPARE(rig.ui().txtState->toPlainText(), QStringLiteral("kept"));
        QVERIFY(rig.pty.readFromMaster(100).isEmpty());
    }

    void aReadCostsLittleProcessorTime()
    {
        WindowRig rig;
        rig.module->setResponder([](const QByteArray &) { return readReply(2, {1, 2, 3}); });
        const qint64 before = cpuMs();
        rig.window->client().ReadModule(2, 3, 0, 3, 0);
        QVERIFY2(cpuMs() - before < 60, "a 200 ms read used the processor throughout");
    }
};

QTEST_MAIN(TestTransactions)
#include "tst_transactions.moc"
