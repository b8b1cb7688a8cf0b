#include "app/main_menus.h"

#include "app/about_box.h"
#include "app/calibration_feature.h"
#include "app/main_window.h"
#include "app/parameter_actions.h"
#include "app/search_feature.h"
#include "app/trend_feature.h"
#include "device/live_log.h"
#include "device/parameter_file.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

namespace {
constexpr int kFirstCoefficient = 2;
constexpr int kLastCoefficient = 9;

// The entries share their context-menu twins' texts and translations.

// The work starts once the menu's handler has returned: it may wait for the
// module, and a wait handles events.
template <typename Work>
QAction *add(QMenu *menu, const QString &text, MainWindow &window, Work work)
{
    QAction *action = menu->addAction(text);
    QObject::connect(action, &QAction::triggered, &window, work, Qt::QueuedConnection);
    return action;
}

void addFileMenu(MainWindow &window)
{
    QMenu *menu = window.menuBar()->addMenu(MainWindow::tr("&File"));
    menu->setObjectName(QStringLiteral("menuFile"));
    ParameterActions &parameters = window.parameterActions();
    add(menu, ParameterActions::tr("Save the module's parameters to a file…"), window,
        [&parameters] { parameters.saveToFile(); });
    add(menu, ParameterActions::tr("Load parameters from a file…"), window,
        [&parameters] { parameters.loadFromFile(); });
    menu->addSeparator();
    TrendFeature &trend = window.trend();
    QAction *record = add(menu, QString(), window, [&trend] {
        if (trend.log().recording())
            trend.stopRecording();
        else
            trend.record();
    });
    const auto name = [&trend, record] {
        record->setText(trend.log().recording() ? TrendFeature::tr("Stop recording")
                                                : TrendFeature::tr("Record to a file…"));
    };
    name();
    QObject::connect(&trend.log(), &device::LiveLog::recordingChanged, record, name);
    menu->addSeparator();
    QAction *quit = add(menu, MainWindow::tr("Quit"), window, [&window] { window.close(); });
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void addToolsMenu(MainWindow &window)
{
    QMenu *menu = window.menuBar()->addMenu(MainWindow::tr("&Tools"));
    menu->setObjectName(QStringLiteral("menuTools"));
    QAction *trend =
        add(menu, TrendFeature::tr("Trend…"), window, [&window] { window.trend().openTrend(); });
    trend->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T)); // the one Ctrl+T of the window
    add(menu, QCoreApplication::translate("SearchDialog", "Find the module…"), window,
        [&window] { openSearch(window); });
    QMenu *calibrate = menu->addMenu(MainWindow::tr("Calibrate"));
    for (int box = kFirstCoefficient; box <= kLastCoefficient; ++box)
        add(calibrate, paramfile::valueKey(box), window,
            [&window, box] { openCalibration(window, box); });
    calibrate->addSeparator();
    add(calibrate,
        QCoreApplication::translate("CalibrationFeature", "Verify the calibration history"), window,
        [&window] { verifyCalibrationHistory(window); });
}

void addHelpMenu(MainWindow &window)
{
    QMenu *menu = window.menuBar()->addMenu(MainWindow::tr("&Help"));
    menu->setObjectName(QStringLiteral("menuHelp"));
    add(menu, MainWindow::tr("About"), window, [&window] { showAbout(window); });
}

// What each box's context menu offers, said where the operator points.
void addMenuHints(MainWindow &window)
{
    const FormControls &ui = window.controls();
    for (QLineEdit *box : ui.txtCurrentInput)
        box->setToolTip(MainWindow::tr("Right-click: trend of the live values (Ctrl+T), record "
                                       "them to a file"));
    for (int i = 0; i < static_cast<int>(ui.txtChannel.size()); ++i)
        ui.txtChannel.at(i)->setToolTip(
            i >= kFirstCoefficient
                ? MainWindow::tr("Right-click: calibrate this coefficient, save the module's "
                                 "parameters to a file, load them from a file")
                : MainWindow::tr("Right-click: save the module's parameters to a file, load them "
                                 "from a file"));
    ui.txtStationID->setToolTip(
        MainWindow::tr("Right-click: find the module when its station or baud is unknown"));
}
} // namespace

void installMenuBar(MainWindow &window)
{
    addMenuHints(window);
    addFileMenu(window);
    addToolsMenu(window);
    addHelpMenu(window);
}
