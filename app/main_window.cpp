#include "app/main_window.h"

#include "app/main_menus.h"
#include "app/status_line.h"
#include "app/artwork.h"
#include "app/calibration_feature.h"
#include "app/context_menus.h"
#include "app/parameter_actions.h"
#include "app/pick_only.h"
#include "app/port_list.h"
#include "app/search_feature.h"
#include "app/trend_feature.h"
#include "device/commands.h"
#include "modbus/transactions.h"
#include "modbus/wait.h"
#include "serial/comm_port.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStandardPaths>
#include <QTimer>

namespace {
constexpr int kClientWidth = 805;
constexpr int kClientHeight = 662;
constexpr int kTimer2StartMs = 3000;
} // namespace

MainWindow::MainWindow(const QString &programDir, QWidget *parent)
    : QMainWindow(parent),
      m_places(settingsplaces::placesFor(
          programDir, QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kWindowTitle);
    setWindowIcon(artwork::applicationIcon());
    m_client_area = new QWidget(this);
    m_client_area->setObjectName(QStringLiteral("clientArea"));
    m_ui = buildForm(m_client_area);
    setFont(m_client_area->font()); // the bars' Chinese texts need its glyphs too
    setCentralWidget(m_client_area);

    m_serial = new CommPort(m_places.readDirs, this);
    m_serial->setObjectName(QStringLiteral("MSComm1"));
    m_timer2 = new QTimer(this);
    m_timer2->setObjectName(QStringLiteral("Timer2"));
    m_timer2->setInterval(kTimer2StartMs);
    m_timer2->setTimerType(Qt::PreciseTimer); // a coarse timer shifts ticks by up to 5 %
    m_client = std::make_unique<modbus::Client>(*m_serial, *this);
    m_commands = new device::Commands(*m_client, *this, *m_timer2, this);

    connectHandlers();
    m_menus = new ContextMenus(this);
    m_portList =
        new PortList(m_ui.Combo1, *m_serial, *m_menus, [this](const QString &text) { warn(text); });
    startUp();
    installCalibration(*this);
    installSearch(*this);
    m_parameterActions = installParameterFile(*this);
    m_trend = installTrend(*this);
    installMenuBar(*this);
    installStatusLine(*this);
    // The bars lie outside the client area, which keeps its size.
    resize(kClientWidth,
           kClientHeight + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    // The status query is the usual first action; a focused text box would
    // also keep a cursor blinking (and the window repainting) while idle.
    m_ui.comDoOnce->setFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::connectHandlers()
{
    connect(m_ui.Combo1, &QComboBox::activated, this, &MainWindow::onPortPicked);
    connect(m_ui.cmdCom, &QPushButton::clicked, this, &MainWindow::onSave);
    makePickOnly(m_ui.Combo1);
    makePickOnly(m_ui.Combo2);

    device::Commands *commands = m_commands;
    connect(m_ui.comDoOnce, &QPushButton::clicked, commands, [commands] { commands->comDoOnce(); });
    connect(m_ui.cmdReadAlarm2, &QPushButton::clicked, commands,
            [commands] { commands->cmdReadAlarm(2); });
    for (int i = 0; i < static_cast<int>(m_ui.cmdReadP.size()); ++i) {
        connect(m_ui.cmdReadP[i], &QPushButton::clicked, commands,
                [commands, i] { commands->cmdReadP(i); });
        connect(m_ui.cmdWriteP[i], &QPushButton::clicked, commands,
                [commands, i] { commands->cmdWriteP(i); });
    }
    connect(m_ui.cmdOneM, &QPushButton::clicked, commands, [commands] { commands->cmdOneM(); });
    connect(m_ui.cmdStopOnce, &QPushButton::clicked, commands,
            [commands] { commands->cmdStopOnce(); });
}

// A box on screen with the same text says it all: a tick that finds the same
// fault while the operator reads it must not stack a second one. The text is
// free again once the box is dismissed, not when exec() returns: a read that
// started inside the box's loop holds that return back for its whole wait.
void MainWindow::showMessage(const QString &text, const QString &title, QMessageBox::Icon icon)
{
    if (m_openMessages.contains(text))
        return;
    m_openMessages.insert(text);
    QMessageBox box(icon, title, text, QMessageBox::Ok, this);
    connect(&box, &QDialog::finished, this, [this, text] { m_openMessages.remove(text); });
    box.exec();
}

// The features' boxes: they may be asked for inside a read's wait, which must end.
void MainWindow::showOpenMessage(const QString &text, const QString &title, QMessageBox::Icon icon)
{
    if (m_openMessages.contains(text))
        return;
    m_openMessages.insert(text);
    auto *box = new QMessageBox(icon, title, text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QDialog::finished, this, [this, text] { m_openMessages.remove(text); });
    box->open();
}

// Closing ends the program at once: nothing queued is sent and no wait holds it up.
void MainWindow::closeEvent(QCloseEvent *event)
{
    m_commands->shutDown();
    modbus::AbandonWaits();
    QMainWindow::closeEvent(event);
}

void MainWindow::tell(const QString &text, device::MessageIcon icon)
{
    showMessage(text, device::kAppTitle,
                icon == device::MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon);
}

void MainWindow::setCommandText(const QString &text)
{
    m_ui.txtCommand->setText(text);
}
void MainWindow::setStateText(const QString &text)
{
    m_ui.txtState->setPlainText(text);
}

void MainWindow::showLamp(modbus::Lamp lamp)
{
    switch (lamp) {
    case modbus::Lamp::Connected: m_ui.imgConnected->raise(); break;
    case modbus::Lamp::Yellow: m_ui.ImgYellow->raise(); break;
    case modbus::Lamp::NotConnected: m_ui.imgNotConnected->raise(); break;
    }
}

QString MainWindow::counterText() const
{
    return m_ui.lblCounter->text();
}
void MainWindow::setCounterText(const QString &text)
{
    m_ui.lblCounter->setText(text);
}
QString MainWindow::recCountText() const
{
    return m_ui.lblRecCount->text();
}
void MainWindow::setRecCountText(const QString &text)
{
    m_ui.lblRecCount->setText(text);
}
QString MainWindow::stationText() const
{
    return m_ui.txtStationID->text();
}
QString MainWindow::dataLengthText() const
{
    return m_ui.txtDataLength->text();
}
QString MainWindow::startIdText() const
{
    return m_ui.txtStartID->text();
}
void MainWindow::setStartIdText(const QString &text)
{
    m_ui.txtStartID->setText(text);
}
void MainWindow::setDataLengthText(const QString &text)
{
    m_ui.txtDataLength->setText(text);
}
QString MainWindow::timerSetText() const
{
    return m_ui.txtTimerSet->text();
}
QString MainWindow::channelText(int i) const
{
    return m_ui.txtChannel.at(i)->text();
}
void MainWindow::setChannelText(int i, const QString &text)
{
    m_ui.txtChannel.at(i)->setText(text);
}

QString MainWindow::currentInputText(int k) const
{
    return m_ui.txtCurrentInput.at(k)->text();
}
void MainWindow::setCurrentInputText(int k, const QString &text)
{
    m_ui.txtCurrentInput.at(k)->setText(text);
}
