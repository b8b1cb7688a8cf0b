#pragma once
// A module on the master side of a Pty: each request the port sends is
// answered with responder(request), after delayMs when set, and recorded with
// the time it came. It is driven by a socket notifier, so it answers from
// inside the window's waits, which run the event loop of the same process.
//
//   Pty pty;
//   ScriptedModule module(pty, [](const QByteArray &req) { return replyTo(req); });
//   module.setDelayMs(30);
//   ... run the code under test ...
//   QCOMPARE(module.requests().size(), 1);
//
// Requests are cut into frames of frameLength bytes (8, the size of every
// request of the tool); bytes short of a frame wait for the rest. With a frame
// length of 0, each read of the master is one request. An empty reply sends nothing.

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

class Pty;
class QSocketNotifier;

class ScriptedModule : public QObject {
    Q_OBJECT

public:
    using Responder = std::function<QByteArray(const QByteArray &request)>;
    struct Request {
        QByteArray bytes;
        qint64 atMs; // since the module was created, see elapsedMs()
    };

    ScriptedModule(Pty &pty, Responder responder, QObject *parent = nullptr);
    ~ScriptedModule() override;

    void setResponder(Responder responder) { m_responder = std::move(responder); }
    void setDelayMs(int ms) { m_delayMs = ms; }
    void setFrameLength(int bytes) { m_frameLength = bytes; }

    const QList<Request> &requests() const { return m_requests; }
    void clearRequests() { m_requests.clear(); }
    QByteArray unframedBytes() const { return m_partial; }
    qint64 elapsedMs() const { return m_clock.elapsed(); }

signals:
    void requestReceived(const QByteArray &request);

private:
    void onReadable();
    void answer(const QByteArray &request);
    void stopListening();

    QPointer<Pty> m_pty;
    Responder m_responder;
    QSocketNotifier *m_notifier = nullptr;
    QList<Request> m_requests;
    QByteArray m_partial;
    QElapsedTimer m_clock;
    int m_delayMs = 0;
    int m_frameLength = 8;
};
