#pragma once
// The real window in a temporary program directory whose ports/COM4 is a
// pseudo-terminal with a scripted module on its far side.

#include "app/main_window.h"
#include "modbus/frame.h"
#include "tests/support/message_catcher.h"
#include "tests/support/front_lamp.h"
#include "tests/support/pty.h"
#include "tests/support/scripted_module.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <memory>

inline void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
}

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

// A function-3 reply carrying the given register values, CRC appended.
inline QByteArray readReply(int station, const QList<int> &values)
{
    QByteArray body = bytes({station, 3, 2 * static_cast<int>(values.size())});
    for (int v : values)
        body.append(bytes({(v >> 8) & 0xFF, v & 0xFF}));
    return modbus::WithCrc(body);
}

class WindowRig {
public:
    explicit WindowRig(const QByteArray &commSet = "4,19200\r\n", bool linkCom4 = true)
    {
        writeFile(dir.filePath(QStringLiteral("comm.set")), commSet);
        writeFile(dir.filePath(QStringLiteral("ModSet.set")), "0,2,16,0\r\n");
        if (linkCom4)
            pty.linkAs(dir.path(), 4);
        module =
            std::make_unique<ScriptedModule>(pty, [](const QByteArray &) { return QByteArray(); });
        window = std::make_unique<MainWindow>(dir.path());
    }

    const FormControls &ui() const { return window->controls(); }

    // Closes the window (and its port) and starts a new one on the same directory.
    void restart()
    {
        window.reset();
        window = std::make_unique<MainWindow>(dir.path());
    }

    QString frontLamp() const { return ::frontLamp(ui()); }

    QList<QByteArray> requestBytes() const
    {
        QList<QByteArray> out;
        for (const auto &r : module->requests())
            out << r.bytes;
        return out;
    }

    QTemporaryDir dir;
    Pty pty;
    std::unique_ptr<ScriptedModule> module;
    MessageCatcher catcher;
    std::unique_ptr<MainWindow> window;
};
