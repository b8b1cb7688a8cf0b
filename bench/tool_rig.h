#pragma once
// The tool itself, in-process: its window in a temporary program directory
// whose ports/COM4 is the simulator's pseudo-terminal, shown offscreen, with
// the moments of every request sent and every reply taken recorded.

#include "app/main_window.h"
#include "bench/sent_request.h"

#include <QElapsedTimer>
#include <QList>
#include <QTemporaryDir>
#include <memory>

namespace bench {

// Must run before QApplication is made.
void useOffscreen();

// Runs the event loop for ms milliseconds, sleeping between events.
void runFor(int ms);

class ToolRig : public QObject {
    Q_OBJECT
public:
    ToolRig(); // comm.set "4,19200", ModSet.set "0,2,16,0", an empty ports/
    QString path() const { return m_dir.path(); }
    QString portLink() const { return m_dir.filePath(QStringLiteral("ports/COM4")); }

    // Creates and shows the window (start-up opens COM4) and starts recording.
    MainWindow &open();
    MainWindow &window() { return *m_window; }
    const FormControls &ui() const { return m_window->controls(); }

    QList<SentRequest> sent;
    // How long after its request each reply was taken (txtState filled).
    QList<double> replyMs;
    double now() const { return static_cast<double>(m_clock.nsecsElapsed()) / 1e6; }

private:
    QTemporaryDir m_dir;
    QElapsedTimer m_clock;
    std::unique_ptr<MainWindow> m_window;
    double m_pendingSend = -1;
};

} // namespace bench
