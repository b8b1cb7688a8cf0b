#pragma once
// The real window in a temporary program directory, against rv4820-sim running
// as a process of its own on a pseudo-terminal linked at ports/COM4.

#include "app/main_window.h"
#include "modbus/frame.h"
#include "tests/support/message_catcher.h"
#include "tests/support/front_lamp.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <memory>

class SimRig {
public:
    static constexpr int kStartMs = 10000;
    static constexpr int kClickBoundMs = 2000; // no exchange may hold the window longer

    explicit SimRig(const QStringList &simOptions = {})
    {
        writeText(QStringLiteral("comm.set"), "4,19200\r\n");
        writeText(QStringLiteral("ModSet.set"), "0,2,16,0\r\n");
        QDir(m_dir.path()).mkpath(QStringLiteral("ports"));
        m_simStarted = startSim(simOptions);
        window = std::make_unique<MainWindow>(m_dir.path());
    }

    ~SimRig()
    {
        window.reset(); // the port first, as when the tool is closed before the module
        stopSim();
    }

    bool simStarted() const { return m_simStarted; }

    bool startSim(const QStringList &options = {})
    {
        m_sim.start(QStringLiteral(RV_SIM_PATH),
                    QStringList{"--pty", link(), "--seed", "1"} + options);
        if (!m_sim.waitForStarted(kStartMs))
            return false;
        const QDeadlineTimer deadline(kStartMs);
        while (!deadline.hasExpired() && m_sim.state() == QProcess::Running) {
            if (QFileInfo(link()).isSymLink())
                return true;
            QThread::msleep(10);
        }
        return false;
    }

    // SIGTERM, as at a shutdown; true when the simulator ended cleanly.
    bool stopSim()
    {
        if (m_sim.state() == QProcess::NotRunning)
            return true;
        ::kill(static_cast<pid_t>(m_sim.processId()), SIGTERM);
        return m_sim.waitForFinished(kStartMs) && m_sim.exitStatus() == QProcess::NormalExit &&
               m_sim.exitCode() == 0;
    }

    const FormControls &ui() const { return window->controls(); }

    // Clicks and returns how long the click held the window.
    qint64 press(QPushButton *button)
    {
        QElapsedTimer clock;
        clock.start();
        button->click();
        return clock.elapsed();
    }

    QString frontLamp() const { return ::frontLamp(ui()); }

    QString state() const { return ui().txtState->toPlainText(); }
    QByteArray stateBytes() const { return QByteArray::fromHex(state().toLatin1()); }
    int counter() const { return ui().lblCounter->text().toInt(); }
    int recCount() const { return ui().lblRecCount->text().toInt(); }

    template <std::size_t N> static QStringList texts(const std::array<QLineEdit *, N> &boxes)
    {
        QStringList out;
        for (auto *box : boxes)
            out << box->text();
        return out;
    }

    // Frames the simulator logged so far: "->" requests, "<-" replies as sent.
    QList<QByteArray> logged(const QString &direction)
    {
        while (m_sim.state() == QProcess::Running && m_sim.waitForReadyRead(30)) {
        }
        m_log += QString::fromLatin1(m_sim.readAllStandardOutput());
        static const QRegularExpression line(
            QStringLiteral(R"(^\d\d:\d\d:\d\d\.\d{3} (->|<-)((?: [0-9A-F]{2})*)(?: \(.*\))?$)"),
            QRegularExpression::MultilineOption);
        QList<QByteArray> frames;
        for (auto it = line.globalMatch(m_log); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            if (m.captured(1) == direction)
                frames << QByteArray::fromHex(m.captured(2).toLatin1());
        }
        return frames;
    }

    std::unique_ptr<MainWindow> window;
    MessageCatcher catcher;

private:
    QString link() const { return m_dir.filePath(QStringLiteral("ports/COM4")); }

    void writeText(const QString &name, const QByteArray &content)
    {
        QFile file(m_dir.filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(content);
    }

    QTemporaryDir m_dir;
    QProcess m_sim;
    QString m_log;
    bool m_simStarted = false;
};
