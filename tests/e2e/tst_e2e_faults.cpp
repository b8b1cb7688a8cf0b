// The tool against a misbehaving or vanishing simulated module: it checks no
// reply, so it must show what came, never hang and never crash.

#include "serial/comm_port.h"
#include "tests/e2e/sim_rig.h"

#include <QComboBox>
#include <QTest>

namespace {
// What a status reply shows in the eight boxes, taken by position alone; a byte
// beyond the end keeps the one used for the previous value.
QStringList shownValues(const QByteArray &reply)
{
    QStringList out;
    int high = 0;
    int low = 0;
    for (int k = 0; k < 8; ++k) {
        if (3 + 2 * k < reply.size())
            high = static_cast<quint8>(reply[3 + 2 * k]);
        if (4 + 2 * k < reply.size())
            low = static_cast<quint8>(reply[4 + 2 * k]);
        const int raw = high * 256 + low;
        const int value = raw == 65535 ? 0 : raw > 40000 ? raw - 65536 : raw;
        out << (k < 4 ? QString::number(value / 100.0, 'f', 2) : QString::number(value));
    }
    return out;
}
} // namespace

class TestEndToEndFaults : public QObject {
    Q_OBJECT
private slots:
    // Nothing within the read's 200 ms: no reply at all, or one that comes late
    // and must be thrown away before the next request.
    void nothingInTime_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("echo"); // the write's 500 ms still catch the echo
        QTest::newRow("drop") << QStringList{"--drop", "1"} << false;
        QTest::newRow("delay") << QStringList{"--delay", "350"} << true;
    }
    void nothingInTime()
    {
        QFETCH(QStringList, options);
        QFETCH(bool, echo);
        SimRig rig(options);
        QVERIFY(rig.simStarted());
        const QStringList before = SimRig::texts(rig.ui().txtCurrentInput);
        QVERIFY(rig.press(rig.ui().comDoOnce) < SimRig::kClickBoundMs);
        QCOMPARE(rig.state(), QString());
        QCOMPARE(SimRig::texts(rig.ui().txtCurrentInput), before);
        QCOMPARE(rig.frontLamp(), QStringLiteral("imgConnected"));
        QTest::qWait(300); // a late reply is now waiting in the port

        rig.ui().txtChannel[4]->setText(QStringLiteral("9000"));
        QVERIFY(rig.press(rig.ui().cmdWriteP[4]) < SimRig::kClickBoundMs);
        const QByteArray frame = modbus::CloseFrame(2, 6, 0, 12, 0x23, 0x28);
        QCOMPARE(rig.state(), echo ? modbus::ShowHex(frame) : QString());

        QVERIFY(rig.press(rig.ui().comDoOnce) < SimRig::kClickBoundMs);
        QCOMPARE(rig.state(), QString());
        QCOMPARE(rig.counter(), 2);
        QCOMPARE(rig.recCount(), 0);
        QCOMPARE(rig.logged(QStringLiteral("->")).size(), 3);
    }

    // Replies that arrive in time but spoilt are shown as they came.
    void spoiltRepliesShowAsTheyCame_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("shortest");
        QTest::addColumn<int>("longest");
        QTest::addColumn<bool>("someTooShort"); // seed 1 cuts some replies under 6 bytes
        QTest::newRow("corrupt") << QStringList{"--corrupt", "1"} << 21 << 21 << false;
        QTest::newRow("truncate") << QStringList{"--truncate", "1"} << 1 << 20 << true;
        QTest::newRow("noise") << QStringList{"--noise", "1"} << 23 << 27 << false;
    }
    void spoiltRepliesShowAsTheyCame()
    {
        QFETCH(QStringList, options);
        QFETCH(int, shortest);
        QFETCH(int, longest);
        QFETCH(bool, someTooShort);
        SimRig rig(options);
        QVERIFY(rig.simStarted());
        int counted = 0;
        int tooShort = 0;
        for (int read = 1; read <= 6; ++read) {
            const QStringList before = SimRig::texts(rig.ui().txtCurrentInput);
            QVERIFY(rig.press(rig.ui().comDoOnce) < SimRig::kClickBoundMs);
            const QList<QByteArray> sent = rig.logged(QStringLiteral("<-"));
            QCOMPARE(sent.size(), read);
            const QByteArray &reply = sent.last();
            QVERIFY2(reply.size() >= shortest && reply.size() <= longest,
                     qPrintable(modbus::ShowHex(reply)));
            QVERIFY(!modbus::HasValidCrc(reply));
            counted += reply.size() >= 3 ? 1 : 0;
            QCOMPARE(rig.counter(), read);
            QCOMPARE(rig.recCount(), counted);
            if (reply.size() < 6) {
                ++tooShort;
                QCOMPARE(rig.state(), QString());
                QCOMPARE(SimRig::texts(rig.ui().txtCurrentInput), before);
            } else {
                QCOMPARE(rig.state(), modbus::ShowHex(reply));
                QCOMPARE(SimRig::texts(rig.ui().txtCurrentInput), shownValues(reply));
            }
        }
        QCOMPARE(tooShort > 0, someTooShort);
        QVERIFY(tooShort < 6); // some were decoded
    }

    void moduleGoneAndBack()
    {
        SimRig rig;
        QVERIFY(rig.simStarted());
        rig.press(rig.ui().comDoOnce);
        QCOMPARE(rig.recCount(), 1);
        const QStringList shown = SimRig::texts(rig.ui().txtCurrentInput);

        QVERIFY(rig.stopSim());
        // The hang-up closes the port by itself; the next read finds it closed.
        QTRY_VERIFY_WITH_TIMEOUT(!rig.window->serial().portOpen(), 2000);
        QVERIFY(rig.press(rig.ui().comDoOnce) < SimRig::kClickBoundMs);
        QCOMPARE(rig.frontLamp(), QStringLiteral("imgNotConnected"));
        QCOMPARE(rig.state(), QString());
        QCOMPARE(rig.ui().txtCommand->text(), QString());
        QCOMPARE(rig.counter(), 1);
        QCOMPARE(SimRig::texts(rig.ui().txtCurrentInput), shown);

        QVERIFY(rig.startSim());
        rig.ui().Combo1->setCurrentIndex(3);
        emit rig.ui().Combo1->activated(3);
        QVERIFY(rig.window->serial().portOpen());
        rig.press(rig.ui().comDoOnce);
        QCOMPARE(rig.frontLamp(), QStringLiteral("imgConnected"));
        QCOMPARE(rig.counter(), 2);
        QCOMPARE(rig.recCount(), 2);
        QVERIFY(modbus::HasValidCrc(rig.stateBytes()));
        QVERIFY(rig.catcher.messages.isEmpty());
    }
};

QTEST_MAIN(TestEndToEndFaults)
#include "tst_e2e_faults.moc"
