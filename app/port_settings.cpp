// Start-up and the port-settings handlers of the main window.

#include "app/main_window.h"
#include "app/settings_files.h"
#include "modbus/number_text.h"
#include "serial/comm_port.h"

#include <QComboBox>
#include <QDir>
#include <QScopedValueRollback>
#include <QLineEdit>

namespace {
const QString kSystemInformation = QStringLiteral("System Information");
const QString kSystemPrompted = QStringLiteral("System Prompted");
const QString kPortInUse = QStringLiteral("Selected serial port has been used by other devices!");
const QString kSaved = QStringLiteral("Save successfully");
constexpr int kStartUpPorts = 24; // COM1..COM24 are matched at start-up, not COM25

QString lineSettings(int baud)
{
    return QString::number(baud) + QStringLiteral(",N,8,1");
}
} // namespace

void MainWindow::startUp()
{
    const auto comm = settingsfile::readCommSet(
        settingsplaces::findFile(m_places.readDirs, settingsfile::kCommSet));
    m_savedPort = comm.port;
    m_savedBaud = comm.baud;
    if (const auto mod = settingsfile::readModSet(
            settingsplaces::findFile(m_places.readDirs, settingsfile::kModSet))) {
        m_ui.txtStationID->setText(QString::number(mod->station));
        m_ui.txtDataLength->setText(QString::number(mod->dataLength));
    }
    prepareClosedPort();
    selectSavedBaud();
    selectSavedPort();
}

void MainWindow::prepareClosedPort()
{
    m_serial->setCommPort(m_savedPort);
    m_serial->setInputMode(1);
    m_serial->setInputLen(0);
    m_serial->setInBufferCount(0);
    m_serial->setOutBufferCount(0);
    m_serial->setSThreshold(0);
    m_serial->setRThreshold(1);
    m_serial->setInputMode(1);
    m_serial->setSettings(lineSettings(m_savedBaud));
}

void MainWindow::selectSavedBaud()
{
    for (int entry = 0; entry < 2 && entry < m_ui.Combo2->count(); ++entry) {
        const auto value = numtext::parse(m_ui.Combo2->itemText(entry));
        if (value && *value == m_savedBaud)
            m_ui.Combo2->setCurrentIndex(entry);
    }
}

// Selecting the saved port runs the same handler as the operator's pick.
void MainWindow::selectSavedPort()
{
    const QString name = QStringLiteral("COM") + QString::number(m_savedPort);
    for (int position = 0; position < kStartUpPorts && position < m_ui.Combo1->count();
         ++position) {
        if (m_ui.Combo1->itemText(position) == name) {
            m_ui.Combo1->setCurrentIndex(position);
            onPortPicked(position);
            return;
        }
    }
}

void MainWindow::warn(const QString &text)
{
    showMessage(text, kSystemInformation, QMessageBox::Warning);
}

void MainWindow::OpenOnComm()
{
    m_serial->setRThreshold(1);
    m_serial->setInputMode(1);
}

void MainWindow::onPortPicked(int position)
{
    if (m_serial->portOpen())
        m_serial->setPortOpen(false);
    m_serial->setCommPort(position + 1);
    if (m_serial->portOpen()) {
        warn(kPortInUse);
        return;
    }
    m_serial->setPortOpen(true);
    OpenOnComm();
}

void MainWindow::saveQuietly()
{
    const QScopedValueRollback quiet(m_quiet, true);
    onSave();
}

void MainWindow::onSave()
{
    if (m_serial->portOpen())
        m_serial->setPortOpen(false);
    m_serial->setCommPort(m_ui.Combo1->currentIndex() + 1);
    m_savedPort = static_cast<std::int16_t>(m_serial->commPort());
    const int entry = m_ui.Combo2->currentIndex() >= 0 ? m_ui.Combo2->currentIndex() : 0;
    if (const auto baud =
            numtext::inRange(numtext::parse(m_ui.Combo2->itemText(entry)), -32768, 32767))
        m_savedBaud = static_cast<std::int16_t>(*baud);
    m_serial->setSettings(lineSettings(m_savedBaud));
    if (m_serial->portOpen()) {
        warn(kPortInUse);
        return;
    }
    m_serial->setPortOpen(true);
    OpenOnComm();

    // The user's configuration directory may not exist yet; a failure here
    // shows as the write's own failure below.
    QDir().mkpath(m_places.writeDir());
    const QString path = QDir(m_places.writeDir()).filePath(settingsfile::kCommSet);
    const auto written = settingsfile::writeCommSet(path, {m_savedPort, m_savedBaud});
    if (!written.ok) {
        warn(tr("The settings could not be saved to %1: %2")
                 .arg(QDir::toNativeSeparators(path), written.error));
        return;
    }
    showMessage(kSaved, kSystemPrompted, QMessageBox::NoIcon);
}
