#pragma once
// A module on the master side of a Pty: every 8-byte request is recorded with
// the time it came and answered with reply(request) (nothing when empty). It
// runs from the event loop, so it answers inside the window's waits.

#include "tests/support/pty.h"

class ScriptedModule : public QObject {
public:
    struct Request {
        QByteArray bytes;
        qint64 atMs;
    };

    explicit ScriptedModule(Pty &pty)
        : m_pty(pty), m_notifier(pty.masterFd(), QSocketNotifier::Read)
    {
        m_clock.start();
        connect(&m_notifier, &QSocketNotifier::activated, this, &ScriptedModule::onReadable);
        // A notifier on a closed descriptor would fire for ever.
        pty.onClosing = [this] { m_notifier.setEnabled(false); };
    }
    ~ScriptedModule() override { m_pty.onClosing = nullptr; }

    QList<QByteArray> sent() const
    {
        QList<QByteArray> out;
        for (const Request &r : requests)
            out << r.bytes;
        return out;
    }

    std::function<QByteArray(const QByteArray &)> reply;
    QList<Request> requests;
    std::function<void()> onRequest; // runs as each request comes

private:
    void onReadable()
    {
        char buf[256];
        const ssize_t n = ::read(m_pty.masterFd(), buf, sizeof buf);
        if (n <= 0)
            return;
        m_partial.append(buf, n);
        for (; m_partial.size() >= 8; m_partial.remove(0, 8)) {
            requests.append({m_partial.left(8), m_clock.elapsed()});
            if (onRequest)
                onRequest();
            if (reply)
                m_pty.writeToMaster(reply(m_partial.left(8)));
        }
    }

    Pty &m_pty;
    QSocketNotifier m_notifier;
    QElapsedTimer m_clock;
    QByteArray m_partial;
};
