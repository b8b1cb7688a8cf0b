#include "device/live_log.h"

#include <QCoreApplication>
#include <cmath>

namespace device {

LiveLog::LiveLog(QObject *parent, qsizetype capacity) : QObject(parent), m_history(capacity) {}

void LiveLog::clearHistory()
{
    m_history.clear();
    emit historyCleared();
}

void LiveLog::setRecorderSync(CsvWriter::Sync sync, qsizetype queueRows)
{
    m_writer.setSync(std::move(sync), queueRows);
}

bool LiveLog::startRecording(const QString &path)
{
    stopRecording();
    const quint64 serial = ++m_serial;
    m_path = path;
    m_rows = 0;
    m_failed = false;
    // Called on the writer's thread, which holds its lock while this posts.
    m_recording = m_writer.open(path, kCsvHeader, [this, serial](const CsvProgress &progress) {
        QMetaObject::invokeMethod(
            this, [this, serial, progress] { onProgress(serial, progress); }, Qt::QueuedConnection);
    });
    emit recordingChanged();
    return m_recording;
}

void LiveLog::stopRecording()
{
    if (!m_recording)
        return;
    m_recording = false;
    m_writer.close();
    emit recordingChanged();
}

void LiveLog::onProgress(quint64 serial, const CsvProgress &progress)
{
    if (serial != m_serial)
        return;
    if (progress.rows != m_rows) {
        m_rows = progress.rows;
        emit rowsRecorded(m_rows);
    }
    if (!progress.ended)
        return;
    if (!progress.error.isEmpty())
        fail(progress.error);
    else if (!m_failed)
        emit recordingFinished(m_path, m_rows);
}

// The state shows the end before the box says why.
void LiveLog::fail(const QString &reason)
{
    stopRecording();
    if (m_failed)
        return;
    m_failed = true;
    emit recordingFailed(m_path, reason);
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
    if (m_recording && !m_writer.writeRow(csvFields(read)))
        fail(QCoreApplication::translate(
            "recording", "the disk did not keep up, and %n row(s) could not be written", nullptr,
            int(m_writer.droppedRows())));
    emit sampleAdded();
}

} // namespace device
