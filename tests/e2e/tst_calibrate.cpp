// Calibrations as an operator does them, with the mouse, against the simulator process:
// input 1 reads 1.2 % high, output 2 carries 1 % less than it reports, both inputs are
// held at 12 mA. A backup that cannot be saved keeps the write from going out; the
// proposal is written after the backup exists, read back, checked, and restored.

#include "app/calibration_dialog.h"
#include "app/context_menus.h"
#include "bench/simulator.h"
#include "tests/support/window_rig.h"

namespace {
CalibrationDialog *openDialog(WindowRig &rig, int i)
{
    std::unique_ptr<QMenu> menu(rig.window->contextMenus().build(rig.ui().txtChannel.at(i)));
    for (QAction *action : menu->actions())
        if (action->text() == QStringLiteral("Calibrate…"))
            action->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall); // the menu's relay
    auto *dialog = rig.window->findChild<CalibrationDialog *>();
    return dialog && QTest::qWaitForWindowActive(dialog) ? dialog : nullptr;
}

QString text(QWidget *dialog, const char *name)
{
    return dialog->findChild<QLabel *>(name)->text();
}

void press(QWidget *dialog, const char *name)
{
    click(dialog->findChild<QPushButton *>(name));
}

void type(QWidget *dialog, const char *name, const char *typed)
{
    auto *field = dialog->findChild<QLineEdit *>(name);
    field->clear();
    QTest::keyClicks(field, typed);
}

int requests(const QString &log, int function)
{
    const QList<bench::SimEntry> entries = bench::readSimLog(log);
    return int(std::count_if(entries.begin(), entries.end(),
                             [&](auto &e) { return e.request && e.function() == function; }));
}
} // namespace

class TestCalibrate : public QObject {
    Q_OBJECT
private slots:
    void calibrate()
    {
        constexpr int kSlow = 60000;
        WindowRig rig("4,19200\r\n", 0);
        QDir(rig.dir.path()).mkdir(QStringLiteral("ports"));
        bench::Simulator sim(rig.path("ports/COM4"));
        QVERIFY(sim.start({"--input-gain", "1:1.012", "--output-gain", "2:0.99", "--input-current",
                           "1:12", "--input-current", "2:12"},
                          rig.path("sim.log")));
        writeFile(rig.path("data"), ""); // a file where the data folder should be
        qputenv("XDG_DATA_HOME", rig.path("data").toLocal8Bit());
        rig.restart();
        click(rig.ui().cmdOneM); // a cycle that the calibration stops

        CalibrationDialog *dialog = openDialog(rig, 2);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), "Calibrate input 1");
        QCOMPARE(dialog->findChild<QLabel *>()->text(),
                 "在设置波特率、设备地址或电流输入输出参数前，请将右端子排上CNG与GND短接，"
                 "否则修改都无法保存");
        type(dialog, "reference", "12.00");
        press(dialog, "measure");
        QTRY_COMPARE_WITH_TIMEOUT(text(dialog, "proposal"),
                                  "Proposed: 10000 → 9885. Input 1 should then read 12.000 mA.",
                                  kSlow);
        QCOMPARE(text(dialog, "measurement"), "Coefficient 10000. Mean of 10 reads: 12.140 mA, "
                                              "spread (largest - smallest) 0.000 mA.");
        QCOMPARE(text(dialog, "status"), "The cycle was stopped; “循环” starts it again.");
        QVERIFY(!rig.window->commands().cycling());

        press(dialog, "write");
        QTRY_COMPARE_WITH_TIMEOUT(rig.messages.size(), 1, kSlow);
        QCOMPARE(rig.messages[0], "The backup could not be saved (the folder " + rig.path("data") +
                                      "/rv4820/backups cannot be made), so nothing was "
                                      "written. | Calibrate input 1 | warning");
        QCOMPARE(requests(rig.path("sim.log"), 6), 0);

        const QString backups = rig.path("xdg/rv4820/backups");
        qputenv("XDG_DATA_HOME", rig.path("xdg").toLocal8Bit());
        QStringList backedUpAtWrite{"no write"};
        connect(rig.ui().txtCommand, &QLineEdit::textChanged, [&](const QString &sent) {
            if (sent.startsWith("02 06"))
                backedUpAtWrite = QDir(backups).entryList(QDir::Files);
        });
        const int counted = rig.ui().lblRecCount->text().toInt();
        press(dialog, "write");
        QTRY_COMPARE_WITH_TIMEOUT(text(dialog, "checked"),
                                  "Check passed. The register holds 9885. Input 1 reads 12.000 "
                                  "mA, error +0.00 % against 12.000 mA.",
                                  kSlow);
        QCOMPARE(backedUpAtWrite.size(), 1);
        QVERIFY(QRegularExpression("^station2-\\d{8}-\\d{6}\\.txt$")
                    .match(backedUpAtWrite[0])
                    .hasMatch());
        QCOMPARE(text(dialog, "backup"),
                 "Backup of the parameters: " + backups + "/" + backedUpAtWrite[0]);
        QVERIFY(readFile(backups + "/" + backedUpAtWrite[0]).contains("电流输入1参数值 = 10000\n"));
        QCOMPARE(rig.ui().txtChannel[2]->text(), "9885");
        // The parameters, the read back and ten live reads, each counted as the buttons' are.
        QCOMPARE(rig.ui().lblRecCount->text().toInt() - counted, 12);

        press(dialog, "restore"); // the old error is shown, not judged
        QTRY_COMPARE_WITH_TIMEOUT(text(dialog, "checked"),
                                  "Check passed. The register holds 10000. Input 1 reads 12.140 "
                                  "mA, error +1.17 % against 12.000 mA.",
                                  kSlow);
        QCOMPARE(rig.ui().txtChannel[2]->text(), "10000");
        QCOMPARE(requests(rig.path("sim.log"), 6), 2);
        press(dialog, "close");
        QTRY_VERIFY(!rig.window->findChild<CalibrationDialog *>());

        dialog = openDialog(rig, 7);
        QVERIFY(dialog);
        type(dialog, "reference", "12");
        type(dialog, "meter", "11.88");
        press(dialog, "measure");
        QTRY_COMPARE_WITH_TIMEOUT(text(dialog, "proposal"),
                                  "Proposed: 10000 → 10101. The meter should then read 12.000 mA.",
                                  kSlow);
        QCOMPARE(text(dialog, "measurement"),
                 "Coefficient 10000. Output 2 shows 1200 (for information only).");
        press(dialog, "write");
        QTRY_COMPARE_WITH_TIMEOUT(text(dialog, "status"),
                                  "Type the meter's new reading on output 2 and press “Check”.",
                                  kSlow);
        QCOMPARE(QDir(backups).entryList(QDir::Files).size(), 2); // one per dialog
        const QString log = QString::fromUtf8(readFile(rig.path("sim.log")));
        QCOMPARE(log.section("output 2 on the meter: ", -1).section(' ', 0, 0), "12.00");
        type(dialog, "meter", "11.95");
        press(dialog, "check");
        QTRY_COMPARE(rig.messages.size(), 2);
        type(dialog, "meter", "12.00");
        press(dialog, "check");
        QCOMPARE(rig.messages.value(1),
                 "Check failed: the error is more than 0.10 %. The register holds 10101. The "
                 "meter reads 11.950 mA on output 2, error -0.42 % against 12.000 mA. | "
                 "Calibrate output 2 | warning");
        QCOMPARE(text(dialog, "checked"), "Check passed. The register holds 10101. The meter "
                                          "reads 12.000 mA on output 2, error +0.00 % against "
                                          "12.000 mA.");
        QCOMPARE(rig.ui().txtChannel[7]->text(), "10101");
        press(dialog, "close");
        QTRY_VERIFY(!rig.window->findChild<CalibrationDialog *>());

        // CNG not linked to GND: the write is echoed and not kept.
        QVERIFY(sim.start({"--locked", "--input-gain", "1:1.012", "--input-current", "1:12"},
                          rig.path("sim.log")));
        click(rig.ui().Combo1->lineEdit()); // the new link is opened by a pick
        QTest::keyClick(rig.ui().Combo1, Qt::Key_Down);
        QTest::keyClick(rig.ui().Combo1, Qt::Key_Up);
        dialog = openDialog(rig, 2);
        QVERIFY(dialog);
        type(dialog, "reference", "12.00");
        press(dialog, "measure");
        QTRY_VERIFY_WITH_TIMEOUT(dialog->findChild<QPushButton *>("write")->isEnabled(), kSlow);
        press(dialog, "write");
        QTRY_COMPARE_WITH_TIMEOUT(rig.messages.size(), 3, kSlow);
        QCOMPARE(rig.messages[2], "Check failed: the register holds 10000, not 9885 (is CNG "
                                  "linked to GND?); the error is more than 0.10 %. Input 1 reads "
                                  "12.140 mA, error +1.17 % against 12.000 mA. | Calibrate input "
                                  "1 | warning");
        QCOMPARE(rig.ui().txtChannel[2]->text(), "10000"); // what the module holds
    }
};

QTEST_MAIN(TestCalibrate)
#include "tst_calibrate.moc"
