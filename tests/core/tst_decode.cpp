// Which box of the window shows which value of a read reply, and as what text.

#include "device/decode.h"

#include <QtTest>

namespace {
const QByteArray kWorked = QByteArray::fromHex("02031007D00000FFFF9C4103E800000000FFF645CD");
// Values 1..8 and their CRC, 36 DC, which a quantity of 9 reads as a ninth value.
const QByteArray kEight = QByteArray::fromHex("0203100001000200030004000500060007000836DC");
} // namespace

class TestDecode : public QObject {
    Q_OBJECT
private slots:
    void boxes_data()
    {
        QTest::addColumn<QByteArray>("inx");
        QTest::addColumn<QList<int>>("args"); // display mode, channel base, quantity
        QTest::addColumn<QString>("boxes");   // i: txtCurrentInput, c: txtChannel, in writing order
        const auto row = [](const char *name, const QByteArray &inx, const QList<int> &args,
                            const char *boxes) { QTest::newRow(name) << inx << args << boxes; };
        row("worked example", kWorked, {1, 0, 8},
            "i0=20.00 i1=0.00 i2=0.00 i3=-255.35 i4=1000 i5=0 i6=0 i7=-10");
        row("5 bytes", QByteArray::fromHex("0283020000"), {2, 0, 1}, "");
        row("6 bytes", QByteArray::fromHex("0203022580E7"), {2, 0, 1}, "c0=9600");
        row("mode 3", kWorked, {3, 0, 8}, "");
        row("sign edges", QByteArray::fromHex("0203109C409C41FFFEFFFF9C409C41FFFEFFFFC05A"),
            {1, 0, 8}, "i0=400.00 i1=-255.35 i2=-0.02 i3=0.00 i4=40000 i5=-25535 i6=-2 i7=0");
        row("base 5, past the last box", kEight, {2, 5, 8}, "c5=1 c6=2 c7=3 c8=4 c9=5");
        row("base -1, before the first box", kEight, {2, -1, 3}, "c0=2 c1=3");
        row("quantity 9", kEight, {2, 0, 9}, "c0=1 c1=2 c2=3 c3=4 c4=5 c5=6 c6=7 c7=8 c8=14044");
        row("quantity 16, eight boxes", kEight, {1, 0, 16},
            "i0=0.01 i1=0.02 i2=0.03 i3=0.04 i4=5 i5=6 i6=7 i7=8");
        // Short replies: a byte past the end keeps the one the previous value used.
        row("7 bytes for 8", QByteArray::fromHex("02031000070102"), {1, 0, 8},
            "i0=0.07 i1=2.58 i2=2.58 i3=2.58 i4=258 i5=258 i6=258 i7=258");
        row("low byte carried", QByteArray::fromHex("0203060001000203"), {2, 0, 3},
            "c0=1 c1=2 c2=770");
    }

    void boxes()
    {
        QFETCH(QByteArray, inx);
        QFETCH(QList<int>, args);
        QFETCH(QString, boxes);
        const decode::Shown shown = decode::DoData(inx, args[0], args[1], args[2]);
        QStringList got;
        for (const decode::BoxText &box : shown.boxes)
            got << (box.target == decode::Target::Channel ? "c" : "i") +
                       QString::number(box.index) + '=' + box.text;
        QCOMPARE(got.join(' '), boxes);
        QCOMPARE(shown.hasReplyText, inx.size() >= 6);
        if (inx == kWorked)
            QCOMPARE(shown.replyText,
                     " 02 03 10 07 D0 00 00 FF FF 9C 41 03 E8 00 00 00 00 FF F6 45 CD");
    }
};

QTEST_GUILESS_MAIN(TestDecode)
#include "tst_decode.moc"
