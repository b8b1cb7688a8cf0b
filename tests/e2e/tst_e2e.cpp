// An operator's day with the tool against the simulated module, a separate
// process on a pseudo-terminal linked at ports/COM4: status, parameters, a
// write read back, cycling, each line fault, and the module going away and back.

#include "serial/comm_port.h"
#include "tests/support/window_rig.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <csignal>

class Simulator {
public:
    explicit Simulator(const QString &link, const QStringList &options = {})
    {
        QDir().mkpath(QFileInfo(link).path());
        m_process.start(QStringLiteral(RV_SIM_PATH),
                        QStringList{"--pty", link, "--seed", "1"} + options);
        for (int i = 0; i < 500 && !QFileInfo(link).isSymLink(); ++i)
            QTest::qWait(10);
    }
    ~Simulator()
    {
        ::kill(pid_t(m_process.processId()), SIGTERM);
        m_process.waitForFinished(5000);
    }
    // Requests the simulator logged ("-> 02 03 ...").
    int requestsLogged()
    {
        m_process.waitForReadyRead(100);
        m_log += m_process.readAllStandardOutput();
        static const QRegularExpression kRequest(QStringLiteral("^[0-9:.]+ -> "),
                                                 QRegularExpression::MultilineOption);
        return int(QString::fromLatin1(m_log).count(kRequest));
    }

private:
    QProcess m_process;
    QByteArray m_log;
};

namespace {
QByteArray stateBytes(const WindowRig &rig)
{
    return QByteArray::fromHex(rig.ui().txtState->toPlainText().toLatin1());
}

QString texts(const std::array<QLineEdit *, 8> &boxes)
{
    QStringList out;
    for (auto *box : boxes)
        out << box->text();
    return out.join(' ');
}

// Inputs in mA within 4..20 with two decimals; each output at unity
// coefficients is the same current in hundredths.
void checkLiveValues(const WindowRig &rig)
{
    static const QRegularExpression kMilliamps(QStringLiteral(R"(^([4-9]|1\d|20)\.\d\d$)"));
    for (int c = 0; c < 4; ++c) {
        const QString in = rig.ui().txtCurrentInput[c]->text();
        QVERIFY2(kMilliamps.match(in).hasMatch(), qPrintable(in));
        QCOMPARE(rig.ui().txtCurrentInput[c + 4]->text(),
                 QString(in).remove('.').remove(QRegularExpression("^0+")));
    }
}
} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void operatorsDay()
    {
        WindowRig rig("4,19200\r\n", 0);
        Simulator sim(rig.path("ports/COM4"));
        rig.restart();
        QTest::mouseClick(rig.ui().comDoOnce, Qt::LeftButton);
        QCOMPARE(rig.ui().txtCommand->text(), QStringLiteral("02 03 00 00 00 08 44 3F "));
        QCOMPARE(stateBytes(rig).left(3), QByteArray::fromHex("020310"));
        QCOMPARE(stateBytes(rig).size(), 21);
        checkLiveValues(rig);

        rig.ui().SSTab1->setCurrentIndex(1);
        QTest::mouseClick(rig.ui().cmdReadAlarm2, Qt::LeftButton);
        QTest::mouseClick(rig.ui().cmdReadP[0], Qt::LeftButton);
        QTest::mouseClick(rig.ui().cmdReadP[1], Qt::LeftButton);
        QStringList channels;
        for (auto *box : rig.ui().txtChannel)
            channels << box->text();
        QCOMPARE(channels.join(' '),
                 QStringLiteral("19200 2 10000 10000 10000 10000 10000 10000 10000 10000"));

        rig.ui().txtChannel[0]->setText(QStringLiteral("9600"));
        QTest::mouseClick(rig.ui().cmdWriteP[0], Qt::LeftButton);
        QCOMPARE(rig.ui().txtState->toPlainText(), QStringLiteral(" 02 06 00 08 25 80 13 0B"));
        rig.ui().txtChannel[0]->clear();
        QTest::mouseClick(rig.ui().cmdReadP[0], Qt::LeftButton);
        QCOMPARE(rig.ui().txtChannel[0]->text(), QStringLiteral("9600"));

        rig.ui().SSTab1->setCurrentIndex(0);
        QTest::mouseClick(rig.ui().comDoOnce, Qt::LeftButton);
        QSet<QString> seen;
        connect(rig.ui().txtCurrentInput[0], &QLineEdit::textChanged,
                [&](const QString &t) { seen << t; });
        rig.ui().txtTimerSet->setText(QStringLiteral("50"));
        QTest::mouseClick(rig.ui().cmdOneM, Qt::LeftButton);
        QTest::qWait(3000);
        QTest::mouseClick(rig.ui().cmdStopOnce, Qt::LeftButton);
        QTest::qWait(300);
        const int cyclic = rig.ui().lblCounter->text().toInt() - 1;
        QVERIFY2(cyclic >= 13, qPrintable(QString::number(cyclic)));
        QCOMPARE(sim.requestsLogged(), 7 + cyclic);
        QCOMPARE(rig.ui().lblRecCount->text().toInt(), 6 + cyclic);
        QVERIFY2(seen.size() >= 2, "the input did not move while cycling");
        checkLiveValues(rig);
    }

    // The tool checks no reply: it shows what came in time, never hangs or crashes.
    void lineFaults_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("shown"); // reply bytes shown: none, whole, fewer, more
        QTest::newRow("drop") << QStringList{"--drop", "1"} << "none";
        QTest::newRow("delay") << QStringList{"--delay", "300"} << "none";
        QTest::newRow("corrupt") << QStringList{"--corrupt", "1"} << "whole";
        QTest::newRow("truncate") << QStringList{"--truncate", "1", "--seed", "2"} << "fewer";
        QTest::newRow("noise") << QStringList{"--noise", "1"} << "more";
    }
    void lineFaults()
    {
        QFETCH(QStringList, options);
        WindowRig rig("4,19200\r\n", 0);
        Simulator sim(rig.path("ports/COM4"), options);
        rig.restart();
        for (int read = 0; read < 2; ++read) { // the late reply of the first is thrown away
            QElapsedTimer clock;
            clock.start();
            QTest::mouseClick(rig.ui().comDoOnce, Qt::LeftButton);
            QVERIFY(clock.elapsed() < 2000);
            QTest::qWait(400);
        }
        const qsizetype size = stateBytes(rig).size();
        const QString shown = size == 0    ? "none"
                              : size == 21 ? "whole"
                              : size < 21  ? "fewer"
                                           : "more";
        QTEST(shown, "shown");
        QCOMPARE(rig.lamp(), QStringLiteral("imgConnected"));
        QCOMPARE(rig.ui().lblCounter->text(), QStringLiteral("2"));
    }

    void moduleGoesAwayAndComesBack()
    {
        WindowRig rig("4,19200\r\n", 0);
        auto sim = std::make_unique<Simulator>(rig.path("ports/COM4"));
        rig.restart();
        sim.reset();
        QTest::qWait(200);
        QTest::mouseClick(rig.ui().comDoOnce, Qt::LeftButton);
        QCOMPARE(rig.lamp(), QStringLiteral("imgNotConnected"));
        sim = std::make_unique<Simulator>(rig.path("ports/COM4"));
        QTest::mouseClick(rig.ui().Combo1->lineEdit(), Qt::LeftButton);
        QTest::keyClick(rig.ui().Combo1, Qt::Key_Down);
        QTest::keyClick(rig.ui().Combo1, Qt::Key_Up); // COM5, then COM4 again: picked
        QTest::mouseClick(rig.ui().comDoOnce, Qt::LeftButton);
        QCOMPARE(stateBytes(rig).size(), 21);
        QVERIFY(rig.messages.isEmpty());
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
