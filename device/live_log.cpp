#include "device/live_log.h"

#include <cmath>

namespace device {

LiveLog::LiveLog(QObject *parent, qsizetype capacity) : QObject(parent), m_history(capacity) {}

void LiveLog::clearHistory()
{
    m_history.clear();
    emit historyCleared();
}

bool LiveLog::startRecording(const QString &path)
{
    const bool started = m_writer.open(path, kCsvHeader);
    emit recordingChanged();
    return started;
}

void LiveLog::stopRecording()
{
    if (!recording())
        return;
    m_writer.close();
    emit recordingChanged();
}

void LiveLog::take(const ReadOutcome &outcome)
{
    if (isLiveRead(outcome))
        add(liveReadOf(outcome, QDateTime::currentDateTime()));
}

void LiveLog::add(const LiveRead &read)
{
    LiveHistory::Sample sample;
    sample.msecs = read.at.toMSecsSinceEpoch();
    sample.gap = !read.wrote;
    sample.marked = read.wrote && !read.wellFormed;
    for (std::size_t k = 0; k < sample.values.size(); ++k) {
        bool ok = false;
        const float value = read.texts[k].toFloat(&ok);
        sample.values[k] = ok ? value : std::nanf("");
    }
    m_history.append(sample);
    if (recording()) {
        if (!m_writer.writeRow(csvFields(read)))
            emit recordingFailed(m_writer.path(), m_writer.errorString());
        emit recordingChanged();
    }
    emit sampleAdded();
}

} // namespace device
