#pragma once
// A pseudo-terminal pair standing in for a serial line. The program under test
// opens slavePath() as its port; the test plays the device on the master side.
// Both sides are raw, so every byte passes unchanged. The pair keeps a slave
// descriptor of its own, so the master never sees a hang-up when the port is
// closed, and bytes written while the port is closed wait in the line.

#include <QByteArray>
#include <QObject>
#include <QString>

class Pty : public QObject {
    Q_OBJECT

public:
    explicit Pty(QObject *parent = nullptr);
    ~Pty() override;

    bool isOpen() const { return m_master >= 0; } // false when openpty failed or after closeMaster
    QString slavePath() const { return m_slavePath; }
    int masterFd() const { return m_master; }
    int slaveFd() const { return m_slave; } // tcgetattr here shows the line settings in force

    bool writeToMaster(const QByteArray &bytes);
    // What the port sent: returns once expectedBytes have come, or, with
    // expectedBytes <= 0, once the line has been quiet for kQuietMs after the
    // first byte; in any case after timeoutMs. Does not run the event loop.
    QByteArray readFromMaster(int timeoutMs, int expectedBytes = 0);
    // The device goes away: the port side is hung up, as when an adapter is unplugged.
    void closeMaster();

    // Makes <programDir>/ports/COM<number> a symbolic link to target (replacing one).
    static bool linkPort(const QString &programDir, int number, const QString &target);
    bool linkAs(const QString &programDir, int number) const
    {
        return linkPort(programDir, number, m_slavePath);
    }

    static constexpr int kQuietMs = 50;

signals:
    void masterClosing(); // listeners on the master descriptor must let go of it now

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};
