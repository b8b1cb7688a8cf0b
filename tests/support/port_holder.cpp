// Plays "another program" that holds a serial port: opens the device given as
// its argument as any Qt program would, prints "held" and keeps it until killed.

#include <QCoreApplication>
#include <QFileInfo>
#include <QSerialPort>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: port_holder <device>\n");
        return 2;
    }
    const QFileInfo device(QString::fromLocal8Bit(argv[1]));
    QSerialPort port(device.exists() ? device.canonicalFilePath() : device.filePath());
    if (!port.open(QIODevice::ReadWrite)) {
        std::fprintf(stderr, "%s\n", qPrintable(port.errorString()));
        return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    return app.exec();
}
