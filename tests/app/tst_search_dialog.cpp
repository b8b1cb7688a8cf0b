// "Find the module…" opened from the real context menu, while a 50 ms cycle
// keeps a read waiting nearly all the time, and driven with real clicks and
// keys on the buttons an operator sees: first on a port that does not open,
// then against the simulator set to a station and baud the tool does not know.

#include "bench/simulator.h"
#include "device/commands.h"
#include "modbus/transactions.h"
#include "serial/comm_port.h"
#include "tests/support/window_rig.h"

namespace {
// What an operator may use now: the enabled buttons, then the choices.
QString usable(const QDialog &dialog)
{
    QStringList out;
    for (auto *button : dialog.findChildren<QPushButton *>())
        if (button->isEnabled())
            out << button->text();
    int fields = 0, on = 0;
    for (auto *field : dialog.findChildren<QWidget *>())
        if (field->inherits("QAbstractSpinBox") || field->inherits("QCheckBox"))
            ++fields, on += field->isEnabled();
    out << (on == fields ? "fields" : on == 0 ? "no fields" : "some fields");
    return out.join('|');
}

// The bauds from top to bottom, as the operator reads them.
QString bauds(const QDialog &dialog)
{
    QMap<int, QString> byHeight;
    for (auto *box : dialog.findChildren<QCheckBox *>())
        if (box->text().endsWith(" baud"))
            byHeight.insert(box->mapTo(&dialog, QPoint()).y(), box->text());
    return byHeight.values().join('|');
}

QString shown(const QTableWidget &table)
{
    QStringList rows;
    for (int r = 0; r < table.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < table.columnCount(); ++c)
            cells << table.item(r, c)->text() +
                         (table.item(r, c)->toolTip() == table.item(r, c)->text()
                              ? ""
                              : " (no tooltip)");
        cells.last().replace(QRegularExpression("^[1-9][0-9]* ms$"), "n ms");
        rows << cells.join(" | ");
    }
    return rows.join('\n');
}

// Runs act from inside a read's wait while cycling, as a click at any moment would.
void duringRead(MainWindow &window, bool cycling, const std::function<void()> &act)
{
    bool done = !cycling;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!done && window.client().busy()) {
            done = true;
            act();
        }
    });
    poll.start(1);
    QTRY_VERIFY_WITH_TIMEOUT(done, 10000);
    if (!cycling)
        act();
}

QDialog *openFromMenu(MainWindow &window)
{
    const QPoint at = window.controls().txtStationID->mapTo(&window, QPoint(5, 5));
    QTest::mousePress(window.windowHandle(), Qt::RightButton, {}, at);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    for (QAction *action : menu ? menu->actions() : QList<QAction *>())
        if (action->text() == "Find the module…")
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    QTest::mouseRelease(window.windowHandle(), Qt::RightButton, {}, at); // the menu is gone
    QDialog *dialog = nullptr;
    for (int i = 0; i < 500 && !dialog; ++i, QTest::qWait(10)) // a deferred action runs later
        for (auto *d : window.findChildren<QDialog *>())
            dialog = d->isVisible() && d->windowTitle() == "Find the module" ? d : dialog;
    return dialog;
}
} // namespace

class TestSearchDialog : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { modbus::setWaitDivisor(4); } // nothing here judges the timing
    void portNotOpen();
    void search_data();
    void search();
};

void TestSearchDialog::portNotOpen()
{
    WindowRig rig("4,19200\r\n", 0);
    Pty::linkPort(rig.dir.path(), 4, rig.path("nothing"));
    rig.restart();
    QDialog *dialog = openFromMenu(*rig.window);
    QVERIFY(dialog && usable(*dialog) == "Close|fields");
    const QList<QLabel *> labels = dialog->findChildren<QLabel *>(); // "Stations 1 to 247"
    QVERIFY(std::any_of(labels.begin(), labels.end(), [](QLabel *l) { return l->text() == "to"; }));
    QCOMPARE(dialog->findChild<QTableWidget *>("searchAnswers")->rowCount(), 0);
    const QString why = dialog->findChild<QLabel *>("searchState")->text();
    QCOMPARE(why, "The search cannot start: " + rig.ui().Combo1->toolTip());
    QVERIFY(why.endsWith(": no such device"));
}

// The simulator's station (at 9600 baud), the baud left out, the last station searched,
// what happens at the first answer, how the dialog is closed after the search, and what it shows.
void TestSearchDialog::search_data()
{
    for (const char *column : {"station", "untick", "last", "atFirst", "closeBy", "answers",
                               "after", "state", "bar", "settings"})
        QTest::addColumn<QString>(column);
    QTest::addColumn<bool>("cycling");
    QTest::addColumn<bool>("wellFormed"); // a read after the search
    const QString garbage =
        "5 | 19200 | unreadable bytes: something is on the line at this baud | n ms";
    // clang-format off
    QTest::newRow("cycling, stopped") << "7" << "" << "8" << "Stop" << "Close" << garbage << "Start|Close|fields" << "The search was stopped." << "1 of 8 probes" << "19200,N,8,1" << true << false;
    QTest::newRow("cycling, Esc during the search") << "7" << "" << "8" << "Esc" << "" << "" << "" << "" << "" << "19200,N,8,1" << true << false;
    QTest::newRow("cycling, closed during the search") << "7" << "" << "8" << "window" << "" << "" << "" << "" << "" << "19200,N,8,1" << true << false;
    QTest::newRow("nothing answers") << "7" << "" << "6" << "" << "Esc" << garbage << "Start|Close|fields"
        << "The search is done: no module answered. The usual causes:\n• the lines A and B are swapped;\n• the bus has no termination resistor at its ends;\n• the module has no power;\n• the module works at another baud rate: tick both."
        << "4 of 4 probes" << "19200,N,8,1" << false << false;
    QTest::newRow("found at the other baud, used") << "7" << "" << "8" << "" << "Close"
        << garbage + "\n7 | 9600 | the module (baud-rate register 9600, station register 7) | n ms" << "Start|Use (station 7, and switch to 9600 baud)|Close|fields"
        << "Station 7 is in the station box; the port works at 9600 baud now, and keeps it at the next start." << "7 of 8 probes" << "9600,N,8,1" << false << true;
    QTest::newRow("found, used, not kept") << "7" << "" << "8" << "" << "Close"
        << garbage + "\n7 | 9600 | the module (baud-rate register 9600, station register 7) | n ms" << "Start|Use (station 7, and switch to 9600 baud)|Close|fields"
        << "Station 7 is in the station box; the port works at 9600 baud now, but this could not be saved in <dir>/comm.set for the next start." << "7 of 8 probes" << "9600,N,8,1" << false << true;
    QTest::newRow("adapter gone before the restore") << "6" << "19200 baud" << "8" << "unlink" << "window"
        << "6 | 9600 | the module (baud-rate register 9600, station register 6) | n ms" << "Use (station 6, and switch to 9600 baud)|Close|fields"
        << "A module was found; the search ended there.\nThe port could not be set back to 19200,N,8,1: COM4 → <dir>/ports/COM4 → <dir>/gone: could not be opened: no such device. The next read opens it again once the adapter is back."
        << "2 of 4 probes" << "19200,N,8,1" << false << false;
    // clang-format on
}

void TestSearchDialog::search()
{
    QFETCH(QString, station);
    QFETCH(QString, untick);
    QFETCH(QString, last);
    QFETCH(QString, atFirst);
    QFETCH(bool, cycling);
    WindowRig rig("4,19200\r\n", 0);
    QDir(rig.dir.path()).mkdir("ports");
    bench::Simulator sim(rig.path("ports/COM4"));
    QVERIFY(sim.start({"--station", station, "--baud", "9600", "--seed", "3"}, rig.path("s.log")));
    const QString simPty = QFileInfo(rig.path("ports/COM4")).symLinkTarget();
    rig.restart();
    MainWindow &window = *rig.window;
    rig.ui().txtTimerSet->setText("50");
    if (cycling)
        click(rig.ui().cmdOneM);
    QPointer<QDialog> dialog;
    duringRead(window, cycling, [&] { dialog = openFromMenu(window); });
    QVERIFY(dialog && !dialog->findChild<QProgressBar *>()->isVisible());
    const auto act = [&](const QString &how) { // a key, the window's close button or a button
        if (how == "Esc")
            QTest::keyClick(dialog->windowHandle(), Qt::Key_Escape);
        else if (how == "window")
            dialog->windowHandle()->close(); // as the window's close button does
        else if (!how.isEmpty())
            press(dialog, how);
    };
    for (const auto &[box, value] :
         {std::pair{"searchFirst", QString("5")}, {"searchLast", last}}) {
        QTest::keyClick(dialog->findChild<QSpinBox *>(box), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(dialog->findChild<QSpinBox *>(box), value);
    }
    QCOMPARE(dialog->findChild<QLabel *>("searchProgressText")->text(),
             last == "6" ? "4 probes planned, about 1 s." : "8 probes planned, about 2 s.");
    QCOMPARE(bauds(*dialog), "19200 baud|9600 baud"); // in the order they are probed
    act(untick);
    auto *table = dialog->findChild<QTableWidget *>("searchAnswers");
    QString during;
    connect(table->model(), &QAbstractItemModel::rowsInserted, this, [&] {
        if (!during.isEmpty())
            return;
        during = usable(*dialog);
        if (atFirst == "unlink") // before the restore, which follows at once
            Pty::linkPort(rig.dir.path(), 4, rig.path("gone"));
        else if (atFirst == "Stop") // before the next probe
            act(atFirst);
        else
            QTimer::singleShot(0, [&] { act(atFirst); }); // from the search's own wait
    });
    duringRead(window, cycling, [&] {
        press(dialog, "Start");
        if (cycling) // the read in progress ends first
            QCOMPARE(usable(*dialog) + ' ' + dialog->findChild<QLabel *>("searchState")->text(),
                     "Stop|Close|no fields Waiting for the exchange in progress to end…");
    });
    QTRY_VERIFY_WITH_TIMEOUT(!dialog || (!during.isEmpty() && !usable(*dialog).contains("Stop")),
                             10000);
    QVERIFY(during == "Stop|Close|no fields" && !window.commands().cycling());
    if (dialog) {
        QTEST(shown(*table), "answers");
        QTEST(usable(*dialog), "after");
        const auto *bar = dialog->findChild<QProgressBar *>();
        QVERIFY(bar->value() == bar->maximum());
        QTEST(bar->text(), "bar");
        if (QString(QTest::currentDataTag()).endsWith("not kept")) // comm.set cannot be written
            QVERIFY(QFile::remove(rig.path("comm.set")) && QDir().mkdir(rig.path("comm.set")));
        if (usable(*dialog).startsWith("Start|Use"))
            press(dialog, "Use (station 7, and switch to 9600 baud)");
        QFETCH(QString, settings); // where the port ends: its baud is probed first next time
        QTRY_COMPARE(bauds(*dialog), QString(settings.startsWith("9600") ? "9600 baud|19200 baud"
                                                                         : "19200 baud|9600 baud"));
        const QString dir = QDir(rig.dir.path()).canonicalPath();
        QTEST(dialog->findChild<QLabel *>("searchState")->text().replace(dir, "<dir>"), "state");
        QFETCH(QString, closeBy);
        act(closeBy);
    }
    QTRY_VERIFY(!dialog); // or closed by itself once the search ended
    QTEST(window.serial().settings(), "settings");
    QCOMPARE(rig.messages, QStringList());
    Pty::linkPort(rig.dir.path(), 4, simPty); // the adapter is back
    device::ReadOutcome outcome;
    window.commands().comDoOnce([&](const device::ReadOutcome &o) { outcome = o; });
    QTRY_VERIFY(!outcome.request.isEmpty()); // the read reopened a lost port by itself
    QTEST(outcome.wellFormed, "wellFormed");
}

QTEST_MAIN(TestSearchDialog)
#include "tst_search_dialog.moc"
