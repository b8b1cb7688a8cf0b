#include "app/settings_files.h"

#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace settingsfile;

namespace {
const QByteArray kOld = QByteArray(300, '9') + "\r\nold second line\r\n"; // longer than the new

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
    explicit AsOtherUser(bool wanted) : m_switched(wanted && geteuid() == 0 && seteuid(65534) == 0)
    {
    }
    ~AsOtherUser()
    {
        if (m_switched && seteuid(0) != 0)
            qFatal("cannot return to root");
    }

private:
    bool m_switched;
};
} // namespace

class TestSettingsFiles : public QObject {
    Q_OBJECT
private slots:
    void init();
    void read_data();
    void read();
    void write_data();
    void write();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &name) const { return m_dir->filePath(name); }
};

void TestSettingsFiles::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // Lets the other user of write reach the directories inside.
    QVERIFY(::chmod(QFile::encodeName(m_dir->path()).constData(), 0755) == 0);
}

void TestSettingsFiles::read_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content"); // null: no file
    QTest::addColumn<QList<int>>("values");  // none: ModSet.set gives nothing
    const auto comm = [](const char *name, const QByteArray &content, int port = 4,
                         int baud = 19200) {
        QTest::addRow("comm.set %s", name) << kCommSet << content << QList<int>{port, baud};
    };
    const auto mod = [](const char *name, const QByteArray &content,
                        const QList<int> &values = {}) {
        QTest::addRow("ModSet.set %s", name) << kModSet << content << values;
    };
    comm("saved line", "4,19200\r\n");
    comm("25,9600", "25,9600", 25, 9600);
    comm("3,4800", "3,4800", 3, 4800);
    comm("negative port", "-5,9600", -5, 9600);
    comm("int16 ends", "-32768,+32767", -32768, 32767);
    comm("byte-order mark", QByteArray("\xEF\xBB\xBF") + "6,9600\r\n", 6, 9600);
    comm("blanks and tabs", " 6 \t, 9600 ", 6, 9600);
    comm("one per line", "6\r\n9600\n", 6, 9600);
    comm("comma run", "6,,9600", 6, 9600);
    comm("extra values", "6,9600,x\r\n1,2\r\n", 6, 9600);
    comm("long tail", QByteArray("6,9600\r\n") + QByteArray(1 << 20, 'x'), 6, 9600);
    // Anything else gives the defaults.
    comm("no file", QByteArray());
    for (const char *bad :
         {"", "4", "a,b", "4,32768", "4,40000", "-32769,9600", "4,99999999999999999999999",
          "4.5,9600", "0x4,9600", "4;9600", "-,9600"})
        comm(qPrintable('"' + QString(bad) + '"'), bad);
    comm("nul inside", QByteArray("6\0,9600", 7));
    QByteArray garbage(4096, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>((i * 167 + 13) % 256);
    comm("binary", garbage);
    comm("a megabyte of digits", QByteArray(1 << 20, '1'));
    // A number cut in half at the read limit must not be taken for a shorter one.
    comm("cut at the limit", QByteArray(64 * 1024 - 1, ' ') + "12,9600");

    mod("shipped", "0,2,16,0\r\n", {2, 16});
    mod("0,5,8,0", "0,5,8,0", {5, 8});
    mod("negative", "9,-3,300,-1", {-3, 300});
    mod("five values", "0,5,8,0,9", {5, 8});
    mod("no file", QByteArray());
    for (const char *bad : {"", "0,5,8", "0,5,x,0", "0,5,8,40000"})
        mod(qPrintable('"' + QString(bad) + '"'), bad);
}

void TestSettingsFiles::read()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(QList<int>, values);
    if (!content.isNull())
        QVERIFY(put(path(file), content));
    QList<int> read;
    if (file == kCommSet) {
        const CommSettings comm = readCommSet(path(file));
        read = {comm.port, comm.baud};
    } else if (const auto mod = readModSet(path(file))) {
        read = {mod->station, mod->dataLength};
    }
    QCOMPARE(read, values);
}

void TestSettingsFiles::write_data()
{
    QTest::addColumn<int>("dirMode"); // 0: no directory, -1: a directory at the file's place
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("baud");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArray>("content"); // afterwards; the old one stays if the write fails
    QTest::newRow("4,19200") << 0755 << 4 << 19200 << true << QByteArray("4,19200\r\n");
    QTest::newRow("negative") << 0755 << -5 << -32768 << true << QByteArray("-5,-32768\r\n");
    QTest::newRow("zero") << 0755 << 0 << 9600 << true << QByteArray("0,9600\r\n");
    QTest::newRow("no such directory") << 0 << 3 << 9600 << false << QByteArray();
    QTest::newRow("target is a directory") << -1 << 3 << 9600 << false << QByteArray();
    QTest::newRow("read-only directory") << 0555 << 3 << 9600 << false << kOld;
    // Sticky and world-writable: the other user may create files but not replace
    // root's, so the failure comes only at the final rename.
    QTest::newRow("rename refused") << 01777 << 3 << 9600 << false << kOld;
}

void TestSettingsFiles::write()
{
    QFETCH(int, dirMode);
    QFETCH(int, port);
    QFETCH(int, baud);
    QFETCH(bool, ok);
    QFETCH(QByteArray, content);
    const QString dir = path(QStringLiteral("d")), target = dir + '/' + kCommSet;
    if (dirMode == 01777 && geteuid() != 0)
        QSKIP("needs root to own the file while another user writes");
    if (dirMode != 0)
        QVERIFY(QDir().mkpath(dirMode < 0 ? target : dir));
    if (dirMode > 0) {
        QVERIFY(put(target, kOld));
        QVERIFY(::chmod(QFile::encodeName(target).constData(), dirMode == 01777 ? 0666 : 0644) ==
                0);
        QVERIFY(::chmod(QFile::encodeName(dir).constData(), dirMode) == 0);
    }
    WriteResult result;
    {
        AsOtherUser other(dirMode > 0 && !ok);
        result = writeCommSet(target,
                              {static_cast<std::int16_t>(port), static_cast<std::int16_t>(baud)});
    }
    ::chmod(QFile::encodeName(dir).constData(), 0755);
    QVERIFY2(result.ok == ok, qPrintable(result.error));
    QCOMPARE(result.error.isEmpty(), ok); // a failure gives its reason
    QCOMPARE(contentOf(target), content);
    QCOMPARE(QFileInfo(dir).isDir(), dirMode != 0);
    QCOMPARE(QFileInfo(target).isDir(), dirMode < 0);
    QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden), // nothing left beside it
             dirMode > 0 ? QStringList{kCommSet} : QStringList());
}

QTEST_GUILESS_MAIN(TestSettingsFiles)
#include "tst_settings_files.moc"
