#pragma once
// The live reads kept: every read of the live values goes into the history
// the trend shows and, while a recording runs, into its file as one row.
// Fed by Commands::readDone; knows nothing of windows.

#include "device/csv_recorder.h"
#include "device/live_history.h"
#include "device/live_read.h"

#include <QObject>

namespace device {

class LiveLog : public QObject {
    Q_OBJECT
public:
    explicit LiveLog(QObject *parent = nullptr, qsizetype capacity = LiveHistory::kDefaultCapacity);

    const LiveHistory &history() const { return m_history; }
    void clearHistory();

    // Replaces path. False, with the reason in errorString, when it cannot be made.
    bool startRecording(const QString &path);
    void stopRecording();
    bool recording() const { return m_writer.isOpen(); }
    QString recordingPath() const { return m_writer.path(); }
    qint64 recordedRows() const { return m_writer.rows(); }
    QString errorString() const { return m_writer.errorString(); }

    // A read of any kind; only reads of the live values are kept.
    void take(const device::ReadOutcome &outcome);
    void add(const LiveRead &read);

signals:
    void sampleAdded();
    void historyCleared();
    void recordingChanged();
    // The recording ended because its file could not be written.
    void recordingFailed(const QString &path, const QString &reason);

private:
    LiveHistory m_history;
    CsvWriter m_writer;
};

} // namespace device
