#include "app/main_window.h"
#include "app/settings_places.h"
#include "app/translations.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // No organisation name: the user's settings go to ~/.config/rv4820, not a
    // folder per vendor. The desktop file name lets a Wayland desktop match the
    // window to its menu entry and icon.
    QCoreApplication::setApplicationName(settingsplaces::kApplicationName);
    QGuiApplication::setDesktopFileName(QStringLiteral("rv4820-tool"));
    translations::install(app);
    MainWindow window(QCoreApplication::applicationDirPath());
    window.show();
    return QApplication::exec();
}
