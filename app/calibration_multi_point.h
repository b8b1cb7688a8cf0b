#pragma once
// The check at several points as found, the gain that best fits them, its
// write after a backup, and the same check as left.

#include "app/calibration_link.h"
#include "device/calibration_check.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

class MultiPointCheck : public QWidget {
    Q_OBJECT
public:
    MultiPointCheck(CalibrationLink &link, QWidget *parent);
    void updateButtons();
    bool checking() const { return m_next >= 0; }
    void cancel(); // ends a check at any point
    // What the certificate holds of this check: points, tables, adjustment.
    calibration::Record record() const;
    bool hasResults() const { return !m_asFound.empty(); }

signals:
    void changed(); // its state or its results

private:
    void build();
    QLineEdit *addField(class QFormLayout &form, const char *name, const QString &label,
                        const QString &text);
    void check();
    void startCheck(bool asLeft);
    void instruct();
    void take();
    void taken(const calibration::Taken &result);
    void finish();
    void adjust();
    void adjusted(std::optional<int> held);
    void showTable(QTableWidget *table, const std::vector<calibration::PointResult> &points);
    QString fitText() const;

    CalibrationLink &m_link;
    QLineEdit *m_points = nullptr;
    QLineEdit *m_tolerance = nullptr;
    QSpinBox *m_reads = nullptr;
    QLineEdit *m_meter = nullptr;
    QLabel *m_instruction = nullptr;
    QLabel *m_foundLabel = nullptr;
    QTableWidget *m_foundTable = nullptr;
    QLabel *m_leftLabel = nullptr;
    QTableWidget *m_leftTable = nullptr;
    QLabel *m_verdict = nullptr;
    QPushButton *m_checkButton = nullptr;
    QPushButton *m_takeButton = nullptr;
    QPushButton *m_adjustButton = nullptr;

    std::vector<double> m_planned;
    double m_tol = 0;
    int m_readsPerPoint = 0;
    int m_next = -1; // the point to take, -1: no check runs
    bool m_asLeftRun = false;
    std::optional<int> m_old;
    std::vector<calibration::PointResult> m_taking, m_asFound, m_asLeft;
    std::optional<calibration::Fit> m_fit;     // as proposed from the points found
    std::optional<calibration::Fit> m_written; // as written and kept
};
