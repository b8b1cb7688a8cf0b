// Start-up, the port-settings handlers and the port list, driven with real events,
// against pseudo-terminals.

#include "app/port_list.h"
#include "app/translations.h"
#include "serial/comm_port.h"
#include "modbus/transactions.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/window_rig.h"

#include <termios.h>

namespace {
const QString kSaved = QStringLiteral("Save successfully | System Prompted");

int lineSpeed(const Pty &pty)
{
    termios tio{};
    tcgetattr(pty.slaveFd(), &tio);
    return int(cfgetispeed(&tio));
}

// Where the port stands: number in force, open or not, and each list's entry and text.
QString state(const WindowRig &rig)
{
    const auto list = [](QComboBox *c) {
        return QString::number(c->currentIndex()) + ' ' + c->currentText();
    };
    const CommPort &port = rig.window->serial();
    return QString::number(port.commPort()) + (port.portOpen() ? " open | " : " closed | ") +
           list(rig.ui().Combo1) + " | " + list(rig.ui().Combo2);
}

void typeInto(QComboBox *combo, const QString &text)
{
    QTest::mouseClick(combo->lineEdit(), Qt::LeftButton);
    QTest::keyClick(combo->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(combo->lineEdit(), text);
}

void wheel(QComboBox *combo)
{
    const QPoint at = combo->lineEdit()->rect().center();
    QWheelEvent event(at, combo->lineEdit()->mapToGlobal(at), {}, {0, -120}, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&event); // as from the window system: it may give focus
    QApplication::instance()->notify(combo->lineEdit(), &event);
}

void pickFromOpenedList(QComboBox *combo, int index)
{
    QTest::mouseClick(combo->lineEdit(), Qt::LeftButton);
    combo->showPopup();
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QAbstractItemView *view = combo->view();
    const QPoint at = view->visualRect(view->model()->index(index, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QApplication::setActiveWindow(
        combo->window()); // as the window manager does once the popup goes
}
} // namespace

class TestPortSettings : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { modbus::setWaitDivisor(4); } // nothing here judges the timing
    void startUp_data()
    {
        QTest::addColumn<QByteArray>("commSet");
        QTest::addColumn<int>("ptyAs");
        QTest::addColumn<QByteArray>("modSet");
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("speed");
        QTest::addColumn<QString>("fields"); // txtStationID txtDataLength
        QTest::addColumn<QString>("tip");    // the port list's tooltip, the link left out
        // clang-format off
        QTest::newRow("4,19200") << QByteArray("4,19200\r\n") << 4 << QByteArray("0,5,8,0\r\n") << "4 open | 3 COM4 | 1 19200" << int(B19200) << "5 8" << "COM4 → : open, 19200,N,8,1";
        QTest::newRow("25,9600") << QByteArray("25,9600\r\n") << 25 << QByteArray("0,-3,8,0") << "25 closed | -1 COM4 | 0 9600" << 0 << "-3 8" << "COM25 → : closed";
        QTest::newRow("3,4800") << QByteArray("3,4800\r\n") << 3 << QByteArray("0,5") << "3 open | 2 COM3 | -1 19200" << int(B4800) << "2 16" << "COM3 → : open, 4800,N,8,1";
        QTest::newRow("24,9600") << QByteArray("24,9600") << 24 << QByteArray("zz") << "24 open | 23 COM24 | 0 9600" << int(B9600) << "2 16" << "COM24 → : open, 9600,N,8,1";
        QTest::newRow("BOM, blanks") << QByteArray("\xEF\xBB\xBF 5\t9600 \r\n") << 5 << QByteArray() << "5 open | 4 COM5 | 0 9600" << int(B9600) << "2 16" << "COM5 → : open, 9600,N,8,1";
        for (const char *bad : {"<none>", "7", "4,0", "5,-9600", "4,38400", "\x01\xFFzz,\n"})
            QTest::addRow("comm.set '%s'", bad) << QByteArray(bad) << 4 << QByteArray("0,2,16,0") << "4 open | 3 COM4 | 1 19200" << int(B19200) << "2 16" << "COM4 → : open, 19200,N,8,1";
        // clang-format on
    }
    void startUp()
    {
        QFETCH(QByteArray, commSet);
        QFETCH(int, ptyAs);
        WindowRig rig(commSet, ptyAs);
        QFETCH(QByteArray, modSet);
        writeFile(rig.path("ModSet.set"), modSet);
        if (commSet == "<none>")
            QFile::remove(rig.path("comm.set"));
        rig.restart();
        QTEST(state(rig), "state");
        const CommPort &port = rig.window->serial(); // as start-up prepares it
        QCOMPARE(
            QList<int>({port.inputMode(), port.inputLen(), port.rThreshold(), port.sThreshold()}),
            QList<int>({1, 0, 1, 0}));
        QFETCH(int, speed);
        if (speed)
            QCOMPARE(lineSpeed(rig.pty), speed);
        QTEST(rig.ui().txtStationID->text() + ' ' + rig.ui().txtDataLength->text(), "fields");
        const QString tip = rig.ui().Combo1->toolTip();
        QTEST(tip.section(' ', 0, 1) + ' ' + tip.mid(tip.lastIndexOf(": ")), "tip");
        QVERIFY(rig.messages.isEmpty());
    }

    // A port another program holds: no message at start-up or on Save; the file is written.
    void heldPort()
    {
        QSerialPort holder;
        WindowRig rig("4,19200\r\n", 0);
        holder.setPortName(rig.pty.slavePath());
        QVERIFY(holder.open(QIODevice::ReadWrite));
        Pty::linkPort(rig.dir.path(), 4, rig.pty.slavePath());
        rig.restart();
        QCOMPARE(state(rig), QStringLiteral("4 closed | 3 COM4 | 1 19200"));
        click(rig.ui().Combo2->lineEdit());
        QTest::keyClick(rig.ui().Combo2, Qt::Key_Up); // picks 9600; no handler runs
        QCOMPARE(rig.window->serial().settings(), QStringLiteral("19200,N,8,1"));
        click(rig.ui().cmdCom);
        QCOMPARE(rig.messages, QStringList{kSaved});
        QCOMPARE(readFile(rig.path("comm.set")), QByteArray("4,9600\r\n"));
        QCOMPARE(state(rig), QStringLiteral("4 closed | 3 COM4 | 0 9600"));
    }

    // Only a pick selects: typing, Enter, leaving the list and a wheel over an
    // unfocused list select nothing, and Save then works with no entry selected.
    void onlyAPickSelects()
    {
        WindowRig rig("3,4800\r\n", 3);
        Pty com7;
        Pty::linkPort(rig.dir.path(), 7, com7.slavePath());
        Pty::linkPort(rig.dir.path(), 8, rig.path("gone")); // COM8 fails to open
        click(rig.ui().Combo2->lineEdit());
        click(rig.ui().cmdCom);
        QCOMPARE(readFile(rig.path("comm.set")), QByteArray("3,9600\r\n"));
        QCOMPARE(state(rig), QStringLiteral("3 open | 2 COM3 | -1 19200"));
        QCOMPARE(lineSpeed(rig.pty), int(B9600));

        for (QComboBox *combo : {rig.ui().Combo1, rig.ui().Combo2}) {
            typeInto(combo, combo == rig.ui().Combo1 ? "COM7" : "9600");
            QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
            QTest::keyClick(combo->lineEdit(), Qt::Key_Tab);
        }
        click(rig.ui().txtTimerSet);
        wheel(rig.ui().Combo1);
        wheel(rig.ui().Combo2);
        QCOMPARE(state(rig), QStringLiteral("3 open | -1 COM7 | -1 9600"));
        typeInto(rig.ui().Combo2, QStringLiteral("38400"));
        click(rig.ui().cmdCom);
        QCOMPARE(readFile(rig.path("comm.set")), QByteArray("3,9600\r\n")); // port 0 is refused
        QCOMPARE(rig.messages, QStringList({kSaved, kSaved}));

        pickFromOpenedList(rig.ui().Combo1, 6);
        QCOMPARE(state(rig), QStringLiteral("7 open | 6 COM7 | -1 38400"));
        QCOMPARE(lineSpeed(com7), int(B9600)); // the line settings in force
        QSerialPort com3(rig.pty.slavePath());
        QVERIFY(com3.open(QIODevice::ReadWrite)); // let go
        com3.close();
        wheel(rig.ui().Combo1);
        QCOMPARE(state(rig), QStringLiteral("8 closed | 7 COM8 | -1 38400"));
        QTest::keyClick(rig.ui().Combo1, Qt::Key_Up);
        QCOMPARE(state(rig), QStringLiteral("7 open | 6 COM7 | -1 38400"));
        Pty replugged; // picking the selected entry again opens it afresh
        Pty::linkPort(rig.dir.path(), 7, replugged.slavePath());
        pickFromOpenedList(rig.ui().Combo1, 6);
        QCOMPARE(rig.window->serial().state().device, replugged.slavePath());
        QCOMPARE(readFile(rig.path("comm.set")), QByteArray("3,9600\r\n"));
        QCOMPARE(rig.window->savedPort(), 3);
        QCOMPARE(rig.messages.size(), 2);
    }

    // The old file stays whole and the operator is told, instead of "Save successfully".
    // Also when only the writing fails, as on a full disk.
    void saveThatCannotWriteWarns()
    {
        WindowRig rig;
        QFile::remove(rig.path("comm.set"));
        QVERIFY(QDir(rig.dir.path()).mkdir(QStringLiteral("comm.set")));
        click(rig.ui().cmdCom);
        QVERIFY(QFileInfo(rig.path("comm.set")).isDir());
        QVERIFY(QDir(rig.dir.path()).rmdir(QStringLiteral("comm.set")));
        writeFile(rig.path("comm.set"), "4,19200\r\n");
        FileSizeLimit full(4); // "4,19200\r\n" needs 9
        click(rig.ui().cmdCom);
        full.lift();
        const QString failed = "The settings could not be saved to " + rig.path("comm.set") + ": ";
        QCOMPARE(rig.messages,
                 QStringList({failed + "Filename refers to a directory", failed + "File too large"})
                     .replaceInStrings(QRegularExpression("$"), " | System Information | warning"));
        QCOMPARE(readFile(rig.path("comm.set")), "4,19200\r\n");
    }
    // The port list tells where each COM number leads and why the port is not
    // open, and links a COM number from its context menu.
    void portListTells()
    {
        WindowRig rig;
        const QString d = QDir(rig.dir.path()).canonicalPath();
        QVERIFY(Pty::linkPort(d, 6, d + "/gone"));
        rig.restart();
        MainWindow *window = rig.window.get();
        QComboBox *combo = window->controls().Combo1;
        const QString com4 = "COM4 → " + d + "/ports/COM4 → " + rig.pty.slavePath();
        QTest::mouseClick(combo, Qt::LeftButton, {}, {combo->width() - 4, combo->height() / 2});
        QTest::keyClick(combo->view(), Qt::Key_Escape); // opening the list looked at the entries
        QCOMPARE(combo->itemData(3, Qt::ToolTipRole), com4 + " (not a detected serial port)");
        QCOMPARE(combo->toolTip(), com4 + ": open, 19200,N,8,1");
        const QString com6 = "COM6 → " + d + "/ports/COM6 → " + d + "/gone";
        QCOMPARE(combo->itemData(5, Qt::ToolTipRole), com6 + " (no such device)");
        rig.pty.closeMaster();
        QTRY_COMPARE(combo->toolTip(), com4 + ": the device went away");
        QTest::keyClick(combo, Qt::Key_Down); // COM5, then COM6
        QTest::keyClick(combo, Qt::Key_Down);
        QVERIFY(!window->serial().portOpen());
        QCOMPARE(combo->toolTip(), com6 + ": could not be opened: no such device");

        const QPoint at = combo->lineEdit()->mapTo(window, QPoint(5, 5));
        QTest::mousePress(window->windowHandle(), Qt::RightButton, {}, at);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QStringList entries; // the features' first, then the usual ones
        for (int i = 0; menu && i < 4; ++i)
            entries << menu->actions().at(i)->text();
        QCOMPARE(entries.join('|'), "Link COM6 to|Find the module…||&Undo\tCtrl+Z");
        menu->close();

        const QString link = d + "/ports/COM5";
        const QList<portinfo::Device> adapter{
            {"/dev/pts/99", "Adapter", "Maker", "S1", "/by-id/x"}};
        QMenu *links = window->portList().linkMenu(5, adapter, window);
        QCOMPARE(links->actions().at(0)->text(), "/dev/pts/99 (Adapter, Maker, serial S1)");
        links->actions().at(0)->trigger();
        QCOMPARE(QFileInfo(link).symLinkTarget(), "/by-id/x"); // the stable name
        links = window->portList().linkMenu(5, {}, window);
        QCOMPARE(links->actions().constLast()->text(), "Remove the link");
        links->actions().constLast()->trigger();
        QVERIFY(!QFileInfo(link).isSymLink());

        QVERIFY(QDir(d).mkpath("ports/COM9/in-the-way"));
        window->portList().linkMenu(9, adapter, window)->actions().at(0)->trigger();
        QCOMPARE(
            rig.messages,
            QStringList{
                "The link " + d +
                "/ports/COM9 could not be written: Is a directory | System Information | warning"});

        // The texts added to the list follow the locale: Chinese for zh_CN, English for C.
        QVERIFY(translations::install(*qApp, QLocale::c()).isEmpty());
        const QList<QTranslator *> chinese = translations::install(*qApp, QLocale("zh_CN"));
        const auto menuText = [window] {
            const QMenu *menu = window->portList().linkMenu(5, {}, window);
            return menu->title() + " | " + menu->actions().constFirst()->text();
        };
        QCOMPARE(menuText(), "将 COM5 链接到 | 未检测到串口设备");
        for (QTranslator *translator : chinese)
            QCoreApplication::removeTranslator(translator);
        QCOMPARE(menuText(), "Link COM5 to | No serial device detected");
    }
};

QTEST_MAIN(TestPortSettings)
#include "tst_port_settings.moc"
