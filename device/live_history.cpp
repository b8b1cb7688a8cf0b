#include "device/live_history.h"

#include <algorithm>
#include <cmath>

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

std::vector<LiveHistory::Point> LiveHistory::line(int channel, qint64 from, qint64 to,
                                                  int maxPoints) const
{
    const qsizetype begin = std::max<qsizetype>(lowerBound(from) - 1, 0);
    const qsizetype end = std::min(lowerBound(to + 1) + 1, size());
    std::vector<Point> out;
    const qsizetype count = end - begin;
    // Two points a stretch, the lowest and the highest.
    const qsizetype stretches = std::max(maxPoints / 2, 1);
    if (count <= maxPoints) {
        out.reserve(static_cast<std::size_t>(std::max<qsizetype>(count, 0)));
        for (qsizetype i = begin; i < end; ++i) {
            const std::size_t s = slot(i);
            out.push_back({m_times[s], m_values[s][static_cast<std::size_t>(channel)],
                           (m_flags[s] & kMarked) != 0});
        }
        return out;
    }
    out.reserve(static_cast<std::size_t>(2 * stretches));
    for (qsizetype k = 0; k < stretches; ++k)
        addStretch(out, channel, begin + count * k / stretches,
                   begin + count * (k + 1) / stretches);
    return out;
}

void LiveHistory::addStretch(std::vector<Point> &out, int channel, qsizetype begin,
                             qsizetype end) const
{
    const auto c = static_cast<std::size_t>(channel);
    const auto capacity = static_cast<std::size_t>(m_capacity);
    qsizetype low = -1, high = -1;
    float lowValue = 0, highValue = 0;
    bool marked = false;
    // Walks the slots without a division per sample: this runs over a whole day.
    for (auto [i, s] = std::pair{begin, slot(begin)}; i < end;
         ++i, s = s + 1 == capacity ? 0 : s + 1) {
        const float v = m_values[s][c];
        marked = marked || (m_flags[s] & kMarked) != 0;
        if (std::isnan(v))
            continue;
        if (low < 0 || v < lowValue)
            low = i, lowValue = v;
        if (high < 0 || v > highValue)
            high = i, highValue = v;
    }
    if (low < 0) {
        out.push_back({m_times[slot(begin)], std::nan(""), marked});
        return;
    }
    const auto point = [&](qsizetype i, bool mark) {
        const std::size_t s = slot(i);
        out.push_back({m_times[s], m_values[s][c], mark});
    };
    point(std::min(low, high), marked);
    if (low != high)
        point(std::max(low, high), false);
}

} // namespace device
