#pragma once
// A CSV file (RFC 4180, UTF-8, CRLF) written one row at a time. Each row
// reaches the system before writeRow returns, so the program dying loses at
// most the row being written; a thread of its own then pushes it to the disk,
// so a power cut loses no more and the caller never waits for the disk.
// A failure closes the file with the rows written before it intact.

#include <QFile>
#include <QStringList>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace device {

class CsvWriter {
public:
    CsvWriter() = default;
    CsvWriter(const CsvWriter &) = delete;
    CsvWriter &operator=(const CsvWriter &) = delete;
    ~CsvWriter();

    // Creates or replaces path and writes the header line.
    bool open(const QString &path, const QString &header);
    bool writeRow(const QStringList &fields);
    void close();

    bool isOpen() const { return m_file.isOpen(); }
    QString path() const { return m_file.fileName(); }
    qint64 rows() const { return m_rows; }
    // Why the last open or write failed.
    QString errorString() const { return m_error; }

    // One line: fields with a comma, a quote or a line break are quoted.
    static QByteArray line(const QStringList &fields);

private:
    bool writeLine(const QByteArray &line);
    bool fail(const QString &reason);
    void syncLoop();
    void stopSyncer();

    QFile m_file;
    qint64 m_written = 0; // bytes of complete lines
    qint64 m_rows = 0;
    QString m_error;
    std::thread m_syncer;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_dirty = false;
    bool m_stop = false;
    int m_syncErrno = 0;
};

} // namespace device
