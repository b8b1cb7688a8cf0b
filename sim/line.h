#pragma once
// The simulator's end of the serial line: a real serial device or the master
// side of a pseudo-terminal.

#include <QByteArray>
#include <QObject>

namespace sim {

class Line : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~Line() override = default;

    virtual bool send(const QByteArray &bytes) = 0;
    // False while the client has set the line to another baud rate than the module's.
    virtual bool atModuleBaud() const { return true; }

signals:
    void received(const QByteArray &bytes);
    // The line cannot be used any more; the run should end.
    void failed(const QString &reason);
};

} // namespace sim
