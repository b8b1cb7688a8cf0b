#pragma once
// The live reads kept: every read of the live values goes into the history
// the trend shows and, while a recording runs, into its file as one row.
// Fed by Commands::readDone; knows nothing of windows. The file is written
// on a thread of its own; what it reports comes back here as signals.

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
    // Returns at once; the file is finished on the writer's thread.
    void stopRecording();
    bool recording() const { return m_recording; }
    // The file of the running recording, or of the last one.
    QString recordingPath() const { return m_path; }
    // Rows the writer has confirmed written.
    qint64 recordedRows() const { return m_rows; }
    QString errorString() const { return m_writer.errorString(); }
    // The seam for tests: how the file is synced, how many rows may wait.
    void setRecorderSync(CsvWriter::Sync sync, qsizetype queueRows = CsvWriter::kDefaultQueueRows);

    // A read of any kind; only reads of the live values are kept.
    void take(const device::ReadOutcome &outcome);
    void add(const LiveRead &read);

signals:
    void sampleAdded();
    void historyCleared();
    // A recording started or ended; recording() already tells which.
    void recordingChanged();
    void rowsRecorded(qint64 rows);
    // The file is complete on the disk, closed without a fault.
    void recordingFinished(const QString &path, qint64 rows);
    // The recording ended, or its end failed, because its file could not be
    // written; recording() is already false. Once per recording.
    void recordingFailed(const QString &path, const QString &reason);

private:
    void onProgress(quint64 serial, const CsvProgress &progress);
    void fail(const QString &reason);

    LiveHistory m_history;
    CsvWriter m_writer;
    bool m_recording = false;
    bool m_failed = false; // the recording's one box was asked for
    QString m_path;
    qint64 m_rows = 0;
    quint64 m_serial = 0; // tells the reports of an earlier recording apart
};

} // namespace device
