// The tool against the simulated module: status, parameters, writes and cycling.

#include "tests/e2e/sim_rig.h"

#include <QSet>
#include <QTest>

namespace {
const QString kUnity = QStringLiteral("10000");

// Inputs as mA with two decimals within 4..20 mA; each output, at unity
// coefficients, is the same current as a whole number of hundredths.
void verifyLiveValues(const QStringList &values)
{
    static const QRegularExpression milliamps(QStringLiteral(R"(^\d{1,2}\.\d\d$)"));
    for (int c = 0; c < 4; ++c) {
        QVERIFY2(milliamps.match(values[c]).hasMatch(), qPrintable(values[c]));
        QVERIFY2(values[c].toDouble() >= 4.0 && values[c].toDouble() <= 20.0,
                 qPrintable(values[c]));
        QCOMPARE(values[4 + c], QString::number(qRound(values[c].toDouble() * 100)));
    }
}
} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void statusQuery()
    {
        SimRig rig;
        QVERIFY(rig.simStarted());
        QVERIFY(rig.press(rig.ui().comDoOnce) < SimRig::kClickBoundMs);
        QCOMPARE(rig.ui().txtCommand->text(), QStringLiteral("02 03 00 00 00 08 44 3F "));
        verifyLiveValues(SimRig::texts(rig.ui().txtCurrentInput));
        QCOMPARE(rig.counter(), 1);
        QCOMPARE(rig.recCount(), 1);
        QCOMPARE(rig.frontLamp(), QStringLiteral("imgConnected"));
        const QByteArray reply = rig.stateBytes();
        QCOMPARE(reply.left(3), QByteArray("\x02\x03\x10"));
        QCOMPARE(reply.size(), 21);
        QVERIFY(modbus::HasValidCrc(reply));
        QCOMPARE(rig.state(), modbus::ShowHex(reply)); // the text form, byte for byte
        QVERIFY(rig.catcher.messages.isEmpty());
    }

    void parameterReads()
    {
        SimRig rig;
        QVERIFY(rig.simStarted());
        rig.press(rig.ui().cmdReadAlarm2);
        QCOMPARE(SimRig::texts(rig.ui().txtChannel),
                 QStringList({"0", "0"}) + QStringList(8, kUnity));

        const QStringList expected = QStringList({"19200", "2"}) + QStringList(8, kUnity);
        for (int i = 0; i < 10; ++i) {
            for (QLineEdit *box : rig.ui().txtChannel)
                box->setText(QStringLiteral("-"));
            QVERIFY(rig.press(rig.ui().cmdReadP[i]) < SimRig::kClickBoundMs);
            QStringList others(10, QStringLiteral("-"));
            others[i] = expected[i];
            QCOMPARE(SimRig::texts(rig.ui().txtChannel), others);
        }
        QCOMPARE(rig.counter(), 11);
        QCOMPARE(rig.recCount(), 11);
    }

    // Each write then the read of the same register. A locked module echoes
    // the write but keeps its value.
    void writeThenRead_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QList<int>>("indexes");
        QTest::newRow("kept") << false << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        QTest::newRow("locked") << true << QList<int>{0, 1, 4};
    }
    void writeThenRead()
    {
        QFETCH(bool, locked);
        QFETCH(QList<int>, indexes);
        SimRig rig(locked ? QStringList{"--locked"} : QStringList{});
        QVERIFY(rig.simStarted());
        // Baud 9600, station 5, coefficients around unity and one above 40000.
        const QList<int> values{9600, 5, 9000, 9100, 9200, 9300, 9400, 9500, 9600, 50000};
        const QStringList old = QStringList({"19200", "2"}) + QStringList(8, kUnity);
        for (int i : indexes) {
            rig.ui().txtChannel[i]->setText(QString::number(values[i]));
            QVERIFY(rig.press(rig.ui().cmdWriteP[i]) < SimRig::kClickBoundMs);
            const QByteArray frame =
                modbus::CloseFrame(2, 6, 0, i + 8, values[i] >> 8, values[i] & 0xFF);
            QCOMPARE(rig.state(), modbus::ShowHex(frame));

            rig.ui().txtChannel[i]->setText(QString());
            rig.press(rig.ui().cmdReadP[i]);
            const int raw = values[i];
            const QString kept = QString::number(raw > 40000 ? raw - 65536 : raw);
            QCOMPARE(rig.ui().txtChannel[i]->text(), locked ? old[i] : kept);
        }
        // Writing the station register leaves the module answering at station 2.
        QCOMPARE(rig.recCount(), indexes.size());
    }

    void cyclingFollowsTheDrift()
    {
        SimRig rig;
        QVERIFY(rig.simStarted());
        rig.press(rig.ui().comDoOnce);
        QList<QSet<QString>> seen(4);
        QStringList all;
        for (int c = 0; c < 4; ++c) {
            QObject::connect(rig.ui().txtCurrentInput[c], &QLineEdit::textChanged,
                             [&seen, &all, c](const QString &text) {
                                 seen[c].insert(text);
                                 all << text;
                             });
        }
        rig.ui().txtTimerSet->setText(QStringLiteral("200"));
        rig.ui().cmdOneM->click();
        QTest::qWait(3000);
        rig.ui().cmdStopOnce->click();

        const int cyclic = rig.counter() - 1; // "循环" set the counter to 1
        QVERIFY2(cyclic >= 5, qPrintable(QString::number(cyclic)));
        QCOMPARE(rig.recCount(), 1 + cyclic);
        QCOMPARE(rig.logged(QStringLiteral("->")).size(), 1 + cyclic);
        int moving = 0;
        for (const QSet<QString> &values : seen)
            moving += values.size() >= 2 ? 1 : 0;
        QVERIFY2(moving >= 1, "no input moved in three seconds");
        for (const QString &text : all)
            QVERIFY2(text.toDouble() >= 4.0 && text.toDouble() <= 20.0, qPrintable(text));
        verifyLiveValues(SimRig::texts(rig.ui().txtCurrentInput));
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
