#pragma once
// Line faults played on demand: late, missing, corrupted, cut and noisy
// replies, drawn from one seeded generator so that a run can be repeated.

#include <QByteArray>
#include <QRandomGenerator>
#include <QStringList>

namespace sim {

struct FaultRates {
    int delayMs = 0;
    double drop = 0.0; // shares from 0 to 1
    double corrupt = 0.0;
    double truncate = 0.0;
    double noise = 0.0;
};

class Faults {
public:
    Faults(const FaultRates &rates, quint32 seed);

    int delayMs() const { return m_rates.delayMs; }

    // True when this request is to go unanswered.
    bool dropRequest();

    // What a UART at the wrong baud rate makes of a request: a few bytes that are no frame.
    QByteArray misheard();

    // The reply as it goes out; the names of the faults applied go to notes.
    QByteArray spoil(QByteArray reply, QStringList &notes);

private:
    bool chance(double share);
    QByteArray strayBytes();

    FaultRates m_rates;
    QRandomGenerator m_random;
};

} // namespace sim
