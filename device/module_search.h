#pragma once
// Finding a module whose station or baud rate is unknown: the plan of probes,
// what an answer means, and a runner that probes through the port itself.
// Each probe reads the baud-rate and station registers (8 and 9).

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <optional>

class CommPort;

namespace modsearch {

constexpr int kFirstStation = 1;  // 0 is broadcast
constexpr int kLastStation = 247; // 248 to 255 are reserved
constexpr int kExceptionLength = 5;
constexpr int kReplyLength = 9;

struct Probe {
    int baud = 0;
    int station = 0;
    bool operator==(const Probe &other) const
    {
        return baud == other.baud && station == other.station;
    }
};

struct PlanInput {
    int presentBaud = 0;
    QList<int> bauds; // chosen from the baud list; the present one goes first
    int firstStation = kFirstStation;
    int lastStation = kLastStation;
    std::optional<int> stationBox;   // what txtStationID holds
    std::optional<int> savedStation; // what ModSet.set gave
};

// Within the present baud the station box's station, then the saved one, then
// the rest in order; other bauds in plain order. Stations outside 1..247 never.
QList<Probe> planProbes(const PlanInput &input);

// 100 ms at 19200 baud, 150 ms at 9600 and below.
int defaultTimeoutMs(int baud);

// At least 3.5 characters of 11 bits, in microseconds.
qint64 silenceUs(int baud);

// Whole milliseconds, rounded up: a wait never ends short, a reply never shows as 0 ms.
int msRoundedUp(qint64 us);

QByteArray probeRequest(int station);

// Where the first well-formed answer to request (a reply or an exception reply)
// starts in bytes: stray bytes before it, such as a glitch when the line turns
// or the tail of a late answer to the previous probe, are passed over.
std::optional<int> answerAt(const QByteArray &request, const QByteArray &bytes);

enum class Kind {
    Nothing, // no byte came
    Module,  // well-formed, its station register is the probed station
    Device,  // well-formed with another station register, or an exception reply
    Garbage, // bytes that are no valid frame
};

struct Answer {
    Kind kind = Kind::Nothing;
    Probe probe;
    int baudRegister = 0;
    int stationRegister = 0;
    int exceptionCode = -1; // set for an exception reply
    int replyMs = 0;        // from the request sent to the last byte taken
};

Answer classify(const Probe &probe, const QByteArray &request, const QByteArray &bytes);
// What answered, in the operator's words.
QString describe(const Answer &answer);

// "19200,N,8,1" with another baud rate; the baud of such a text, 0 when malformed.
QString withBaud(const QString &settings, int baud);
int baudOf(const QString &settings);

enum class Ending { Completed, FoundFirst, Stopped, PortLost, NotOpen };

struct Config {
    QList<Probe> plan;
    QHash<int, int> timeoutMs; // by baud rate; the default where none is given
    bool stopAtFirst = true;
    int timeoutFor(int baud) const { return timeoutMs.value(baud, defaultTimeoutMs(baud)); }
};

struct Progress {
    Probe probe;
    int done = 0;
    int planned = 0;
    qint64 elapsedMs = 0;
    qint64 leftMs = 0; // estimated
};

// The time the probes not yet done will take: each as long as its timeout and
// silence, scaled by how the probes done so far compared with that.
qint64 estimateLeftMs(const Config &config, int done, qint64 elapsedMs);

// Drives the open port directly, between the window's transactions; the
// event loop keeps running so that stop() can be called. The port ends with
// the settings and input settings it had, whatever the ending; open, unless
// it was lost meanwhile, when the next read reopens it as after any loss.
class Runner : public QObject {
    Q_OBJECT
public:
    explicit Runner(CommPort &port, QObject *parent = nullptr);

    Ending run(const Config &config);
    void stop() { m_stopRequested = true; }
    bool running() const { return m_running; }

signals:
    // Before each probe, and once more at the end with the probes sent.
    void progress(const modsearch::Progress &progress);
    // Each answer as it comes; garbage once per baud.
    void answered(const modsearch::Answer &answer);

private:
    std::optional<Ending> probeAll(const Config &config);
    bool switchTo(int baud);
    QByteArray exchange(const QByteArray &request, int timeoutMs, qint64 &replyUs);
    void waitSilence(int baud);
    bool pause(int ms);
    void restore();

    CommPort &m_port;
    QElapsedTimer m_lastActivity; // the last byte sent or received
    QElapsedTimer m_clock;
    QString m_savedSettings;
    int m_savedInputLen = 0;
    int m_savedInputMode = 0;
    int m_currentBaud = 0;
    int m_sent = 0; // probes sent in this run
    bool m_stopRequested = false;
    bool m_running = false;
};

} // namespace modsearch
