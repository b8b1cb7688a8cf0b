#include "app/status_line.h"

#include "app/main_window.h"
#include "app/trend_feature.h"
#include "device/commands.h"
#include "device/live_log.h"
#include "serial/comm_port.h"

#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

namespace {
constexpr int kRowsRefreshMs = 1000;
}

StatusLine::StatusLine(MainWindow &window)
    : QObject(&window), m_window(window), m_recording(new QPushButton(&window)),
      m_noAnswer(new QLabel(&window)), m_rows(new QTimer(this))
{
    setObjectName(QStringLiteral("statusLine"));
    m_recording->setObjectName(QStringLiteral("statusRecording"));
    m_recording->setFlat(true);
    m_recording->setCursor(Qt::PointingHandCursor);
    m_recording->setToolTip(MainWindow::tr("Open the trend window"));
    m_noAnswer->setObjectName(QStringLiteral("statusNoAnswer"));
    m_noAnswer->setStyleSheet(QStringLiteral("color: #b00000"));
    QStatusBar *bar = window.statusBar();
    bar->setSizeGripEnabled(false);
    bar->addWidget(m_recording);
    bar->addWidget(m_noAnswer, 1);
    m_noAnswer->hide();

    TrendFeature &trend = window.trend();
    connect(
        m_recording, &QPushButton::clicked, &trend, [&trend] { trend.openTrend(); },
        Qt::QueuedConnection);
    connect(&trend.log(), &device::LiveLog::recordingChanged, this, &StatusLine::showRecording);
    connect(m_rows, &QTimer::timeout, this, &StatusLine::showRecording);
    m_rows->setInterval(kRowsRefreshMs);
    connect(&window.commands(), &device::Commands::readDone, this, &StatusLine::onRead);
    showRecording();
}

void StatusLine::showRecording()
{
    const device::LiveLog &log = m_window.trend().log();
    const bool on = log.recording();
    m_recording->setVisible(on);
    if (!on) {
        m_rows->stop();
        return;
    }
    if (!m_rows->isActive())
        m_rows->start();
    m_blink = !m_blink; // a dot that changes each second: the recording runs
    m_recording->setText(MainWindow::tr("%1 Recording to %2: %3 rows")
                             .arg(m_blink ? QStringLiteral("\u25CF") : QStringLiteral("\u25CB"),
                                  QFileInfo(log.recordingPath()).fileName(),
                                  QLocale().toString(log.recordedRows())));
    m_recording->setToolTip(MainWindow::tr("Recording to %1. Click to open the trend window.")
                                .arg(log.recordingPath()));
}

// Only a well-formed reply counts as an answer: a wrong baud gives bytes too.
void StatusLine::onRead(const device::ReadOutcome &outcome)
{
    if (outcome.request.isEmpty())
        return; // nothing was sent: the command said why
    m_silent = outcome.wellFormed ? 0 : m_silent + 1;
    m_noAnswer->setVisible(m_silent >= kSilentReads);
    if (m_silent < kSilentReads)
        return;
    const QString baud = m_window.serial().settings().section(QLatin1Char(','), 0, 0);
    m_noAnswer->setText(
        MainWindow::tr("No answer to the last %1 reads from station %2 at %3 baud. Check the "
                       "wiring, or look for the module with Tools → Find the module…")
            .arg(QString::number(m_silent),
                 QString::number(static_cast<quint8>(outcome.request.at(0))), baud));
}

void installStatusLine(MainWindow &window)
{
    new StatusLine(window);
}
