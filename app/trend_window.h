#pragma once
// The trend: the four inputs above and the four outputs below over one time
// axis, following the newest value over a chosen span until the operator
// zooms or pans. It only shows the live log; redraws are spaced so an open
// window costs little while cycling.

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <array>

class QCPAxisRect;
class QCPGraph;
class QCPLegend;
class QCPAbstractLegendItem;
class QComboBox;
class QCustomPlot;
class QLabel;
class QMouseEvent;
class QPushButton;

namespace device {
class LiveLog;
}

class TrendWindow : public QWidget {
    Q_OBJECT
public:
    explicit TrendWindow(device::LiveLog &log, QWidget *parent = nullptr);

    QCustomPlot &plot() { return *m_plot; }
    QComboBox &span() { return *m_span; }
    bool following() const { return m_following; }
    // The time and eight values under the mouse, as its tooltip shows them.
    QString hoverText() const { return m_hoverText; }
    QLabel &recordState() { return *m_recordState; }
    QPushButton &recordButton() { return *m_record; }

    bool savePicture(const QString &path);
    void copyPicture();
    void setFollowing(bool following);

signals:
    void recordClicked();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QCPAxisRect *addPlot(int row, const QString &label, int firstChannel);
    QWidget *buildBar();
    void onSample();
    void onRangeChanged();
    void redraw();
    void load();
    void loadMarks(int plot);
    void rescaleValues();
    void onLegendClick(QCPLegend *legend, QCPAbstractLegendItem *item);
    void onHover(QMouseEvent *event);
    void showRecording();
    void askSavePicture();

    device::LiveLog &m_log;
    QCustomPlot *m_plot = nullptr;
    std::array<QCPAxisRect *, 2> m_rects{};
    std::array<QCPGraph *, 8> m_graphs{};
    std::array<QCPGraph *, 2> m_marks{};
    QComboBox *m_span = nullptr;
    QPushButton *m_follow = nullptr;
    QPushButton *m_record = nullptr;
    QLabel *m_recordState = nullptr;
    QTimer m_redrawTimer;
    QElapsedTimer m_costClock;
    double m_lastCostMs = 0;
    bool m_following = true;
    bool m_settingRange = false;
    bool m_stale = true; // the graphs lag behind the log or the view
    QString m_hoverText;
};
