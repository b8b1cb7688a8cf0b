// Start-up and the port-settings handlers against real pseudo-terminals.

#include "serial/comm_port.h"
#include "tests/support/port_holder_process.h"
#include "tests/support/window_rig.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <termios.h>

namespace {
QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

speed_t lineSpeed(const Pty &pty)
{
    termios tio{};
    tcgetattr(pty.slaveFd(), &tio);
    return cfgetispeed(&tio);
}

// As the operator picks an entry: it is selected and the list raises activated.
void pick(QComboBox *combo, int index)
{
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void type(QComboBox *combo, const QString &text)
{
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), text);
}
} // namespace

class TestPortSettings : public QObject {
    Q_OBJECT
private slots:
    void startUpReadsCommSet_data()
    {
        QTest::addColumn<QByteArray>("commSet");
        QTest::addColumn<int>("linkAs"); // the pseudo-terminal's COM number
        QTest::addColumn<int>("combo1");
        QTest::addColumn<int>("combo2");
        QTest::addColumn<int>("commPort");
        QTest::addColumn<bool>("open");
        QTest::addColumn<int>("speed");
        QTest::newRow("4,19200") << QByteArray("4,19200\r\n") << 4 << 3 << 1 << 4 << true
                                 << int(B19200);
        QTest::newRow("25,9600") << QByteArray("25,9600\r\n") << 25 << -1 << 0 << 25 << false << 0;
        QTest::newRow("3,4800") << QByteArray("3,4800\r\n") << 3 << 2 << -1 << 3 << true
                                << int(B4800);
        QTest::newRow("9600 on COM24")
            << QByteArray("24,9600") << 24 << 23 << 0 << 24 << true << int(B9600);
        QTest::newRow("missing") << QByteArray("<none>") << 4 << 3 << 1 << 4 << true << int(B19200);
        QTest::newRow("empty") << QByteArray() << 4 << 3 << 1 << 4 << true << int(B19200);
        QTest::newRow("cut short") << QByteArray("7") << 4 << 3 << 1 << 4 << true << int(B19200);
        QTest::newRow("garbage") << QByteArray("\x01\xFFzz,\n") << 4 << 3 << 1 << 4 << true
                                 << int(B19200);
        QTest::newRow("baud beyond 16 bits")
            << QByteArray("4,38400") << 4 << 3 << 1 << 4 << true << int(B19200);
        QTest::newRow("BOM, blanks")
            << QByteArray("\xEF\xBB\xBF 5\t9600 \r\n") << 5 << 4 << 0 << 5 << true << int(B9600);
    }
    void startUpReadsCommSet()
    {
        QFETCH(QByteArray, commSet);
        QFETCH(int, linkAs);
        QFETCH(int, combo1);
        QFETCH(int, combo2);
        QFETCH(int, commPort);
        QFETCH(bool, open);
        QFETCH(int, speed);
        WindowRig rig(commSet, false);
        if (commSet == "<none>")
            QFile::remove(rig.dir.filePath(QStringLiteral("comm.set")));
        rig.pty.linkAs(rig.dir.path(), linkAs);
        rig.restart(); // start again with the link
        QCOMPARE(rig.ui().Combo1->currentIndex(), combo1);
        QCOMPARE(rig.ui().Combo2->currentIndex(), combo2);
        QCOMPARE(rig.ui().Combo1->currentText(),
                 combo1 < 0 ? QStringLiteral("COM4") : QStringLiteral("COM%1").arg(combo1 + 1));
        QCOMPARE(rig.ui().Combo2->currentText(),
                 combo2 < 0 ? QStringLiteral("19200") : rig.ui().Combo2->itemText(combo2));
        QCOMPARE(rig.window->serial().commPort(), commPort);
        QCOMPARE(rig.window->serial().portOpen(), open);
        if (open)
            QCOMPARE(int(lineSpeed(rig.pty)), speed);
        QVERIFY(rig.catcher.messages.isEmpty());
    }

    void startUpReadsModSet_data()
    {
        QTest::addColumn<QByteArray>("modSet");
        QTest::addColumn<QString>("station");
        QTest::addColumn<QString>("length");
        QTest::newRow("0,5,8,0") << QByteArray("0,5,8,0\r\n") << "5"
                                 << "8";
        QTest::newRow("negative") << QByteArray("0,-3,8,0") << "-3"
                                  << "8";
        QTest::newRow("missing") << QByteArray("<none>") << "2"
                                 << "16";
        QTest::newRow("cut short") << QByteArray("0,5") << "2"
                                   << "16";
        QTest::newRow("garbage") << QByteArray("zz") << "2"
                                 << "16";
    }
    void startUpReadsModSet()
    {
        QFETCH(QByteArray, modSet);
        QFETCH(QString, station);
        QFETCH(QString, length);
        WindowRig rig;
        const QString path = rig.dir.filePath(QStringLiteral("ModSet.set"));
        modSet == "<none>" ? void(QFile::remove(path)) : writeFile(path, modSet);
        MainWindow window(rig.dir.path());
        QCOMPARE(window.controls().txtStationID->text(), station);
        QCOMPARE(window.controls().txtDataLength->text(), length);
    }

    void startUpWithThePortHeldElsewhere()
    {
        WindowRig rig("4,19200\r\n", false);
        PortHolderProcess holder;
        QVERIFY2(holder.start(rig.pty.slavePath()), qPrintable(holder.errorText()));
        rig.pty.linkAs(rig.dir.path(), 4);
        MainWindow window(rig.dir.path());
        QVERIFY(!window.serial().portOpen());
        QCOMPARE(window.serial().commPort(), 4);
        QCOMPARE(window.controls().Combo1->currentIndex(), 3);
        QVERIFY(rig.catcher.messages.isEmpty());
    }

    void pickingAnotherPortSwitchesWithoutSaving()
    {
        WindowRig rig("3,4800\r\n", false);
        rig.pty.linkAs(rig.dir.path(), 3);
        Pty com7;
        com7.linkAs(rig.dir.path(), 7);
        rig.restart();
        QVERIFY(rig.window->serial().portOpen());
        pick(rig.ui().Combo1, 6);
        QCOMPARE(rig.window->serial().commPort(), 7);
        QVERIFY(rig.window->serial().portOpen());
        QCOMPARE(int(lineSpeed(com7)), int(B4800));  // the line settings in force
        CommPort other(QStringList{rig.dir.path()}); // COM3 was let go
        QVERIFY(other.setCommPort(3));
        QVERIFY(other.setPortOpen(true));
        QCOMPARE(fileBytes(rig.dir.filePath(QStringLiteral("comm.set"))), QByteArray("3,4800\r\n"));
        QCOMPARE(rig.window->savedPort(), 3);
        QVERIFY(rig.catcher.messages.isEmpty());

        pick(rig.ui().Combo2, 1); // a baud rate takes effect only when saved
        QCOMPARE(rig.window->serial().settings(), QStringLiteral("4800,N,8,1"));
    }

    void rePickingAPortReopensIt()
    {
        WindowRig rig;
        rig.pty.closeMaster();
        QTest::qWait(100);
        QVERIFY(!rig.window->serial().portOpen());
        Pty back;
        back.linkAs(rig.dir.path(), 4);
        pick(rig.ui().Combo1, 3);
        QVERIFY(rig.window->serial().portOpen());
    }

    void typedTextSelectsNoEntry()
    {
        WindowRig rig;
        type(rig.ui().Combo1, QStringLiteral("COM30"));
        type(rig.ui().Combo2, QStringLiteral("38400"));
        QCOMPARE(rig.ui().Combo1->currentIndex(), -1);
        QCOMPARE(rig.ui().Combo1->currentText(), QStringLiteral("COM30"));
        QCOMPARE(rig.ui().Combo2->currentIndex(), -1);
        QCOMPARE(rig.ui().Combo2->currentText(), QStringLiteral("38400"));
        QVERIFY(rig.window->serial().portOpen()); // typing raises nothing
    }

    // Typed texts select nothing: port 0 is refused (the number in force is
    // saved) and the first baud entry, 9600, is applied.
    void saveWithTypedTexts()
    {
        WindowRig rig;
        type(rig.ui().Combo1, QStringLiteral("COM30"));
        type(rig.ui().Combo2, QStringLiteral("38400"));
        rig.ui().cmdCom->click();
        QCOMPARE(fileBytes(rig.dir.filePath(QStringLiteral("comm.set"))), QByteArray("4,9600\r\n"));
        QCOMPARE(rig.window->serial().settings(), QStringLiteral("9600,N,8,1"));
        QVERIFY(rig.window->serial().portOpen());
        QCOMPARE(int(lineSpeed(rig.pty)), int(B9600));
        QCOMPARE(rig.catcher.messages.size(), 1);
        QCOMPARE(rig.catcher.messages[0].text, QStringLiteral("Save successfully"));
        QCOMPARE(rig.catcher.messages[0].title, QStringLiteral("System Prompted"));
        QCOMPARE(rig.catcher.messages[0].icon, QMessageBox::NoIcon);
    }

    void saveWritesExactlyOneLine()
    {
        WindowRig rig("25,9600\r\n");
        pick(rig.ui().Combo1, 3);
        pick(rig.ui().Combo2, 1);
        rig.ui().cmdCom->click();
        const QByteArray written = fileBytes(rig.dir.filePath(QStringLiteral("comm.set")));
        QCOMPARE(written, QByteArray("4,19200\r\n"));
        QCOMPARE(written.size(), 9);
        QCOMPARE(rig.window->savedPort(), 4);
        QCOMPARE(rig.window->savedBaud(), 19200);
        QVERIFY(rig.window->serial().portOpen());
    }

    void saveWhileAnotherProgramHoldsThePort()
    {
        WindowRig rig("4,19200\r\n", false);
        Pty com5;
        com5.linkAs(rig.dir.path(), 5);
        PortHolderProcess holder;
        QVERIFY2(holder.start(com5.slavePath()), qPrintable(holder.errorText()));
        rig.restart();
        pick(rig.ui().Combo1, 4);
        pick(rig.ui().Combo2, 0);
        rig.catcher.messages.clear();
        rig.ui().cmdCom->click();
        QCOMPARE(rig.catcher.texts(), QStringList{QStringLiteral("Save successfully")});
        QCOMPARE(fileBytes(rig.dir.filePath(QStringLiteral("comm.set"))), QByteArray("5,9600\r\n"));
        QVERIFY(!rig.window->serial().portOpen());
    }

    // The old file stays whole and the operator is told, instead of "Save successfully".
    void saveThatCannotWriteWarns()
    {
        WindowRig rig;
        const QString path = rig.dir.filePath(QStringLiteral("comm.set"));
        QFile::remove(path);
        QVERIFY(QDir(rig.dir.path()).mkdir(QStringLiteral("comm.set"))); // no file can replace it
        rig.ui().cmdCom->click();
        QCOMPARE(rig.catcher.messages.size(), 1);
        const CaughtMessage &m = rig.catcher.messages[0];
        QCOMPARE(m.title, QStringLiteral("System Information"));
        QCOMPARE(m.icon, QMessageBox::Warning);
        QVERIFY2(m.text.contains(path), qPrintable(m.text));
        QVERIFY(QFileInfo(path).isDir());
    }
};

QTEST_MAIN(TestPortSettings)
#include "tst_port_settings.moc"
