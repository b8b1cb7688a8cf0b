// Grabs the window's three tabs into PNG files, offscreen, for the README:
//   rv4820-screenshots PROGRAM_DIR OUT_DIR
// Against a simulated module it first runs "查询状态" and "读所有参数" so
// the pictures show live values; then it cycles for a while and grabs the
// trend window too (trend.png).

#include "app/main_window.h"
#include "app/trend_feature.h"
#include "app/trend_window.h"
#include "device/commands.h"
#include "modbus/wait.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {
constexpr int kCycleMs = 20000;

int grabTrend(MainWindow &window, const QString &path)
{
    window.controls().SSTab1->setCurrentIndex(0);
    window.controls().txtTimerSet->setText(QStringLiteral("50"));
    window.controls().cmdOneM->click();
    modbus::WaitMs(kCycleMs);
    window.controls().cmdStopOnce->click();
    modbus::WaitMs(500);
    TrendWindow *trend = window.findChild<TrendFeature *>()->openTrend();
    trend->span().setCurrentIndex(0); // 1 min
    modbus::WaitMs(300);
    if (!trend->grab().save(path)) {
        fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    printf("%s\n", qPrintable(path));
    return 0;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        fprintf(stderr, "usage: rv4820-screenshots PROGRAM_DIR OUT_DIR\n");
        return 2;
    }
    MainWindow window(args[1]);
    window.show();
    window.commands().cmdReadAlarm(2);
    window.commands().comDoOnce();
    QDir().mkpath(args[2]);
    QTabWidget *tabs = window.controls().SSTab1;
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        modbus::WaitMs(50);
        const QString path = QDir(args[2]).filePath(QStringLiteral("tab%1.png").arg(tab));
        if (!window.grab().save(path)) {
            fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        printf("%s\n", qPrintable(path));
    }
    return grabTrend(window, QDir(args[2]).filePath(QStringLiteral("trend.png")));
}
