// Faults drawn from the seed: repeatable, and in the share asked for.

#include "modbus/frame.h"
#include "sim/faults.h"

#include <QTest>

namespace {
const QByteArray kReply = modbus::WithCrc(QByteArray("\x02\x03\x04\x4B\x00\x00\x02", 7));

QStringList run(quint32 seed, double share, int *spoiled = nullptr)
{
    sim::Faults faults({0, share, share, share, share}, seed);
    QStringList story;
    for (int i = 0; i < 1000; ++i) {
        QStringList notes;
        const QByteArray sent = faults.dropRequest() ? QByteArray() : faults.spoil(kReply, notes);
        story << modbus::ShowHex(sent);
        if (spoiled && sent != kReply)
            ++*spoiled;
    }
    return story;
}
} // namespace

class TestFaults : public QObject {
    Q_OBJECT
private slots:
    void repeatableAndInShare();
};

void TestFaults::repeatableAndInShare()
{
    int spoiled = 0;
    const QStringList story = run(7, 0.2, &spoiled);
    QCOMPARE(run(7, 0.2), story);
    QVERIFY(run(8, 0.2) != story);
    // Four independent faults at 0.2 each leave 0.8^4 of the replies intact.
    QVERIFY2(spoiled > 540 && spoiled < 640, qPrintable(QString::number(spoiled)));
    spoiled = 0;
    run(7, 0.0, &spoiled);
    QCOMPARE(spoiled, 0);
}

QTEST_APPLESS_MAIN(TestFaults)
#include "tst_faults.moc"
