// Grabs the window's three tabs into PNG files, offscreen, for the README:
//   rv4820-screenshots PROGRAM_DIR OUT_DIR
// Against a simulated module it first runs "查询状态" and "读所有参数" so
// the pictures show live values.

#include "app/main_window.h"
#include "device/commands.h"
#include "modbus/wait.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>

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
    return 0;
}
