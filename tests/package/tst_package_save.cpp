// The unpacked package run by an ordinary user; tst_package.sh starts it so, with
// RV_ROOT the unpacked tree. Save stays in a program directory that can be written
// (a build tree) and goes to ~/.config/rv4820 when it cannot; the next start of the
// installed program then opens the port saved there.

#include "tests/support/window_rig.h"

#include <QProcess>
#include <csignal>
#include <sys/prctl.h>
#include <termios.h>

class TestPackageSave : public QObject {
    Q_OBJECT
private slots:
    void saveThenStart()
    {
        QCoreApplication::setApplicationName(QStringLiteral("rv4820")); // as the tool does
        const QString root = qEnvironmentVariable("RV_ROOT");
        const QString config = QDir::homePath() + QStringLiteral("/.config/rv4820/");
        QVERIFY(QDir().mkpath(config)); // a station address only the user's ModSet.set holds
        writeFile(config + "ModSet.set", "0,9,8,0\r\n");
        for (const bool installed : {false, true}) {
            const QTemporaryDir copy;
            const QString programDir = installed ? root + "/usr/lib/rv4820/" : copy.path() + '/';
            Boxes boxes;
            MainWindow window(programDir);
            QCOMPARE(window.stationText(), installed ? "9" : "2");
            window.controls().Combo1->setCurrentIndex(6);
            window.controls().Combo2->setCurrentIndex(0);
            window.show();
            click(window.controls().cmdCom);
            QCOMPARE(boxes.messages, QStringList{"Save successfully | System Prompted"});
            QCOMPARE(readFile((installed ? config : programDir) + "comm.set"), "7,9600\r\n");
            QCOMPARE(QFile::exists(config + "comm.set"), installed);
        }
        // The pseudo-terminal starts at 38400 baud: 9600 shows the saved COM7 opened.
        Pty pty;
        QVERIFY(Pty::linkPort(config, 7, pty.slavePath()));
        QProcess tool;
        tool.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); }); // dies with us
        tool.start(root + "/usr/bin/rv4820-tool");
        termios tio{};
        QTRY_VERIFY_WITH_TIMEOUT(tcgetattr(pty.slaveFd(), &tio) == 0 && cfgetispeed(&tio) == B9600,
                                 10000);
        tool.kill();
        tool.waitForFinished();
    }
};

QTEST_MAIN(TestPackageSave)
#include "tst_package_save.moc"
