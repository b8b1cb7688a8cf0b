#pragma once
// The calibration record: who did it with which reference instrument (the
// instrument remembered between runs), and the certificate as a PDF with a
// CSV of its points beside it.

#include "device/calibration_record.h"

#include <QWidget>

class CalibrationLink;
class MultiPointCheck;
class QLabel;
class QLineEdit;
class QPushButton;

class CalibrationRecordWidget : public QWidget {
    Q_OBJECT
public:
    CalibrationRecordWidget(CalibrationLink &link, MultiPointCheck &check, QWidget *parent);
    void updateButtons();

private:
    QLineEdit *addField(class QFormLayout &form, const char *name, const QString &label);
    void certificate();
    void save(const QString &path);

    CalibrationLink &m_link;
    MultiPointCheck &m_check;
    QLineEdit *m_technician = nullptr;
    QLineEdit *m_instrument = nullptr;
    QLineEdit *m_serial = nullptr;
    QLineEdit *m_due = nullptr;
    QLabel *m_saved = nullptr;
    QPushButton *m_certificateButton = nullptr;
    calibration::Record m_record; // numbered when the file is picked
};
