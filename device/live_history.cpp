#include "device/live_history.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace device {

namespace {
constexpr quint8 kGap = 1;
constexpr quint8 kMarked = 2;
} // namespace

LiveHistory::LiveHistory(qsizetype capacity) : m_capacity(std::max<qsizetype>(capacity, 1)) {}

void LiveHistory::append(Sample sample)
{
    // The wall clock may step back; the chart's keys must not.
    if (size() > 0)
        sample.msecs = std::max(sample.msecs, msecsAt(size() - 1));
    if (sample.gap)
        sample.values.fill(std::nanf(""));
    const quint8 flags = (sample.gap ? kGap : 0) | (sample.marked ? kMarked : 0);
    if (size() < m_capacity) {
        // Reserved at the first sample: an unused history costs nothing.
        if (m_times.empty()) {
            m_times.reserve(static_cast<std::size_t>(m_capacity));
            m_values.reserve(static_cast<std::size_t>(m_capacity));
            m_flags.reserve(static_cast<std::size_t>(m_capacity));
        }
        m_times.push_back(sample.msecs);
        m_values.push_back(sample.values);
        m_flags.push_back(flags);
        return;
    }
    const std::size_t s = slot(0);
    m_times[s] = sample.msecs;
    m_values[s] = sample.values;
    m_flags[s] = flags;
    m_first = (m_first + 1) % m_capacity;
}

void LiveHistory::clear()
{
    // Gives the memory back too.
    std::vector<qint64>().swap(m_times);
    std::vector<std::array<float, kChannels>>().swap(m_values);
    std::vector<quint8>().swap(m_flags);
    m_first = 0;
}

LiveHistory::Sample LiveHistory::at(qsizetype i) const
{
    const std::size_t s = slot(i);
    return {m_times[s], m_values[s], (m_flags[s] & kGap) != 0, (m_flags[s] & kMarked) != 0};
}

qsizetype LiveHistory::lowerBound(qint64 msecs) const
{
    qsizetype low = 0, high = size();
    while (low < high) {
        const qsizetype mid = low + (high - low) / 2;
        if (msecsAt(mid) < msecs)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

qsizetype LiveHistory::nearest(qint64 msecs) const
{
    const qsizetype after = lowerBound(msecs);
    if (after == size())
        return after - 1;
    if (after > 0 && msecs - msecsAt(after - 1) < msecsAt(after) - msecs)
        return after - 1;
    return after;
}

std::array<LiveHistory::Line, LiveHistory::kChannels> LiveHistory::lines(qint64 from, qint64 to,
                                                                         int maxPoints) const
{
    const qsizetype begin = std::max<qsizetype>(lowerBound(from) - 1, 0);
    const qsizetype end = std::min(lowerBound(to + 1) + 1, size());
    const qsizetype count = std::max<qsizetype>(end - begin, 0);
    // Two points a stretch, the lowest and the highest, and a gap's.
    const qsizetype stretches = std::max(maxPoints / 2, 1);
    std::array<Line, kChannels> out;
    for (Line &line : out)
        line.reserve(static_cast<std::size_t>(std::min(count, 3 * stretches)));
    if (count <= maxPoints) {
        for (qsizetype i = begin; i < end; ++i) {
            const std::size_t s = slot(i);
            for (std::size_t c = 0; c < out.size(); ++c)
                out[c].push_back({m_times[s], m_values[s][c], (m_flags[s] & kMarked) != 0});
        }
        return out;
    }
    for (qsizetype k = 0; k < stretches; ++k)
        addStretch(out, begin + count * k / stretches, begin + count * (k + 1) / stretches);
    return out;
}

// One pass over the stretch for all channels: over a day this is the cost of a
// redraw. A gap anywhere in it stays, as a NaN point in its place, so the line breaks.
void LiveHistory::addStretch(std::array<Line, kChannels> &out, qsizetype begin, qsizetype end) const
{
    constexpr float kInf = std::numeric_limits<float>::infinity();
    std::array<float, kChannels> low, high;
    low.fill(kInf);
    high.fill(-kInf);
    std::array<qsizetype, kChannels> lowAt{}, highAt{};
    qsizetype gapAt = -1;
    bool marked = false;
    const auto capacity = static_cast<std::size_t>(m_capacity);
    std::size_t s = slot(begin);
    for (qsizetype i = begin; i < end; ++i, s = s + 1 == capacity ? 0 : s + 1) {
        marked = marked || (m_flags[s] & kMarked) != 0;
        if ((m_flags[s] & kGap) != 0 && gapAt < 0)
            gapAt = i;
        const std::array<float, kChannels> &values = m_values[s];
        // A NaN compares false both ways, so gaps drop out by themselves.
        for (std::size_t c = 0; c < kChannels; ++c) {
            if (values[c] < low[c])
                low[c] = values[c], lowAt[c] = i;
            if (values[c] > high[c])
                high[c] = values[c], highAt[c] = i;
        }
    }
    for (std::size_t c = 0; c < kChannels; ++c) {
        if (low[c] == kInf) {
            out[c].push_back({m_times[slot(begin)], std::nan(""), marked});
            continue;
        }
        std::array<qsizetype, 3> at{std::min(lowAt[c], highAt[c]), std::max(lowAt[c], highAt[c]),
                                    gapAt};
        std::sort(at.begin(), at.end());
        bool first = true;
        for (std::size_t k = 0; k < at.size(); ++k) {
            if (at[k] < 0 || (k > 0 && at[k] == at[k - 1]))
                continue;
            const double value = at[k] == gapAt ? std::nan("") : m_values[slot(at[k])][c];
            const bool gap = std::isnan(value);
            out[c].push_back({m_times[slot(at[k])], value, first && marked && !gap});
            first = first && gap;
        }
    }
}

} // namespace device
