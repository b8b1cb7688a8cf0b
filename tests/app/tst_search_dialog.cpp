// "Find the module…" opened from the real context menus and driven with real
// clicks and keys: first on a port that does not open, then against the
// simulator set to a station and baud the tool does not know.

#include "app/context_menus.h"
#include "bench/simulator.h"
#include "device/commands.h"
#include "serial/comm_port.h"
#include "tests/support/window_rig.h"

namespace {
// Triggers "Find the module…" in target's context menu; drive runs in the open dialog.
void openSearch(MainWindow &window, QWidget *target, const std::function<void(QDialog &)> &drive)
{
    std::unique_ptr<QMenu> menu(window.contextMenus().build(target));
    QAction *action = nullptr;
    for (QAction *entry : menu->actions())
        if (entry->text() == QStringLiteral("Find the module…"))
            action = entry;
    QVERIFY(action);
    bool driven = false;
    action->trigger(); // relayed by the menu: the dialog opens from the event loop
    QTimer::singleShot(0, [&] {
        drive(*qobject_cast<QDialog *>(QApplication::activeModalWidget()));
        driven = true;
    });
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    QVERIFY(driven);
}

void typeInto(QWidget *box, const QString &text)
{
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
}
} // namespace

class TestSearchDialog : public QObject {
    Q_OBJECT
private slots:
    void findAndUse_data();
    void findAndUse();
};

void TestSearchDialog::findAndUse_data()
{
    QTest::addColumn<QString>("station");
    QTest::addColumn<QString>("baud");
    QTest::addColumn<bool>("fromStationBox"); // else from the port list
    QTest::addColumn<bool>("cycling");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("useText");
    QTest::addColumn<QByteArray>("commSet");
    QTest::addColumn<QString>("messages");
    QTest::newRow("other baud, cycling")
        << "7"
        << "9600" << true << true
        << "19200 baud: something is on the line at this baud|Station 7 at 9600 baud: the module "
           "(baud-rate register 9600, station register 7)"
        << "Use (station 7, and switch to 9600 baud)" << QByteArray("4,9600\r\n")
        << "Save successfully | System Prompted";
    QTest::newRow("present baud")
        << "6"
        << "19200" << false << false
        << "Station 6 at 19200 baud: the module (baud-rate register 19200, station register 6)"
        << "Use (station 6)" << QByteArray("4,19200\r\n") << "";
}

void TestSearchDialog::findAndUse()
{
    QFETCH(QString, station);
    QFETCH(QString, baud);
    QFETCH(bool, cycling);
    QFETCH(bool, fromStationBox);
    WindowRig rig("4,19200\r\n", 0);
    Pty::linkPort(rig.dir.path(), 4, rig.path("nothing"));
    rig.restart();
    openSearch(*rig.window, rig.ui().Combo1, [&](QDialog &dialog) {
        QVERIFY(!dialog.findChild<QPushButton *>("searchStart")->isEnabled());
        const QString why = dialog.findChild<QLabel *>("searchState")->text();
        QCOMPARE(why, "The search cannot start: " + rig.ui().Combo1->toolTip());
        QVERIFY(why.endsWith(": no such device"));
        dialog.reject();
    });
    bench::Simulator sim(rig.path("ports/COM4"));
    QVERIFY(sim.start({"--station", station, "--baud", baud, "--seed", "3"}, rig.path("sim.log")));
    rig.restart();
    MainWindow &window = *rig.window;
    rig.ui().txtTimerSet->setText("60000");
    if (cycling)
        click(rig.ui().cmdOneM);
    const QString counter = rig.ui().lblCounter->text();
    const QString lamp = rig.lamp();
    openSearch(
        window, fromStationBox ? static_cast<QWidget *>(rig.ui().txtStationID) : rig.ui().Combo1,
        [&](QDialog &dialog) {
            QCOMPARE(dialog.findChild<QLabel *>("searchCycleNote")->text().isEmpty(), !cycling);
            typeInto(dialog.findChild<QSpinBox *>("searchFirst"), "5");
            typeInto(dialog.findChild<QSpinBox *>("searchLast"), "8");
            click(dialog.findChild<QPushButton *>("searchStart"));
            QVERIFY(!window.commands().cycling());
            QCOMPARE(window.serial().settings(), QStringLiteral("19200,N,8,1"));
            QStringList answers;
            for (int i = 0; i < dialog.findChild<QListWidget *>("searchAnswers")->count(); ++i)
                answers << dialog.findChild<QListWidget *>("searchAnswers")->item(i)->text();
            QTEST(answers.join('|'), "answers");
            QTEST(dialog.findChild<QPushButton *>("searchUse")->text(), "useText");
            click(dialog.findChild<QPushButton *>("searchUse"));
        });
    QCOMPARE(rig.ui().lblCounter->text(), counter);
    QCOMPARE(rig.lamp(), lamp);
    QCOMPARE(rig.ui().txtStationID->text(), station);
    QCOMPARE(rig.ui().Combo2->currentText(), baud);
    QCOMPARE(window.serial().settings(), baud + ",N,8,1");
    QTEST(readFile(rig.path("comm.set")), "commSet");
    QTEST(rig.messages.join('\n'), "messages");

    device::ReadOutcome outcome;
    connect(&window.commands(), &device::Commands::readDone, this,
            [&](const device::ReadOutcome &o) { outcome = o; });
    click(rig.ui().comDoOnce);
    QTRY_VERIFY(!outcome.request.isEmpty());
    QCOMPARE(QString::number(outcome.request[0]), station);
    QVERIFY(outcome.wellFormed);
}

QTEST_MAIN(TestSearchDialog)
#include "tst_search_dialog.moc"
