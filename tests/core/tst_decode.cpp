#include "device/decode.h"
#include "device/register_map.h"
#include "modbus/frame.h"

#include <QtTest>
#include <climits>

namespace {
QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// A function-3 reply from station 2 carrying the given register values.
QByteArray reply(std::initializer_list<int> raws)
{
    QByteArray body = hex("0203");
    body.append(static_cast<char>(2 * raws.size()));
    for (int raw : raws) {
        body.append(static_cast<char>(raw >> 8));
        body.append(static_cast<char>(raw & 0xFF));
    }
    return modbus::WithCrc(body);
}

// "i3=..." for txtCurrentInput(3), "c9=..." for txtChannel(9), in writing order.
QString boxesText(const decode::Shown &shown)
{
    QStringList parts;
    for (const decode::BoxText &box : shown.boxes) {
        const char kind = box.target == decode::Target::CurrentInput ? 'i' : 'c';
        parts << QStringLiteral("%1%2=%3").arg(QLatin1Char(kind)).arg(box.index).arg(box.text);
    }
    return parts.join(QLatin1Char(' '));
}

const QByteArray kWorked = hex("02031007D00000FFFF9C4103E800000000FFF645CD");
} // namespace

class TestDecode : public QObject {
    Q_OBJECT
private slots:
    void values_data();
    void values();
    void replyText();
    void hundredths_data();
    void hundredths();
};

void TestDecode::values_data()
{
    QTest::addColumn<QByteArray>("inx");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("base");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("boxes");

    QTest::newRow("worked example")
        << kWorked << 1 << 0 << 8 << "i0=20.00 i1=0.00 i2=0.00 i3=-255.35 i4=1000 i5=0 i6=0 i7=-10";
    QTest::newRow("no reply") << QByteArray() << 1 << 0 << 8 << "";
    QTest::newRow("5 bytes") << hex("0283020000") << 2 << 0 << 1 << "";
    QTest::newRow("6 bytes") << hex("0203022580E7") << 2 << 0 << 1 << "c0=9600";
    QTest::newRow("mode 0") << kWorked << 0 << 0 << 8 << "";
    QTest::newRow("mode 3") << kWorked << 3 << 0 << 8 << "";
    QTest::newRow("mode -1") << kWorked << -1 << 0 << 8 << "";
    QTest::newRow("length 0") << kWorked << 1 << 0 << 0 << "";

    const QByteArray edges = reply({40000, 40001, 65534, 65535, 40000, 40001, 65534, 65535});
    QTest::newRow("edges, status") << edges << 1 << 0 << 8
                                   << "i0=400.00 i1=-255.35 i2=-0.02 i3=0.00 "
                                      "i4=40000 i5=-25535 i6=-2 i7=0";
    QTest::newRow("edges, parameters")
        << edges << 2 << 2 << 8 << "c2=40000 c3=-25535 c4=-2 c5=0 c6=40000 c7=-25535 c8=-2 c9=0";
    QTest::newRow("small and mid")
        << reply({5, 0, 32767, 32768, 5, 0, 32768, 39999}) << 1 << 0 << 8
        << "i0=0.05 i1=0.00 i2=327.67 i3=327.68 i4=5 i5=0 i6=32768 i7=39999";
    QTest::newRow("baud register") << reply({57600, 9600}) << 2 << 0 << 2 << "c0=-7936 c1=9600";

    QTest::newRow("base 9") << reply({17}) << 2 << 9 << 1 << "c9=17";
    QTest::newRow("base 2, eight") << reply({1, 2, 3, 4, 5, 6, 7, 8}) << 2 << 2 << 8
                                   << "c2=1 c3=2 c4=3 c5=4 c6=5 c7=6 c8=7 c9=8";
    QTest::newRow("base 5, past the last box")
        << reply({1, 2, 3, 4, 5, 6, 7, 8}) << 2 << 5 << 8 << "c5=1 c6=2 c7=3 c8=4 c9=5";
    QTest::newRow("sixteen into eight boxes")
        << reply({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}) << 1 << 0 << 16
        << "i0=0.01 i1=0.02 i2=0.03 i3=0.04 i4=5 i5=6 i6=7 i7=8";

    // Short replies: a byte past the end keeps the one the previous value used.
    QTest::newRow("7 bytes for 8") << hex("02031000070102") << 2 << 2 << 8
                                   << "c2=7 c3=258 c4=258 c5=258 c6=258 c7=258 c8=258 c9=258";
    QTest::newRow("7 bytes for 8, status")
        << hex("02031000070102") << 1 << 0 << 8
        << "i0=0.07 i1=2.58 i2=2.58 i3=2.58 i4=258 i5=258 i6=258 i7=258";
    QTest::newRow("low byte carried")
        << hex("0203060001000203") << 2 << 0 << 3 << "c0=1 c1=2 c2=770";

    // Quantity 9 decoded from a reply to 8: the ninth value is the CRC, 36 DC.
    const QByteArray eight = reply({1, 2, 3, 4, 5, 6, 7, 8});
    QTest::newRow("quantity 9, parameters")
        << eight << 2 << 0 << 9 << "c0=1 c1=2 c2=3 c3=4 c4=5 c5=6 c6=7 c7=8 c8=14044";
    QTest::newRow("quantity 9, status")
        << eight << 1 << 0 << 9 << "i0=0.01 i1=0.02 i2=0.03 i3=0.04 i4=5 i5=6 i6=7 i7=8";
}

void TestDecode::values()
{
    QFETCH(QByteArray, inx);
    QFETCH(int, mode);
    QFETCH(int, base);
    QFETCH(int, maxLength);
    QFETCH(QString, boxes);
    const decode::Shown shown = decode::DoData(inx, mode, base, maxLength);
    QCOMPARE(boxesText(shown), boxes);
    QCOMPARE(shown.hasReplyText, inx.size() >= 6);
    if (!shown.hasReplyText)
        QVERIFY(shown.replyText.isEmpty());
}

void TestDecode::replyText()
{
    const decode::Shown shown = decode::DoData(kWorked, 1, 0, 8);
    QCOMPARE(shown.replyText,
             QStringLiteral(" 02 03 10 07 D0 00 00 FF FF 9C 41 03 E8 00 00 00 00 FF F6 45 CD"));
    // Bytes beyond the requested values are shown too.
    const QByteArray longer = kWorked + hex("AB");
    QVERIFY(decode::DoData(longer, 0, 0, 8).replyText.endsWith(QStringLiteral(" 45 CD AB")));
}

void TestDecode::hundredths_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "0.00";
    QTest::newRow("7") << 7 << "0.07";
    QTest::newRow("2000") << 2000 << "20.00";
    QTest::newRow("-1") << -1 << "-0.01";
    QTest::newRow("-2") << -2 << "-0.02";
    QTest::newRow("-99") << -99 << "-0.99";
    QTest::newRow("-100") << -100 << "-1.00";
    QTest::newRow("-25535") << -25535 << "-255.35";
    QTest::newRow("lowest int") << INT_MIN << "-21474836.48";
}

void TestDecode::hundredths()
{
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(regmap::hundredthsText(value), text);
}

QTEST_GUILESS_MAIN(TestDecode)
#include "tst_decode.moc"
