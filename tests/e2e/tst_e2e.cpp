// An operator's day with the tool against the simulated module, a separate
// process on a pseudo-terminal linked at ports/COM4: status, parameters, a
// write read back, cycling, each line fault, and the module going away and back.

#include "bench/simulator.h"
#include "device/commands.h"
#include "modbus/transactions.h"
#include "serial/comm_port.h"
#include "tests/support/window_rig.h"

namespace {
// Inputs in mA within 4..20 with two decimals; each output at unity
// coefficients is the same current in hundredths.
void checkLiveValues(const WindowRig &rig)
{
    const QString live = texts(rig.ui().txtCurrentInput);
    QVERIFY2(QRegularExpression(R"(^(([4-9]|1\d)\.\d\d ){4})").match(live).hasMatch(),
             qPrintable(live));
    QCOMPARE(live.section(' ', 4),
             QString(live.section(' ', 0, 3)).remove('.').remove(QRegularExpression("(^| )\\K0+")));
}

// Clicks again while nothing shows: a busy machine may hold the simulator's
// reply past the read's wait, which the tool rightly shows as no reply.
void clickUntilAnswered(const WindowRig &rig, QPushButton *button)
{
    for (int i = 0; i < 5; ++i) {
        click(button);
        if (!rig.ui().txtState->toPlainText().isEmpty())
            return;
    }
}
} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { modbus::setWaitDivisor(2); } // nothing here judges the timing
    void operatorsDay()
    {
        WindowRig rig("4,19200\r\n", 0);
        bench::Simulator sim(rig.simulatorPort());
        QVERIFY(sim.start({"--seed", "1"}, rig.path("sim.log")));
        rig.restart();
        int sent = 0, replied = 0; // requests, and reads that took three bytes or more
        connect(rig.ui().txtCommand, &QLineEdit::textChanged,
                [&](const QString &t) { sent += t.isEmpty() ? 0 : 1; });
        connect(&rig.window->commands(), &device::Commands::readDone,
                [&](const device::ReadOutcome &o) { replied += o.reply.size() >= 3 ? 1 : 0; });
        clickUntilAnswered(rig, rig.ui().comDoOnce);
        QCOMPARE(rig.ui().txtCommand->text(), QStringLiteral("02 03 00 00 00 08 44 3F "));
        QCOMPARE(rig.ui().txtState->toPlainText().left(9), QStringLiteral(" 02 03 10"));
        QCOMPARE(QByteArray::fromHex(rig.ui().txtState->toPlainText().toLatin1()).size(), 21);
        checkLiveValues(rig);

        rig.ui().txtChannel[0]->setText(QStringLiteral("9600"));
        rig.ui().SSTab1->setCurrentIndex(1);
        for (QPushButton *button :
             {rig.ui().cmdReadAlarm2, rig.ui().cmdReadP[1], rig.ui().cmdWriteP[0]})
            clickUntilAnswered(rig, button);
        QCOMPARE(rig.ui().txtState->toPlainText(), QStringLiteral(" 02 06 00 08 25 80 13 0B"));
        rig.ui().txtChannel[0]->clear();
        clickUntilAnswered(rig, rig.ui().cmdReadP[0]);
        rig.ui().SSTab1->setCurrentIndex(0);
        clickUntilAnswered(rig, rig.ui().comDoOnce);
        QCOMPARE(texts(rig.ui().txtChannel),
                 "9600 2 10000 10000 10000 10000 10000 10000 10000 10000");

        // Cycling: every request reaches the module, every reply that came is counted.
        QSet<QString> seen;
        connect(rig.ui().txtCurrentInput[0], &QLineEdit::textChanged,
                [&](const QString &t) { seen << t; });
        rig.ui().txtTimerSet->setText(QStringLiteral("50"));
        click(rig.ui().cmdOneM);
        QTRY_VERIFY_WITH_TIMEOUT(rig.ui().lblCounter->text().toInt() > 5 && seen.size() >= 2,
                                 20000);
        click(rig.ui().cmdStopOnce);
        const auto logged = [&] {
            const QList<bench::SimEntry> log = bench::readSimLog(rig.path("sim.log"));
            return int(std::count_if(log.begin(), log.end(), [](auto &e) { return e.request; }));
        };
        QTRY_COMPARE(logged(), sent);
        QCOMPARE(rig.ui().lblRecCount->text().toInt(), replied);
        checkLiveValues(rig);

        // The module goes away while cycling and comes back on the same link: the
        // ticks meanwhile show the red lamp, and the cycle resumes by itself.
        rig.ui().txtTimerSet->setText(QStringLiteral("300"));
        click(rig.ui().cmdOneM);
        QTRY_VERIFY(rig.ui().lblCounter->text().toInt() > 1);
        sim.stop();
        QTRY_COMPARE_WITH_TIMEOUT(rig.lamp(), QStringLiteral("imgNotConnected"), 5000);
        const int received = rig.ui().lblRecCount->text().toInt();
        QVERIFY(sim.start({"--seed", "1"}, rig.path("sim.log")));
        QTRY_VERIFY_WITH_TIMEOUT(rig.ui().lblRecCount->text().toInt() > received, 5000);
        click(rig.ui().cmdStopOnce);
        QCOMPARE(rig.lamp(), QStringLiteral("imgConnected"));

        // The module goes away and comes back with each line fault: the tool checks
        // no reply, it shows what came in time. The next read opens the port again.
        const QList<std::pair<QStringList, QString>> faults{
            {{"--drop", "1"}, "none"},
            {{"--delay", "300"}, "none"},
            {{"--corrupt", "1"}, "whole"},
            {{"--truncate", "1", "--seed", "2"}, "fewer"},
            {{"--noise", "1"}, "more"}};
        for (const auto &[options, shown] : faults) {
            QSignalSpy lost(&rig.window->serial(), &CommPort::portLost);
            sim.stop();
            QTRY_COMPARE(lost.count(), 1);
            click(rig.ui().comDoOnce); // the port is closed: the red lamp, nothing sent or shown
            QCOMPARE(rig.lamp() + rig.ui().txtCommand->text() + rig.ui().txtState->toPlainText(),
                     QStringLiteral("imgNotConnected"));
            QVERIFY(sim.start(QStringList{"--seed", "1"} + options, rig.path("sim.log")));
            if (shown == "none")
                click(rig.ui().comDoOnce);
            else
                clickUntilAnswered(rig, rig.ui().comDoOnce);
            if (options[0] == "--delay") { // the late reply is thrown away by the next read
                QTRY_VERIFY(rig.window->serial().inBufferCount() > 0);
                click(rig.ui().comDoOnce);
            }
            const qsizetype size =
                QByteArray::fromHex(rig.ui().txtState->toPlainText().toLatin1()).size();
            QCOMPARE(size == 0    ? "none"
                     : size == 21 ? "whole"
                     : size < 21  ? "fewer"
                                  : "more",
                     shown);
            QCOMPARE(rig.lamp(), QStringLiteral("imgConnected"));
        }
        QVERIFY(rig.messages.isEmpty());
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
