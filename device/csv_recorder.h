#pragma once
// A CSV file (RFC 4180, UTF-8, CRLF) written one row at a time by a thread
// of its own, which owns every write, sync and close, so the caller never
// waits for the disk, however long it stalls. Rows wait in a bounded queue;
// the thread writes whatever has come, pushes it to the disk, and reports
// the rows written. A failure closes the file with the whole rows written
// before it, and is reported once.

#include <QFile>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace device {

// What the writer's thread says of one file, on that thread.
struct CsvProgress {
    qint64 rows = 0;    // rows written to the file so far
    bool ended = false; // the file is closed; nothing more comes
    QString error;      // why it ended before its close was asked for; empty otherwise
};

class CsvWriter {
public:
    // Pushes the data written to fd to the disk; false with the reason when it cannot.
    using Sync = std::function<bool(int fd, QString *reason)>;
    using Listener = std::function<void(const CsvProgress &)>;
    // About eight minutes of the fastest cycle, under a megabyte.
    static constexpr qsizetype kDefaultQueueRows = 10000;

    CsvWriter();
    CsvWriter(const CsvWriter &) = delete;
    CsvWriter &operator=(const CsvWriter &) = delete;
    // Leaves an open file to its thread to finish, without waiting for it.
    ~CsvWriter();

    // The seam for tests: how the thread syncs, and how many rows may wait.
    void setSync(Sync sync, qsizetype queueRows = kDefaultQueueRows);

    // Creates or replaces path, here; the header and the rows follow on the
    // thread, which tells listener of its progress until the file is closed.
    bool open(const QString &path, const QString &header, Listener listener);
    // Queues one row. False when the queue is full: the file is then ended,
    // what waits in the queue is dropped, and droppedRows says how many.
    bool writeRow(const QStringList &fields);
    // The thread writes what is queued, syncs and closes. Returns at once.
    void close();

    bool isOpen() const { return m_job != nullptr; }
    // Why the last open failed.
    QString errorString() const { return m_error; }
    // Rows lost to the last overflow, the one that did not fit included.
    qsizetype droppedRows() const { return m_dropped; }

    // One line: fields with a comma, a quote or a line break are quoted.
    static QByteArray line(const QStringList &fields);
    // Waits at most ms for every writer's thread to finish its file; at the
    // program's end, after its windows have gone.
    static bool waitForAll(int ms);

private:
    struct Job;
    static void run(const std::shared_ptr<Job> &job);

    Sync m_sync;
    qsizetype m_queueRows = kDefaultQueueRows;
    std::shared_ptr<Job> m_job;
    std::vector<std::weak_ptr<Job>> m_finishing; // closed, their threads still at work
    QString m_error;
    qsizetype m_dropped = 0;
};

} // namespace device
