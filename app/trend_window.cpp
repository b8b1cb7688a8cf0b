#include "app/trend_window.h"

#include "app/elided_label.h"
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
#include <QPainter>
#include <QPushButton>
#include <QScreen>
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

// Eight hues far apart (the category colours of d3), so each line is told at
// a glance; two pixels wide, scaled with the screen as the painter is.
QPen channelPen(int k)
{
    static const std::array<QColor, 8> colours{QColor(0x1f, 0x77, 0xb4), QColor(0xff, 0x7f, 0x0e),
                                               QColor(0x2c, 0xa0, 0x2c), QColor(0xd6, 0x27, 0x28),
                                               QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b),
                                               QColor(0x17, 0xbe, 0xcf), QColor(0, 0, 0)};
    QPen pen(colours[static_cast<std::size_t>(k)], 2);
    pen.setJoinStyle(Qt::BevelJoin);
    return pen;
}

QString timeText(double seconds)
{
    return QDateTime::fromMSecsSinceEpoch(std::llround(seconds * 1000))
        .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
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

TrendWindow::TrendWindow(device::LiveLog &log, QWidget *parent, TrendView *view)
    : QWidget(parent, Qt::Window), m_log(log), m_view(view ? *view : m_ownView)
{
    setWindowTitle(tr("Trend of the live values"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_plot = new QCustomPlot(this);
    m_plot->setAutoAddPlottableToLegend(false);
    m_plot->setNoAntialiasingOnDrag(true);
    m_plot->setPlottingHint(QCP::phFastPolylines, true);
    m_plot->setMouseTracking(true); // hovering, with no button down
    m_plot->plotLayout()->clear();
    m_rects = {addPlot(0, tr("Inputs (mA)"), 0), addPlot(1, tr("Outputs (register value)"), 4)};
    // The legends' column takes only the room they need.
    m_plot->plotLayout()->setColumnStretchFactor(1, 0.001);
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
    m_rects[1]->axis(QCPAxis::atBottom)->setLabel(tr("Time (local, hh:mm:ss)"));
    m_plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    connect(
        m_plot, &QCustomPlot::legendClick, this,
        [this](QCPLegend *legend, QCPAbstractLegendItem *item) { onLegendClick(legend, item); });
    connect(m_plot, &QCustomPlot::mouseMove, this, &TrendWindow::onHover);
    connect(m_plot, &QCustomPlot::beforeReplot, this, &TrendWindow::load);
    for (int k = 0; k < 8; ++k)
        showHidden(k, m_view.hidden[static_cast<std::size_t>(k)]);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_plot, 1);
    layout->addWidget(buildBar());

    m_redrawTimer.setSingleShot(true);
    connect(&m_redrawTimer, &QTimer::timeout, this, &TrendWindow::redraw);
    connect(&log, &device::LiveLog::sampleAdded, this, &TrendWindow::onSample);
    connect(&log, &device::LiveLog::historyCleared, this, &TrendWindow::redraw);
    connect(&log, &device::LiveLog::recordingChanged, this, &TrendWindow::showRecording);
    connect(&log, &device::LiveLog::rowsRecorded, this, &TrendWindow::showRecording);
    showRecording();
    const QRect screen =
        (parent ? parent->screen() : QGuiApplication::primaryScreen())->availableGeometry();
    resize(std::min(960, screen.width() * 9 / 10), std::min(640, screen.height() * 9 / 10));
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
    // Beside the plot, not over it: no legend covers a value.
    auto *side = new QCPLayoutGrid;
    m_plot->plotLayout()->addElement(row, 1, side);
    auto *legend = new QCPLegend;
    // At the top of its column, the room below it left empty.
    side->addElement(0, 0, legend);
    side->addElement(1, 0, new QCPLayoutElement(m_plot));
    side->setRowStretchFactors({0.001, 1});
    legend->setLayer(QStringLiteral("legend"));
    legend->setFillOrder(QCPLayoutGrid::foRowsFirst);
    legend->setBorderPen(Qt::NoPen);
    legend->setMargins({4, 4, 4, 4});
    m_legends[static_cast<std::size_t>(row)] = legend;
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
    marks->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCross, QPen(Qt::darkGray, 2), {}, 9));
    marks->addToLegend(legend);
    m_marks[static_cast<std::size_t>(row)] = marks;
    return rect;
}

QPushButton *TrendWindow::addButton(QWidget *bar, const QString &text, const QString &tip)
{
    auto *button = new QPushButton(text, bar);
    button->setToolTip(tip);
    bar->layout()->addWidget(button);
    return button;
}

// Two rows, so that neither language nor twice the scale pushes the window off the screen.
QWidget *TrendWindow::buildBar()
{
    auto *bar = new QWidget(this);
    auto *rows = new QVBoxLayout(bar);
    rows->setContentsMargins(0, 0, 0, 0);
    auto *view = new QWidget(bar);
    auto *row = new QHBoxLayout(view);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(tr("Span:"), view));
    m_span = new QComboBox(view);
    m_span->setToolTip(tr("How far back the chart looks while it follows the newest value"));
    m_span->addItem(tr("1 min"), qint64(60 * 1000));
    m_span->addItem(tr("10 min"), kDefaultSpanMs);
    m_span->addItem(tr("1 h"), qint64(3600 * 1000));
    m_span->addItem(tr("All"), qint64(0));
    m_span->addItem(tr("Custom"), qint64(-1));
    m_span->setCurrentIndex(m_view.span);
    connect(m_span, &QComboBox::currentIndexChanged, this, &TrendWindow::onSpanPicked);
    row->addWidget(m_span);
    m_follow = addButton(view, tr("Follow the newest"),
                         tr("Keep the newest value at the right edge; the wheel zooms and "
                            "dragging pans the time, which stops following"));
    m_follow->setCheckable(true);
    m_follow->setChecked(true);
    connect(m_follow, &QPushButton::clicked, this, &TrendWindow::setFollowing);
    connect(addButton(view, tr("Save PNG…"), tr("Save the chart as a PNG picture")),
            &QPushButton::clicked, this, &TrendWindow::askSavePicture);
    connect(addButton(view, tr("Copy picture"), tr("Copy the chart as a picture to the clipboard")),
            &QPushButton::clicked, this, &TrendWindow::copyPicture);
    connect(addButton(view, tr("Clear"),
                      tr("Forget the values shown so far; a recording's file keeps its rows")),
            &QPushButton::clicked, this, &TrendWindow::askClear);
    row->addStretch(1);
    rows->addWidget(view);
    auto *record = new QWidget(bar);
    auto *recordRow = new QHBoxLayout(record);
    recordRow->setContentsMargins(0, 0, 0, 0);
    m_recordState = new ElidedLabel(record);
    recordRow->addWidget(m_recordState, 1);
    m_record = addButton(record, {}, {});
    connect(m_record, &QPushButton::clicked, this, &TrendWindow::recordClicked);
    rows->addWidget(record);
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

void TrendWindow::onSpanPicked(int index)
{
    m_view.span = index;
    if (index != kCustomSpan)
        setFollowing(true);
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

// A zoom leaves a span none of the entries names; a pan keeps the span.
void TrendWindow::onRangeChanged()
{
    m_stale = true;
    if (m_settingRange)
        return;
    setFollowing(false);
    const double seconds = m_rects[0]->axis(QCPAxis::atBottom)->range().size();
    if (std::abs(seconds - m_followedSeconds) < m_followedSeconds * 1e-6)
        return;
    m_view.customSeconds = seconds;
    m_view.span = kCustomSpan;
    const QSignalBlocker quiet(m_span);
    m_span->setCurrentIndex(kCustomSpan);
}

void TrendWindow::redraw()
{
    if (!isVisible())
        return;
    m_costClock.start();
    const device::LiveHistory &history = m_log.history();
    if (m_following && history.size() > 0) {
        const double newest = double(history.msecsAt(history.size() - 1)) / 1000;
        const double first = double(history.msecsAt(0)) / 1000;
        const qint64 spanMs = m_span->currentData().toLongLong();
        const double span = spanMs < 0 ? m_view.customSeconds : double(spanMs) / 1000;
        // Less history than the span still fills the plot.
        const double oldest = span > 0 ? std::max(newest - span, first) : first;
        m_settingRange = true;
        m_rects[0]->axis(QCPAxis::atBottom)->setRange(oldest, std::max(newest, oldest + 1));
        m_settingRange = false;
        m_followedSeconds = m_rects[0]->axis(QCPAxis::atBottom)->range().size();
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
    // A stretch every two pixels: the lines are two pixels wide.
    const int maxPoints = std::max(m_rects[0]->width(), 200);
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
    const auto graph =
        std::find(m_graphs.begin(), m_graphs.end(), entry ? entry->plottable() : nullptr);
    if (graph == m_graphs.end() || !*graph)
        return;
    const auto channel = static_cast<int>(graph - m_graphs.begin());
    showHidden(channel, (*graph)->visible());
    m_stale = true;
    m_plot->replot();
}

void TrendWindow::showHidden(int channel, bool hidden)
{
    m_view.hidden[static_cast<std::size_t>(channel)] = hidden;
    QCPGraph *graph = m_graphs[static_cast<std::size_t>(channel)];
    graph->setVisible(!hidden);
    if (QCPPlottableLegendItem *entry =
            m_legends[std::size_t(channel / 4)]->itemWithPlottable(graph))
        entry->setTextColor(hidden ? QColor(Qt::gray) : QColor(Qt::black));
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
    const bool recording = m_log.recording();
    if (recording)
        // The rows go in first, and %1 stays for the path, which the label fills in one call.
        m_recordState->setText(
            tr("Recording to %1 (rows written: %2)")
                .arg(QStringLiteral("%1"), QString::number(m_log.recordedRows())),
            QDir::toNativeSeparators(m_log.recordingPath()));
    else
        m_recordState->setText(tr("Not recording"));
    m_record->setText(recording ? tr("Stop recording") : tr("Record to a file…"));
    m_record->setToolTip(recording ? tr("Finish the file; the values are still read")
                                   : tr("Write each live read as a row of a CSV file"));
}

QString TrendWindow::rangeText() const
{
    const QCPRange range = m_rects[0]->axis(QCPAxis::atBottom)->range();
    return timeText(range.lower) + QStringLiteral(" – ") + timeText(range.upper);
}

QImage TrendWindow::picture()
{
    const QPixmap chart = m_plot->toPixmap();
    const QString title = tr("Live values, %1").arg(rangeText());
    const QFontMetrics metrics(font());
    const int head = metrics.height() * 2;
    QImage image(chart.width(), chart.height() + head, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font());
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, image.width(), head), Qt::AlignCenter, title);
    painter.drawPixmap(0, head, chart);
    painter.end();
    image.setText(QStringLiteral("Time range"), rangeText());
    return image;
}

bool TrendWindow::savePicture(const QString &path)
{
    QImageWriter writer(path, "png");
    if (writer.write(picture()))
        return true;
    warn(tr("Cannot save the picture to %1: %2")
             .arg(QDir::toNativeSeparators(path), writer.errorString()));
    return false;
}

void TrendWindow::copyPicture()
{
    QGuiApplication::clipboard()->setImage(picture());
}

// Dialogs are opened, not run: no nested event loop, which a read's wait would sit under.
void TrendWindow::warn(const QString &text)
{
    auto *box = new QMessageBox(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void TrendWindow::askSavePicture()
{
    const QString proposed =
        QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .filePath(QDateTime::currentDateTime().toString(
                QStringLiteral("'rv4820-trend-'yyyyMMdd-HHmmss'.png'")));
    auto *dialog = new QFileDialog(this, tr("Save the trend as a picture"), proposed,
                                   tr("PNG pictures (*.png)"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("png"));
    connect(dialog, &QFileDialog::fileSelected, this, &TrendWindow::savePicture);
    dialog->open();
}

void TrendWindow::askClear()
{
    auto *box = new QMessageBox(QMessageBox::Question, windowTitle(),
                                tr("Clear the trend? The values shown so far are forgotten; a "
                                   "recording's file keeps its rows."),
                                QMessageBox::Ok | QMessageBox::Cancel, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->button(QMessageBox::Ok)->setText(tr("Clear"));
    box->setDefaultButton(QMessageBox::Cancel);
    connect(box, &QMessageBox::finished, this, [this](int result) {
        if (result == QMessageBox::Ok)
            m_log.clearHistory();
    });
    box->open();
}
