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
#include <QMessageBox>
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
        m_trend = new TrendWindow(*m_log, &m_window, &m_view);
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

// Opened, not run: this can be reached inside a read's wait, which a nested
// event loop would hold up for as long as the dialog is open.
void TrendFeature::record()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QDir(folder).exists())
        folder = QDir::homePath();
    const QString name =
        QDateTime::currentDateTime().toString(QStringLiteral("'rv4820-'yyyyMMdd-HHmmss'.csv'"));
    // Qt's dialog, and the system's, ask before a file is replaced.
    auto *dialog = new QFileDialog(dialogParent(), tr("Record the live values to a file"),
                                   QDir(folder).filePath(name), tr("CSV files (*.csv)"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("csv"));
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString &path) {
        if (!m_log->startRecording(path))
            warn(tr("Cannot record to %1: %2")
                     .arg(QDir::toNativeSeparators(path), m_log->errorString()));
    });
    dialog->open();
}

void TrendFeature::stopRecording()
{
    m_log->stopRecording();
}

void TrendFeature::onFailed(const QString &path, const QString &reason)
{
    warn(tr("Recording to %1 stopped: %2\nThe rows written before stay in the file; "
            "the values are still read.")
             .arg(QDir::toNativeSeparators(path), reason));
}

QWidget *TrendFeature::dialogParent() const
{
    return m_trend && m_trend->isActiveWindow() ? static_cast<QWidget *>(m_trend)
                                                : static_cast<QWidget *>(&m_window);
}

// Shown without a nested event loop, for the same reason as the file dialog.
void TrendFeature::warn(const QString &text)
{
    auto *box = new QMessageBox(QMessageBox::Warning, tr("Recording"), text, QMessageBox::Ok,
                                dialogParent());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

TrendFeature *installTrend(MainWindow &window)
{
    return new TrendFeature(window);
}
