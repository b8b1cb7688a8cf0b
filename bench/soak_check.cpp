#include "bench/soak_check.h"

#include "modbus/transactions.h"

#include <algorithm>
#include <optional>

namespace bench {

namespace {
constexpr int kReadFunction = 3;
constexpr int kMinCounted = 3;
constexpr qint64 kEdgeMs = 2;       // the log's whole milliseconds, and send to record
constexpr qint64 kMaxLagMs = 1000;  // the simulator logs a request at most this late
constexpr qint64 kRecordLagMs = 50; // or this much before the tool records sending it
constexpr qint64 kBeforeMs = 60000; // times count from a minute before the first request

struct Transaction {
    qint64 at; // the tool sent it (pending input was thrown away just before)
    QByteArray bytes;
    int sure = 0;   // reply bytes it took for certain
    int atMost = 0; // reply bytes it may have taken
    bool isRead() const { return bytes.size() > 1 && bytes[1] == kReadFunction; }
    qint64 takenAt() const
    {
        return at + (isRead() ? modbus::kReadFirstWaitMs + modbus::kReadSecondWaitMs
                              : modbus::kWriteWaitMs);
    }
};

class Attribution {
public:
    Attribution(const QList<SentRequest> &sent)
    {
        m_start = sent.isEmpty() ? 0 : sent.first().timeOfDayMs - kBeforeMs;
        for (const SentRequest &s : sent)
            m_tool.append({time(s.timeOfDayMs), s.bytes});
    }
    qint64 time(qint64 timeOfDayMs) const { return msAfter(m_start, timeOfDayMs); }

    // The tool's request that the logged one is: the last one like it sent
    // before the simulator logged it. -1 when there is none.
    qsizetype match(const SimEntry &request, qint64 &lagMs)
    {
        const qint64 at = time(request.ms);
        qsizetype found = -1;
        for (qsizetype i = m_cursor; i < m_tool.size() && m_tool[i].at <= at + kRecordLagMs; ++i) {
            if (m_tool[i].bytes == request.bytes && at - m_tool[i].at <= kMaxLagMs)
                found = i;
        }
        if (found >= 0) {
            m_cursor = found + 1;
            lagMs = std::max(lagMs, at - m_tool[found].at);
        }
        return found;
    }

    // A reply logged after request k: the transaction whose time, from its
    // send to its take, holds it took it. The take may come late on a busy
    // machine, but always before the next request.
    void take(const SimEntry &reply, qsizetype k)
    {
        const qint64 t = time(reply.ms);
        const int n = static_cast<int>(reply.bytes.size());
        qsizetype m = k;
        while (m + 1 < m_tool.size() && m_tool[m + 1].at < t - kEdgeMs)
            ++m;
        const bool nextNear = m + 1 < m_tool.size() && m_tool[m + 1].at <= t + kEdgeMs;
        if (nextNear) // it may have come after that one threw pending input away
            m_tool[m + 1].atMost += n;
        Transaction &tr = m_tool[m];
        if (t < tr.takenAt() - kEdgeMs) {
            tr.sure += n;
            tr.atMost += n;
        } else if (m + 1 >= m_tool.size() || t < m_tool[m + 1].at) {
            tr.atMost += n;
        }
    }

    void count(LineFigures &f) const
    {
        for (const Transaction &tr : m_tool) {
            if (!tr.isRead())
                continue;
            f.countedSure += tr.sure >= kMinCounted ? 1 : 0;
            f.countedAtMost += tr.atMost >= kMinCounted ? 1 : 0;
        }
    }

private:
    qint64 m_start = 0;
    QList<Transaction> m_tool;
    qsizetype m_cursor = 0;
};

void countRequest(const SimEntry &e, LineFigures &f, std::optional<QByteArray> &lastKind)
{
    f.dropped += e.notes.contains(QLatin1String("dropped")) ? 1 : 0;
    if (e.function() != kReadFunction) {
        ++f.writes;
        return;
    }
    ++f.reads;
    const QByteArray kind = e.bytes.mid(2, 4); // start and quantity
    f.readKindChanges += lastKind && *lastKind != kind ? 1 : 0;
    lastKind = kind;
}
} // namespace

LineFigures lineFigures(const QList<QList<SimEntry>> &runs, const QList<SentRequest> &sent)
{
    LineFigures f;
    Attribution attribution(sent);
    std::optional<QByteArray> lastKind;
    for (const QList<SimEntry> &log : runs) {
        qsizetype current = -1;
        std::optional<qint64> lastRequestAt;
        for (const SimEntry &e : log) {
            if (e.request) {
                countRequest(e, f, lastKind);
                if (lastRequestAt) {
                    const qint64 spacing = msAfter(*lastRequestAt, e.ms);
                    f.minSpacingMs =
                        f.minSpacingMs < 0 ? spacing : std::min(f.minSpacingMs, spacing);
                }
                lastRequestAt = e.ms;
                current = attribution.match(e, f.maxLogLagMs);
                f.unmatched += current < 0 ? 1 : 0;
            } else {
                ++f.replies;
                if (current >= 0)
                    attribution.take(e, current);
            }
        }
    }
    attribution.count(f);
    return f;
}

} // namespace bench
