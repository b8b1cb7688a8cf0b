#include "device/csv_recorder.h"

#include "device/file_sync.h"

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace device {

namespace {
// The longest the program's end waits for a stalled disk before it leaves
// the rest to the system's cache.
constexpr int kExitWaitMs = 60 * 1000;

// The writers' threads still at work; the program's end waits for them.
struct Running {
    std::mutex mutex;
    std::condition_variable done;
    int count = 0;
    bool waitFor(int ms)
    {
        std::unique_lock lock(mutex);
        return done.wait_for(lock, std::chrono::milliseconds(ms), [this] { return count == 0; });
    }
};

// Never destroyed: a thread the program's end gave up on may still count itself out.
Running &running()
{
    static auto *instance = new Running;
    return *instance;
}

struct WaitAtExit {
    ~WaitAtExit() { running().waitFor(kExitWaitMs); }
};

QString unknownError()
{
    return QCoreApplication::translate("recording", "unknown error");
}

// errno first: QFile reports a short write as an unknown error.
QString reasonOf(int error, const QFile &file)
{
    if (error != 0)
        return qt_error_string(error);
    return file.errorString().isEmpty() ? unknownError() : file.errorString();
}
} // namespace

struct CsvWriter::Job {
    std::mutex mutex;
    std::condition_variable wake;
    std::vector<QByteArray> queue; // whole lines, the header first
    bool closing = false;          // write what is queued, then close
    bool dropping = false;         // drop what is queued, then close
    Listener listener;             // cleared when the writer goes
    // The thread's own from its start.
    QFile file;
    Sync sync;
    qint64 written = 0; // bytes of whole lines
    qint64 lines = 0;
    QString put(const std::vector<QByteArray> &batch, bool last);
};

CsvWriter::CsvWriter() : m_sync(syncToDisk) {}

CsvWriter::~CsvWriter()
{
    close();
    for (const std::weak_ptr<Job> &weak : m_finishing)
        if (const std::shared_ptr<Job> job = weak.lock()) {
            const std::lock_guard lock(job->mutex);
            job->listener = nullptr;
        }
}

void CsvWriter::setSync(Sync sync, qsizetype queueRows)
{
    m_sync = std::move(sync);
    m_queueRows = std::max<qsizetype>(queueRows, 1);
}

bool CsvWriter::open(const QString &path, const QString &header, Listener listener)
{
    close();
    m_error.clear();
    m_dropped = 0;
    auto job = std::make_shared<Job>();
    job->file.setFileName(path);
    // Unbuffered: each write goes to the system at once.
    if (!job->file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        m_error = reasonOf(0, job->file);
        return false;
    }
    job->sync = m_sync;
    job->listener = std::move(listener);
    job->queue.push_back(line(header.split(QLatin1Char(','))));
    static WaitAtExit atExit;
    Running &all = running();
    {
        const std::lock_guard lock(all.mutex);
        ++all.count;
    }
    std::thread([job] { run(job); }).detach();
    m_job = std::move(job);
    return true;
}

bool CsvWriter::writeRow(const QStringList &fields)
{
    if (!m_job)
        return false;
    QByteArray row = line(fields);
    {
        const std::lock_guard lock(m_job->mutex);
        if (qsizetype(m_job->queue.size()) < m_queueRows) {
            m_job->queue.push_back(std::move(row));
            m_job->wake.notify_one();
            return true;
        }
        m_dropped = qsizetype(m_job->queue.size()) + 1;
        m_job->queue.clear();
        m_job->dropping = true;
    }
    close();
    return false;
}

void CsvWriter::close()
{
    if (!m_job)
        return;
    {
        const std::lock_guard lock(m_job->mutex);
        m_job->closing = true;
        m_job->wake.notify_one();
    }
    m_finishing.erase(std::remove_if(m_finishing.begin(), m_finishing.end(),
                                     [](const std::weak_ptr<Job> &job) { return job.expired(); }),
                      m_finishing.end());
    m_finishing.push_back(m_job);
    m_job.reset();
}

// Writes the batch, then syncs; the system's reason when either fails.
QString CsvWriter::Job::put(const std::vector<QByteArray> &batch, bool last)
{
    QByteArray bytes;
    for (const QByteArray &row : batch)
        bytes += row;
    errno = 0;
    const qint64 put = bytes.isEmpty() ? 0 : file.write(bytes);
    if (put != bytes.size()) {
        QString error = reasonOf(errno, file);
        // Whole rows only: the row cut short is taken back where the file allows it.
        qint64 kept = 0;
        for (const QByteArray &row : batch) {
            if (kept + row.size() > put)
                break;
            kept += row.size();
            ++lines;
        }
        written += kept;
        file.resize(written);
        return error;
    }
    written += bytes.size();
    lines += qint64(batch.size());
    QString error;
    if ((!batch.empty() || last) && !sync(file.handle(), &error) && error.isEmpty())
        error = unknownError();
    return error;
}

void CsvWriter::run(const std::shared_ptr<Job> &job)
{
    CsvProgress progress;
    std::unique_lock lock(job->mutex);
    while (!progress.ended) {
        job->wake.wait(lock, [&] { return !job->queue.empty() || job->closing || job->dropping; });
        if (job->dropping)
            job->queue.clear();
        std::vector<QByteArray> batch;
        batch.swap(job->queue);
        const bool last = job->closing || job->dropping;
        lock.unlock();
        QString error = job->put(batch, last);
        if (!error.isEmpty() || last) {
            job->file.unsetError();
            job->file.close();
            if (error.isEmpty() && job->file.error() != QFileDevice::NoError)
                error = reasonOf(0, job->file);
            progress.ended = true;
            progress.error = error;
        }
        progress.rows = std::max<qint64>(job->lines - 1, 0); // the header is no row
        lock.lock();
        if (job->listener)
            job->listener(progress);
    }
    lock.unlock();
    Running &all = running();
    const std::lock_guard done(all.mutex);
    --all.count;
    all.done.notify_all();
}

bool CsvWriter::waitForAll(int ms)
{
    return running().waitFor(ms);
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
