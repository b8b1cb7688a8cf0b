#pragma once
// The status bar below the client area: a running recording, and a hint when
// the module stops answering. Empty otherwise; the counters and the lamp stay
// in the client area.

#include <QObject>

class MainWindow;
class QLabel;
class QPushButton;
class QTimer;

namespace device {
struct ReadOutcome;
}

class StatusLine : public QObject {
    Q_OBJECT
public:
    explicit StatusLine(MainWindow &window);

    static constexpr int kSilentReads = 3; // reads in a row without an answer before the hint

private:
    void showRecording();
    void onRead(const device::ReadOutcome &outcome);

    MainWindow &m_window;
    QPushButton *m_recording;
    QLabel *m_noAnswer;
    QTimer *m_rows;
    int m_silent = 0;
    bool m_blink = false;
};

void installStatusLine(MainWindow &window);
