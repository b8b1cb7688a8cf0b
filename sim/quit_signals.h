#pragma once
// Turns SIGINT and SIGTERM into a clean end of the event loop, so that the
// pseudo-terminal link is removed on the way out. A signal handler may only
// write to a pipe; the rest happens on the event loop.

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace sim {

class QuitSignals : public QObject {
    Q_OBJECT
public:
    QuitSignals();
    ~QuitSignals() override;

    bool isReady() const { return m_notifier != nullptr; }

signals:
    void quitRequested(int signalNumber);

private:
    void onSignal();

    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace sim
