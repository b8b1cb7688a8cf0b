// Grabs the window and the windows reached from its menus into PNG files,
// offscreen and in Chinese, for the README:
//   rv4820-screenshots PROGRAM_DIR OUT_DIR [SIM_INPUT]
// Against a simulated module it first runs "查询状态" and "读所有参数" so the
// three tabs (tab0.png .. tab2.png) show live values. Then the Tools menu with
// its Calibrate submenu (menus.png); a recording while it cycles for a while
// (status.png, trend.png); a search (search.png); and, when SIM_INPUT names the
// simulator's command input, a calibration of input 1 after its write
// (calibration.png).

#include "app/calibration_dialog.h"
#include "app/calibration_feature.h"
#include "app/main_window.h"
#include "app/search_dialog.h"
#include "app/search_feature.h"
#include "app/settings_places.h"
#include "app/translations.h"
#include "app/trend_feature.h"
#include "app/trend_window.h"
#include "device/commands.h"
#include "device/live_log.h"
#include "modbus/transactions.h"
#include "modbus/wait.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <functional>

namespace {
constexpr int kCycleMs = 20000;
constexpr int kQuickCycleMs = 300; // RV_SHOTS_QUICK: the test of this program, which also
                                   // divides the module's waits
constexpr int kStepMs = 50;
constexpr int kPatienceMs = 60000;        // for a search or a calibration step to end
constexpr int kStatusContext = 100;       // pixels of the client area above the status bar
constexpr int kInputOneBox = 2;           // txtChannel(2): "电流输入1参数值"
const char *const kHeldCurrent = "12.15"; // mA held on input 1, calibrated against 12.00

QString outDir;

bool save(const QPixmap &picture, const QString &name)
{
    const QString path = QDir(outDir).filePath(name);
    if (!picture.save(path)) {
        fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    printf("%s\n", qPrintable(path));
    return true;
}

// Handles events until done() holds; false when it does not within kPatienceMs.
bool waitUntil(const std::function<bool()> &done, const char *what)
{
    for (int waited = 0; waited < kPatienceMs; waited += kStepMs) {
        if (done())
            return true;
        modbus::WaitMs(kStepMs);
    }
    fprintf(stderr, "gave up waiting for %s\n", what);
    return false;
}

QPushButton *buttonNamed(QWidget &parent, const QString &text)
{
    for (auto *button : parent.findChildren<QPushButton *>())
        if (button->text() == text)
            return button;
    return nullptr;
}

// The offscreen platform draws each popup in a window of its own: they are
// painted over the window's picture where they stand, the canvas grown to hold them.
QPixmap withPopups(QWidget &window, const QList<QWidget *> &popups)
{
    const QPixmap shot = window.grab();
    QRect area(QPoint(0, 0), shot.size() / shot.devicePixelRatio());
    QList<QRect> places;
    for (QWidget *popup : popups) {
        places << QRect(window.mapFromGlobal(popup->mapToGlobal(QPoint(0, 0))), popup->size());
        area |= places.last();
    }
    QPixmap canvas(area.size() * shot.devicePixelRatio());
    canvas.setDevicePixelRatio(shot.devicePixelRatio());
    canvas.fill(window.palette().color(QPalette::Window));
    QPainter painter(&canvas);
    painter.drawPixmap(-area.topLeft(), shot);
    for (int i = 0; i < popups.size(); ++i)
        painter.drawPixmap(places[i].topLeft() - area.topLeft(), popups[i]->grab());
    return canvas;
}

bool grabTabs(MainWindow &window)
{
    QTabWidget *tabs = window.controls().SSTab1;
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        modbus::WaitMs(kStepMs);
        if (!save(window.clientArea()->grab(), QStringLiteral("tab%1.png").arg(tab)))
            return false;
    }
    tabs->setCurrentIndex(0);
    return true;
}

bool grabMenus(MainWindow &window)
{
    auto *tools = window.menuBar()->findChild<QMenu *>(QStringLiteral("menuTools"));
    window.activateWindow();
    window.menuBar()->setActiveAction(tools->menuAction());
    if (!waitUntil([tools] { return tools->isVisible(); }, "the Tools menu"))
        return false;
    QMenu *calibrate = nullptr;
    for (QAction *action : tools->actions())
        if (action->menu())
            calibrate = action->menu();
    tools->setActiveAction(calibrate->menuAction());
    if (!waitUntil([calibrate] { return calibrate->isVisible(); }, "the Calibrate submenu"))
        return false;
    const bool saved = save(withPopups(window, {tools, calibrate}), QStringLiteral("menus.png"));
    while (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
    return saved;
}

// The status bar with a little of the window above it, while a recording runs.
bool grabStatusBar(MainWindow &window)
{
    const QPixmap shot = window.grab();
    const int top = window.statusBar()->geometry().top() - kStatusContext;
    return save(shot.copy(QRect(0, top, window.width(), window.height() - top)),
                QStringLiteral("status.png"));
}

// Records while it cycles; grabs the status bar then, and the trend window
// over the last minute before the recording stops.
bool grabRecording(MainWindow &window, const QString &programDir)
{
    device::LiveLog &log = window.trend().log();
    const QString name =
        QDateTime::currentDateTime().toString(QStringLiteral("'rv4820-'yyyyMMdd-HHmmss'.csv'"));
    if (!log.startRecording(QDir(programDir).filePath(name))) {
        fprintf(stderr, "cannot record: %s\n", qPrintable(log.errorString()));
        return false;
    }
    window.controls().txtTimerSet->setText(QStringLiteral("50"));
    window.controls().cmdOneM->click();
    modbus::WaitMs(qEnvironmentVariableIsSet("RV_SHOTS_QUICK") ? kQuickCycleMs : kCycleMs);
    const bool status = grabStatusBar(window);
    window.controls().cmdStopOnce->click();
    modbus::WaitMs(500);
    TrendWindow *trend = window.trend().openTrend();
    trend->span().setCurrentIndex(0); // 1 min
    modbus::WaitMs(300);
    const bool saved = status && save(trend->grab(), QStringLiteral("trend.png"));
    trend->close();
    window.trend().stopRecording();
    return saved;
}

// Stations 1 to 4 at both bauds, going on after the module is found, so that
// the table shows what the other baud hears too.
bool grabSearch(MainWindow &window)
{
    openSearch(window);
    auto *dialog = window.findChild<SearchDialog *>();
    const auto text = [](const char *source) {
        return QCoreApplication::translate("SearchDialog", source);
    };
    dialog->findChild<QSpinBox *>(QStringLiteral("searchLast"))->setValue(4);
    for (auto *box : dialog->findChildren<QCheckBox *>())
        if (box->text() == text("Go on after the first module found"))
            box->setChecked(true);
    QPushButton *start = buttonNamed(*dialog, text("Start"));
    start->click();
    modbus::WaitMs(kStepMs);
    if (!waitUntil([start] { return start->isEnabled(); }, "the search"))
        return false;
    modbus::WaitMs(kStepMs);
    const bool saved = save(dialog->grab(), QStringLiteral("search.png"));
    dialog->close();
    return saved;
}

// Input 1 held a little high by the simulated calibrator, then calibrated
// against 12.00 mA: measured, written and checked.
bool grabCalibration(MainWindow &window, const QString &simInput)
{
    QFile calibrator(simInput);
    if (!calibrator.open(QIODevice::WriteOnly) ||
        calibrator.write(QByteArray("current 1 ") + kHeldCurrent + '\n') < 0) {
        fprintf(stderr, "cannot write to %s\n", qPrintable(simInput));
        return false;
    }
    calibrator.close();
    modbus::WaitMs(300);
    openCalibration(window, kInputOneBox);
    auto *dialog = window.findChild<CalibrationDialog *>();
    dialog->findChild<QLineEdit *>(QStringLiteral("reference"))->setText(QStringLiteral("12.00"));
    auto *measure = dialog->findChild<QPushButton *>(QStringLiteral("measure"));
    auto *measured = dialog->findChild<QLabel *>(QStringLiteral("measurement"));
    measure->click();
    if (!waitUntil([measured] { return !measured->text().isEmpty(); }, "the measurement"))
        return false;
    auto *checked = dialog->findChild<QLabel *>(QStringLiteral("checked"));
    dialog->findChild<QPushButton *>(QStringLiteral("write"))->click();
    if (!waitUntil([checked] { return !checked->text().isEmpty(); }, "the write's check"))
        return false;
    modbus::WaitMs(kStepMs);
    const bool saved = save(dialog->grab(), QStringLiteral("calibration.png"));
    dialog->close();
    return saved;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(settingsplaces::kApplicationName);
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    translations::install(app, chinese);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3 && args.size() != 4) {
        fprintf(stderr, "usage: rv4820-screenshots PROGRAM_DIR OUT_DIR [SIM_INPUT]\n");
        return 2;
    }
    outDir = args[2];
    if (qEnvironmentVariableIsSet("RV_SHOTS_QUICK"))
        modbus::setWaitDivisor(4);
    QDir().mkpath(outDir);
    MainWindow window(args[1]);
    window.show();
    window.commands().cmdReadAlarm(2);
    window.commands().comDoOnce();
    const bool ok = grabTabs(window) && grabMenus(window) && grabRecording(window, args[1]) &&
                    grabSearch(window) && (args.size() < 4 || grabCalibration(window, args[3]));
    return ok ? 0 : 1;
}
