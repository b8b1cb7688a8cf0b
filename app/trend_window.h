#pragma once
// The trend: the four inputs above and the four outputs below over one time
// axis, following the newest value over a chosen span until the operator
// zooms or pans. It only shows the live log; redraws are spaced so an open
// window costs little while cycling.

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <array>

class ElidedLabel;
class QCPAxisRect;
class QCPGraph;
class QCPLegend;
class QCPAbstractLegendItem;
class QComboBox;
class QCustomPlot;
class QMouseEvent;
class QPushButton;

namespace device {
class LiveLog;
}

// What the operator chose to see, kept by the caller across the window's closing.
struct TrendView {
    int span = 1;             // the span box's entry: 10 min
    double customSeconds = 0; // the width a zoom left, when span is custom
    std::array<bool, 8> hidden{};
};

class TrendWindow : public QWidget {
    Q_OBJECT
public:
    // The span box's entry after a zoom.
    static constexpr int kCustomSpan = 4;

    explicit TrendWindow(device::LiveLog &log, QWidget *parent = nullptr,
                         TrendView *view = nullptr);

    QCustomPlot &plot() { return *m_plot; }
    QComboBox &span() { return *m_span; }
    QCPLegend &legend(int plot) { return *m_legends[static_cast<std::size_t>(plot)]; }
    bool following() const { return m_following; }
    // The time and eight values under the mouse, as its tooltip shows them.
    QString hoverText() const { return m_hoverText; }
    ElidedLabel &recordState() { return *m_recordState; }
    QPushButton &recordButton() { return *m_record; }

    // The chart under a line that gives its time range, which it also carries as text.
    QImage picture();
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
    QPushButton *addButton(QWidget *bar, const QString &text, const QString &tip);
    void onSample();
    void onRangeChanged();
    void onSpanPicked(int index);
    void redraw();
    void load();
    void rescaleValues();
    void onLegendClick(QCPLegend *legend, QCPAbstractLegendItem *item);
    void showHidden(int channel, bool hidden);
    void onHover(QMouseEvent *event);
    void showRecording();
    void askSavePicture();
    void askClear();
    QString rangeText() const;
    void warn(const QString &text);

    device::LiveLog &m_log;
    TrendView m_ownView;
    TrendView &m_view;
    QCustomPlot *m_plot = nullptr;
    std::array<QCPAxisRect *, 2> m_rects{};
    std::array<QCPLegend *, 2> m_legends{};
    std::array<QCPGraph *, 8> m_graphs{};
    std::array<QCPGraph *, 2> m_marks{};
    QComboBox *m_span = nullptr;
    QPushButton *m_follow = nullptr;
    QPushButton *m_record = nullptr;
    ElidedLabel *m_recordState = nullptr;
    QTimer m_redrawTimer;
    QElapsedTimer m_costClock;
    double m_lastCostMs = 0;
    double m_followedSeconds = 0; // the width the view had when it last followed
    bool m_following = true;
    bool m_settingRange = false;
    bool m_stale = true; // the graphs lag behind the log or the view
    QString m_hoverText;
};
