#pragma once
// What the simulator's logs, set against the tool's own requests, say the
// window must show after a soak: requests of each kind, their spacing, and
// how many reads took a reply of at least three bytes.

#include "bench/sent_request.h"
#include "bench/simulator.h"

#include <QList>

namespace bench {

struct LineFigures {
    int reads = 0;            // function-3 requests on the line
    int writes = 0;           // function-6 requests
    int readKindChanges = 0;  // a read asking for other registers than the one before
    qint64 minSpacingMs = -1; // between consecutive requests of one simulator run
    int closeOnWire = 0;      // consecutive requests logged less than 190 ms apart
    qint64 maxLogLagMs = 0;   // the longest the simulator took to log a request
    int dropped = 0;          // requests left unanswered on purpose
    int replies = 0;          // replies sent, whatever their faults
    int unmatched = 0;        // logged requests the tool did not send: none expected
    // Reads that took a reply of at least three bytes: for certain, and at
    // most (a reply at the very edge of a read's time may fall either side).
    int countedSure = 0;
    int countedAtMost = 0;
};

// runs: the log of each simulator run, in order; sent: the tool's requests.
LineFigures lineFigures(const QList<QList<SimEntry>> &runs, const QList<SentRequest> &sent);

} // namespace bench
