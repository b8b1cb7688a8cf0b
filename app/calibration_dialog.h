#pragma once
// Calibrates one coefficient, txtChannel(2) to (9), against a known current:
// measure, propose, back up the parameters, write, read back and check, and
// restore the old value on demand. Every exchange goes through the window's
// commands, so its texts, lamp and counters move as for the buttons.

#include "device/calibration.h"
#include "device/commands.h"

#include <QDialog>
#include <optional>

class MainWindow;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

class CalibrationDialog : public QDialog {
    Q_OBJECT
public:
    CalibrationDialog(MainWindow &window, int index);

    void reject() override; // not while an exchange runs

private:
    using Readings = std::vector<calibration::Reading>;
    using Step = std::function<void()>;

    bool isInput() const;
    int channel() const; // 1 to 4
    QString channelName() const;
    void build();
    QLineEdit *addField(class QFormLayout &form, const QString &name, const QString &label);

    void measure();
    void measured();
    void propose();
    void write();
    void restore();
    void checkMeter();
    void backUp(const Step &next);
    void saveBackup(const device::ReadOutcome &outcome, const Step &next);
    void writeValue(int value, bool restoring);
    void afterWrite(int value, std::optional<int> held, bool restoring);
    void showInputCheck(int value, std::optional<int> held, const Readings &readings,
                        bool restoring);
    void showCheck(int value, std::optional<int> held, std::optional<double> reading,
                   bool restoring);

    void readCoefficient(const std::function<void(std::optional<int>)> &next);
    void readLive(int count, const std::function<void(const Readings &)> &next,
                  const Readings &sofar = {});
    void begin();
    void end();
    void say(const QString &text);
    void fail(const QString &text);
    void updateButtons();

    MainWindow &m_window;
    int m_index;
    QLineEdit *m_reference = nullptr;
    QLineEdit *m_meter = nullptr;
    QSpinBox *m_reads = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_measurement = nullptr;
    QLabel *m_proposalText = nullptr;
    QLabel *m_backup = nullptr;
    QLabel *m_checkText = nullptr;
    QPushButton *m_measureButton = nullptr;
    QPushButton *m_writeButton = nullptr;
    QPushButton *m_restoreButton = nullptr;
    QPushButton *m_checkButton = nullptr;
    QPushButton *m_closeButton = nullptr;

    bool m_busy = false;
    bool m_stoppedCycle = false;
    bool m_measured = false;
    std::optional<int> m_old; // as measured
    Readings m_readings;      // inputs
    QString m_liveText;       // an output's box, for information
    calibration::Proposal m_proposal;
    std::optional<int> m_original; // before this dialog's first write
    QString m_backupPath;
    double m_reference0 = 0;    // the reference the last write aimed at
    std::optional<int> m_wrote; // an output's last value written, waiting for the meter
    std::optional<int> m_held;
};
