#include "app/trend_feature.h"

#include "app/context_menus.h"
#include "app/main_window.h"
#include "app/trend_window.h"
#include "device/commands.h"
#include "device/live_log.h"

#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <QStandardPaths>

TrendFeature::TrendFeature(MainWindow &window)
    : QObject(&window), m_window(window), m_log(new device::LiveLog(this))
{
    connect(&window.commands(), &device::Commands::readDone, m_log, &device::LiveLog::take);
    connect(m_log, &device::LiveLog::recordingFailed, this, &TrendFeature::onFailed);
    const auto filler = [this](QMenu &menu) { fill(menu); };
    for (QLineEdit *box : window.controls().txtCurrentInput)
        window.contextMenus().extend(box, filler);
    if (auto *frame = window.findChild<QGroupBox *>(QStringLiteral("Frame7")))
        window.contextMenus().extend(frame, filler);
    auto *shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_T), &window);
    connect(shortcut, &QShortcut::activated, this, &TrendFeature::openTrend);
}

void TrendFeature::fill(QMenu &menu)
{
    QAction *trend = menu.addAction(tr("Trend…"), this, &TrendFeature::openTrend);
    trend->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    if (m_log->recording())
        menu.addAction(tr("Stop recording"), this, &TrendFeature::stopRecording);
    else
        menu.addAction(tr("Record to a file…"), this, &TrendFeature::record);
}

TrendWindow *TrendFeature::openTrend()
{
    if (!m_trend) {
        // A child window of the main one: it closes with it.
        m_trend = new TrendWindow(*m_log, &m_window);
        connect(m_trend, &TrendWindow::recordClicked, this, [this] {
            if (m_log->recording())
                stopRecording();
            else
                record();
        });
    }
    m_trend->show();
    m_trend->raise();
    m_trend->activateWindow();
    return m_trend;
}

void TrendFeature::record()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QDir(folder).exists())
        folder = QDir::homePath();
    const QString name =
        QDateTime::currentDateTime().toString(QStringLiteral("'rv4820-'yyyyMMdd-HHmmss'.csv'"));
    QWidget *parent = m_trend && m_trend->isActiveWindow() ? static_cast<QWidget *>(m_trend)
                                                           : static_cast<QWidget *>(&m_window);
    // Qt's dialog, and the system's, ask before a file is replaced.
    QFileDialog dialog(parent, tr("Record the live values to a file"), QDir(folder).filePath(name),
                       tr("CSV files (*.csv)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    if (!m_log->startRecording(path))
        m_window.showMessage(
            tr("Cannot record to %1: %2").arg(QDir::toNativeSeparators(path), m_log->errorString()),
            tr("Recording"), QMessageBox::Warning);
}

void TrendFeature::stopRecording()
{
    m_log->stopRecording();
}

void TrendFeature::onFailed(const QString &path, const QString &reason)
{
    m_window.showMessage(
        tr("Recording to %1 stopped: %2\nThe rows written before stay in the file; "
           "the values are still read.")
            .arg(QDir::toNativeSeparators(path), reason),
        tr("Recording"), QMessageBox::Warning);
}

TrendFeature *installTrend(MainWindow &window)
{
    return new TrendFeature(window);
}
