#include "app/calibration_feature.h"

#include "app/calibration_dialog.h"
#include "app/context_menus.h"
#include "app/main_window.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>

namespace {
constexpr int kFirstCoefficient = 2;
constexpr int kLastCoefficient = 9;
} // namespace

void installCalibration(MainWindow &window)
{
    for (int i = kFirstCoefficient; i <= kLastCoefficient; ++i) {
        window.contextMenus().extend(window.controls().txtChannel.at(i), [&window, i](QMenu &menu) {
            QAction *action =
                menu.addAction(QCoreApplication::translate("CalibrationFeature", "Calibrate…"));
            QObject::connect(action, &QAction::triggered, &window,
                             [&window, i] { openCalibration(window, i); });
        });
    }
}

void openCalibration(MainWindow &window, int box)
{
    auto *dialog = new CalibrationDialog(window, box);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}
