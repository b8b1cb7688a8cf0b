// Calibrations as an operator does them, with the mouse and keys, against the simulator
// process: at one point (input 1 reads 1.2 % high, output 2 carries 1 % less than the
// module means), and at several points as found, adjusted and as left (input 1 also
// 0.05 mA off; output 2 read on a meter), with the certificate read back by pdftotext
// and the history's chain verified, then broken.

#include "app/calibration_dialog.h"
#include "app/calibration_feature.h"
#include "app/context_menus.h"
#include "bench/simulator.h"
#include "device/commands.h"
#include "serial/comm_port.h"
#include "tests/support/file_size_limit.h"
#include "modbus/transactions.h"
#include "tests/support/window_rig.h"

#include <QLockFile>
#include <QProcess>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>

namespace {
constexpr int kSlow = 60000;

CalibrationDialog *openDialog(WindowRig &rig, int i)
{
    trigger(rig, rig.ui().txtChannel.at(i), "Calibrate…");
    auto *dialog = rig.window->findChild<CalibrationDialog *>();
    return dialog && QTest::qWaitForWindowActive(dialog) ? dialog : nullptr;
}

template <typename T> T *shown(QWidget *dialog, const QString &name)
{
    for (T *child : dialog->findChildren<T *>(name))
        if (child->isVisible())
            return child;
    return nullptr;
}

QString text(QWidget *dialog, const char *name)
{
    return shown<QLabel>(dialog, name)->text();
}

void close(WindowRig &rig, QWidget *dialog)
{
    press(dialog, "Close");
    QTRY_VERIFY(!rig.window->findChild<CalibrationDialog *>());
}

// "10100": Measure, Write, Cancel, Close ... enabled or not, in the order given.
QString enabled(QWidget *dialog, const QStringList &captions)
{
    QString states;
    for (const QString &caption : captions)
        states += laidOutButton(dialog, caption) && laidOutButton(dialog, caption)->isEnabled()
                      ? '1'
                      : '0';
    return states;
}

void type(QWidget *dialog, const char *name, const QString &typed)
{
    auto *field = shown<QLineEdit>(dialog, name);
    field->clear();
    QTest::keyClicks(field, typed);
}

void tab(QWidget *dialog, int index)
{
    auto *bar = dialog->findChild<QTabWidget *>("tabs")->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

QString rows(QWidget *dialog, const char *name)
{
    auto *table = shown<QTableWidget>(dialog, name);
    QStringList lines;
    for (int r = 0; table && r < table->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < table->columnCount(); ++c)
            cells << table->item(r, c)->text();
        lines << cells.join(' ');
    }
    return lines.join(" | ");
}

// The calibrator steps to the point; the simulator confirms before the take.
void apply(bench::Simulator &sim, const QString &log, int channel, const QString &mA)
{
    const QByteArray said = QString("input %1 now held at %2 mA").arg(channel).arg(mA).toUtf8();
    const int before = int(readFile(log).count(said));
    sim.tell(QString("current %1 %2\n").arg(channel).arg(mA).toUtf8());
    QTRY_COMPARE_WITH_TIMEOUT(int(readFile(log).count(said)), before + 1, kSlow);
}

// Presses caption and takes the check's points (an output's meter readings typed at
// each), to the verdict.
void checkPoints(QWidget *dialog, bench::Simulator &sim, const QString &log, const char *caption,
                 int channel, const QStringList &points, const QString &verdict,
                 const QStringList &meter = {})
{
    press(dialog, caption);
    for (int i = 0; i < points.size(); ++i) {
        QTRY_VERIFY_WITH_TIMEOUT(laidOutButton(dialog, "Take")->isEnabled(), kSlow);
        apply(sim, log, channel, points[i]);
        if (!meter.isEmpty())
            type(dialog, "meter", meter[i]);
        press(dialog, "Take");
    }
    QTRY_COMPARE_WITH_TIMEOUT(text(dialog, "instruction"), verdict, kSlow);
}
} // namespace

class TestCalibrate : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { modbus::setWaitDivisor(4); } // nothing here judges the timing
    void onePoint();
    void severalPoints();
};

void TestCalibrate::onePoint()
{
    WindowRig rig("4,19200\r\n", 0);
    bench::Simulator sim(rig.simulatorPort());
    QVERIFY(sim.start({"--input-gain", "1:1.012", "--output-gain", "2:0.99", "--input-current",
                       "1:12", "--input-current", "2:12"},
                      rig.path("sim.log")));
    writeFile(rig.path("data"), ""); // a file where the data folder should be
    qputenv("XDG_DATA_HOME", rig.path("data").toLocal8Bit());
    rig.restart();
    click(rig.ui().cmdOneM); // a cycle that the calibration stops
    // Opened from inside a read's wait, as a context-menu action usually is.
    CalibrationDialog *dialog = nullptr;
    QMetaObject::Connection opening = connect(rig.ui().txtCommand, &QLineEdit::textChanged, [&] {
        QObject::disconnect(opening);
        QTimer::singleShot(0, [&] { dialog = openDialog(rig, 2); });
    });
    QTRY_VERIFY_WITH_TIMEOUT(dialog, kSlow);
    QCOMPARE(dialog->windowTitle(), "Calibrate input 1");
    QCOMPARE(text(dialog, "note").left(24), "Link CNG to GND on the r");
    const QStringList buttons{"Measure", "Write", "Restore", "Cancel", "Close"};
    QCOMPARE(enabled(dialog, buttons), "10001");
    shown<QSpinBox>(dialog, "reads")->setValue(2);
    type(dialog, "reference", "12.00");
    press(dialog, "Measure");
    QCOMPARE(enabled(dialog, buttons), "00011"); // measuring: cancel or close at any time
    QVERIFY(!shown<QLineEdit>(dialog, "reference")->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(text(dialog, "proposal"),
                              "Proposed: 10000 → 9885. Input 1 should then read 12.000 mA.", kSlow);
    QCOMPARE(text(dialog, "measurement"), "Coefficient 10000. Mean of 2 reads: 12.140 mA, "
                                          "spread (largest - smallest) 0.000 mA.");
    QCOMPARE(text(dialog, "status"), "The cycle was stopped; “循环” starts it again.");
    QCOMPARE(enabled(dialog, buttons), "11001");
    QVERIFY(!rig.window->commands().cycling());

    press(dialog, "Write");
    QCOMPARE(enabled(dialog, buttons), "00011"); // the backup's read may be cancelled
    QTRY_COMPARE_WITH_TIMEOUT(rig.messages.size(), 1, kSlow);
    QCOMPARE(rig.messages[0], "The backup could not be saved (the folder " + rig.path("data") +
                                  "/rv4820/backups cannot be made), so nothing was "
                                  "written. | Calibrate input 1 | warning");
    QCOMPARE(readFile(rig.path("sim.log")).count("-> 02 06 "), 0); // writes logged

    const QString backups = rig.path("xdg/rv4820/backups");
    qputenv("XDG_DATA_HOME", rig.path("xdg").toLocal8Bit());
    QStringList backedUpAtWrite{"no write"};
    connect(rig.ui().txtCommand, &QLineEdit::textChanged, [&](const QString &sent) {
        if (sent.startsWith("02 06"))
            backedUpAtWrite = QDir(backups).entryList({"*.txt"}, QDir::Files);
    });
    const int counted = rig.ui().lblRecCount->text().toInt();
    press(dialog, "Write");
    QTRY_COMPARE_WITH_TIMEOUT(text(dialog, "checked"),
                              "Check passed. The register holds 9885. Input 1 reads 12.000 "
                              "mA, error +0.00 % against 12.000 mA.",
                              kSlow);
    QCOMPARE(backedUpAtWrite.size(), 1);
    QVERIFY(
        QRegularExpression("^station2-\\d{8}-\\d{6}\\.txt$").match(backedUpAtWrite[0]).hasMatch());
    QCOMPARE(text(dialog, "backup"),
             "Backup of the parameters: " + backups + "/" + backedUpAtWrite[0]);
    QVERIFY(readFile(backups + "/" + backedUpAtWrite[0]).contains("电流输入1参数值 = 10000\n"));
    QCOMPARE(rig.ui().txtChannel[2]->text(), "9885");
    // The parameters, the read back and two live reads, each counted as the buttons' are.
    QCOMPARE(rig.ui().lblRecCount->text().toInt() - counted, 4);

    const QString history = backups + "/calibrations.jsonl";
    QLockFile otherCopy(history + ".lock"); // another copy of the tool writing the history
    QVERIFY(otherCopy.tryLock(0));
    press(dialog, "Restore 10000"); // what the module holds then, the old error not judged
    QTRY_COMPARE_WITH_TIMEOUT(text(dialog, "checked"),
                              "Restored: the register holds 10000 again. Input 1 reads 12.140 "
                              "mA, error +1.17 % against 12.000 mA.",
                              kSlow);
    QTRY_COMPARE(rig.messages.value(1), "The calibration history " + history +
                                            " could not be written: " + history +
                                            " is being written by another program | Calibrate "
                                            "input 1 | warning");
    otherCopy.unlock();
    QCOMPARE(rig.ui().txtChannel[2]->text(), "10000");
    QCOMPARE(readFile(rig.path("sim.log")).count("-> 02 06 "), 2);
    press(dialog, "Measure"); // a new measurement clears the last one's results
    QCOMPARE(text(dialog, "checked") + text(dialog, "proposal"), "");
    QCOMPARE(text(dialog, "status").section(' ', -3), "Reading the coefficient…");
    press(dialog, "Cancel");
    QCOMPARE(text(dialog, "status").section(' ', -1), "Cancelled.");
    QCOMPARE(enabled(dialog, {"Measure", "Write", "Restore 10000", "Cancel", "Close"}), "10101");
    close(rig, dialog);

    QVERIFY((dialog = openDialog(rig, 7)));
    type(dialog, "reference", "12");
    type(dialog, "meter", "11.88");
    press(dialog, "Measure");
    QTRY_COMPARE_WITH_TIMEOUT(text(dialog, "proposal"),
                              "Proposed: 10000 → 10101. The meter should then read 12.000 mA.",
                              kSlow);
    QCOMPARE(text(dialog, "measurement"),
             "Coefficient 10000. Output 2 shows 12.000 mA (for information only).");
    press(dialog, "Write");
    QTRY_COMPARE_WITH_TIMEOUT(text(dialog, "status"),
                              "Type the meter's new reading on output 2 and press “Check”.", kSlow);
    QCOMPARE(QDir(backups).entryList({"*.txt"}, QDir::Files).size(), 2); // one per dialog
    const QString log = QString::fromUtf8(readFile(rig.path("sim.log")));
    QCOMPARE(log.section("output 2 on the meter: ", -1).section(' ', 0, 0), "12.00");
    type(dialog, "meter", "11.95");
    press(dialog, "Check");
    QTRY_COMPARE(rig.messages.size(), 3);
    QCOMPARE(rig.messages.value(2),
             "Check failed: the error is more than 0.10 %. The register holds 10101. The "
             "meter reads 11.950 mA on output 2, error -0.42 % against 12.000 mA. | "
             "Calibrate output 2 | warning");
    type(dialog, "meter", "12.00");
    press(dialog, "Check");
    QCOMPARE(text(dialog, "checked"), "Check passed. The register holds 10101. The meter "
                                      "reads 12.000 mA on output 2, error +0.00 % against "
                                      "12.000 mA.");
    QCOMPARE(rig.ui().txtChannel[7]->text(), "10101");
    close(rig, dialog);

    // CNG not linked to GND: the write is echoed and not kept.
    QVERIFY(sim.start({"--locked", "--input-gain", "1:1.012", "--input-current", "1:12"},
                      rig.path("sim.log")));
    click(rig.ui().Combo1->lineEdit()); // the new link is opened by a pick
    QTest::keyClick(rig.ui().Combo1, Qt::Key_Down);
    QTest::keyClick(rig.ui().Combo1, Qt::Key_Up);
    QVERIFY((dialog = openDialog(rig, 2)));
    shown<QSpinBox>(dialog, "reads")->setValue(2);
    type(dialog, "reference", "12.00");
    press(dialog, "Measure");
    QTRY_VERIFY_WITH_TIMEOUT(laidOutButton(dialog, "Write")->isEnabled(), kSlow);
    press(dialog, "Write");
    QTRY_COMPARE_WITH_TIMEOUT(rig.messages.size(), 4, kSlow);
    QCOMPARE(rig.messages[3], "Check failed: the register holds 10000, not 9885 (is CNG "
                              "linked to GND?); the error is more than 0.10 %. Input 1 reads "
                              "12.140 mA, error +1.17 % against 12.000 mA. | Calibrate input "
                              "1 | warning");
    QCOMPARE(rig.ui().txtChannel[2]->text(), "10000"); // what the module holds
    // The port lost: the write is not sent, and the box keeps what the module holds.
    press(dialog, "Measure");
    QTRY_VERIFY_WITH_TIMEOUT(laidOutButton(dialog, "Write")->isEnabled(), kSlow);
    rig.window->serial().setPortOpen(false);
    press(dialog, "Write");
    QTRY_COMPARE_WITH_TIMEOUT(rig.messages.size(), 5, kSlow);
    QCOMPARE(rig.messages[4], "The write was not sent: is the port open? | Calibrate input 1 | "
                              "warning");
    QCOMPARE(rig.ui().txtChannel[2]->text(), "10000");
    press(dialog, "Measure");
    QTRY_VERIFY_WITH_TIMEOUT(laidOutButton(dialog, "Measure")->isEnabled(), kSlow);
    QCOMPARE(text(dialog, "measurement"), "The coefficient: no answer.");
}

void TestCalibrate::severalPoints()
{
    WindowRig rig("4,19200\r\n", 0);
    const QString log = rig.path("sim.log");
    bench::Simulator sim(rig.simulatorPort());
    QVERIFY(sim.start({"--input-gain", "1:1.012", "--input-offset", "1:0.05", "--input-current",
                       "1:4", "--output-gain", "2:0.99", "--input-current", "2:4"},
                      log));
    qputenv("XDG_DATA_HOME", rig.path("xdg").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", rig.path("config").toLocal8Bit());
    rig.restart();
    CalibrationDialog *dialog = openDialog(rig, 2);
    QVERIFY(dialog);
    tab(dialog, 1);
    const QStringList buttons{"Check", "Take", "Adjust", "Cancel", "Close"};
    QCOMPARE(enabled(dialog, buttons), "10001");
    QCOMPARE(shown<QLineEdit>(dialog, "points")->text() + " | " +
                 shown<QLineEdit>(dialog, "tolerance")->text(),
             "4, 8, 12, 16, 20 | 0.1");
    type(dialog, "points", "4, 12, x");
    press(dialog, "Check");
    QCOMPARE(text(dialog, "instruction"), "Not checked: points: “x” is not a number.");
    type(dialog, "points", "4, 12, 20");
    shown<QSpinBox>(dialog, "reads")->setValue(2);
    press(dialog, "Check");
    QTRY_COMPARE_WITH_TIMEOUT(text(dialog, "instruction"),
                              "As found, point 1 of 3: Apply 4.000 mA to input 1, then press "
                              "“Take”.",
                              kSlow);
    QCOMPARE(enabled(dialog, buttons), "01011");
    press(dialog, "Take");
    press(dialog, "Cancel"); // during the take's reads
    QCOMPARE(text(dialog, "instruction"), "The check was cancelled.");
    QCOMPARE(enabled(dialog, buttons), "10001");
    checkPoints(dialog, sim, log, "Check", 1, {"4.00", "12.00", "20.00"}, "As found: fail.");
    QCOMPARE(rows(dialog, "asFound"), "4.000 4.100 0.000 0.000 +0.100 +0.625 fail | "
                                      "12.000 12.190 0.000 0.000 +0.190 +1.187 fail | "
                                      "20.000 20.290 0.000 0.000 +0.290 +1.812 fail");
    QCOMPARE(text(dialog, "verdict"),
             "“Adjust” would write 10000 → 9851 (gain through zero by least squares). A gain "
             "cannot fix the offset of 0.050 mA (0.31 % of span) or the non-linearity of 0.003 "
             "mA (0.02 % of span); after the adjustment the largest error expected is 0.039 mA "
             "(0.24 % of span). The offset and non-linearity alone exceed the tolerance of 0.1 % "
             "of span: the check as left will fail, whatever the gain.");
    QStringList backedUpAtWrite{"no write"};
    const QString backups = rig.path("xdg/rv4820/backups");
    connect(rig.ui().txtCommand, &QLineEdit::textChanged, [&](const QString &sent) {
        if (sent.startsWith("02 06"))
            backedUpAtWrite = QDir(backups).entryList({"*.txt"}, QDir::Files);
    });
    checkPoints(dialog, sim, log, "Adjust", 1, {"4.00", "12.00", "20.00"},
                "As found: fail. As left: fail.");
    QCOMPARE(backedUpAtWrite.size(), 1);
    QCOMPARE(rig.ui().txtChannel[2]->text(), "9851");
    QCOMPARE(rows(dialog, "asLeft"), "4.000 4.040 0.000 0.000 +0.040 +0.250 fail | "
                                     "12.000 12.010 0.000 0.000 +0.010 +0.062 pass | "
                                     "20.000 19.990 0.000 0.000 -0.010 -0.063 pass");
    QVERIFY(text(dialog, "verdict")
                .startsWith("Adjusted: coefficient 10000 → 9851. A gain cannot "
                            "fix the offset of 0.050 mA (0.31 % of span)"));

    tab(dialog, 2);
    type(dialog, "technician", "Li Wei");
    type(dialog, "instrument", "Fluke 789");
    type(dialog, "instrument_serial", "12345678");
    type(dialog, "instrument_due", "2027-06-30");
    QString offered;
    FileSizeLimit full(0);
    answerDialog(rig.path("full"), &offered);
    press(dialog, "Certificate…");
    QTRY_COMPARE_WITH_TIMEOUT(rig.messages.size(), 1, kSlow);
    full.lift();
    QCOMPARE(rig.messages[0], "The certificate " + rig.path("full.pdf") +
                                  " could not be saved: File too large | Calibrate input 1 | "
                                  "warning");
    QVERIFY(!QFile::exists(rig.path("full.pdf")));
    answerDialog(rig.path("cert"), &offered);
    press(dialog, "Certificate…");
    QTRY_VERIFY_WITH_TIMEOUT(text(dialog, "saved").startsWith("Certificate RV4820-"), kSlow);
    QVERIFY(QRegularExpression(R"(^rv4820-cal-station2-input1-\d{8}-\d{6}\.pdf$)")
                .match(offered)
                .hasMatch());
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", rig.path("cert.pdf"), "-"});
    QVERIFY(pdftotext.waitForFinished(kSlow));
    // Compatibility forms back to the plain ones: a CJK font's shared glyphs come out
    // as radicals (⼊ for 入), and "fi" as a ligature.
    const QString pdf = QString::fromUtf8(pdftotext.readAllStandardOutput())
                            .normalized(QString::NormalizationForm_KC)
                            .simplified();
    const QString number = text(dialog, "saved").section(' ', 1, 1);
    for (const QString &part : QStringList{
             "Record number " + number, "Technician Li Wei", "Instrument serial number 12345678",
             "电流输入1参数值 10000 9851", "4.000 4.100 0.000 0.000 +0.100 +0.625 fail",
             "20.000 19.990 0.000 0.000 -0.010 -0.063 pass", "Coefficient 10000 → 9851",
             "As found fail As left fail"})
        QVERIFY2(pdf.contains(part), qPrintable(part + " in " + pdf));
    QCOMPARE(readFile(rig.path("cert.csv")).count('\n'), 7);
    close(rig, dialog);

    // An output read on a meter: what the module means to carry against what it carries.
    QVERIFY((dialog = openDialog(rig, 7)));
    tab(dialog, 1);
    type(dialog, "points", "4, 20");
    shown<QSpinBox>(dialog, "reads")->setValue(2);
    checkPoints(dialog, sim, log, "Check", 2, {"4.00", "20.00"}, "As found: fail.",
                {"3.96", "19.80"});
    checkPoints(dialog, sim, log, "Adjust", 2, {"4.00", "20.00"}, "As found: fail. As left: pass.",
                {"4.00", "20.00"});
    QCOMPARE(rig.ui().txtChannel[7]->text(), "10101");
    close(rig, dialog);

    // The history: three checks and two adjustments, whole; then one line edited.
    const QString history = backups + "/calibrations.jsonl";
    QCOMPARE(readFile(history).count('\n'), 6);
    verifyCalibrationHistory(*rig.window);
    QTRY_COMPARE(rig.messages.size(), 2);
    QCOMPARE(rig.messages[1], "The calibration history " + history +
                                  " is whole: 6 entries, each following the one before. | "
                                  "Calibration history");
    QByteArray edited = readFile(history);
    writeFile(history, edited.replace("\"to\":9851", "\"to\":9850"));
    verifyCalibrationHistory(*rig.window);
    QTRY_COMPARE(rig.messages.size(), 3);
    QCOMPARE(rig.messages[2], "The calibration history " + history +
                                  " is broken: line 3 does not follow line 2: line 2 was "
                                  "changed, or lines between them were removed. | Calibration "
                                  "history | warning");
}

QTEST_MAIN(TestCalibrate)
#include "tst_calibrate.moc"
