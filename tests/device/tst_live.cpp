// The live values kept over time and recorded, without a window: the bounded
// history with its gaps and marks, the reads it takes, and the CSV file.

#include "device/live_log.h"

#include <QtTest>
#ifndef Q_OS_WIN // file size limits, /dev/full and fork: the failures are tried on Linux
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
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
        QCOMPARE(points(h.lines(0, 99999, 2)[0]), "4000:3* 5000:7");
        LiveHistory wrapped(5); // thinned across the ring's end: 30 40 | 50 60 70
        for (int i = 0; i < 8; ++i)
            wrapped.append(sample(1000LL * i, 10.0f * float(i)));
        QCOMPARE(points(wrapped.lines(0, 99999, 2)[0]), "3000:30 7000:70");
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
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString header = "time,input1,input2,input3,input4,output1,output2,output3,"
                               "output4,reply_ok,reply\r\n";
        QCOMPARE(file.readAll(), header + (row.isEmpty() ? "" : row + "\r\n"));
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
    // A file that cannot be made, one that takes no bytes, and one that
    // fills up part-way: the row cut short is taken back, no more are tried.
    void failures()
    {
        LiveLog log;
        QSignalSpy failed(&log, &LiveLog::recordingFailed);
        QVERIFY(!log.startRecording(m_dir.filePath("no/such/dir.csv")));
        QCOMPARE(log.errorString(), "No such file or directory");
        QVERIFY(!log.startRecording("/dev/full"));
        QCOMPARE(log.errorString(), "No space left on device");
        const QString path = m_dir.filePath("full.csv");
        QVERIFY(log.startRecording(path));
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 150; // the header and one row, not two
        setrlimit(RLIMIT_FSIZE, &small);
        for (int i = 0; i < 3; ++i)
            log.add(liveReadOf(outcome(1, true, "", {"1", "2"}), kAt));
        setrlimit(RLIMIT_FSIZE, &old);
        QCOMPARE(failed.size(), 1);
        QCOMPARE(failed[0], (QVariantList{path, "File too large"}));
        QVERIFY(!log.recording());
        QCOMPARE(log.history().size(), 3);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
                 "time,input1,input2,input3,input4,output1,output2,output3,output4,"
                 "reply_ok,reply\r\n2026-12-07T14:03:05.123+08:00,1,2,,,,,,,1,\r\n");
    }

    // A recording killed mid-run: every complete line is a whole row.
    void killed()
    {
        const QString path = m_dir.filePath("killed.csv");
        const pid_t child = fork();
        if (child == 0) {
            CsvWriter writer;
            writer.open(path, kCsvHeader);
            for (int i = 0;; ++i)
                writer.writeRow({"2026-12-07T14:03:05.123+08:00", "0.01", "-0.02", "300.00", "0.04",
                                 "5", "6", "7", "-8", "1", "02 03 10 00 01 AA BB"});
        }
        QTest::qWait(300);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QList<QByteArray> lines = file.readAll().split('\n');
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
