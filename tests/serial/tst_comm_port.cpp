// The serial port component against real pseudo-terminals.

#include "serial/comm_port.h"
#include "tests/support/pty.h"

#include <QtTest>
#include <termios.h>

class TestCommPort : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void settings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("readBack"); // after a refusal the first settings stay
        // clang-format off
        const auto row = [](const char *text, const char *back) { QTest::addRow("\"%s\"", text) << QString(text) << QString(back); };
        row("9600,e,5,2", "9600,E,5,2");
        row("1,O,6,1", "1,O,6,1");
        for (const char *bad : {"19200,N,8", "19200,N,8,1,", " 9600,N,8,1", "0,N,8,1", "99999999999,N,8,1", "9600,M,8,1", "9600,NE,8,1",
                                "9600,N,+8,1", "9600,N,4,1", "9600,N,9,1", "9600,N,8,1.5", "9600,N,8,0", "9600,N,8,3"})
            row(bad, "9600,N,8,1");
        // clang-format on
    }

    void settings()
    {
        QFETCH(QString, text);
        QFETCH(QString, readBack);
        CommPort port({m_dir.path()});
        QCOMPARE(port.setSettings(text), text.toUpper() == readBack);
        QCOMPARE(port.property("Settings").toString(), readBack);
    }

    void openExchangeAndLose()
    {
        Pty pty;
        CommPort p({m_dir.path()});
        QSignalSpy lost(&p, &CommPort::portLost);
        QVERIFY(p.setCommPort(1) && p.setCommPort(255) && !p.setCommPort(0) && !p.setCommPort(256));
        QVERIFY(p.setInputMode(1) && !p.setInputMode(2) && p.setInputLen(0) && !p.setInputLen(-1));
        QVERIFY(p.setRThreshold(0) && !p.setRThreshold(-1) && !p.setSThreshold(-1));
        termios tio{}; // the master reports the line's settings; a pty forces 8 bits, no parity
        // As COM3, a link to the pty; opening again changes nothing. Bytes queued before the
        // opening answer no request of ours.
        QVERIFY(pty.writeToMaster("stale") && Pty::linkPort(m_dir.path(), 3, pty.slavePath()) &&
                p.setCommPort(3) && p.setSettings("4800,o,7,2") && p.setPortOpen(true) &&
                p.setPortOpen(true) && tcgetattr(pty.masterFd(), &tio) == 0);
        QVERIFY(cfgetospeed(&tio) == B4800 && (tio.c_cflag & CSTOPB) && (tio.c_cflag & PARODD));
        QVERIFY(!p.setSettings("9600,N,8,1") && !p.setCommPort(4)); // fixed while open
        QVERIFY(!p.reopenWith("9600,X,8,1") && !p.setOutBufferCount(1) && p.portOpen());
        QCOMPARE(p.lastError(), "the output buffer can only be emptied");
        const QByteArray raw = QByteArray::fromHex("00030411130A0D7F80FF"); // a cooked line alters
        QVERIFY(p.output(raw) && p.outBufferCount() == 0);
        QCOMPARE(pty.readFromMaster(2000, 10), raw);
        // Without events, bytes stay in the driver; a wait for them to come handles none.
        const auto arrived = [&p](int count) {
            for (QDeadlineTimer end(10000); p.inBufferCount() < count && !end.hasExpired();)
                QThread::msleep(5);
            return p.inBufferCount() == count;
        };
        QVERIFY(pty.writeToMaster(raw.left(4)) && arrived(4));
        QCoreApplication::processEvents(); // these go into Qt's buffer
        QVERIFY(pty.writeToMaster(raw.mid(4)) && arrived(10) && p.setInputLen(4));
        QCOMPARE(p.input(), raw.left(4));
        QVERIFY(pty.writeToMaster("late") && arrived(10));
        QVERIFY(!p.setInBufferCount(3) && p.setInBufferCount(0) && p.inBufferCount() == 0 &&
                pty.writeToMaster("abc") && arrived(3));
        QCoreApplication::processEvents(); // taken in before the loss
        pty.closeMaster();
        QTRY_COMPARE_WITH_TIMEOUT(lost.count(), 1, 5000);
        QCOMPARE(p.input(), QByteArray("abc")); // what came before the loss is kept
        // Closed now; start-up empties the buffers of a closed port too.
        QVERIFY(!p.portOpen() && !p.output("x") && p.setInBufferCount(0) && p.setOutBufferCount(0));
        QVERIFY(!p.reopenWith("9600,N,8,1") && p.lastError() == "the port is not open");
        Pty replugged;
        QSerialPort holder(replugged.slavePath()); // another program has the new device first
        QVERIFY(holder.open(QIODevice::ReadWrite));
        QVERIFY(Pty::linkPort(m_dir.path(), 3, replugged.slavePath()) && !p.setPortOpen(true) &&
                !p.portOpen() && !p.lastError().isEmpty());
        holder.close();
        QVERIFY(p.setPortOpen(true) && p.output("back") &&
                replugged.readFromMaster(2000, 4) == "back");
    }
};

QTEST_GUILESS_MAIN(TestCommPort)
#include "tst_comm_port.moc"
