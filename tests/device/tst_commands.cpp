// Every button that talks to the module, the two transactions under them and
// cyclic acquisition, on the shown window over a pseudo-terminal.

#include "device/commands.h"
#include "modbus/transactions.h"
#include "serial/comm_port.h"
#include "tests/support/window_rig.h"

namespace {
const QString kTitle = QStringLiteral(" | RV4820工具");
const QString kBadStation = QStringLiteral("设备地址格式有误，应该为数字，值范围为0-255!");
const QString kBadValue = QStringLiteral("参数值格式有误，应该为数字，值范围为0-65535!");

// Reads are answered with 1000 + address for each register and two stand-in
// CRC bytes AA BB (replies are never checked); writes with their echo.
QByteArray answer(const QByteArray &request)
{
    if (request[1] == 6)
        return request;
    QByteArray reply = request.left(2) + char(2 * request[5]);
    for (int value = 1000 + request[3]; value < 1000 + request[3] + request[5]; ++value)
        reply.append(char(value >> 8)).append(char(value & 0xFF));
    return reply + QByteArray::fromHex("AABB");
}

// The Modbus fields, the live values, the parameters, the lamp and the two counters.
QString window(const WindowRig &rig)
{
    const FormControls &ui = rig.ui();
    return QStringLiteral("%1 %2 | %3 | %4 | %5 %6/%7")
        .arg(ui.txtStartID->text(), ui.txtDataLength->text(), texts(ui.txtCurrentInput),
             texts(ui.txtChannel), rig.lamp(), ui.lblCounter->text(), ui.lblRecCount->text());
}

// A tick runs from the event loop, as Timer2's do.
void tick(WindowRig &rig)
{
    rig.window->commands().onTimer2();
    QVERIFY(QTest::qWaitFor([&] { return rig.window->commands().idle(); }));
}

} // namespace

class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void init() { modbus::setWaitDivisor(4); } // only the pace's test judges the timing

    // Station 2.9: reads drop the fraction, writes round it. Input pending before
    // a request is thrown away; a reply is counted from three bytes, shown from
    // six, and a value past its end keeps the bytes before. Bad input: one
    // warning box, nothing sent, no text, field or counter changed.
    void buttons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("station");
        QTest::addColumn<QString>("value");    // typed into the button's parameter box
        QTest::addColumn<QByteArray>("reply"); // none: the module's answer
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("message");
        const QString live = "0 0 0 0 0 0 0 0 | ", ten = "0 0 0 0 0 0 0 0 0 0",
                      read = " | imgConnected 1/1 |", write = " | ImgYellow 0/0 |";
        const QByteArray none, status = hex("020300000008443F");
        // clang-format off
        QTest::newRow("查询状态") << "comDoOnce" << "2.9" << "" << none << status << "1 8 | 10.00 10.01 10.02 10.03 1004 1005 1006 1007 | " + ten + read + " 02 03 10 03 E8 03 E9 03 EA 03 EB 03 EC 03 ED 03 EE 03 EF AA BB" << "";
        QTest::newRow("读所有参数") << "cmdReadAlarm_2" << "2.9" << "" << none << hex("0203000A0008643D") << "11 8 | " + live + "0 0 1010 1011 1012 1013 1014 1015 1016 1017" + read + " 02 03 10 03 F2 03 F3 03 F4 03 F5 03 F6 03 F7 03 F8 03 F9 AA BB" << "";
        QTest::newRow("读波特率") << "cmdReadP_0" << "2.9" << "" << none << hex("02030008000105FB") << "9 1 | " + live + "1008 0 0 0 0 0 0 0 0 0" + read + " 02 03 02 03 F0 AA BB" << "";
        QTest::newRow("读地址") << "cmdReadP_1" << "2.9" << "" << none << hex("020300090001543B") << "10 1 | " + live + "0 1009 0 0 0 0 0 0 0 0" + read + " 02 03 02 03 F1 AA BB" << "";
        QTest::newRow("读参数 9") << "cmdReadP_9" << "2.9" << "" << none << hex("020300110001D43C") << "18 1 | " + live + "0 0 0 0 0 0 0 0 0 1017" + read + " 02 03 02 03 F9 AA BB" << "";
        QTest::newRow("写参数 10000") << "cmdWriteP_2" << "2.9" << "10000" << none << hex("0306000A2710B216") << "1 16 | " + live + "0 0 10000 0 0 0 0 0 0 0" + write + " 03 06 00 0A 27 10 B2 16" << "";
        QTest::newRow("写波特率 9600") << "cmdWriteP_0" << "2.9" << "9600" << none << hex("03060008258012DA") << "1 16 | " + live + "9600 0 0 0 0 0 0 0 0 0" + write + " 03 06 00 08 25 80 12 DA" << "";
        QTest::newRow("1000.5 to even") << "cmdWriteP_1" << "2.9" << "1000.5" << none << hex("0306000903E85894") << "1 16 | " + live + "0 1000.5 0 0 0 0 0 0 0 0" + write + " 03 06 00 09 03 E8 58 94" << "";
        QTest::newRow("largest") << "cmdWriteP_4" << "2.9" << "65535" << none << hex("0306000CFFFF499B") << "1 16 | " + live + "0 0 0 0 65535 0 0 0 0 0" + write + " 03 06 00 0C FF FF 49 9B" << "";
        QTest::newRow("-0") << "cmdWriteP_9" << "2.9" << "-0" << none << hex("030600110000D82D") << "1 16 | " + live + "0 0 0 0 0 0 0 0 0 -0" + write + " 03 06 00 11 00 00 D8 2D" << "";
        const QString shortReply = "1 8 | " + live + ten + " | imgConnected 1/";
        QTest::newRow("no reply") << "comDoOnce" << "2" << "" << QByteArray("") << status << shortReply + "0 |" << "";
        QTest::newRow("two bytes") << "comDoOnce" << "2" << "" << hex("0203") << status << shortReply + "0 |" << "";
        QTest::newRow("three bytes") << "comDoOnce" << "2" << "" << hex("020300") << status << shortReply + "1 |" << "";
        QTest::newRow("five bytes") << "comDoOnce" << "2" << "" << hex("02830230F1") << status << shortReply + "1 |" << "";
        QTest::newRow("six bytes") << "comDoOnce" << "2" << "" << hex("0203020005AA") << status << "1 8 | 0.05 -220.11 -220.11 -220.11 -22011 -22011 -22011 -22011 | " + ten + read + " 02 03 02 00 05 AA" << "";
        const auto bad = [&](const char *button, const char *station, const char *value, const QString &message) {
            const QString box1 = QString(button).startsWith("cmdWrite") ? value : "0";
            QTest::addRow("%s, '%s', '%s'", button, station, value) << button << station << value << none << QByteArray() << "1 16 | " + live + "0 " + box1 + " 0 0 0 0 0 0 0 0 | imgConnected 0/0 |kept" << message;
        };
        // clang-format on
        for (const char *text : {"abc", "", "256", "-1", "1,000", "0x10", "1e400", "２"}) {
            bad("comDoOnce", text, "", kBadStation);
            bad("cmdWriteP_1", text, "1", kBadStation);
        }
        bad("cmdWriteP_1", "255.5", "1", kBadStation);
        for (const char *text : {"abc", "", "65536", "-1", "1,000", "-1e400", "65535.5"})
            bad("cmdWriteP_1", "2", text, kBadValue);
    }
    void buttons()
    {
        WindowRig rig;
        QFETCH(QByteArray, reply);
        rig.module.reply = [&](const QByteArray &request) {
            return reply.isNull() ? answer(request) : reply;
        };
        QFETCH(QString, station);
        rig.ui().txtStationID->setText(station);
        QFETCH(QString, button);
        QFETCH(QString, value);
        if (button.startsWith("cmdWrite"))
            rig.ui().txtChannel[button.section('_', 1).toInt()]->setText(value);
        rig.ui().txtState->setPlainText(QStringLiteral("kept"));
        rig.pty.writeToMaster(hex("AABBCCDDEEFF")); // pending before the click: thrown away
        QVERIFY(QTest::qWaitFor([&] { return rig.window->serial().inBufferCount() == 6; }));
        QString lamp; // as the request leaves; the one after the read is in the window
        connect(rig.ui().txtCommand, &QLineEdit::textChanged,
                [&](const QString &text) { lamp += text.isEmpty() ? "" : rig.lamp(); });
        rig.ui().SSTab1->setCurrentIndex(button.startsWith("com") ? 0 : 1);
        click(rig.window->findChild<QPushButton *>(button));
        QFETCH(QByteArray, frame);
        QCOMPARE(rig.module.sent(),
                 frame.isEmpty() ? QList<QByteArray>() : QList<QByteArray>{frame});
        QCOMPARE(rig.ui().txtCommand->text(),
                 frame.isEmpty() ? QString() : QString(frame.toHex(' ').toUpper() + ' '));
        QTEST(window(rig) + " |" + rig.ui().txtState->toPlainText(), "window");
        QFETCH(QString, message);
        QCOMPARE(rig.messages.join(""), message.isEmpty() ? "" : message + kTitle + " | warning");
        QCOMPARE(lamp, frame.isEmpty() ? "" : "ImgYellow");
    }

    // A refused text changes nothing but lblCounter: a running cycle keeps its interval.
    void interval_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("interval"); // 5000, the one before: refused with the message
        QTest::addColumn<QString>("message");
        const QString notNumber = "你输入的定时时长格式有误，应该为数字，值范围为100-60000!";
        const QString range = "你输入的定时时长格式有误，应该为数字，值范围为50-60000!";
        // clang-format off
        for (const auto &[text, interval] : {std::pair{"50", 50}, {"60000", 60000}, {"50.5", 50}, {"60000.7", 60001}, {" 1e3 ", 1000}})
            QTest::newRow(text) << text << interval << "";
        for (const char *text : {"49", "49.9", "60001", "-100"})
            QTest::newRow(text) << text << 5000 << range;
        for (const char *text : {"abc", "", "1e400", "1,000"})
            QTest::newRow(text) << text << 5000 << notNumber;
        // clang-format on
    }
    void interval()
    {
        WindowRig rig;
        rig.ui().txtTimerSet->setText(QStringLiteral("5000"));
        click(rig.ui().cmdOneM);
        rig.ui().lblCounter->setText(QStringLiteral("7"));
        QFETCH(QString, text);
        rig.ui().txtTimerSet->setText(text);
        click(rig.ui().cmdOneM);
        QCOMPARE(rig.ui().lblCounter->text(), QStringLiteral("1"));
        QTimer *timer2 = rig.window->findChild<QTimer *>(QStringLiteral("Timer2"));
        QVERIFY(timer2->isActive() && timer2->timerType() == Qt::PreciseTimer); // ticks not 5 % off
        QTEST(timer2->interval(), "interval");
        QFETCH(QString, message);
        QCOMPARE(rig.messages.join(""), message.isEmpty() ? "" : message + kTitle);
        click(rig.ui().cmdStopOnce);
        click(rig.ui().cmdStopOnce);
        QVERIFY(!timer2->isActive());
    }

    // Ticks take the fields as they stand; the decoding takes the quantity
    // rounded (9 from 8.6) where the request dropped the fraction (8).
    void ticks()
    {
        WindowRig rig;
        rig.module.reply = answer;
        tick(rig); // before any query: only the reply text
        QCOMPARE(rig.module.sent(), QList<QByteArray>{hex("0203000000104435")});
        QCOMPARE(rig.ui().txtState->toPlainText().left(9), QStringLiteral(" 02 03 20"));
        QCOMPARE(window(rig), "1 16 | 0 0 0 0 0 0 0 0 | 0 0 0 0 0 0 0 0 0 0 | imgConnected 1/1");
        rig.ui().SSTab1->setCurrentIndex(1);
        click(rig.ui().cmdReadP[0]);
        rig.ui().txtStartID->setText(QStringLiteral("1"));
        rig.ui().txtDataLength->setText(QStringLiteral("8.6"));
        rig.ui().lblCounter->setText(QStringLiteral("65535"));
        tick(rig);
        QCOMPARE(rig.module.sent().last(), hex("020300000008443F"));
        QCOMPARE(rig.window->serial().rThreshold(), 21); // the length of the reply expected
        QCOMPARE(texts(rig.ui().txtChannel), "1000 1001 1002 1003 1004 1005 1006 1007 -21829 0");
        QCOMPARE(rig.ui().lblCounter->text(), QStringLiteral("65536"));
        tick(rig);
        QCOMPARE(rig.ui().lblCounter->text(), QStringLiteral("1"));
    }

    // A field that gives no byte stops the cycle with its one box, even when a
    // click showed that box already and ticks fall due while it is open.
    void badFieldStopsTheCycle_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        // clang-format off
        QTest::newRow("station") << "txtStationID" << "256" << kBadStation;
        QTest::newRow("start") << "txtStartID" << "0.9" << "起始地址格式有误，应该为数字，值范围为1-255!";
        QTest::newRow("length") << "txtDataLength" << "-1" << "数据长度格式有误，应该为数字，值范围为0-255!";
        // clang-format on
    }
    void badFieldStopsTheCycle()
    {
        WindowRig rig;
        rig.boxes.answerAfter(150); // three ticks fall due while a box is open
        rig.ui().txtTimerSet->setText(QStringLiteral("50"));
        click(rig.ui().cmdOneM);
        QFETCH(QString, field);
        QFETCH(QString, text);
        rig.window->findChild<QLineEdit *>(field)->setText(text);
        if (field == QStringLiteral("txtStationID"))
            click(rig.ui().comDoOnce);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.window->findChild<QTimer *>("Timer2")->isActive() &&
                                     rig.window->commands().idle() && !rig.messages.isEmpty(),
                                 10000);
        QFETCH(QString, message);
        QCOMPARE(rig.messages, QStringList{message + kTitle + " | warning"});
    }

    // What a read tells the features: its own bytes, and none when the port is closed.
    void readOutcomes()
    {
        WindowRig rig;
        rig.module.reply = answer;
        QStringList seen;
        const auto record = [&](const device::ReadOutcome &o) {
            seen << o.request.toHex() + '/' + o.reply.toHex() + (o.wellFormed ? " ok" : "");
        };
        rig.window->commands().comDoOnce(record);
        QTRY_COMPARE(seen.size(), 1);
        rig.window->serial().setPortOpen(false);
        rig.window->commands().comDoOnce(record);
        QTRY_COMPARE(
            seen,
            QStringList({"020300000008443f/02031003e803e903ea03eb03ec03ed03ee03efaabb", "/"}));
    }

    // A dismissed box frees its text at once, although the read that started
    // inside it still holds its exec() back: the operator's next click shows it again.
    void dismissedBoxShowsAgain()
    {
        WindowRig rig;
        rig.module.reply = answer;
        rig.ui().txtTimerSet->setText(QStringLiteral("50"));
        click(rig.ui().cmdOneM); // reads now run back to back, inside any box
        rig.ui().txtTimerSet->setText(QStringLiteral("abc"));
        rig.boxes.answerAfter(120);
        rig.boxes.onAnswered = [&] {
            rig.boxes.onAnswered = nullptr;
            QTimer::singleShot(0, [&] { click(rig.ui().cmdOneM); });
        };
        click(rig.ui().cmdOneM);
        const QString box =
            QStringLiteral("你输入的定时时长格式有误，应该为数字，值范围为100-60000!") + kTitle;
        QTRY_COMPARE_WITH_TIMEOUT(rig.messages, QStringList({box, box}), 10000);
    }

    // At 50 ms a tick that falls due during a read runs right after it, after the
    // clicks that came before it: every read ends with work waiting behind it, and
    // reads follow each other at 200 ms or more, none nested. Stop in a read forgets
    // the tick waiting behind it.
    void cycleKeepsPace()
    {
        modbus::setWaitDivisor(1);
        WindowRig rig;
        rig.module.reply = answer;
        device::Commands &commands = rig.window->commands();
        QElapsedTimer clock;
        clock.start();
        QList<qint64> sentAt;
        connect(rig.ui().txtCommand, &QLineEdit::textChanged, [&](const QString &text) {
            if (!text.isEmpty())
                sentAt << clock.elapsed();
        });
        int reads = 0, idleAfterRead = 0;
        connect(&commands, &device::Commands::readDone, [&] {
            ++reads;
            idleAfterRead += commands.idle() ? 1 : 0;
        });
        rig.module.onRequest = [&] {
            if (rig.module.requests.size() != 3)
                return;
            rig.ui().SSTab1->setCurrentIndex(1);
            click(rig.ui().cmdWriteP[2]);
            click(rig.ui().cmdReadP[3]);
        };
        QTimer *timer2 = rig.window->findChild<QTimer *>(QStringLiteral("Timer2"));
        qsizetype stoppedAt = -1;
        connect(timer2, &QTimer::timeout, [&] { // after the window's own handler
            if (reads < 6 || !rig.window->client().busy())
                return;
            stoppedAt = sentAt.size();
            click(rig.ui().cmdStopOnce);
        });
        rig.ui().txtTimerSet->setText(QStringLiteral("50"));
        click(rig.ui().cmdOneM);
        QTRY_VERIFY_WITH_TIMEOUT(stoppedAt > 0 && commands.idle(), 20000);
        QCOMPARE(sentAt.size(), stoppedAt);
        QTRY_COMPARE(rig.module.requests.size(), stoppedAt);
        const QList<QByteArray> sent = rig.module.sent();
        QCOMPARE(idleAfterRead, 0);
        QList<qint64> gaps;
        for (int i = 1; i < sentAt.size(); ++i)
            gaps << sentAt[i] - sentAt[i - 1];
        QVERIFY2(*std::min_element(gaps.begin(), gaps.end()) >= 200, "transactions overlapped");
        const qsizetype write = sent.indexOf(hex("0206000A0000A9FB"));
        QVERIFY(write > 0 && write + 1 < sent.size());
        QCOMPARE(sent[write + 1], hex("0203000B0001F5FB"));
        QCOMPARE(rig.ui().lblCounter->text(), QString::number(reads + 1));
    }

    // Closing ends the program at once: queued clicks are dropped, and the wait in
    // progress returns before the next event is handled.
    void closingEndsPromptly()
    {
        WindowRig rig;
        bool busyAfterClose = true;
        rig.module.onRequest = [&] { // inside the read's wait
            for (int i = 0; i < 20; ++i)
                click(rig.ui().comDoOnce);
            rig.window->close();
            QTimer::singleShot(0, [&] { busyAfterClose = rig.window->client().busy(); });
        };
        QTimer::singleShot(0, [&] { click(rig.ui().comDoOnce); });
        QTimer::singleShot(5000, qApp, &QCoreApplication::quit); // a hang fails below
        QApplication::exec();
        QVERIFY2(!busyAfterClose, "the wait went on after the close");
        QTRY_VERIFY(rig.window->commands().idle());
        QCOMPARE(rig.module.requests.size(), 1);
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
