// CRC-16/MODBUS and the hexadecimal texts of frames.

#include "modbus/frame.h"

#include <QtTest>
#include <climits>

using namespace modbus;

class TestFrame : public QObject {
    Q_OBJECT
private slots:
    void crc_data()
    {
        QTest::addColumn<QByteArray>("frame"); // CRC last, low byte first
        // From a separate bitwise CRC-16/MODBUS (reflected 0xA001, start 0xFFFF).
        QTest::newRow("nothing") << QByteArray::fromHex("FFFF");
        QTest::newRow("one zero") << QByteArray::fromHex("00BF40");
        QTest::newRow("123456789") << QByteArray::fromHex("313233343536373839374B");
        QTest::newRow("read 8 from 2") << QByteArray::fromHex("020300000008443F");
        QTest::newRow("status reply")
            << QByteArray::fromHex("02031007D00000FFFF9C4103E800000000FFF645CD");
    }

    void crc()
    {
        QFETCH(QByteArray, frame);
        const QByteArray body = frame.chopped(2);
        const CrcPair pair = Crc16(body, int(body.size()) - 1);
        QCOMPARE(QByteArray(1, char(pair.low)) + char(pair.high), frame.right(2));
        QCOMPARE(WithCrc(body), frame);
        QCOMPARE(HasValidCrc(frame), !body.isEmpty()); // two bytes alone are no frame
    }

    void rangeAndTexts()
    {
        const QByteArray frame = QByteArray::fromHex("020300000008443F");
        const auto crc = [&](int j) { return Crc16(frame, j).low | Crc16(frame, j).high << 8; };
        QCOMPARE(crc(5), 0x3F44); // bytes 0..5, as the requests are closed
        QCOMPARE(CloseFrame(2, 3, 0, 0, 0, 8), frame);
        QVERIFY(!HasValidCrc(QByteArray::fromHex("020300000008453F"))); // low byte wrong
        QVERIFY(!HasValidCrc(QByteArray::fromHex("020300000008443E"))); // high byte wrong
        QCOMPARE(crc(-1) & crc(INT_MIN), 0xFFFF);
        // Over a frame and its own CRC; past the end: clamped.
        QCOMPARE(crc(7) | crc(8) | crc(INT_MAX), 0);
        QCOMPARE(ShowHex(QByteArray::fromHex("000AF0FF5C")), QStringLiteral(" 00 0A F0 FF 5C"));
        QCOMPARE(RequestText(QByteArray::fromHex("000AF0FF5C")), QStringLiteral("00 0A F0 FF 5C "));
        QCOMPARE(ShowHex(QByteArray()) + RequestText(QByteArray()), QString());
    }
};

QTEST_GUILESS_MAIN(TestFrame)
#include "tst_frame.moc"
