// The trend window and the recording on the shown window, fed by real reads
// through a pseudo-terminal and driven with real clicks.

#include "app/context_menus.h"
#include "app/elided_label.h"
#include "app/trend_feature.h"
#include "app/trend_window.h"
#include "device/live_log.h"
#include "modbus/transactions.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/window_rig.h"

#include <qcustomplot.h>

namespace {
// Values 1..8 with their CRC, and the same with the CRC's last byte wrong.
const QByteArray kEight = hex("0203100001000200030004000500060007000836DC");
const QByteArray kBadCrc = hex("0203100001000200030004000500060007000836DD");
const QByteArray kHeader = "time,input1,input2,input3,input4,output1,output2,output3,output4,"
                           "reply_ok,reply\r\n";

} // namespace

class TestTrend : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { modbus::setWaitDivisor(4); } // nothing here judges the timing
    void trendAndRecording()
    {
        WindowRig rig;
        QByteArray answer;
        rig.module.reply = [&](const QByteArray &) { return answer; };
        device::LiveLog &log = rig.window->findChild<TrendFeature *>()->log();
        trigger(rig, rig.ui().txtCurrentInput[2], "Trend…");
        auto *trend = rig.window->findChild<TrendWindow *>();
        QVERIFY(QTest::qWaitForWindowExposed(trend));
        QString proposed;
        const QString path = rig.path("run.csv");
        answerDialog(path, &proposed);
        QSignalSpy finished(&log, &device::LiveLog::recordingFinished);
        trigger(rig, rig.window->findChild<QGroupBox *>("Frame7"), "Record to a file…");
        QTRY_VERIFY(log.recording());
        QVERIFY(QRegularExpression("^rv4820-\\d{8}-\\d{6}\\.csv$").match(proposed).hasMatch());

        // A good answer, none, one with a bad CRC; then one after the recording stopped.
        int reads = 0;
        for (const QByteArray &reply : {kEight, QByteArray(), kBadCrc, kEight}) {
            if (reads == 3)
                click(&trend->recordButton());
            answer = reply;
            click(rig.ui().comDoOnce);
            ++reads;
            QTRY_COMPARE(log.history().size(), reads);
        }
        QCOMPARE(trend->recordState().text(), "Not recording");
        QTRY_COMPARE(finished.size(), 1);
        QStringList rows = QString(readFile(path)).split("\r\n");
        QCOMPARE(rows.takeFirst() + "\r\n", kHeader);
        for (QString &row : rows) {
            QVERIFY(row.isEmpty() ||
                    QRegularExpression(
                        "^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}[+-]\\d\\d:\\d\\d,")
                        .match(row)
                        .hasMatch());
            row = row.section(',', 1);
        }
        const QString values = "0.01,0.02,0.03,0.04,5,6,7,8,";
        QCOMPARE(
            rows,
            (QStringList{
                values + "1,02 03 10 00 01 00 02 00 03 00 04 00 05 00 06 00 07 00 08 36 DC",
                ",,,,,,,,0,",
                values + "0,02 03 10 00 01 00 02 00 03 00 04 00 05 00 06 00 07 00 08 36 DD", ""}));

        // The gap breaks the line; the bad CRC is marked on the four inputs.
        QCustomPlot &plot = trend->plot();
        QTRY_COMPARE(plot.graph(0)->dataCount(), 4);
        QVERIFY(std::isnan(plot.graph(0)->data()->at(1)->value));
        QCOMPARE(plot.graph(4)->dataCount(), 4);
        double marked = 0;
        for (const QCPGraphData &mark : *plot.graph(4)->data())
            marked += mark.value;
        QCOMPARE(qRound(marked * 100), 1 + 2 + 3 + 4);

        // Hovering left of every sample shows the oldest.
        QCPAxisRect *inputs = plot.axisRect(0);
        // Through the window: QTest moves a widget's mouse with no button down by the cursor.
        const QPoint left = inputs->rect().center() - QPoint(inputs->width() / 2 - 2, 0);
        QTest::mouseMove(trend->windowHandle(), plot.mapTo(trend, left));
        QTRY_VERIFY(trend->hoverText().endsWith("\n输入1  0.01\n输入2  0.02\n输入3  0.03\n输入4  "
                                                "0.04\n输出1  5\n输出2  6\n输出3  7\n输出4  8"));
        // A click on the legend entry hides the line; dragging stops following.
        // Less history than the span: the view starts at the oldest sample.
        QCOMPARE(qRound64(inputs->axis(QCPAxis::atBottom)->range().lower * 1000),
                 log.history().msecsAt(0));
        QCPLegend *legend = &trend->legend(0);
        QVERIFY(!legend->outerRect().intersects(inputs->rect())); // covers no value
        QCOMPARE(plot.graph(0)->name(), "输入1");                 // as the legend names it
        QTest::mouseClick(&plot, Qt::LeftButton, {}, legend->item(0)->rect().center());
        QVERIFY(!plot.graph(0)->visible());
        QVERIFY(trend->following());
        QTest::mousePress(&plot, Qt::LeftButton, {}, inputs->rect().center());
        QTest::mouseMove(&plot, inputs->rect().center() + QPoint(80, 0));
        QTest::mouseRelease(&plot, Qt::LeftButton, {}, inputs->rect().center() + QPoint(80, 0));
        QVERIFY(!trend->following());
        QCOMPARE(trend->span().currentText(), "10 min"); // a pan keeps the span
        QWheelEvent wheel(inputs->rect().center(), plot.mapToGlobal(inputs->rect().center()), {},
                          {0, 120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&plot, &wheel);
        QCOMPARE(trend->span().currentText(), "Custom");
        QTest::keyClick(&trend->span(), Qt::Key_Up); // a span picked follows again, from the first
        QVERIFY(trend->span().currentText() == "All" && trend->following());
        QCOMPARE(qRound64(inputs->axis(QCPAxis::atBottom)->range().lower * 1000),
                 log.history().msecsAt(0));

        // The picture names its time range; every button says what it does.
        const QString picture = rig.path("trend.png");
        answerDialog(rig.path("trend"), &proposed); // the suffix is added
        press(trend, "Save PNG…");
        QTRY_VERIFY(QFile::exists(picture) && !trend->findChild<QFileDialog *>());
        QVERIFY(proposed.startsWith("rv4820-trend-") && proposed.endsWith(".png"));
        press(trend, "Copy picture");
        QCOMPARE(QGuiApplication::clipboard()->image().size(), QImage(picture).size());
        QVERIFY(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d – "
                                   "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$")
                    .match(QImage(picture).text("Time range"))
                    .hasMatch());
        for (QPushButton *button : trend->findChildren<QPushButton *>())
            QVERIFY2(!button->toolTip().isEmpty(), qPrintable(button->text()));

        // A file that fills up after its header: one box, reading goes on.
        const QString full = rig.path("full.csv");
        answerDialog(full, &proposed);
        click(&trend->recordButton());
        QTRY_VERIFY(log.recording());
        FileSizeLimit fills(100);
        click(rig.ui().comDoOnce);
        QTRY_COMPARE(log.history().size(), 5);
        QTRY_COMPARE(rig.messages,
                     QStringList{"Recording to " + full +
                                 " stopped: File too large\nThe rows written before stay in the "
                                 "file; the values are still read. | Recording | warning"});
        fills.lift();
        QCOMPARE(readFile(full), kHeader);
        QCOMPARE(trend->recordState().text(), "Not recording");

        // Ctrl+T shows the one trend window again.
        trend->hide();
        rig.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(rig.window.get()));
        QTest::keyClick(rig.window.get(), Qt::Key_T, Qt::ControlModifier);
        QTRY_VERIFY(trend->isVisible());
        QCOMPARE(rig.window->findChildren<TrendWindow *>().size(), 1);

        // "Clear" asks first.
        for (QPushButton *button : trend->findChildren<QPushButton *>())
            if (button->text() == "Clear")
                click(button);
        QTRY_COMPARE(log.history().size(), 0);
        QCOMPARE(rig.messages.value(1), "Clear the trend? The values shown so far are forgotten; "
                                        "a recording's file keeps its rows. | Trend of the live "
                                        "values");

        // A path of 300 characters is shortened in the middle and keeps the window on the screen.
        const QString deep = rig.dir.path() + "/" + QString("d/").repeated(140) + "a %1 %2.csv";
        QVERIFY(QDir().mkpath(QFileInfo(deep).path()));
        QVERIFY(log.startRecording(deep));
        QCOMPARE(trend->recordState().toolTip(), deep);
        QCOMPARE(trend->recordState().text(), "Recording to " + deep + " (rows written: 0)");
        for (int level = 0; level < 4; ++level) // the label's new size climbs one widget a time
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QVERIFY(trend->recordState().shown().contains("…"));
        QVERIFY(trend->minimumSizeHint().width() < trend->screen()->availableGeometry().width());
        QVERIFY(trend->screen()->availableGeometry().contains(trend->frameGeometry()));
        log.stopRecording();

        // Span and hidden lines stay when the window is opened again.
        trend->close();
        QTRY_VERIFY(rig.window->findChildren<TrendWindow *>().isEmpty());
        trend = rig.window->findChild<TrendFeature *>()->openTrend();
        QCOMPARE(trend->span().currentText(), "All");
        QVERIFY(!trend->plot().graph(0)->visible() && trend->plot().graph(1)->visible());
        QVERIFY(!trend->savePicture(rig.path("none/t.png"))); // a folder that is not there
        QTRY_COMPARE(rig.messages.value(2),
                     "Cannot save the picture to " + rig.path("none/t.png") +
                         ": Cannot open device for writing: No such file "
                         "or directory | Trend of the live values | warning");
    }
};

QTEST_MAIN(TestTrend)
#include "tst_trend.moc"
