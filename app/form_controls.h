#pragma once
// Every control of the main window, built by buildForm(). Each control's
// objectName is its name in the layout; array members are "name_index".

#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QWidget;

struct FormControls {
    // Frame10 "MODBUS-RTU设置"
    QLineEdit *txtStationID = nullptr;
    QLineEdit *txtStartID = nullptr;
    QLineEdit *txtFunID = nullptr;
    QLineEdit *txtDataLength = nullptr;

    // Frame6 "Run State": the three lamps are siblings inside Picture2.
    QWidget *Picture2 = nullptr;
    QLabel *imgConnected = nullptr;
    QLabel *ImgYellow = nullptr;
    QLabel *imgNotConnected = nullptr;
    QLabel *lblRecCount = nullptr;
    QLabel *lblCounter = nullptr;

    QTabWidget *SSTab1 = nullptr;

    // Tab 0: Frame5 "串口设置" and Frame7 "数据查询"
    QComboBox *Combo1 = nullptr;
    QComboBox *Combo2 = nullptr;
    QPushButton *cmdCom = nullptr;
    std::array<QLineEdit *, 8> txtCurrentInput{};
    QLineEdit *txtTimerSet = nullptr;
    QPushButton *comDoOnce = nullptr;
    QPushButton *cmdOneM = nullptr;
    QPushButton *cmdStopOnce = nullptr;

    // Tab 1: Frame3 and Frame8
    std::array<QLineEdit *, 10> txtChannel{};
    std::array<QPushButton *, 10> cmdReadP{};
    std::array<QPushButton *, 10> cmdWriteP{};
    QPushButton *cmdReadAlarm2 = nullptr; // cmdReadAlarm(2), the array's only member

    // Frame1 "Command State"
    QLineEdit *txtCommand = nullptr;
    QPlainTextEdit *txtState = nullptr;
};

// Creates every control on frmMain at its fixed place (client area 805 x 662)
// with its caption, items and starting value.
FormControls buildForm(QWidget *frmMain);
