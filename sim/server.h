#pragma once
// Serves the module on one line: frames the incoming bytes, answers through
// the model, applies the requested faults and logs every frame.

#include "sim/faults.h"
#include "sim/framer.h"
#include "sim/line.h"
#include "sim/module_model.h"

#include <QElapsedTimer>
#include <QTextStream>
#include <QTimer>
#include <deque>

namespace sim {

class Server : public QObject {
    Q_OBJECT
public:
    Server(Line &line, ModuleModel &model, Faults &faults, int baud);

private:
    void onReceived(const QByteArray &bytes);
    void onSilence();
    void serve(const QByteArray &request);
    void reply(const QByteArray &bytes, const QStringList &notes);
    void sendDue();
    void log(const QString &direction, const QByteArray &bytes, const QStringList &notes);

    Line &m_line;
    ModuleModel &m_model;
    Faults &m_faults;
    Framer m_framer;
    QTimer m_silence;
    struct Late {
        qint64 dueMs;
        QByteArray bytes;
        QStringList notes;
    };
    // All replies wait equally long, so the first one is always due first.
    std::deque<Late> m_late;
    QTimer m_lateTimer;
    QElapsedTimer m_clock;
    QTextStream m_out;
};

} // namespace sim
