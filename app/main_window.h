#pragma once
// frmMain: the one working window. It owns the controls, the serial port
// MSComm1, Timer2, the transactions and the commands, and shows what they
// report; the handlers here are start-up and the port settings. The controls
// sit in the client area; the menu bar above it and the status bar below it
// reach the features beyond them.

#include "app/form_controls.h"
#include "app/settings_places.h"
#include "device/command_view.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QStringList>
#include <QSet>
#include <cstdint>
#include <memory>

class CommPort;
class ContextMenus;
class ParameterActions;
class PortList;
class TrendFeature;
class QTimer;

namespace modbus {
class Client;
}
namespace device {
class Commands;
}

inline const QString kWindowTitle = QStringLiteral("RV4820电流采集变送模块工具软件-Kelvora");

class MainWindow : public QMainWindow, public device::CommandView {
    Q_OBJECT
public:
    // programDir holds comm.set, ModSet.set and the ports/ links; when the user
    // cannot write it, the user's configuration directory comes first (settingsplaces).
    explicit MainWindow(const QString &programDir, QWidget *parent = nullptr);
    ~MainWindow() override;

    const FormControls &controls() const { return m_ui; }
    // The 805 x 662 pixels that hold the controls, between the two bars.
    QWidget *clientArea() const { return m_client_area; }
    CommPort &serial() { return *m_serial; }
    device::Commands &commands() { return *m_commands; }
    modbus::Client &client() { return *m_client; }
    PortList &portList() { return *m_portList; }
    // Where the features beyond the window's own controls add their actions.
    ContextMenus &contextMenus() { return *m_menus; }
    // The features beyond the window's own controls, for the menus that reach them.
    TrendFeature &trend() { return *m_trend; }
    ParameterActions &parameterActions() { return *m_parameterActions; }
    const settingsplaces::Places &places() const { return m_places; }
    std::int16_t savedPort() const { return m_savedPort; }
    std::int16_t savedBaud() const { return m_savedBaud; }

    // Port selection (Combo1) and Save (cmdCom).
    void onPortPicked(int position);
    void onSave();
    void OpenOnComm();

    // modbus::LinkView
    void setCommandText(const QString &text) override;
    void setStateText(const QString &text) override;
    void showLamp(modbus::Lamp lamp) override;
    QString counterText() const override;
    void setCounterText(const QString &text) override;
    QString recCountText() const override;
    void setRecCountText(const QString &text) override;
    QString stationText() const override;
    QString dataLengthText() const override;

    // device::CommandView
    QString startIdText() const override;
    void setStartIdText(const QString &text) override;
    void setDataLengthText(const QString &text) override;
    QString timerSetText() const override;
    QString channelText(int i) const override;
    void setChannelText(int i, const QString &text) override;
    QString currentInputText(int k) const override;
    void setCurrentInputText(int k, const QString &text) override;
    void tell(const QString &text, device::MessageIcon icon) override;

    // A box with one OK button; none while a box with the same text is on screen.
    void showMessage(const QString &text, const QString &title, QMessageBox::Icon icon);
    // The same, shown with open(): it returns at once, and runs no loop of its own.
    void showOpenMessage(const QString &text, const QString &title, QMessageBox::Icon icon);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void startUp();
    void prepareClosedPort();
    void selectSavedBaud();
    void selectSavedPort();
    void connectHandlers();
    void warn(const QString &text); // "System Information", warning icon

    settingsplaces::Places m_places;
    FormControls m_ui;
    CommPort *m_serial = nullptr;
    PortList *m_portList = nullptr;
    ContextMenus *m_menus = nullptr;
    TrendFeature *m_trend = nullptr;
    ParameterActions *m_parameterActions = nullptr;
    QTimer *m_timer2 = nullptr;
    std::unique_ptr<modbus::Client> m_client;
    device::Commands *m_commands = nullptr;
    std::int16_t m_savedPort = 4;
    std::int16_t m_savedBaud = 19200;
    QWidget *m_client_area = nullptr;
    QSet<QString> m_openMessages;
};
