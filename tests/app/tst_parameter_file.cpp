// Saving the module's parameters to a file and loading them back, through the
// real context menus: against a scripted module with good and bad replies, good
// and bad files, and a round trip against the simulator.

#include "app/context_menus.h"
#include "app/parameter_actions.h"
#include "bench/simulator.h"
#include "modbus/transactions.h"
#include "tests/support/window_rig.h"

#include <ctime>

namespace {
const QString kSave = "Save the module's parameters to a file…",
              kLoad = "Load parameters from a file…";
const QString kTitle = " | Module parameters", kWarning = kTitle + " | warning";
const QString kPreset = "11 12 13 14 15 16 17 18 19 20";
const char *const kGood = "02031425800002271026482EE013883A9827111387FFFFA4DA"; // registers 8..17
const QByteArray kValues =
    "波特率 = 9600\n设备地址 = 2\n电流输入1参数值 = 10000\n电流输入2参数值 = 9800\n"
    "电流输入3参数值 = 12000\n电流输入4参数值 = 5000\n电流输出1参数值 = 15000\n"
    "电流输出2参数值 = 10001\n电流输出3参数值 = 4999\n电流输出4参数值 = 65535\n";
// The file is chosen without a dialog (none: with the real one); target's menu
// is opened and the action clicked.
void pick(WindowRig &rig, QWidget *target, const QString &text, const QString &path)
{
    if (!path.isEmpty())
        rig.window->parameterActions().choose = [path](bool, const QString &,
                                                       const ParameterActions::Chosen &chosen) {
            QTimer::singleShot(0, [path, chosen] { chosen(path); });
        };
    std::unique_ptr<QMenu> menu(rig.window->contextMenus().build(target));
    menu->popup(target->mapToGlobal(QPoint(2, 2)));
    QVERIFY(QTest::qWaitForWindowExposed(menu.get()));
    for (QAction *action : menu->actions())
        if (action->text() == text)
            QTest::mouseClick(menu.get(), Qt::LeftButton, {},
                              menu->actionGeometry(action).center());
}
} // namespace

class TestParameterFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        modbus::setWaitDivisor(4); // nothing here judges the module's timing
        qputenv("TZ", "CST-8");    // the file's time is shown in this local time
        tzset();
    }

    // Only a well-formed answer is saved; anything else, or a file that cannot
    // be written, leaves the chosen file as it was, with one box.
    void save_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("station");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message"); // DIR: the temporary folder
        const auto row = [](const char *tag, const char *reply, const char *station,
                            const char *name, const QString &message) {
            QTest::newRow(tag) << hex(reply) << QString(station) << QString(name)
                               << message + kWarning;
        };
        // clang-format off
        row("bad station", "", "x", "p.txt", "设备地址格式有误，应该为数字，值范围为0-255! | RV4820工具 | warning\nNothing was read from the module, so nothing was saved.");
        row("unwritable", kGood, "2", "no/p.txt", "The parameters could not be saved to DIR/no/p.txt: No such file or directory");
        // clang-format on
        // None, short, another station, another function, an exception, a wrong byte count, a bad
        // CRC.
        for (const char *bad :
             {"", "0203142580000227102648", "03031425800002271026482EE013883A9827111387FFFF6946",
              "02041425800002271026482EE013883A9827111387FFFF923C", "02830230F1",
              "02031225800002271026482EE013883A982711138705D1",
              "02031425800002271026482EE013883A9827111387FFFFA4DB"})
            row(bad, bad, "2", "p.txt", "The module did not answer correctly. Nothing was saved.");
    }
    void save()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QString, station);
        QFETCH(QString, name);
        WindowRig rig;
        rig.module.reply = [&](const QByteArray &) { return reply; };
        writeFile(rig.path("p.txt"), "old");
        rig.ui().txtStationID->setText(station);
        rig.ui().SSTab1->setCurrentIndex(1);
        pick(rig, rig.ui().txtChannel[4], kSave, rig.dir.filePath(name));
        QFETCH(QString, message);
        QTRY_COMPARE(rig.messages.join('\n').replace(rig.dir.path(), "DIR"), message);
        QCOMPARE(rig.module.sent(), QList<QByteArray>(station == "2", hex("02030008000A443C")));
        QCOMPARE(readFile(rig.path("p.txt")), "old");
    }

    // A file written by hand loads, out-of-range coefficients pointed out; anything
    // wrong leaves every box as it was, with one box naming the line. Nothing is sent.
    void load_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no file
        QTest::addColumn<QString>("boxes");
        QTest::addColumn<QString>("message");
        const QString loaded = "The ten parameters of DIR/p%2.txt are in the boxes. Nothing was "
                               "sent to the module: write each value you want with its “写” "
                               "button.\n";
        QTest::newRow("by hand") // in any order, CRLF, no newline at the end
            << "\xEF\xBB\xBF# kept\r\nport = COM9\r\nread_at = "
               "2026-12-07T08:30:00+01:00\r\nstation = 7\r\n" +
                   QByteArray(kValues).mid(17).replace("65535", "15001").replace("\n", "\r\n") +
                   "  波特率=0009600  "
            << "9600 2 10000 9800 12000 5000 15000 10001 4999 15001"
            << loaded +
                   "The file says they were read from station 7 on COM9 at 2026-12-07 "
                   "15:30:00 (local time).\n电流输出3参数值 is 4999, outside 5000 to "
                   "15000.\n电流输出4参数值 is 15001, outside 5000 to 15000." +
                   kWarning;
        const auto bad = [](const char *tag, const QByteArray &content, const QString &what) {
            QTest::newRow(tag) << content << kPreset
                               << "DIR/p%2.txt was not loaded" + what + kWarning;
        };
        bad("missing", kValues.left(kValues.size() - 31), ": no line gives “电流输出4参数值”.");
        bad("repeated", kValues + "\n设备地址 = 3\n",
            ". Line 12: “设备地址” is given again (first on line 2).");
        for (const char *value : {"9.5", "65536", "-1", "+1", ""})
            bad(value, "#\n" + kValues.left(12) + value + "\n" + kValues.mid(17),
                ". Line 2: the value of “波特率” is not a whole number from 0 to 65535.");
        bad("unknown", "电流输入5参数值 = 1\n" + kValues,
            ". Line 1: “电流输入5参数值” is not a key of a parameter file.");
        bad("malformed", kValues + "波特率 9600\n",
            ". Line 11: this is not a line of the form “key = value”.");
        bad("read_at", kValues + "read_at = yesterday\n",
            ". Line 11: “read_at” is not a date and time such as 2026-12-07T08:30:00+01:00.");
        bad("station", kValues + "station = 256\n",
            ". Line 11: “station” is not a whole number from 0 to 255.");
        bad("64 KiB", kValues + "#" + QByteArray(65536 - kValues.size(), 'x'),
            ": the file is larger than 64 KiB.");
        bad("NUL", kValues + '\0', ": the file is not UTF-8 text.");
        bad("neither UTF-8 nor GBK", "\xFF\xFE = 9600\n" + kValues,
            ": the file is not UTF-8 text.");
        // As an older Windows editor saves it: 波特率 is B2A8 CCD8 C2CA.
        const QByteArray gbk = QStringEncoder("GB18030").encode(QString::fromUtf8(kValues));
        QVERIFY(gbk.startsWith("\xB2\xA8\xCC\xD8\xC2\xCA = 9600\n"));
        QTest::newRow("GBK") << gbk << "9600 2 10000 9800 12000 5000 15000 10001 4999 65535"
                             << loaded +
                                    "电流输出3参数值 is 4999, outside 5000 to 15000.\n"
                                    "电流输出4参数值 is 65535, outside 5000 to 15000." +
                                    kWarning;
        bad("no file", QByteArray(), ": the file cannot be read: No such file or directory.");
    }
    void load()
    {
        QFETCH(QByteArray, content);
        WindowRig rig;
        if (!content.isNull())
            writeFile(rig.path("p%2.txt"), content);
        for (int i = 0; i < 10; ++i)
            rig.ui().txtChannel[i]->setText(QString::number(11 + i));
        pick(rig, rig.ui().SSTab1->widget(1), kLoad, rig.path("p%2.txt"));
        QTRY_COMPARE(rig.messages.size(), 1);
        QTest::qWait(50);
        QTEST(rig.messages.join('\n').replace(rig.dir.path(), "DIR"), "message");
        QTEST(texts(rig.ui().txtChannel), "boxes");
        QVERIFY(rig.module.sent().isEmpty());
    }

    // A save during a cycle leaves the cycle's reads as they were and the live
    // values moving. A load stops the cycle, so that nothing overwrites the
    // values; each box stays tinted until the module holds its value.
    void cycleLeftAlone()
    {
        WindowRig rig;
        char live = 0;
        rig.module.reply = [&live](const QByteArray &request) {
            if (request.at(1) == 6)
                return request;
            if (request == hex("02030008000A443C"))
                return hex(kGood);
            return request.left(2) + '\x10' + QByteArray(15, '\0') + ++live + hex("AABB");
        };
        click(rig.ui().comDoOnce);
        rig.ui().txtTimerSet->setText("100");
        click(rig.ui().cmdOneM);
        pick(rig, rig.ui().SSTab1->widget(1), kSave, rig.path("p.txt"));
        QTRY_COMPARE(rig.messages.size(), 1);
        const char before = live;
        QTRY_VERIFY(live > before + 2);
        QCOMPARE(rig.module.sent().constLast(), hex("020300000008443F"));
        QCOMPARE(rig.ui().txtStartID->text() + ' ' + rig.ui().txtDataLength->text(), "1 8");
        QTRY_COMPARE(rig.ui().txtCurrentInput[7]->text(), QString::number(live));

        pick(rig, rig.ui().SSTab1->widget(1), kLoad, rig.path("p.txt"));
        QTRY_COMPARE(rig.messages.size(), 2);
        QVERIFY2(rig.messages.last().startsWith("The cyclic reading was stopped, as “停止” does, "
                                                "so that the loaded values stay in the boxes "
                                                "until you write them.\nThe ten parameters"),
                 qPrintable(rig.messages.last()));
        QVERIFY(!rig.window->findChild<QTimer *>("Timer2")->isActive());
        ParameterActions &actions = rig.window->parameterActions();
        QCOMPARE(actions.loadedBoxes(), QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
        QLineEdit *box = rig.ui().txtChannel[3];
        QCOMPARE(box->palette().color(QPalette::Base), QColor(255, 244, 196));
        QVERIFY(box->toolTip().startsWith("Loaded from " + rig.path("p.txt") + " and not yet"));
        rig.ui().SSTab1->setCurrentIndex(1);
        click(rig.ui().cmdWriteP[3]);
        QTRY_COMPARE(actions.loadedBoxes(), QList<int>({0, 1, 2, 4, 5, 6, 7, 8, 9}));
        click(rig.ui().cmdReadP[5]);
        QTRY_COMPARE(actions.loadedBoxes(), QList<int>({0, 1, 2, 4, 6, 7, 8, 9}));
        QVERIFY(box->palette().color(QPalette::Base) != QColor(255, 244, 196));
        QVERIFY(box->toolTip().startsWith("Right-click: calibrate"));
        QCOMPARE(texts(rig.ui().txtChannel), "9600 2 10000 9800 12000 0 15000 10001 4999 65535");
    }

    // Against the simulator: a value written, saved, and loaded into a fresh window.
    void roundTrip()
    {
        WindowRig rig("4,19200\r\n", 0);
        bench::Simulator sim(rig.simulatorPort());
        QVERIFY(sim.start({"--seed", "1"}, rig.path("sim.log")));
        rig.restart();
        rig.ui().SSTab1->setCurrentIndex(1);
        rig.ui().txtChannel[3]->setText(QStringLiteral("12345"));
        click(rig.ui().cmdWriteP[3]);
        QString offered; // the dialog's own name; a path typed without its suffix
        answerDialog(rig.path("p"), &offered);
        pick(rig, rig.ui().SSTab1->widget(1), kSave, {});
        QTRY_COMPARE(rig.messages.size(), 1);
        QCOMPARE(rig.messages.first().replace(rig.dir.path(), "DIR"),
                 "The module's parameters were saved to DIR/p.txt." + kTitle);
        QVERIFY2(
            QRegularExpression(R"(^rv4820-station2-\d{8}-\d{6}\.txt$)").match(offered).hasMatch(),
            qPrintable(offered));
        QString file = QString::fromUtf8(readFile(rig.path("p.txt")));
        const QString at = file.section('\n', 2, 2).mid(10);
        const QDateTime readAt = QDateTime::fromString(at, Qt::ISODate);
        QVERIFY(readAt.isValid() && qAbs(readAt.secsTo(QDateTime::currentDateTime())) < 60);
        QCOMPARE(file.replace(at, "AT"),
                 "# RV4820 module parameters: registers 8 to 17, one \"key = value\" a line.\n"
                 "# Lines starting with # are comments.\nread_at = AT\nstation = 2\nport = COM4\n"
                 "settings = 19200,N,8,1\n\n波特率 = 19200\n设备地址 = 2\n电流输入1参数值 = 10000\n"
                 "电流输入2参数值 = 12345\n电流输入3参数值 = 10000\n电流输入4参数值 = 10000\n"
                 "电流输出1参数值 = 10000\n电流输出2参数值 = 10000\n电流输出3参数值 = 10000\n"
                 "电流输出4参数值 = 10000\n");
        rig.restart();
        pick(rig, rig.ui().txtChannel[0], kLoad, rig.path("p.txt"));
        QTRY_COMPARE(rig.messages.size(), 2);
        QCOMPARE(texts(rig.ui().txtChannel),
                 "19200 2 10000 12345 10000 10000 10000 10000 10000 10000");
        QCOMPARE(
            rig.messages.last()
                .replace(rig.dir.path(), "DIR")
                .replace(readAt.toLocalTime().toString("yyyy-MM-dd HH:mm:ss"), "AT"),
            "The ten parameters of DIR/p.txt are in the boxes. Nothing was sent to the module: "
            "write each value you want with its “写” button.\nThe file says they were read "
            "from station 2 on COM4 at AT (local time)." +
                kTitle);
    }
};

QTEST_MAIN(TestParameterFile)
#include "tst_parameter_file.moc"
