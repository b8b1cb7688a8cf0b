#include "app/trend_window.h"

#include "device/live_log.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QToolTip>
#include <cmath>
#include <qcustomplot.h>

namespace {
constexpr int kMinRedrawMs = 100;
constexpr int kMaxRedrawMs = 1000;
constexpr int kCostFactor = 10; // redraws take at most a tenth of the time
constexpr qint64 kDefaultSpanMs = qint64(10) * 60 * 1000;

QString caption(int k)
{
    return (k < 4 ? QStringLiteral("输入") : QStringLiteral("输出")) + QString::number(k % 4 + 1);
}

// Okabe-Ito colours of distinct lightness, and a dash pattern each, so the
// four lines stay apart in greyscale and for colour-blind eyes.
QPen channelPen(int k)
{
    static const std::array<QColor, 4> colours{QColor(0, 0, 0), QColor(0, 114, 178),
                                               QColor(213, 94, 0), QColor(230, 159, 0)};
    static const std::array<Qt::PenStyle, 4> styles{Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                                    Qt::DashDotLine};
    // A cosmetic pen of one pixel: a wider one is stroked as a path, which
    // takes seconds for a day's thinned line.
    QPen pen(colours[static_cast<std::size_t>(k % 4)], 0);
    pen.setStyle(styles[static_cast<std::size_t>(k % 4)]);
    return pen;
}

QString describe(const device::LiveHistory::Sample &sample)
{
    QStringList lines{QDateTime::fromMSecsSinceEpoch(sample.msecs)
                          .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"))};
    if (sample.gap)
        lines << QCoreApplication::translate("TrendWindow", "No value: no reply, or too short");
    for (int k = 0; k < 8 && !sample.gap; ++k)
        lines << caption(k) + QStringLiteral("  ") +
                     QString::number(sample.values[static_cast<std::size_t>(k)], 'f',
                                     k < 4 ? 2 : 0);
    if (sample.marked)
        lines << QCoreApplication::translate("TrendWindow", "Reply not well-formed");
    return lines.join(QLatin1Char('\n'));
}
} // namespace

TrendWindow::TrendWindow(device::LiveLog &log, QWidget *parent)
    : QWidget(parent, Qt::Window), m_log(log)
{
    setWindowTitle(tr("Trend of the live values"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_plot = new QCustomPlot(this);
    m_plot->setAutoAddPlottableToLegend(false);
    m_plot->setNoAntialiasingOnDrag(true);
    m_plot->setMouseTracking(true); // hovering, with no button down
    m_plot->plotLayout()->clear();
    m_rects = {addPlot(0, tr("Inputs (mA)"), 0), addPlot(1, tr("Outputs"), 4)};
    auto *margins = new QCPMarginGroup(m_plot);
    for (QCPAxisRect *rect : m_rects) {
        rect->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
        connect(rect->axis(QCPAxis::atBottom), qOverload<const QCPRange &>(&QCPAxis::rangeChanged),
                this, [this](const QCPRange &range) {
                    for (QCPAxisRect *other : m_rects)
                        other->axis(QCPAxis::atBottom)->setRange(range);
                    onRangeChanged();
                });
    }
    m_rects[0]->axis(QCPAxis::atBottom)->setTickLabels(false);
    m_plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    connect(
        m_plot, &QCustomPlot::legendClick, this,
        [this](QCPLegend *legend, QCPAbstractLegendItem *item) { onLegendClick(legend, item); });
    connect(m_plot, &QCustomPlot::mouseMove, this, &TrendWindow::onHover);
    connect(m_plot, &QCustomPlot::beforeReplot, this, &TrendWindow::load);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_plot, 1);
    layout->addWidget(buildBar());

    m_redrawTimer.setSingleShot(true);
    connect(&m_redrawTimer, &QTimer::timeout, this, &TrendWindow::redraw);
    connect(&log, &device::LiveLog::sampleAdded, this, &TrendWindow::onSample);
    connect(&log, &device::LiveLog::historyCleared, this, &TrendWindow::redraw);
    connect(&log, &device::LiveLog::recordingChanged, this, &TrendWindow::showRecording);
    showRecording();
    resize(960, 640);
}

QCPAxisRect *TrendWindow::addPlot(int row, const QString &label, int firstChannel)
{
    auto *rect = new QCPAxisRect(m_plot);
    m_plot->plotLayout()->addElement(row, 0, rect);
    rect->setRangeDrag(Qt::Horizontal);
    rect->setRangeZoom(Qt::Horizontal);
    QSharedPointer<QCPAxisTickerDateTime> ticker(new QCPAxisTickerDateTime);
    ticker->setDateTimeFormat(QStringLiteral("HH:mm:ss"));
    rect->axis(QCPAxis::atBottom)->setTicker(ticker);
    rect->axis(QCPAxis::atLeft)->setLabel(label);
    auto *legend = new QCPLegend;
    rect->insetLayout()->addElement(legend, Qt::AlignTop | Qt::AlignLeft);
    legend->setLayer(QStringLiteral("legend"));
    legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    legend->setBrush(QColor(255, 255, 255, 210));
    for (int k = firstChannel; k < firstChannel + 4; ++k) {
        QCPGraph *graph =
            m_plot->addGraph(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
        graph->setName(caption(k));
        graph->setPen(channelPen(k));
        graph->addToLegend(legend);
        m_graphs[static_cast<std::size_t>(k)] = graph;
    }
    QCPGraph *marks = m_plot->addGraph(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
    marks->setName(tr("Reply not well-formed"));
    marks->setLineStyle(QCPGraph::lsNone);
    marks->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCross, QColor(204, 121, 167), 9));
    marks->addToLegend(legend);
    m_marks[static_cast<std::size_t>(row)] = marks;
    return rect;
}

QWidget *TrendWindow::buildBar()
{
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(tr("Span:"), bar));
    m_span = new QComboBox(bar);
    m_span->addItem(tr("1 min"), qint64(60 * 1000));
    m_span->addItem(tr("10 min"), kDefaultSpanMs);
    m_span->addItem(tr("1 h"), qint64(3600 * 1000));
    m_span->addItem(tr("All"), qint64(0));
    m_span->setCurrentIndex(1);
    connect(m_span, &QComboBox::currentIndexChanged, this, [this] { setFollowing(true); });
    row->addWidget(m_span);
    m_follow = new QPushButton(tr("Follow the newest"), bar);
    m_follow->setCheckable(true);
    m_follow->setChecked(true);
    connect(m_follow, &QPushButton::clicked, this, &TrendWindow::setFollowing);
    row->addWidget(m_follow);
    const auto addButton = [&](const QString &text, auto slot) {
        auto *button = new QPushButton(text, bar);
        connect(button, &QPushButton::clicked, this, slot);
        row->addWidget(button);
    };
    addButton(tr("Save PNG…"), &TrendWindow::askSavePicture);
    addButton(tr("Copy"), &TrendWindow::copyPicture);
    addButton(tr("Clear"), [this] { m_log.clearHistory(); });
    row->addStretch(1);
    m_recordState = new QLabel(bar);
    row->addWidget(m_recordState);
    m_record = new QPushButton(bar);
    connect(m_record, &QPushButton::clicked, this, &TrendWindow::recordClicked);
    row->addWidget(m_record);
    return bar;
}

void TrendWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    redraw();
}

void TrendWindow::setFollowing(bool following)
{
    m_following = following;
    m_follow->setChecked(following);
    if (following)
        redraw();
}

void TrendWindow::onSample()
{
    m_stale = true;
    if (!isVisible() || m_redrawTimer.isActive())
        return;
    // At most about one redraw per pixel the newest value moves.
    const double spanMs = m_rects[0]->axis(QCPAxis::atBottom)->range().size() * 1000;
    const double perPixel = spanMs / std::max(m_rects[0]->width(), 100);
    const double wait = std::max(std::clamp(perPixel, double(kMinRedrawMs), double(kMaxRedrawMs)),
                                 kCostFactor * m_lastCostMs);
    m_redrawTimer.start(static_cast<int>(wait));
}

void TrendWindow::onRangeChanged()
{
    m_stale = true;
    if (!m_settingRange)
        setFollowing(false);
}

void TrendWindow::redraw()
{
    if (!isVisible())
        return;
    m_costClock.start();
    const device::LiveHistory &history = m_log.history();
    if (m_following && history.size() > 0) {
        const double newest = double(history.msecsAt(history.size() - 1)) / 1000;
        const qint64 spanMs = m_span->currentData().toLongLong();
        const double oldest =
            spanMs > 0 ? newest - double(spanMs) / 1000 : double(history.msecsAt(0)) / 1000;
        m_settingRange = true;
        m_rects[0]->axis(QCPAxis::atBottom)->setRange(oldest, std::max(newest, oldest + 1));
        m_settingRange = false;
    }
    m_stale = true;
    m_plot->replot();
    m_lastCostMs = double(m_costClock.nsecsElapsed()) / 1e6;
}

// Only the visible stretch goes into the graphs, thinned to the plot's width,
// so a day of history costs the chart no more than a minute.
void TrendWindow::load()
{
    if (!m_stale)
        return;
    m_stale = false;
    const QCPRange range = m_rects[0]->axis(QCPAxis::atBottom)->range();
    const auto from = static_cast<qint64>(std::floor(range.lower * 1000));
    const auto to = static_cast<qint64>(std::ceil(range.upper * 1000));
    const int maxPoints = 2 * std::max(m_rects[0]->width(), 200);
    std::array<QVector<QCPGraphData>, 2> marks;
    const auto lines = m_log.history().lines(from, to, maxPoints);
    for (std::size_t k = 0; k < m_graphs.size(); ++k) {
        QVector<QCPGraphData> data;
        data.reserve(static_cast<qsizetype>(lines[k].size()));
        for (const device::LiveHistory::Point &point : lines[k]) {
            data.append({double(point.msecs) / 1000, point.value});
            if (point.marked && !std::isnan(point.value) && m_graphs[k]->visible())
                marks[k / 4].append(data.constLast());
        }
        m_graphs[k]->data()->set(data, true);
    }
    for (std::size_t plot = 0; plot < marks.size(); ++plot)
        m_marks[plot]->data()->set(marks[plot], false);
    // Smoothing a line of more than a point a pixel shows nothing and costs most of a redraw.
    const bool dense = static_cast<int>(lines[0].size()) > m_rects[0]->width();
    m_plot->setNotAntialiasedElements(dense ? QCP::aePlottables | QCP::aeScatters : QCP::aeNone);
    rescaleValues();
}

void TrendWindow::rescaleValues()
{
    for (std::size_t plot = 0; plot < m_rects.size(); ++plot) {
        QCPRange total;
        bool any = false;
        for (std::size_t k = plot * 4; k < plot * 4 + 4; ++k) {
            bool found = false;
            const QCPRange range = m_graphs[k]->getValueRange(found);
            if (!found || !m_graphs[k]->visible())
                continue;
            total = any ? QCPRange(std::min(total.lower, range.lower),
                                   std::max(total.upper, range.upper))
                        : range;
            any = true;
        }
        if (!any)
            continue;
        const double margin = std::max(total.size() * 0.05, 0.5);
        m_rects[plot]->axis(QCPAxis::atLeft)->setRange(total.lower - margin, total.upper + margin);
    }
}

void TrendWindow::onLegendClick(QCPLegend *, QCPAbstractLegendItem *item)
{
    auto *entry = qobject_cast<QCPPlottableLegendItem *>(item);
    if (!entry)
        return;
    QCPAbstractPlottable *graph = entry->plottable();
    graph->setVisible(!graph->visible());
    entry->setTextColor(graph->visible() ? QColor(Qt::black) : QColor(Qt::gray));
    m_stale = true;
    m_plot->replot();
}

void TrendWindow::onHover(QMouseEvent *event)
{
    QCPAxisRect *rect = m_plot->axisRectAt(event->position());
    const device::LiveHistory &history = m_log.history();
    if (event->buttons() != Qt::NoButton || !rect || history.size() == 0) {
        QToolTip::hideText();
        return;
    }
    const double key = rect->axis(QCPAxis::atBottom)->pixelToCoord(event->position().x());
    m_hoverText = describe(history.at(history.nearest(std::llround(key * 1000))));
    QToolTip::showText(event->globalPosition().toPoint(), m_hoverText, m_plot);
}

void TrendWindow::showRecording()
{
    if (m_log.recording()) {
        m_recordState->setText(tr("Recording to %1: %2 rows")
                                   .arg(QDir::toNativeSeparators(m_log.recordingPath()))
                                   .arg(m_log.recordedRows()));
        m_record->setText(tr("Stop recording"));
    } else {
        m_recordState->setText(tr("Not recording"));
        m_record->setText(tr("Record to a file…"));
    }
}

bool TrendWindow::savePicture(const QString &path)
{
    QImageWriter writer(path, "png");
    if (writer.write(m_plot->toPixmap().toImage()))
        return true;
    QMessageBox::warning(this, windowTitle(),
                         tr("Cannot save the picture to %1: %2")
                             .arg(QDir::toNativeSeparators(path), writer.errorString()));
    return false;
}

void TrendWindow::copyPicture()
{
    QGuiApplication::clipboard()->setPixmap(m_plot->toPixmap());
}

void TrendWindow::askSavePicture()
{
    const QString proposed =
        QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .filePath(QDateTime::currentDateTime().toString(
                QStringLiteral("'rv4820-trend-'yyyyMMdd-HHmmss'.png'")));
    const QString path = QFileDialog::getSaveFileName(this, tr("Save the trend as a picture"),
                                                      proposed, tr("PNG pictures (*.png)"));
    if (!path.isEmpty())
        savePicture(path);
}
