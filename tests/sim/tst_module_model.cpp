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

int readOne(ModuleModel &model, int address)
{
    const QByteArray r = model.handleRequest(request(2, 3, address, 1), 0).value_or(QByteArray());
    return r.size() == 7 ? static_cast<std::uint8_t>(r[3]) * 256 + static_cast<std::uint8_t>(r[4])
                         : -1;
}
} // namespace

class TestModuleModel : public QObject {
    Q_OBJECT
private slots:
    void replies_data();
    void replies();
    void writes_data();
    void writes();
    void drift_data();
    void drift();
};

void TestModuleModel::replies_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("expected"); // empty: no reply

    QByteArray badCrc = request(2, 3, 0, 8);
    badCrc[7] = static_cast<char>(badCrc[7] ^ 1);
    QList<int> coefs{2, 3, 16};
    for (int k = 0; k < 8; ++k)
        coefs << 0x27 << 0x10;
    QTest::newRow("baud and station") << request(2, 3, 8, 2) << reply({2, 3, 4, 0x4B, 0, 0, 2});
    QTest::newRow("coefficients") << request(2, 3, 10, 8) << reply(coefs);
    QTest::newRow("write echoed") << request(2, 6, 9, 5) << request(2, 6, 9, 5);
    QTest::newRow("function 4") << modbus::WithCrc(QByteArray("\x02\x04\x00\x00\x00\x01", 6))
                                << reply({2, 0x84, 1});
    QTest::newRow("function 16") << modbus::WithCrc(
                                        QByteArray("\x02\x10\x00\x08\x00\x01\x02\x00\x01", 9))
                                 << reply({2, 0x90, 1});
    QTest::newRow("read past the end") << request(2, 3, 17, 2) << reply({2, 0x83, 2});
    QTest::newRow("quantity 0") << request(2, 3, 0, 0) << reply({2, 0x83, 3});
    QTest::newRow("quantity 126") << request(2, 3, 0, 126) << reply({2, 0x83, 3});
    QTest::newRow("write live value") << request(2, 6, 7, 1) << reply({2, 0x86, 2});
    QTest::newRow("write past the end") << request(2, 6, 18, 1) << reply({2, 0x86, 2});
    QTest::newRow("other station") << request(3, 3, 0, 8) << QByteArray();
    QTest::newRow("bad CRC") << badCrc << QByteArray();
    QTest::newRow("read of 7 bytes")
        << modbus::WithCrc(QByteArray("\x02\x03\x00\x00\x00", 5)) << QByteArray();
}

void TestModuleModel::replies()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, expected);
    ModuleModel model(2, false);
    const QByteArray got = model.handleRequest(frame, 1000).value_or(QByteArray());
    QCOMPARE(modbus::ShowHex(got), modbus::ShowHex(expected));
}

void TestModuleModel::writes_data()
{
    QTest::addColumn<int>("station");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("after");

    QTest::newRow("baud kept") << 2 << false << 8 << 9600;
    QTest::newRow("last coefficient kept") << 2 << false << 17 << 9600;
    QTest::newRow("broadcast kept") << 0 << false << 12 << 9600;
    QTest::newRow("locked baud") << 2 << true << 8 << 19200;
    QTest::newRow("locked coefficient") << 2 << true << 13 << 10000;
}

void TestModuleModel::writes()
{
    QFETCH(int, station);
    QFETCH(bool, locked);
    QFETCH(int, address);
    QFETCH(int, after);
    ModuleModel model(2, locked);
    const QByteArray write = request(station, 6, address, 9600);
    const QByteArray got = model.handleRequest(write, 0).value_or(QByteArray());
    QCOMPARE(got, station == 0 ? QByteArray() : write);
    QCOMPARE(readOne(model, address), after);
    QCOMPARE(model.station(), 2); // the register does not move the listener
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
    ModuleModel model(2, false);
    ModuleModel twin(2, false);
    for (ModuleModel *m : {&model, &twin}) {
        for (int channel = 0; channel < sim::kChannelCount; ++channel)
            m->handleRequest(request(2, 6, 10 + channel, coefficient), 0);
    }
    model.handleRequest(request(2, 6, 15, 20000), 0); // output 2 doubles input 2
    const int low = sim::kMinCurrent * coefficient / 10000;
    const int high = sim::kMaxCurrent * coefficient / 10000;
    int seenLow[4] = {high, high, high, high};
    int seenHigh[4] = {};
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
