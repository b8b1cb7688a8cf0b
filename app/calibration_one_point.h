#pragma once
// Calibrates one coefficient against one known current: measure, propose,
// back up the parameters, write, read back and check, and restore the old
// value on demand.

#include "app/calibration_link.h"

#include <QWidget>

class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

class OnePointCalibration : public QWidget {
    Q_OBJECT
public:
    OnePointCalibration(CalibrationLink &link, QWidget *parent);
    void updateButtons();

private:
    using Readings = CalibrationLink::Readings;

    void build();
    QLineEdit *addField(QFormLayout &form, const QString &name, const QString &label);
    void measure();
    void measured();
    void propose();
    void write();
    void restore();
    void checkMeter();
    void afterWrite(int value, std::optional<int> held, bool restoring);
    void showInputCheck(int value, std::optional<int> held, const Readings &readings,
                        bool restoring);
    void showCheck(int value, std::optional<int> held, std::optional<double> reading,
                   bool restoring);
    void logWrite(int from, int to, const QString &kind);

    CalibrationLink &m_link;
    QLineEdit *m_reference = nullptr;
    QLineEdit *m_meter = nullptr;
    QSpinBox *m_reads = nullptr;
    QLabel *m_measurement = nullptr;
    QLabel *m_proposalText = nullptr;
    QLabel *m_backup = nullptr;
    QLabel *m_checkText = nullptr;
    QPushButton *m_measureButton = nullptr;
    QPushButton *m_writeButton = nullptr;
    QPushButton *m_restoreButton = nullptr;
    QPushButton *m_checkButton = nullptr;

    bool m_measured = false;
    std::optional<int> m_old;            // as measured
    Readings m_readings;                 // inputs
    std::optional<double> m_outputShown; // an output's live value in mA, for information
    calibration::Proposal m_proposal;
    double m_reference0 = 0;    // the reference the last write aimed at
    std::optional<int> m_wrote; // an output's last value written, waiting for the meter
    std::optional<int> m_held;
};
