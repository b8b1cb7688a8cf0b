#include "device/csv_recorder.h"

#include "device/file_sync.h"

#include <cerrno>

namespace device {

CsvWriter::~CsvWriter()
{
    close();
}

bool CsvWriter::open(const QString &path, const QString &header)
{
    close();
    m_error.clear();
    m_rows = 0;
    m_written = 0;
    m_file.setFileName(path);
    // Unbuffered: every write goes to the system at once.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return fail(m_file.errorString());
    m_stop = false;
    m_dirty = false;
    m_syncErrno = 0;
    m_syncer = std::thread([this] { syncLoop(); });
    if (!writeLine(line(header.split(QLatin1Char(',')))))
        return false;
    m_rows = 0;
    return true;
}

bool CsvWriter::writeRow(const QStringList &fields)
{
    return isOpen() && writeLine(line(fields));
}

bool CsvWriter::writeLine(const QByteArray &line)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_syncErrno != 0)
            return fail(qt_error_string(m_syncErrno));
    }
    errno = 0;
    if (m_file.write(line) != line.size() || !m_file.flush()) {
        // QFile reports a short write as an unknown error; the system says why.
        const int error = errno;
        return fail(error != 0 ? qt_error_string(error) : m_file.errorString());
    }
    m_written += line.size();
    ++m_rows;
    {
        const std::lock_guard lock(m_mutex);
        m_dirty = true;
    }
    m_wake.notify_one();
    return true;
}

bool CsvWriter::fail(const QString &reason)
{
    m_error = reason.isEmpty() ? QStringLiteral("unknown error") : reason;
    stopSyncer();
    if (m_file.isOpen()) {
        // A row cut short by the failure is taken back where the file still allows it.
        m_file.resize(m_written);
        m_file.close();
    }
    return false;
}

void CsvWriter::close()
{
    stopSyncer();
    if (m_file.isOpen()) {
        syncToDisk(m_file.handle(), nullptr);
        m_file.close();
    }
}

void CsvWriter::stopSyncer()
{
    if (!m_syncer.joinable())
        return;
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_syncer.join();
}

void CsvWriter::syncLoop()
{
    const int fd = m_file.handle();
    std::unique_lock lock(m_mutex);
    while (true) {
        m_wake.wait(lock, [this] { return m_dirty || m_stop; });
        if (m_stop)
            return;
        m_dirty = false;
        lock.unlock();
        errno = 0;
        const int error = syncToDisk(fd, nullptr) ? 0 : errno;
        lock.lock();
        if (error != 0)
            m_syncErrno = error;
    }
}

QByteArray CsvWriter::line(const QStringList &fields)
{
    QByteArray out;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        QByteArray field = fields[i].toUtf8();
        if (field.contains(',') || field.contains('"') || field.contains('\r') ||
            field.contains('\n')) {
            field.replace('"', "\"\"");
            field = '"' + field + '"';
        }
        out += field;
    }
    return out + "\r\n";
}

} // namespace device
