#include "app/calibration_feature.h"

#include "app/calibration_dialog.h"
#include "app/context_menus.h"
#include "app/main_window.h"
#include "device/calibration_backup.h"
#include "device/calibration_history.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>

namespace {
constexpr int kFirstCoefficient = 2;
constexpr int kLastCoefficient = 9;

// The feature's texts in their own translation context.
struct CalibrationFeature {
    Q_DECLARE_TR_FUNCTIONS(CalibrationFeature)
};
} // namespace

void installCalibration(MainWindow &window)
{
    for (int i = kFirstCoefficient; i <= kLastCoefficient; ++i) {
        window.contextMenus().extend(window.controls().txtChannel.at(i), [&window, i](QMenu &menu) {
            QObject::connect(menu.addAction(CalibrationFeature::tr("Calibrate…")),
                             &QAction::triggered, &window,
                             [&window, i] { openCalibration(window, i); });
            QObject::connect(
                menu.addAction(CalibrationFeature::tr("Verify the calibration history")),
                &QAction::triggered, &window, [&window] { verifyCalibrationHistory(window); });
        });
    }
}

void openCalibration(MainWindow &window, int box)
{
    auto *dialog = new CalibrationDialog(window, box);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void verifyCalibrationHistory(MainWindow &window)
{
    const calibration::HistoryVerdict verdict =
        calibration::verifyHistory(calibration::historyPath(calibration::backupFolder()));
    auto *box = new QMessageBox(verdict.whole ? QMessageBox::Information : QMessageBox::Warning,
                                CalibrationFeature::tr("Calibration history"), verdict.text,
                                QMessageBox::Ok, &window);
    box->setObjectName(QStringLiteral("calibrationHistory"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}
