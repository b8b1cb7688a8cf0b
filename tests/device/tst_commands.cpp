// Every button that talks to the module, the two transactions under them and
// cyclic acquisition, on the shown window over a pseudo-terminal.

#include "device/commands.h"
#include "serial/comm_port.h"
#include "tests/support/window_rig.h"

#include <QElapsedTimer>

namespace {
const QString kTitle = QStringLiteral("RV4820工具");
const QString kBadStation = QStringLiteral("设备地址格式有误，应该为数字，值范围为0-255!");
const QString kBadValue = QStringLiteral("参数值格式有误，应该为数字，值范围为0-65535!");
const QString kZeros = QStringLiteral("0 0 0 0 0 0 0 0");

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

QString requestText(const QByteArray &frame)
{
    return QString::fromLatin1(frame.toHex(' ').toUpper()) + QLatin1Char(' ');
}

// Reads are answered with 1000 + address for each register and two stand-in
// CRC bytes AA BB (replies are never checked); writes with their echo.
QByteArray answer(const QByteArray &request)
{
    if (request[1] == 6)
        return request;
    QByteArray reply = request.left(2) + char(2 * request[5]);
    for (int k = 0; k < request[5]; ++k)
        reply += QByteArray::fromHex(
            QByteArray::number(1000 + request[3] + k, 16).rightJustified(4, '0'));
    return reply + hex("AABB");
}

template <std::size_t N> QString texts(const std::array<QLineEdit *, N> &boxes)
{
    QStringList out;
    for (auto *box : boxes)
        out << box->text();
    return out.join(QLatin1Char(' '));
}

QString fields(const WindowRig &rig)
{
    return rig.ui().txtStartID->text() + ' ' + rig.ui().txtDataLength->text();
}

QTimer *timer2(WindowRig &rig)
{
    return rig.window->findChild<QTimer *>(QStringLiteral("Timer2"));
}

void click(QPushButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// A tick runs from the event loop, as Timer2's do.
void tick(WindowRig &rig)
{
    rig.window->commands().onTimer2();
    QTest::qWait(300);
}

QList<qint64> readTimes(const WindowRig &rig)
{
    QList<qint64> at;
    for (const auto &r : rig.module.requests)
        if (r.bytes[1] == 3)
            at << r.atMs;
    return at;
}
} // namespace

class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void readButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QString>("fields"); // txtStartID txtDataLength afterwards
        QTest::addColumn<QString>("live");
        QTest::addColumn<QString>("channels");
        const QString ten = kZeros + " 0 0";
        QTest::newRow("查询状态") << "comDoOnce" << hex("020300000008443F") << "1 8"
                                  << "10.00 10.01 10.02 10.03 1004 1005 1006 1007" << ten;
        QTest::newRow("读所有参数") << "cmdReadAlarm_2" << hex("0203000A0008643D") << "11 8"
                                    << kZeros << "0 0 1010 1011 1012 1013 1014 1015 1016 1017";
        QTest::newRow("读波特率") << "cmdReadP_0" << hex("02030008000105FB") << "9 1" << kZeros
                                  << "1008 0 0 0 0 0 0 0 0 0";
        QTest::newRow("读地址") << "cmdReadP_1" << hex("020300090001543B") << "10 1" << kZeros
                                << "0 1009 0 0 0 0 0 0 0 0";
        QTest::newRow("读参数 9") << "cmdReadP_9" << hex("020300110001D43C") << "18 1" << kZeros
                                  << "0 0 0 0 0 0 0 0 0 1017";
    }
    void readButtons()
    {
        QFETCH(QString, button);
        QFETCH(QByteArray, frame);
        WindowRig rig;
        rig.module.reply = answer;
        rig.ui().txtStationID->setText(QStringLiteral("2.9")); // reads drop the fraction
        QStringList lamps;
        rig.module.onRequest = [&] { lamps << rig.lamp(); };
        QTimer::singleShot(150, [&] { lamps << rig.lamp(); });
        click(rig.window->findChild<QPushButton *>(button));
        QCOMPARE(rig.module.sent(), QList<QByteArray>{frame});
        QCOMPARE(rig.ui().txtCommand->text(), requestText(frame));
        QTEST(fields(rig), "fields");
        QTEST(texts(rig.ui().txtCurrentInput), "live");
        QTEST(texts(rig.ui().txtChannel), "channels");
        QCOMPARE(lamps, (QStringList{"ImgYellow", "imgConnected"}));
        QCOMPARE(rig.lamp(), QStringLiteral("imgConnected"));
        QCOMPARE(rig.ui().lblCounter->text() + rig.ui().lblRecCount->text(), QStringLiteral("11"));
    }

    // Input pending before the request is thrown away; a reply is counted from
    // three bytes and shown from six.
    void replyLengths_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("recCount");
        QTest::addColumn<QString>("state");
        QTest::newRow("none") << QByteArray() << "0"
                              << "";
        QTest::newRow("two") << hex("0203") << "0"
                             << "";
        QTest::newRow("three") << hex("020300") << "1"
                               << "";
        QTest::newRow("five") << hex("02830230F1") << "1"
                              << "";
        QTest::newRow("six") << hex("0203020005AA") << "1"
                             << " 02 03 02 00 05 AA";
    }
    void replyLengths()
    {
        QFETCH(QByteArray, reply);
        WindowRig rig;
        rig.module.reply = [&](const QByteArray &) { return reply; };
        rig.pty.writeToMaster(hex("AABBCCDDEEFF"));
        QTest::qWait(50);
        rig.ui().txtState->setPlainText(QStringLiteral("old"));
        click(rig.ui().comDoOnce);
        QCOMPARE(rig.ui().lblCounter->text(), QStringLiteral("1"));
        QTEST(rig.ui().lblRecCount->text(), "recCount");
        QTEST(rig.ui().txtState->toPlainText(), "state");
        QCOMPARE(texts(rig.ui().txtCurrentInput),
                 reply.size() == 6
                     ? QStringLiteral("0.05 -220.11 -220.11 -220.11 -22011 -22011 -22011 -22011")
                     : kZeros);
    }

    void writeButtons_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("station");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("写参数 10000") << 2 << "2"
                                      << "10000" << hex("0206000A2710B3C7");
        QTest::newRow("写波特率 9600") << 0 << "2"
                                       << "9600" << hex("020600082580130B");
        QTest::newRow("1000.5 to even") << 1 << "2"
                                        << "1000.5" << hex("0206000903E85945");
        QTest::newRow("1001.5 to even") << 1 << "2"
                                        << "1001.5" << hex("0206000903EAD884");
        QTest::newRow("station 2.9 rounds") << 9 << "2.9"
                                            << "1" << hex("03060011000119ED");
        QTest::newRow("blanks, exponent") << 3 << " 12 "
                                          << "1e2" << hex("0C06000B0064F8FE");
        QTest::newRow("largest") << 4 << "255"
                                 << "65535" << hex("FF06000CFFFF5DA7");
        QTest::newRow("-0") << 5 << "-0"
                            << "-0" << hex("0006000D000019D8");
    }
    void writeButtons()
    {
        QFETCH(int, index);
        QFETCH(QByteArray, frame);
        WindowRig rig;
        rig.module.reply = answer;
        QFETCH(QString, station);
        rig.ui().txtStationID->setText(station);
        QFETCH(QString, value);
        rig.ui().txtChannel[index]->setText(value);
        rig.ui().SSTab1->setCurrentIndex(1);
        click(rig.ui().cmdWriteP[index]);
        QCOMPARE(rig.module.sent(), QList<QByteArray>{frame});
        QCOMPARE(rig.ui().txtCommand->text(), requestText(frame));
        QCOMPARE(rig.ui().txtState->toPlainText(), ' ' + requestText(frame).trimmed());
        QCOMPARE(fields(rig) + ' ' + rig.ui().lblCounter->text(), QStringLiteral("1 16 0"));
        QCOMPARE(rig.lamp(), QStringLiteral("ImgYellow"));
        QVERIFY(rig.messages.isEmpty());
    }

    // One warning box; nothing sent, no text, field or counter changed.
    void badInput_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("station");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        for (const char *text : {"abc", "", "256", "-1", "1,000", "0x10", "1e400", "２"}) {
            QTest::addRow("read, station '%s'", text) << "comDoOnce" << text << "1" << kBadStation;
            QTest::addRow("write, station '%s'", text)
                << "cmdWriteP_1" << text << "1" << kBadStation;
        }
        QTest::newRow("write, station 255.5") << "cmdWriteP_0"
                                              << "255.5"
                                              << "1" << kBadStation;
        for (const char *text : {"abc", "", "65536", "-1", "1,000", "-1e400", "65535.5"})
            QTest::addRow("write, value '%s'", text) << "cmdWriteP_1"
                                                     << "2" << text << kBadValue;
    }
    void badInput()
    {
        QFETCH(QString, station);
        QFETCH(QString, value);
        QFETCH(QString, message);
        WindowRig rig;
        rig.ui().txtStationID->setText(station);
        rig.ui().txtChannel[0]->setText(value);
        rig.ui().txtChannel[1]->setText(value);
        rig.ui().txtState->setPlainText(QStringLiteral("kept"));
        QFETCH(QString, button);
        rig.window->findChild<QPushButton *>(button)->click();
        QCOMPARE(rig.messages, (QList<Message>{{message, kTitle, QMessageBox::Warning}}));
        QVERIFY(rig.pty.readFromMaster(100).isEmpty());
        QCOMPARE(rig.ui().txtState->toPlainText() + ' ' + fields(rig), QStringLiteral("kept 1 16"));
        QCOMPARE(rig.ui().lblCounter->text(), QStringLiteral("0"));
        QCOMPARE(rig.window->commands().displayMode(), 0);
    }

    // A closed port: the red lamp, texts emptied, nothing sent or counted.
    void closedPort()
    {
        WindowRig rig("4,19200\r\n", 0);
        rig.ui().txtState->setPlainText(QStringLiteral("old"));
        click(rig.ui().comDoOnce);
        QCOMPARE(rig.lamp(), QStringLiteral("imgNotConnected"));
        QCOMPARE(rig.ui().txtState->toPlainText() + rig.ui().txtCommand->text(), QString());
        QCOMPARE(rig.ui().lblCounter->text(), QStringLiteral("0"));
        rig.ui().SSTab1->setCurrentIndex(1);
        click(rig.ui().cmdWriteP[0]);
        QCOMPARE(rig.lamp(), QStringLiteral("imgNotConnected"));
        QVERIFY(rig.module.requests.isEmpty() && rig.messages.isEmpty());
    }

    // The adapter goes away mid-read; the read ends, later reads show red, a re-pick reopens.
    void portLostMidRead()
    {
        WindowRig rig;
        QTimer::singleShot(50, [&] { rig.pty.closeMaster(); });
        click(rig.ui().comDoOnce);
        QCOMPARE(rig.ui().lblCounter->text(), QStringLiteral("1"));
        QVERIFY(!rig.window->serial().portOpen());
        Pty back;
        Pty::linkPort(rig.dir.path(), 4, back.slavePath());
        ScriptedModule module(back);
        rig.window->onPortPicked(3);
        click(rig.ui().comDoOnce);
        QCOMPARE(module.sent(), QList<QByteArray>{hex("020300000008443F")});
    }

    void interval_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("interval"); // 0: refused with the message
        QTest::addColumn<QString>("message");
        const QString notNumber = "你输入的定时时长格式有误，应该为数字，值范围为100-60000!";
        const QString range = "你输入的定时时长格式有误，应该为数字，值范围为50-60000!";
        QTest::newRow("50") << "50" << 50 << "";
        QTest::newRow("60000") << "60000" << 60000 << "";
        QTest::newRow("50.5 to even") << "50.5" << 50 << "";
        QTest::newRow("60000.7") << "60000.7" << 60001 << "";
        QTest::newRow(" 1e3 ") << " 1e3 " << 1000 << "";
        QTest::newRow("49") << "49" << 0 << range;
        QTest::newRow("49.9") << "49.9" << 0 << range;
        QTest::newRow("60001") << "60001" << 0 << range;
        QTest::newRow("abc") << "abc" << 0 << notNumber;
        QTest::newRow("empty") << "" << 0 << notNumber;
        QTest::newRow("1e400") << "1e400" << 0 << notNumber;
    }
    // A refused text changes nothing but lblCounter: a running cycle keeps its interval.
    void interval()
    {
        QFETCH(QString, text);
        QFETCH(int, interval);
        WindowRig rig;
        rig.ui().txtTimerSet->setText(QStringLiteral("5000"));
        click(rig.ui().cmdOneM);
        rig.ui().lblCounter->setText(QStringLiteral("7"));
        rig.ui().txtTimerSet->setText(text);
        click(rig.ui().cmdOneM);
        QCOMPARE(rig.ui().lblCounter->text(), QStringLiteral("1"));
        QVERIFY(timer2(rig)->isActive());
        QCOMPARE(timer2(rig)->interval(), interval ? interval : 5000);
        QFETCH(QString, message);
        const QList<Message> expected{{message, kTitle, QMessageBox::NoIcon}};
        QCOMPARE(rig.messages, interval ? QList<Message>() : expected);
        click(rig.ui().cmdStopOnce);
        click(rig.ui().cmdStopOnce);
        QVERIFY(!timer2(rig)->isActive());
    }

    // Ticks take the fields as they stand, and the quantity as last rounded for decoding.
    void ticks()
    {
        WindowRig rig;
        rig.module.reply = answer;
        tick(rig); // before any query: only the reply text
        QCOMPARE(rig.module.sent(), QList<QByteArray>{hex("0203000000104435")});
        QCOMPARE(rig.ui().txtState->toPlainText().left(9), QStringLiteral(" 02 03 20"));
        QCOMPARE(texts(rig.ui().txtChannel) + texts(rig.ui().txtCurrentInput),
                 kZeros + " 0 0" + kZeros);

        rig.ui().SSTab1->setCurrentIndex(1);
        click(rig.ui().cmdReadP[0]);
        rig.ui().txtStartID->setText(QStringLiteral("1"));
        rig.ui().txtDataLength->setText(QStringLiteral("8.6"));
        rig.ui().lblCounter->setText(QStringLiteral("65535"));
        tick(rig);
        QCOMPARE(rig.module.sent().last(), hex("020300000008443F"));
        QCOMPARE(texts(rig.ui().txtChannel),
                 QStringLiteral("1000 1001 1002 1003 1004 1005 1006 1007 -21829 0"));
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
        QTest::newRow("station") << "txtStationID"
                                 << "256" << kBadStation;
        QTest::newRow("start") << "txtStartID"
                               << "0.9"
                               << "起始地址格式有误，应该为数字，值范围为1-255!";
        QTest::newRow("length") << "txtDataLength"
                                << "-1"
                                << "数据长度格式有误，应该为数字，值范围为0-255!";
    }
    void badFieldStopsTheCycle()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        WindowRig rig;
        rig.boxes.answerAfter(300);
        rig.ui().txtTimerSet->setText(QStringLiteral("50"));
        click(rig.ui().cmdOneM);
        rig.window->findChild<QLineEdit *>(field)->setText(text);
        if (field == QStringLiteral("txtStationID"))
            click(rig.ui().comDoOnce);
        QTest::qWait(600);
        QVERIFY(!timer2(rig)->isActive());
        QCOMPARE(rig.messages, (QList<Message>{{message, kTitle, QMessageBox::Warning}}));
    }

    // At 50 ms a tick that falls due during a read runs right after it, after the
    // clicks that came before it: reads follow each other at 200 ms, none nested.
    void cycleKeepsPace()
    {
        WindowRig rig;
        rig.module.reply = answer;
        rig.ui().txtTimerSet->setText(QStringLiteral("50"));
        click(rig.ui().cmdOneM);
        QTimer::singleShot(500, [&] {
            rig.ui().SSTab1->setCurrentIndex(1);
            click(rig.ui().cmdWriteP[2]);
            click(rig.ui().cmdReadP[3]);
        });
        QTest::qWait(2500);
        click(rig.ui().cmdStopOnce); // inside a read: the tick waiting behind it is forgotten
        const int sent = rig.module.requests.size();
        QTest::qWait(500);
        QCOMPARE(rig.module.requests.size(), sent);

        const QList<qint64> at = readTimes(rig);
        QList<qint64> gaps;
        for (int i = 1; i < at.size(); ++i)
            gaps << at[i] - at[i - 1];
        std::sort(gaps.begin(), gaps.end());
        QVERIFY2(gaps.size() >= 7 && gaps.first() >= 195,
                 qPrintable(QString::number(gaps.first())));
        QVERIFY2(gaps[gaps.size() / 2] < 230, "ticks during a read were dropped");
        int write = 0;
        while (write < sent && rig.module.requests[write].bytes[1] != 6)
            ++write;
        QVERIFY(write + 1 < sent);
        QCOMPARE(rig.module.requests[write].bytes, hex("0206000A0000A9FB"));
        QCOMPARE(rig.module.requests[write + 1].bytes, hex("0203000B0001F5FB"));
        QCOMPARE(rig.ui().lblCounter->text(), QString::number(at.size() + 1));
    }

    // Closing ends the program at once: queued clicks are dropped, the wait in
    // progress returns and nothing more is sent.
    void closingEndsPromptly()
    {
        WindowRig rig;
        QElapsedTimer sinceClose;
        int sentAtClose = 0;
        QTimer::singleShot(0, [&] { click(rig.ui().comDoOnce); });
        QTimer::singleShot(60, [&] {
            for (int i = 0; i < 20; ++i)
                click(rig.ui().comDoOnce);
            sentAtClose = rig.module.requests.size();
            sinceClose.start();
            rig.window->close();
        });
        QTimer::singleShot(5000, qApp, &QCoreApplication::quit); // a hang fails below
        QApplication::exec();
        QVERIFY2(sinceClose.elapsed() < 500, qPrintable(QString::number(sinceClose.elapsed())));
        QTest::qWait(300);
        QCOMPARE(sentAtClose, 1);
        QCOMPARE(rig.module.requests.size(), 1);
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
