#pragma once
// The live values over time, for the trend: a ring of a fixed number of
// samples, so a day at the fastest cycle fits in a bounded amount of memory
// and older samples leave as new ones come.

#include <QtGlobal>
#include <array>
#include <vector>

namespace device {

class LiveHistory {
public:
    static constexpr int kChannels = 8;
    // 24 hours at 5 reads a second.
    static constexpr qsizetype kDefaultCapacity = qsizetype(24) * 3600 * 5;

    struct Sample {
        qint64 msecs = 0;                      // since the epoch, never less than the sample before
        std::array<float, kChannels> values{}; // NaN in a gap
        bool gap = false;                      // the read wrote no value
        bool marked = false; // the reply was not a well-formed answer to its request
    };

    // One point of a channel's line: value NaN breaks the line there.
    struct Point {
        qint64 msecs;
        double value;
        bool marked;
    };

    explicit LiveHistory(qsizetype capacity = kDefaultCapacity);

    void append(Sample sample);
    void clear();
    qsizetype size() const { return static_cast<qsizetype>(m_times.size()); }
    qsizetype capacity() const { return m_capacity; }
    // Oldest first.
    Sample at(qsizetype i) const;
    qint64 msecsAt(qsizetype i) const { return m_times[slot(i)]; }
    // The first sample at or after msecs; size() when there is none.
    qsizetype lowerBound(qint64 msecs) const;
    // The sample nearest to msecs; -1 when empty.
    qsizetype nearest(qint64 msecs) const;

    using Line = std::vector<Point>;
    // The eight channels' lines over [from, to], with the samples either side
    // so they run to the edges. More than maxPoints samples are thinned to the
    // lowest and highest of each stretch, so no spike disappears, and the
    // first gap in it, so no gap disappears; a stretch is marked when any of it is.
    std::array<Line, kChannels> lines(qint64 from, qint64 to, int maxPoints) const;

private:
    std::size_t slot(qsizetype i) const
    {
        return static_cast<std::size_t>((m_first + i) % m_capacity);
    }
    void addStretch(std::array<Line, kChannels> &out, qsizetype begin, qsizetype end) const;

    qsizetype m_capacity;
    qsizetype m_first = 0; // the oldest sample's slot once the ring is full
    std::vector<qint64> m_times;
    std::vector<std::array<float, kChannels>> m_values;
    std::vector<quint8> m_flags;
};

} // namespace device
