#pragma once
// Calibrates one coefficient, txtChannel(2) to (9): at one point, or checked at
// several points as found and as left with a record of it. Opened from a
// context menu, it never runs an event loop of its own.

#include <QDialog>

class CalibrationLink;
class MainWindow;
class MultiPointCheck;
class OnePointCalibration;
class CalibrationRecordWidget;
class QLabel;
class QPushButton;
class QTabWidget;

class CalibrationDialog : public QDialog {
    Q_OBJECT
public:
    CalibrationDialog(MainWindow &window, int index);

    void reject() override; // not while a write waits for its answer

private:
    void cancel();
    void updateButtons();
    void showFailure(const QString &text);

    CalibrationLink *m_link;
    OnePointCalibration *m_onePoint = nullptr;
    MultiPointCheck *m_multiPoint = nullptr;
    CalibrationRecordWidget *m_record = nullptr;
    QLabel *m_status = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QPushButton *m_closeButton = nullptr;
};
