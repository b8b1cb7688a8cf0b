#include "app/main_window.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    MainWindow window(QCoreApplication::applicationDirPath());
    window.show();
    return QApplication::exec();
}
