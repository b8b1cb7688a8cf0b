// The live values kept over time and recorded, without a window: the bounded
// history with its gaps and marks, the reads it takes, and the CSV file.

#include "device/file_sync.h"
#include "device/live_log.h"
#include "tests/support/files.h"

#include <QtTest>
#ifndef Q_OS_WIN // file size limits, /dev/full and fork: the recording's failures are tried on
                 // Linux
#include "tests/support/file_size_limit.h"
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace device;

namespace {
const QDateTime kAt(QDate(2026, 12, 7), QTime(14, 3, 5, 123), QTimeZone(8 * 3600));

LiveHistory::Sample sample(qint64 msecs, float value, bool gap = false, bool marked = false)
{
    LiveHistory::Sample s{msecs, {}, gap, marked};
    s.values.fill(value);
    return s;
}

// A read as Commands reports it: values written to txtCurrentInput, or none.
ReadOutcome outcome(int mode, bool wellFormed, const QByteArray &reply, const QStringList &texts)
{
    ReadOutcome o{"req", reply, wellFormed, mode, 0, {}};
    for (int k = 0; k < texts.size(); ++k)
        o.shown.boxes.push_back({decode::Target::CurrentInput, k, texts[k]});
    return o;
}

QString points(const std::vector<LiveHistory::Point> &line)
{
    QStringList out;
    for (const auto &p : line)
        out << QStringLiteral("%1:%2%3").arg(p.msecs).arg(p.value).arg(p.marked ? "*" : "");
    return out.join(' ');
}
} // namespace

class TestLive : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    // A ring of four: the oldest leave, a gap has no value, a clock that steps
    // back does not reorder, and a line thinned to its lows and highs keeps the spike.
    void history()
    {
        LiveHistory h(4);
        const float values[] = {1, 5, 9, 2, 3, 7};
        for (int i = 0; i < 6; ++i)
            h.append(sample(1000LL * i, values[i], i == 3, i == 4));
        h.append(sample(4500, 6)); // the clock stepped back
        QCOMPARE(h.size(), 4);
        QCOMPARE(points(h.lines(0, 99999, 10)[0]), "3000:nan 4000:3* 5000:7 5000:6");
        QCOMPARE(points(h.lines(4100, 4900, 10)[0]), "4000:3* 5000:7");
        QCOMPARE(points(h.lines(0, 99999, 2)[0]), "3000:nan 4000:3* 5000:7");
        LiveHistory wrapped(5); // thinned across the ring's end: 30 40 | 50 60 70
        for (int i = 0; i < 8; ++i)
            wrapped.append(sample(1000LL * i, 10.0f * float(i)));
        QCOMPARE(points(wrapped.lines(0, 99999, 2)[0]), "3000:30 7000:70");
        wrapped.append(sample(8000, 0, true)); // a gap shorter than a stretch still breaks the line
        wrapped.append(sample(9000, 90));
        QCOMPARE(points(wrapped.lines(0, 99999, 2)[0]), "5000:50 8000:nan 9000:90");
        QCOMPARE(h.nearest(3400), 0);
        QCOMPARE(h.nearest(3600), 1);
        h.clear();
        QCOMPARE(h.size(), 0);
        QCOMPARE(h.nearest(0), -1);
        h.append(sample(7, 1));
        QCOMPARE(points(h.lines(0, 10, 10)[0]), "7:1");
    }

    void rows_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("wellFormed");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("row"); // empty: not a live read
        QTest::addColumn<QString>("sample");
        const QStringList eight{"0.01", "-0.02", "300.00", "0.04", "5", "6", "7", "-8"};
        QTest::newRow("answer")
            << 1 << true << QByteArray::fromHex("0203") << eight
            << "2026-12-07T14:03:05.123+08:00,0.01,-0.02,300.00,0.04,5,6,7,-8,1,02 03"
            << "0.01 -0.02 300 0.04 5 6 7 -8";
        QTest::newRow("bad CRC")
            << 1 << false << QByteArray::fromHex("0203") << eight
            << "2026-12-07T14:03:05.123+08:00,0.01,-0.02,300.00,0.04,5,6,7,-8,0,02 03"
            << "0.01 -0.02 300 0.04 5 6 7 -8 marked";
        QTest::newRow("too short") << 1 << false << QByteArray::fromHex("028302") << QStringList()
                                   << "2026-12-07T14:03:05.123+08:00,,,,,,,,,0,02 83 02"
                                   << "nan nan nan nan nan nan nan nan gap";
        QTest::newRow("no reply") << 1 << false << QByteArray() << QStringList()
                                  << "2026-12-07T14:03:05.123+08:00,,,,,,,,,0,"
                                  << "nan nan nan nan nan nan nan nan gap";
        QTest::newRow("parameters") << 2 << true << QByteArray::fromHex("0203") << eight << ""
                                    << "";
    }

    // What one read puts in the history and in the file, flushed as it comes.
    void rows()
    {
        QFETCH(int, mode);
        QFETCH(bool, wellFormed);
        QFETCH(QByteArray, reply);
        QFETCH(QStringList, texts);
        QFETCH(QString, row);
        QFETCH(QString, sample);
        LiveLog log;
        const QString path = m_dir.filePath("rows.csv");
        QVERIFY(log.startRecording(path));
        const ReadOutcome read = outcome(mode, wellFormed, reply, texts);
        if (isLiveRead(read))
            log.add(liveReadOf(read, kAt));
        QSignalSpy finished(&log, &LiveLog::recordingFinished);
        log.stopRecording();
        QVERIFY(finished.wait());
        const QString header = "time,input1,input2,input3,input4,output1,output2,output3,"
                               "output4,reply_ok,reply\r\n";
        QCOMPARE(readFile(path), header + (row.isEmpty() ? "" : row + "\r\n"));
        QCOMPARE(log.recordedRows(), row.isEmpty() ? 0 : 1);
        QStringList shown;
        for (int i = 0; i < log.history().size(); ++i) {
            const LiveHistory::Sample s = log.history().at(i);
            for (float v : s.values)
                shown << QString::number(v);
            if (s.gap || s.marked)
                shown << (s.gap ? "gap" : "marked");
        }
        QCOMPARE(shown.join(' ').trimmed(), sample);
    }

    void quoting()
    {
        QCOMPARE(
            CsvWriter::line({"a,b", "say \"hi\"", "two\nlines", "", "plain 1.5", "中"}),
            QByteArray("\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",,plain 1.5,\xE4\xB8\xAD\r\n"));
        QCOMPARE(
            isoTime(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5, 6), QTimeZone(-(3 * 3600 + 1800)))),
            "2026-01-02T03:04:05.006-03:30");
        QCOMPARE(isoTime(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), QTimeZone::utc())),
                 "2026-01-02T03:04:05.000+00:00");
    }

#ifndef Q_OS_WIN
    void failures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("limit");    // the largest file the system allows; 0: any
        QTest::addColumn<QString>("disk"); // how each sync ends
        QTest::addColumn<int>("queue");
        QTest::addColumn<QString>("end");    // "stop", or "quit": the program closes
        QTest::addColumn<QString>("reason"); // of the one failure, or of the refused start
        QTest::addColumn<int>("rows"); // in the file; -1: the rows confirmed, whatever they are
        const QString eio = "Input/output error";
        // clang-format off
        QTest::newRow("no folder") << "no/such/dir.csv" << 0 << "ok" << 9 << "" << "No such file or directory" << 0;
        QTest::newRow("no space") << "/dev/full" << 0 << "ok" << 9 << "" << "No space left on device" << 0;
        QTest::newRow("too large") << "full.csv" << 150 << "ok" << 9 << "" << "File too large" << 1;
        QTest::newRow("sync fails") << "eio.csv" << 0 << "fails" << 9 << "" << eio << -1;
        QTest::newRow("sync fails at stop") << "stop.csv" << 0 << "fails at stop" << 9 << "stop" << eio << 3;
        QTest::newRow("stalled, stopped") << "slow.csv" << 0 << "stalls" << 9 << "stop" << "" << 3;
        QTest::newRow("stalled, program closed") << "quit.csv" << 0 << "stalls" << 9 << "quit" << "" << 3;
        QTest::newRow("stalled, queue full") << "lost.csv" << 0 << "stalls" << 2 << "" << "the disk did not keep up, and 3 row(s) could not be written" << 0;
        // clang-format on
    }

    // Whatever the disk does, the reads go on, the calls return while the
    // disk holds the writer, one box tells why a recording ended, and the
    // file keeps whole rows only.
    void failures()
    {
        QFETCH(QString, file);
        QFETCH(int, limit);
        QFETCH(QString, disk);
        QFETCH(int, queue);
        QFETCH(QString, end);
        QFETCH(QString, reason);
        QFETCH(int, rows);
        struct Disk {
            std::mutex mutex;
            std::condition_variable wake;
            bool stalled = false, released = false, failing = false;
        };
        auto gate = std::make_shared<Disk>(); // the writer's thread may outlive the test
        gate->failing = disk == "fails";
        auto log = std::make_unique<LiveLog>();
        log->setRecorderSync(
            [gate, disk](int, QString *why) {
                std::unique_lock lock(gate->mutex);
                gate->stalled = disk == "stalls";
                gate->wake.wait(lock, [&] { return gate->released || !gate->stalled; });
                gate->stalled = false;
                if (gate->failing)
                    *why = "Input/output error";
                return !gate->failing;
            },
            queue);
        const auto stalled = [gate] {
            const std::lock_guard lock(gate->mutex);
            return gate->stalled;
        };
        QSignalSpy failed(log.get(), &LiveLog::recordingFailed),
            finished(log.get(), &LiveLog::recordingFinished);
        bool recordingAtBox = false; // the state shows the end before the box says why
        connect(log.get(), &LiveLog::recordingFailed, [&] { recordingAtBox = log->recording(); });
        const QString path = file.startsWith('/') ? file : m_dir.filePath(file);
        if (!log->startRecording(path)) {
            QCOMPARE(log->errorString(), reason);
            QVERIFY(!log->recording() && failed.isEmpty());
            return;
        }
        if (disk == "stalls")
            QTRY_VERIFY(stalled()); // on the header
        FileSizeLimit fills(limit > 0 ? rlim_t(limit) : RLIM_INFINITY);
        for (int i = 0; i < 3; ++i)
            log->add(liveReadOf(outcome(1, true, "", {"1", "2"}), kAt));
        if (disk == "fails at stop") {
            QTRY_COMPARE(log->recordedRows(), 3);
            const std::lock_guard lock(gate->mutex);
            gate->failing = true;
        }
        if (end == "stop")
            log->stopRecording();
        else if (end == "quit")
            log.reset();
        if (disk == "stalls") {
            // Every call above returned while the disk still held the writer.
            QVERIFY(stalled());
            QVERIFY(!log || !log->recording());
            QCOMPARE(failed.size(), reason.isEmpty() ? 0 : 1);
            const std::lock_guard lock(gate->mutex);
            gate->released = true;
            gate->wake.notify_all();
        }
        if (log)
            QTRY_COMPARE(failed.size() + finished.size(), 1);
        else
            QVERIFY(CsvWriter::waitForAll(60000)); // as the program's end does
        fills.lift();
        QVERIFY((!log || !log->recording()) && !recordingAtBox);
        const QVariantList expected =
            reason.isEmpty() ? QVariantList() : QVariantList{path, reason};
        QCOMPARE(failed.value(0), expected);
        QCOMPARE(log ? log->history().size() : 3, 3);
        if (path == "/dev/full")
            return;
        const QByteArray content = readFile(path);
        const QByteArray row = "2026-12-07T14:03:05.123+08:00,1,2,,,,,,,1,\r\n";
        const qint64 kept = rows >= 0 ? rows : log->recordedRows();
        QCOMPARE(content, "time,input1,input2,input3,input4,output1,output2,output3,output4,"
                          "reply_ok,reply\r\n" +
                              row.repeated(kept));
        QCOMPARE(log ? log->recordedRows() : kept, kept);
    }

    // A recording killed mid-run: every complete line is a whole row.
    void killed()
    {
        const QString path = m_dir.filePath("killed.csv");
        QVERIFY(CsvWriter::waitForAll(60000)); // no lock held by another thread at the fork
        const pid_t child = fork();
        if (child == 0) {
            CsvWriter writer;
            writer.setSync(syncToDisk, 1 << 24);
            writer.open(path, kCsvHeader, nullptr);
            for (int i = 0;; ++i, usleep(20))
                writer.writeRow({"2026-12-07T14:03:05.123+08:00", "0.01", "-0.02", "300.00", "0.04",
                                 "5", "6", "7", "-8", "1", "02 03 10 00 01 AA BB"});
        }
        QTest::qWait(300);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        QList<QByteArray> lines = readFile(path).split('\n');
        QVERIFY(lines.size() > 10);
        QVERIFY(QByteArray("2026-12-07T14:03:05.123+08:00,0.01,-0.02,300.00,0.04,5,6,7,-8,1,02 03 "
                           "10 00 01 AA BB\r")
                    .startsWith(lines.takeLast()));
        QCOMPARE(
            lines.takeFirst(),
            "time,input1,input2,input3,input4,output1,output2,output3,output4,reply_ok,reply\r");
        for (const QByteArray &line : lines)
            QCOMPARE(line, "2026-12-07T14:03:05.123+08:00,0.01,-0.02,300.00,0.04,5,6,7,-8,1,02 03 "
                           "10 00 01 AA BB\r");
    }
#endif
};

QTEST_GUILESS_MAIN(TestLive)
#include "tst_live.moc"
