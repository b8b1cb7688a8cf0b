#pragma once
// The trend and the recording of the live values, reached from the live value
// boxes' and the frame "数据查询"'s context menus and the Tools menu (Ctrl+T); no control is
// added to the main window.

#include "app/trend_window.h"

#include <QObject>
#include <QPointer>

class MainWindow;
class QMenu;

namespace device {
class LiveLog;
}

class TrendFeature : public QObject {
    Q_OBJECT
public:
    explicit TrendFeature(MainWindow &window);

    device::LiveLog &log() { return *m_log; }
    // Opens the trend window, or raises the one that is open.
    TrendWindow *openTrend();
    // Asks for a file and starts recording to it.
    void record();
    void stopRecording();
    void fill(QMenu &menu);

private:
    void onFailed(const QString &path, const QString &reason);
    QWidget *dialogParent() const;
    void warn(const QString &text);

    MainWindow &m_window;
    device::LiveLog *m_log;
    QPointer<TrendWindow> m_trend;
    TrendView m_view; // kept while the program runs, across the trend window's closing
};

// Called once at the end of MainWindow's constructor.
TrendFeature *installTrend(MainWindow &window);
