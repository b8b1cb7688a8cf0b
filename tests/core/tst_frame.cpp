#include "modbus/frame.h"

#include <QtTest>
#include <climits>

using namespace modbus;

namespace {
QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}
} // namespace

class TestFrame : public QObject {
    Q_OBJECT
private slots:
    void crc_data();
    void crc();
    void crcCoverage();
    void byteTexts_data();
    void byteTexts();
    void frameTexts();
    void crcCheck();
};

void TestFrame::crc_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("crc"); // low byte first

    // Frames the module's exchanges use.
    QTest::newRow("read 10 from 1") << hex("01030000000A") << hex("C5CD");
    QTest::newRow("read 8 from 1") << hex("010300000008") << hex("440C");
    QTest::newRow("read 8 from 2") << hex("020300000008") << hex("443F");
    QTest::newRow("write 1000") << hex("0106000803E8") << hex("08B6");
    QTest::newRow("read coefs") << hex("0203000A0008") << hex("643D");
    QTest::newRow("read baud") << hex("020300080001") << hex("05FB");
    QTest::newRow("read station") << hex("020300090001") << hex("543B");
    QTest::newRow("read coef 4") << hex("0203000D0001") << hex("15FA");
    QTest::newRow("write 10000") << hex("0206000A2710") << hex("B3C7");
    QTest::newRow("read 16") << hex("020300000010") << hex("4435");

    // Computed separately with a bitwise CRC-16/MODBUS written in Python from
    // the textbook definition (reflected polynomial 0xA001, initial 0xFFFF).
    QTest::newRow("nothing") << QByteArray() << hex("FFFF");
    QTest::newRow("one zero") << hex("00") << hex("BF40");
    QTest::newRow("one FF") << hex("FF") << hex("FF00");
    QTest::newRow("check string") << QByteArray("123456789") << hex("374B");
    QTest::newRow("station 17") << hex("1103006B0003") << hex("7687");
    QTest::newRow("station 247") << hex("F7060011FFFF") << hex("CCE9");
    QTest::newRow("all zero") << hex("000000000000") << hex("001B");
    QTest::newRow("all FF") << hex("FFFFFFFFFFFF") << hex("0194");
    QTest::newRow("status reply") << hex("02031007D00000FFFF9C4103E800000000FFF6") << hex("45CD");
    QTest::newRow("exception reply") << hex("018302") << hex("C0F1");
    QByteArray every(256, '\0');
    for (int i = 0; i < 256; ++i)
        every[i] = static_cast<char>(i);
    QTest::newRow("bytes 0..255") << every << hex("6CDE");
}

void TestFrame::crc()
{
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, crc);
    const CrcPair pair = Crc16(body, static_cast<int>(body.size()) - 1);
    QCOMPARE(pair.low, static_cast<std::uint8_t>(crc[0]));
    QCOMPARE(pair.high, static_cast<std::uint8_t>(crc[1]));
    QCOMPARE(WithCrc(body), body + crc);
    if (!body.isEmpty())
        QVERIFY(HasValidCrc(body + crc));
    if (body.size() == 6) {
        const auto b = [&](int i) { return static_cast<std::uint8_t>(body[i]); };
        QCOMPARE(CloseFrame(b(0), b(1), b(2), b(3), b(4), b(5)), body + crc);
    }
}

void TestFrame::crcCoverage()
{
    const QByteArray frame = hex("010300000008440C");
    const auto same = [](CrcPair a, CrcPair b) { return a.low == b.low && a.high == b.high; };
    // The transactions cover bytes 0..5 of their 8-byte frame.
    QVERIFY(same(Crc16(frame, 5), CrcPair{0x44, 0x0C}));
    QVERIFY(same(Crc16(frame, -1), CrcPair{0xFF, 0xFF}));
    QVERIFY(same(Crc16(frame, SHRT_MIN), CrcPair{0xFF, 0xFF}));
    // The CRC over a frame with its own CRC is zero.
    QVERIFY(same(Crc16(frame, 7), CrcPair{0, 0}));
    QVERIFY(same(Crc16(frame, 8), CrcPair{0, 0}));
    QVERIFY(same(Crc16(frame, INT_MAX), CrcPair{0, 0}));
    QVERIFY(same(Crc16(QByteArray(), 5), CrcPair{0xFF, 0xFF}));
}

void TestFrame::byteTexts_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    for (const auto &[value, text] : std::initializer_list<std::pair<int, const char *>>{
             {0, "00"}, {9, "09"}, {10, "0A"}, {15, "0F"}, {16, "10"}, {0xA5, "A5"}, {255, "FF"}})
        QTest::newRow(text) << value << QString::fromLatin1(text);
}

void TestFrame::byteTexts()
{
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(FormatHex(static_cast<std::uint8_t>(value)), text);
}

void TestFrame::frameTexts()
{
    const QByteArray frame = hex("010300000008440C");
    QCOMPARE(RequestText(frame), QStringLiteral("01 03 00 00 00 08 44 0C "));
    QCOMPARE(ShowHex(frame), QStringLiteral(" 01 03 00 00 00 08 44 0C"));
    QCOMPARE(ShowHex(hex("0A")), QStringLiteral(" 0A"));
    QCOMPARE(ShowHex(QByteArray()), QString());
    QCOMPARE(RequestText(QByteArray()), QString());
}

void TestFrame::crcCheck()
{
    QByteArray frame = hex("020300000008443F");
    QVERIFY(HasValidCrc(frame));
    for (int i = 0; i < frame.size(); ++i) {
        QByteArray bad = frame;
        bad[i] = static_cast<char>(bad[i] ^ 0x01);
        QVERIFY2(!HasValidCrc(bad), qPrintable(QString::number(i)));
    }
    QVERIFY(!HasValidCrc(QByteArray()));
    QVERIFY(!HasValidCrc(hex("FFFF")));
    QVERIFY(!HasValidCrc(frame.left(7)));
}

QTEST_GUILESS_MAIN(TestFrame)
#include "tst_frame.moc"
