// The simulated module's answers, without any port.

#include "modbus/frame.h"
#include "sim/drift.h"
#include "sim/module_model.h"

#include <QTest>

using sim::ModuleModel;

namespace {
QByteArray request(int station, int function, int address, int word)
{
    auto b = [](int v) { return static_cast<std::uint8_t>(v); };
    return modbus::CloseFrame(b(station), b(function), b(address >> 8), b(address), b(word >> 8),
                              b(word));
}

QByteArray reply(const QList<int> &bytes)
{
    QByteArray body;
    for (int v : bytes)
        body.append(static_cast<char>(v));
    return modbus::WithCrc(body);
}
} // namespace

class TestModuleModel : public QObject {
    Q_OBJECT
private slots:
    void replies_data();
    void replies();
    void drift_data();
    void drift();
};

void TestModuleModel::replies_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("expected"); // empty: no reply
    QTest::addColumn<bool>("locked");
    QTest::addColumn<int>("address"); // read afterwards unless -1
    QTest::addColumn<int>("after");
    const auto row = [](const char *name, const QByteArray &frame, const QByteArray &expected,
                        bool locked = false, int address = -1, int after = 0) {
        QTest::newRow(name) << frame << expected << locked << address << after;
    };
    QByteArray badCrc = request(2, 3, 0, 8);
    badCrc[7] = static_cast<char>(badCrc[7] ^ 1);
    QList<int> coefs{2, 3, 16};
    for (int k = 0; k < 8; ++k)
        coefs << 0x27 << 0x10;
    row("baud and station", request(2, 3, 8, 2), reply({2, 3, 4, 0x4B, 0, 0, 2}));
    row("coefficients", request(2, 3, 10, 8), reply(coefs));
    row("function 4", modbus::WithCrc(QByteArray("\x02\x04\x00\x00\x00\x01", 6)),
        reply({2, 0x84, 1}));
    row("function 16", modbus::WithCrc(QByteArray("\x02\x10\x00\x08\x00\x01\x02\x00\x01", 9)),
        reply({2, 0x90, 1}));
    row("read past the end", request(2, 3, 17, 2), reply({2, 0x83, 2}));
    row("quantity 0", request(2, 3, 0, 0), reply({2, 0x83, 3}));
    row("quantity 126", request(2, 3, 0, 126), reply({2, 0x83, 3}));
    row("write live value", request(2, 6, 7, 1), reply({2, 0x86, 2}));
    row("write past the end", request(2, 6, 18, 1), reply({2, 0x86, 2}));
    row("other station", request(3, 3, 0, 8), {});
    row("bad CRC", badCrc, {});
    row("read of 7 bytes", modbus::WithCrc(QByteArray("\x02\x03\x00\x00\x00", 5)), {});
    // Writes are echoed; the station register does not move the listener.
    row("station kept", request(2, 6, 9, 5), request(2, 6, 9, 5), false, 9, 5);
    row("baud kept", request(2, 6, 8, 9600), request(2, 6, 8, 9600), false, 8, 9600);
    row("last coefficient kept", request(2, 6, 17, 9600), request(2, 6, 17, 9600), false, 17, 9600);
    row("broadcast kept", request(0, 6, 12, 9600), {}, false, 12, 9600);
    row("locked baud", request(2, 6, 8, 9600), request(2, 6, 8, 9600), true, 8, 19200);
    row("locked coefficient", request(2, 6, 13, 9600), request(2, 6, 13, 9600), true, 13, 10000);
}

void TestModuleModel::replies()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, expected);
    QFETCH(bool, locked);
    QFETCH(int, address);
    QFETCH(int, after);
    ModuleModel model(2, locked);
    const QByteArray got = model.handleRequest(frame, 1000).value_or(QByteArray());
    QCOMPARE(modbus::ShowHex(got), modbus::ShowHex(expected));
    QCOMPARE(model.station(), 2);
    if (address >= 0)
        QCOMPARE(model.handleRequest(request(2, 3, address, 1), 0).value_or(QByteArray()),
                 reply({2, 3, 2, after >> 8, after & 0xFF}));
}

void TestModuleModel::drift_data()
{
    QTest::addColumn<int>("coefficient");
    QTest::newRow("unity") << 10000;
    QTest::newRow("half") << 5000;
    QTest::newRow("one and a half") << 15000;
}

void TestModuleModel::drift()
{
    QFETCH(int, coefficient);
    ModuleModel model(2, false), twin(2, false);
    for (int channel = 0; channel < sim::kChannelCount; ++channel) {
        model.handleRequest(request(2, 6, 10 + channel, coefficient), 0);
        twin.handleRequest(request(2, 6, 10 + channel, coefficient), 0);
    }
    model.handleRequest(request(2, 6, 15, 20000), 0); // output 2 doubles input 2
    const int low = sim::kMinCurrent * coefficient / 10000;
    const int high = sim::kMaxCurrent * coefficient / 10000;
    int seenLow[4] = {high, high, high, high}, seenHigh[4] = {};
    for (qint64 t = 0; t < 1800LL * 1000; t += 250) {
        for (int c = 0; c < sim::kChannelCount; ++c) {
            const int now = model.value(c, t);
            if (now < low || now > high || twin.value(c, t) != now ||
                qAbs(model.value(c, t + 100) - now) > coefficient / 1000) // 0.1 mA in 100 ms
                QFAIL(qPrintable(QStringLiteral("channel %1 at %2 ms: %3").arg(c).arg(t).arg(now)));
            seenLow[c] = qMin(seenLow[c], now);
            seenHigh[c] = qMax(seenHigh[c], now);
        }
        QCOMPARE(model.value(4, t), model.value(0, t));
        QCOMPARE(model.value(5, t), qMin(2 * model.value(1, t), 65535));
    }
    for (int c = 0; c < sim::kChannelCount; ++c)
        QVERIFY2(seenHigh[c] - seenLow[c] > high / 4, "each channel moves over several mA");
    QVERIFY(model.value(0, 60000) != model.value(1, 60000)); // a curve for each channel
}

QTEST_APPLESS_MAIN(TestModuleModel)
#include "tst_module_model.moc"
