#include "app/settings_files.h"

#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace settingsfile;

namespace {
const QByteArray kOld = QByteArrayLiteral("7,9600\r\n");

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool put(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// Root ignores directory permissions, so a refused write is tried as another user.
class AsOtherUser {
public:
    AsOtherUser() : m_switched(geteuid() == 0 && seteuid(65534) == 0) {}
    ~AsOtherUser()
    {
        if (m_switched && seteuid(0) != 0)
            qFatal("cannot return to root");
    }
    AsOtherUser(const AsOtherUser &) = delete;
    AsOtherUser &operator=(const AsOtherUser &) = delete;

private:
    bool m_switched;
};
} // namespace

class TestSettingsFiles : public QObject {
    Q_OBJECT
private slots:
    void init();
    void readComm_data();
    void readComm();
    void readMod_data();
    void readMod();
    void write_data();
    void write();
    void failedWrite_data();
    void failedWrite();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &name) const { return m_dir->filePath(name); }
};

void TestSettingsFiles::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // Lets the other user of failedWrite reach the directories inside.
    QVERIFY(::chmod(QFile::encodeName(m_dir->path()).constData(), 0755) == 0);
}

void TestSettingsFiles::readComm_data()
{
    QTest::addColumn<QByteArray>("content"); // null: no file
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("baud");

    QTest::newRow("saved line") << QByteArray("4,19200\r\n") << 4 << 19200;
    QTest::newRow("25,9600") << QByteArray("25,9600") << 25 << 9600;
    QTest::newRow("3,4800") << QByteArray("3,4800") << 3 << 4800;
    QTest::newRow("negative port") << QByteArray("-5,9600") << -5 << 9600;
    QTest::newRow("int16 ends") << QByteArray("-32768,+32767") << -32768 << 32767;
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF") + "6,9600\r\n" << 6 << 9600;
    QTest::newRow("blanks and tabs") << QByteArray(" 6 \t, 9600 ") << 6 << 9600;
    QTest::newRow("one per line") << QByteArray("6\r\n9600\n") << 6 << 9600;
    QTest::newRow("comma run") << QByteArray("6,,9600") << 6 << 9600;
    QTest::newRow("extra values") << QByteArray("6,9600,x\r\n1,2\r\n") << 6 << 9600;
    QTest::newRow("long tail") << QByteArray("6,9600\r\n") + QByteArray(1 << 20, 'x') << 6 << 9600;

    const auto defaults = [](const char *name, const QByteArray &content) {
        QTest::newRow(name) << content << 4 << 19200;
    };
    defaults("no file", QByteArray());
    defaults("empty", QByteArray(""));
    defaults("one value", "4");
    defaults("letters", "a,b");
    defaults("baud over int16", "4,40000");
    defaults("port under int16", "-32769,9600");
    defaults("huge number", "4,99999999999999999999999");
    defaults("fraction", "4.5,9600");
    defaults("hexadecimal", "0x4,9600");
    defaults("semicolon", "4;9600");
    defaults("sign only", "-,9600");
    defaults("nul inside", QByteArray("6\0,9600", 7));
    QByteArray garbage(4096, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>((i * 167 + 13) % 256);
    defaults("binary", garbage);
    defaults("a megabyte of digits", QByteArray(1 << 20, '1'));
    // A number cut in half at the read limit must not be taken for a shorter one.
    defaults("cut at the limit", QByteArray(64 * 1024 - 1, ' ') + "12,9600");
}

void TestSettingsFiles::readComm()
{
    QFETCH(QByteArray, content);
    QFETCH(int, port);
    QFETCH(int, baud);
    if (!content.isNull())
        QVERIFY(put(path(kCommSet), content));
    const CommSettings read = readCommSet(path(kCommSet));
    QCOMPARE(read.port, port);
    QCOMPARE(read.baud, baud);
}

void TestSettingsFiles::readMod_data()
{
    QTest::addColumn<QByteArray>("content"); // null: no file
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("station");
    QTest::addColumn<int>("length");

    QTest::newRow("shipped") << QByteArray("0,2,16,0\r\n") << true << 2 << 16;
    QTest::newRow("0,5,8,0") << QByteArray("0,5,8,0") << true << 5 << 8;
    QTest::newRow("negative") << QByteArray("9,-3,300,-1") << true << -3 << 300;
    QTest::newRow("five values") << QByteArray("0,5,8,0,9") << true << 5 << 8;
    QTest::newRow("no file") << QByteArray() << false << 0 << 0;
    QTest::newRow("empty") << QByteArray("") << false << 0 << 0;
    QTest::newRow("three values") << QByteArray("0,5,8") << false << 0 << 0;
    QTest::newRow("letter") << QByteArray("0,5,x,0") << false << 0 << 0;
    QTest::newRow("last over int16") << QByteArray("0,5,8,40000") << false << 0 << 0;
}

void TestSettingsFiles::readMod()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, ok);
    QFETCH(int, station);
    QFETCH(int, length);
    if (!content.isNull())
        QVERIFY(put(path(kModSet), content));
    const auto read = readModSet(path(kModSet));
    QCOMPARE(read.has_value(), ok);
    if (ok) {
        QCOMPARE(read->station, station);
        QCOMPARE(read->dataLength, length);
    }
}

void TestSettingsFiles::write_data()
{
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("baud");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("4,19200") << 4 << 19200 << QByteArray("4,19200\r\n");
    QTest::newRow("negative") << -5 << -32768 << QByteArray("-5,-32768\r\n");
    QTest::newRow("zero") << 0 << 9600 << QByteArray("0,9600\r\n");
}

void TestSettingsFiles::write()
{
    QFETCH(int, port);
    QFETCH(int, baud);
    QFETCH(QByteArray, bytes);
    const CommSettings settings{static_cast<std::int16_t>(port), static_cast<std::int16_t>(baud)};
    QVERIFY(put(path(kCommSet), QByteArray(300, '9') + "\r\nold second line\r\n"));
    const WriteResult result = writeCommSet(path(kCommSet), settings);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(contentOf(path(kCommSet)), bytes);
    QCOMPARE(readCommSet(path(kCommSet)).port, settings.port);
    QCOMPARE(readCommSet(path(kCommSet)).baud, settings.baud);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{kCommSet});
}

void TestSettingsFiles::failedWrite_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("no such directory") << "missing";
    QTest::newRow("target is a directory") << "directory";
    QTest::newRow("read-only directory") << "read-only";
    QTest::newRow("rename refused") << "sticky";
}

void TestSettingsFiles::failedWrite()
{
    QFETCH(QString, kind);
    const QString dir = path(QStringLiteral("d"));
    const QString target = dir + QLatin1Char('/') + kCommSet;
    const QByteArray dirName = QFile::encodeName(dir);
    QString expected; // the old content that must survive, if any
    if (kind == QLatin1String("directory")) {
        QVERIFY(QDir().mkpath(target));
    } else if (kind != QLatin1String("missing")) {
        if (kind == QLatin1String("sticky") && geteuid() != 0)
            QSKIP("needs root to own the file while another user writes");
        QVERIFY(QDir().mkpath(dir));
        QVERIFY(put(target, kOld));
        expected = QString::fromLatin1(kOld);
        // Sticky and world-writable: the other user may create files but not
        // replace root's, so the failure comes only at the final rename.
        const bool sticky = kind == QLatin1String("sticky");
        QVERIFY(::chmod(QFile::encodeName(target).constData(), sticky ? 0666 : 0644) == 0);
        QVERIFY(::chmod(dirName.constData(), sticky ? 01777 : 0555) == 0);
    }

    WriteResult result;
    if (expected.isNull()) {
        result = writeCommSet(target, CommSettings{3, 9600});
    } else {
        AsOtherUser other;
        result = writeCommSet(target, CommSettings{3, 9600});
    }
    ::chmod(dirName.constData(), 0755);
    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
    if (!expected.isNull())
        QCOMPARE(QString::fromLatin1(contentOf(target)), expected);
    if (kind == QLatin1String("directory"))
        QVERIFY(QFileInfo(target).isDir());
    if (kind != QLatin1String("missing"))
        QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden).size(), expected.isNull() ? 0 : 1);
    else
        QVERIFY(!QFileInfo::exists(dir));
}

QTEST_GUILESS_MAIN(TestSettingsFiles)
#include "tst_settings_files.moc"
