// A stock Modbus client, Debian's mbpoll, against the simulator.

#include "sim_process.h"

#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

namespace {
struct Mbpoll {
    int exitCode = -1;
    QMap<int, int> values; // register number (1-based) to value
    QString err;
};

// Station 2 holding registers; `written` values follow the device as mbpoll wants.
Mbpoll mbpoll(const SimProcess &sim, const QStringList &what, const QStringList &written = {})
{
    const QStringList line{"-m",   "rtu", "-a", "2",  "-b", "19200", "-P",
                           "none", "-t",  "4",  "-o", "2",  "-1"};
    QProcess process;
    process.start("mbpoll", line + what + QStringList{sim.link()} + written);
    Mbpoll run;
    if (!process.waitForFinished(20000))
        return run;
    run.exitCode = process.exitCode();
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    static const QRegularExpression value(QStringLiteral("^\\[(\\d+)\\]:\\s+(-?\\d+)\\s*$"),
                                          QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch &m : value.globalMatch(process.readAllStandardOutput()))
        run.values.insert(m.captured(1).toInt(), m.captured(2).toInt());
    return run;
}
} // namespace

class TestMbpoll : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void readWriteAndExceptions();
};

void TestMbpoll::initTestCase()
{
    if (QStandardPaths::findExecutable("mbpoll").isEmpty())
        QSKIP("mbpoll is not installed");
}

void TestMbpoll::readWriteAndExceptions()
{
    SimProcess sim;
    QVERIFY(sim.start());
    const Mbpoll all = mbpoll(sim, {"-r", "1", "-c", "18"});
    QCOMPARE(all.exitCode, 0);
    QCOMPARE(all.values.size(), 18);
    for (int number = 1; number <= 8; ++number)
        QVERIFY(all.values[number] >= 400 && all.values[number] <= 2000);
    QCOMPARE(all.values[9], 19200);
    QCOMPARE(all.values[10], 2);
    for (int number = 11; number <= 18; ++number)
        QCOMPARE(all.values[number], 10000);

    QCOMPARE(mbpoll(sim, {"-r", "11"}, {"9000"}).exitCode, 0);
    const Mbpoll after = mbpoll(sim, {"-r", "10", "-c", "2"});
    QCOMPARE(after.values, (QMap<int, int>{{10, 2}, {11, 9000}}));

    for (const QStringList &bad :
         {QStringList{"-0", "-r", "30"}, QStringList{"-0", "-r", "3", "5"}}) {
        const Mbpoll refused = mbpoll(sim, bad.mid(0, 3), bad.mid(3));
        QVERIFY(refused.exitCode != 0);
        QVERIFY2(refused.err.contains("Illegal data address"), qPrintable(refused.err));
    }
}

QTEST_GUILESS_MAIN(TestMbpoll)
#include "tst_mbpoll.moc"
