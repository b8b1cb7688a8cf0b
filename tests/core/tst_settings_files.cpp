// comm.set and ModSet.set: what is read from real files, and how comm.set is replaced.

#include "app/settings_files.h"

#include <QtTest>

using namespace settingsfile;

class TestSettingsFiles : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void read_data()
    {
        QTest::addColumn<bool>("comm");          // comm.set, else ModSet.set
        QTest::addColumn<QByteArray>("content"); // null: no file
        QTest::addColumn<QList<int>>("values");  // port, baud; station, data length (-1: none)
        const auto row = [](bool comm, const char *name, const QByteArray &content,
                            const QList<int> &values) {
            QTest::addRow("%s %s", comm ? "comm.set" : "ModSet.set", name)
                << comm << content << values;
        };
        const QList<int> defaults{4, 19200};
        row(true, "25,9600", "25,9600", {25, 9600});
        row(true, "int16 ends", "-32768,+32767", {-32768, 32767});
        row(true, "7,1", "7,1\r\n", {7, 1});
        row(true, "separators", "\xEF\xBB\xBF 6 \t,,\r\n9600", {6, 9600});
        row(true, "extra values", "6,9600,x\r\n", {6, 9600});
        row(true, "no file", QByteArray(), defaults);
        for (const char *bad :
             {"", "4", "4,32768", "-32769,9600", "4.5,9600", "4;9600", "-,9600", "4,0", "4,-9600"})
            row(true, bad, bad, defaults);
        // The read stops at 64 KiB; a number cut there is dropped, not read short.
        row(true, "64 KiB", QByteArray(65536 - 7, ' ') + "12,9600", {12, 9600});
        row(true, "64 KiB and 1", QByteArray(65536 - 6, ' ') + "12,9600", defaults);
        row(false, "shipped", "0,2,16,0\r\n", {2, 16});
        row(false, "no file", QByteArray(), {-1, -1});
        row(false, "three values", "0,5,8", {-1, -1});
    }

    void read()
    {
        QFETCH(bool, comm);
        QFETCH(QByteArray, content);
        QFETCH(QList<int>, values);
        const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
        QFile file(path);
        QVERIFY(content.isNull() || (file.open(QIODevice::WriteOnly) &&
                                     file.write(content) == content.size() && file.flush()));
        const CommSettings c = readCommSet(path);
        const ModSettings m = readModSet(path).value_or(ModSettings{-1, -1});
        QCOMPARE((comm ? QList<int>{c.port, c.baud} : QList<int>{m.station, m.dataLength}), values);
    }

    void write()
    {
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("comm.set"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("32000,32000,1\r\n") == 15);
        file.close();
        QVERIFY(writeCommSet(path, {-5, -32768}).ok);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("-5,-32768\r\n")); // nothing of the longer old line
        const WriteResult refused = writeCommSet(dir.filePath("none/comm.set"), {3, 9600});
        QVERIFY(!refused.ok && !refused.error.isEmpty()); // with the system's reason
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"comm.set"}); // no temporary file left beside it
    }
};

QTEST_GUILESS_MAIN(TestSettingsFiles)
#include "tst_settings_files.moc"
