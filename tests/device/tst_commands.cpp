// Every button that talks to the module, on the real window over a pseudo-terminal.

#include "device/commands.h"
#include "tests/support/window_rig.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {
// Answers reads with 1000 + register address for each register, writes with the echo.
QByteArray moduleReply(const QByteArray &request)
{
    if (request.size() != 8)
        return {};
    if (request[1] == 6)
        return request;
    const int start = static_cast<quint8>(request[3]);
    QList<int> values;
    for (int k = 0; k < static_cast<quint8>(request[5]); ++k)
        values << 1000 + start + k;
    return readReply(static_cast<quint8>(request[0]), values);
}

QStringList texts(const std::array<QLineEdit *, 10> &boxes)
{
    QStringList out;
    for (auto *box : boxes)
        out << box->text();
    return out;
}

QStringList texts(const std::array<QLineEdit *, 8> &boxes)
{
    QStringList out;
    for (auto *box : boxes)
        out << box->text();
    return out;
}
} // namespace

class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void readButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("startId");
        QTest::addColumn<QString>("dataLength");
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QStringList>("channels"); // txtChannel afterwards
        // The scripted module answers register a with 1000 + a.
        const auto row = [](const char *name, const char *button, const char *startId,
                            const char *length, const QByteArray &frame, int first, int count) {
            QStringList channels(10, QStringLiteral("0"));
            for (int i = first; i < first + count; ++i)
                channels[i] = QString::number(1000 + i + 8);
            QTest::newRow(name) << button << startId << length << frame << channels;
        };
        row("读所有参数", "cmdReadAlarm_2", "11", "8", bytes({2, 3, 0, 0x0A, 0, 8, 0x64, 0x3D}), 2,
            8);
        row("读波特率", "cmdReadP_0", "9", "1", bytes({2, 3, 0, 8, 0, 1, 0x05, 0xFB}), 0, 1);
        row("读地址", "cmdReadP_1", "10", "1", bytes({2, 3, 0, 9, 0, 1, 0x54, 0x3B}), 1, 1);
        row("读参数 5", "cmdReadP_5", "14", "1", bytes({2, 3, 0, 0x0D, 0, 1, 0x15, 0xFA}), 5, 1);
        row("读参数 9", "cmdReadP_9", "18", "1", modbus::CloseFrame(2, 3, 0, 17, 0, 1), 9, 1);
    }
    void readButtons()
    {
        QFETCH(QString, button);
        QFETCH(QString, startId);
        QFETCH(QString, dataLength);
        QFETCH(QByteArray, frame);
        QFETCH(QStringList, channels);
        WindowRig rig;
        rig.module->setResponder(moduleReply);
        rig.window->findChild<QPushButton *>(button)->click();
        QCOMPARE(rig.ui().txtStartID->text(), startId);
        QCOMPARE(rig.ui().txtDataLength->text(), dataLength);
        QCOMPARE(rig.requestBytes(), QList<QByteArray>{frame});
        QCOMPARE(texts(rig.ui().txtChannel), channels);
        QCOMPARE(rig.window->commands().displayMode(), 2);
    }

    void statusQueryFillsTheLiveValues()
    {
        WindowRig rig;
        rig.module->setResponder([](const QByteArray &) {
            return readReply(2, {2000, 0, 65535, 40001, 1000, 0, 0, 65526});
        });
        rig.ui().comDoOnce->click();
        QCOMPARE(rig.requestBytes(), QList<QByteArray>{bytes({2, 3, 0, 0, 0, 8, 0x44, 0x3F})});
        QCOMPARE(rig.ui().txtStartID->text(), QStringLiteral("1"));
        QCOMPARE(rig.ui().txtDataLength->text(), QStringLiteral("8"));
        QCOMPARE(texts(rig.ui().txtCurrentInput),
                 (QStringList{"20.00", "0.00", "0.00", "-255.35", "1000", "0", "0", "-10"}));
        QCOMPARE(texts(rig.ui().txtChannel), QStringList(10, QStringLiteral("0")));
    }

    void writeButtons_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("station");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("写参数 10000") << 2 << "2"
                                      << "10000" << bytes({2, 6, 0, 0x0A, 0x27, 0x10, 0xB3, 0xC7});
        QTest::newRow("写波特率 9600") << 0 << "2"
                                       << "9600" << modbus::CloseFrame(2, 6, 0, 8, 0x25, 0x80);
        QTest::newRow("1000.5 to even") << 1 << "2"
                                        << "1000.5" << modbus::CloseFrame(2, 6, 0, 9, 3, 0xE8);
        QTest::newRow("1001.5 to even") << 1 << "2"
                                        << "1001.5" << modbus::CloseFrame(2, 6, 0, 9, 3, 0xEA);
        QTest::newRow("station 2.9 rounds") << 9 << "2.9"
                                            << "1" << modbus::CloseFrame(3, 6, 0, 17, 0, 1);
        QTest::newRow("blanks and exponent") << 3 << " 12 "
                                             << "1e2" << modbus::CloseFrame(12, 6, 0, 11, 0, 100);
        QTest::newRow("largest") << 4 << "255"
                                 << "65535" << modbus::CloseFrame(255, 6, 0, 12, 255, 255);
        QTest::newRow("-0") << 5 << "-0"
                            << "-0" << modbus::CloseFrame(0, 6, 0, 13, 0, 0);
    }
    void writeButtons()
    {
        QFETCH(int, index);
        QFETCH(QString, station);
        QFETCH(QString, value);
        QFETCH(QByteArray, frame);
        WindowRig rig;
        rig.module->setResponder(moduleReply);
        rig.ui().txtStationID->setText(station);
        rig.ui().txtChannel[index]->setText(value);
        rig.ui().cmdWriteP[index]->click();
        QCOMPARE(rig.requestBytes(), QList<QByteArray>{frame});
        QCOMPARE(rig.ui().txtState->toPlainText(), modbus::ShowHex(frame));
        QCOMPARE(rig.ui().txtStartID->text(), QStringLiteral("1")); // writes leave the fields
        QVERIFY(rig.catcher.messages.isEmpty());
    }

    void readDropsTheStationFraction()
    {
        WindowRig rig;
        rig.ui().txtStationID->setText(QStringLiteral("2.9"));
        rig.ui().cmdReadP[0]->click();
        QCOMPARE(rig.requestBytes(), QList<QByteArray>{bytes({2, 3, 0, 8, 0, 1, 0x05, 0xFB})});
    }

    // Bad input: one warning box, nothing sent, no text or counter changed.
    void badInputIsRefused_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("station");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        const QString station = device::kBadStation;
        const QString value = device::kBadValue;
        for (const char *text : {"abc", "", "256", "-1", "1,000", "0x10", "1e400", "２"}) {
            QTest::addRow("read, station '%s'", text) << "comDoOnce" << text << "1" << station;
            QTest::addRow("write, station '%s'", text) << "cmdWriteP_1" << text << "1" << station;
        }
        QTest::newRow("write, station 255.5 rounds to 256") << "cmdWriteP_0"
                                                            << "255.5"
                                                            << "1" << station;
        for (const char *text : {"abc", "", "65536", "-1", "1,000", "0x10", "1e400", "65535.5"})
            QTest::addRow("write, value '%s'", text) << "cmdWriteP_2"
                                                     << "2" << text << value;
    }
    void badInputIsRefused()
    {
        QFETCH(QString, button);
        QFETCH(QString, station);
        QFETCH(QString, value);
        QFETCH(QString, message);
        WindowRig rig;
        rig.ui().txtStationID->setText(station);
        rig.ui().txtChannel[2]->setText(value);
        rig.ui().txtChannel[1]->setText(value);
        rig.ui().txtChannel[0]->setText(value);
        rig.ui().txtState->setPlainText(QStringLiteral("kept"));
        rig.window->findChild<QPushButton *>(button)->click();
        QCOMPARE(rig.catcher.messages.size(), 1);
        QCOMPARE(rig.catcher.messages[0].text, message);
        QCOMPARE(rig.catcher.messages[0].title, device::kAppTitle);
        QCOMPARE(rig.catcher.messages[0].icon, QMessageBox::Warning);
        QVERIFY(rig.pty.readFromMaster(100).isEmpty());
        QCOMPARE(rig.ui().txtState->toPlainText(), QStringLiteral("kept"));
        QCOMPARE(rig.ui().txtStartID->text(), QStringLiteral("1"));
        QCOMPARE(rig.ui().txtDataLength->text(), QStringLiteral("16"));
        QCOMPARE(rig.ui().lblCounter->text(), QStringLiteral("0"));
        QCOMPARE(rig.window->commands().displayMode(), 0);
    }

    // Clicks during a read's wait run afterwards, in order, each once.
    void clicksDuringAWaitRunAfterwardsInOrder()
    {
        WindowRig rig;
        rig.module->setResponder(moduleReply);
        QTimer::singleShot(50, [&] {
            rig.ui().cmdReadP[0]->click();
            rig.ui().cmdWriteP[1]->click();
            rig.ui().cmdReadAlarm2->click();
        });
        rig.ui().comDoOnce->click();
        const QList<QByteArray> sent = rig.requestBytes();
        QCOMPARE(sent.size(), 4);
        QCOMPARE(sent[0], modbus::CloseFrame(2, 3, 0, 0, 0, 8));
        QCOMPARE(sent[1], modbus::CloseFrame(2, 3, 0, 8, 0, 1));
        QCOMPARE(sent[2], modbus::CloseFrame(2, 6, 0, 9, 0, 0));
        QCOMPARE(sent[3], modbus::CloseFrame(2, 3, 0, 10, 0, 8));
        // Each exchange had the line to itself: a read needs 200 ms, a write 500 ms.
        const auto &at = rig.module->requests();
        QVERIFY(at[1].atMs - at[0].atMs >= 190);
        QVERIFY(at[2].atMs - at[1].atMs >= 190);
        QVERIFY(at[3].atMs - at[2].atMs >= 490);
        QCOMPARE(rig.ui().txtCurrentInput[0]->text(), QStringLiteral("10.00"));
        QCOMPARE(rig.ui().txtChannel[0]->text(), QStringLiteral("1008"));
        QCOMPARE(rig.ui().txtChannel[9]->text(), QStringLiteral("1017"));
        QCOMPARE(rig.ui().lblCounter->text(), QStringLiteral("3"));
    }

    void editingTheFunctionBoxChangesNoRequest()
    {
        WindowRig rig;
        rig.ui().txtFunID->setText(QStringLiteral("6"));
        rig.ui().comDoOnce->click();
        QCOMPARE(rig.requestBytes(), QList<QByteArray>{bytes({2, 3, 0, 0, 0, 8, 0x44, 0x3F})});
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
