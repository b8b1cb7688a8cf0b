// Cutting the byte stream into requests.

#include "modbus/frame.h"
#include "sim/framer.h"

#include <QTest>

using Frames = QList<QByteArray>;

namespace {
const QByteArray kRead = modbus::CloseFrame(2, 3, 0, 0, 0, 8);
const QByteArray kWrite = modbus::CloseFrame(2, 6, 0, 9, 0, 5);
} // namespace

class TestFramer : public QObject {
    Q_OBJECT
private slots:
    void splits_data();
    void splits();
};

void TestFramer::splits_data()
{
    QTest::addColumn<Frames>("chunks");
    QTest::addColumn<Frames>("frames");
    QTest::addColumn<QByteArray>("atSilence");

    QByteArray badCrc = kRead;
    badCrc[6] = static_cast<char>(badCrc[6] ^ 0x40);
    const QByteArray other = modbus::WithCrc(QByteArray("\x02\x04\x00\x00\x00\x01", 6));
    QTest::newRow("back to back") << Frames{kRead + kWrite + kRead} << Frames{kRead, kWrite, kRead}
                                  << QByteArray();
    QTest::newRow("byte by byte") << Frames{kWrite.left(1), kWrite.mid(1, 1), kWrite.mid(2)}
                                  << Frames{kWrite} << QByteArray();
    QTest::newRow("across chunks")
        << Frames{kRead.left(5), kRead.mid(5) + kWrite.left(3)} << Frames{kRead} << kWrite.left(3);
    QTest::newRow("unknown function waits") << Frames{other} << Frames{} << other;
    // A good request buried in garbage is lost with it, up to the silence.
    QTest::newRow("stray byte in front") << Frames{"\x55" + kRead} << Frames{} << "\x55" + kRead;
    QTest::newRow("bad CRC") << Frames{badCrc + kRead} << Frames{} << badCrc + kRead;
    QTest::newRow("endless noise") << Frames(30, QByteArray(10, '\x7F'))
                                   << Frames{QByteArray(260, '\x7F')} << QByteArray(40, '\x7F');
}

void TestFramer::splits()
{
    QFETCH(Frames, chunks);
    QFETCH(Frames, frames);
    QFETCH(QByteArray, atSilence);
    sim::Framer framer;
    Frames got;
    for (const QByteArray &chunk : chunks)
        got += framer.feed(chunk);
    QCOMPARE(got, frames);
    QCOMPARE(framer.silence(), atSilence);
    QCOMPARE(framer.feed(kRead + kWrite), (Frames{kRead, kWrite})); // in step again
    QCOMPARE(sim::Framer::silenceMs(9600), 5);
}

QTEST_APPLESS_MAIN(TestFramer)
#include "tst_framer.moc"
