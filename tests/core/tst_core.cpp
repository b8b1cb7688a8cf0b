// The byte, number, register and file tools: CRC-16/MODBUS and the hexadecimal texts of
// frames, the one reader of numbers the operator types, the register table the commands and
// the simulator share, which box shows which value of a read reply, and comm.set and ModSet.set.

#include "app/settings_files.h"
#include "app/settings_places.h"
#include "app/system_places.h"
#include "device/calibration_backup.h"
#include "device/calibration_history.h"
#include "device/parameter_file.h"
#include "device/decode.h"
#include "modbus/number_text.h"
#include "device/register_map.h"
#include "modbus/frame.h"
#include "tests/support/files.h"

#include <QtTest>
#include <climits>
#include <cmath>
#ifndef Q_OS_WIN // a file size limit stands in for a full disk; the reasons are POSIX's
#include "tests/support/file_size_limit.h"
#endif

using namespace modbus;
using namespace settingsfile;

namespace {
const QByteArray kWorked = QByteArray::fromHex("02031007D00000FFFF9C4103E800000000FFF645CD");
// Values 1..8 and their CRC, 36 DC, which a quantity of 9 reads as a ninth value.
const QByteArray kEight = QByteArray::fromHex("0203100001000200030004000500060007000836DC");

#ifndef Q_OS_WIN
// Saves file as the tool does; false with the reason in *error.
bool save(const QString &file, const QString &path, QString *error)
{
    if (file == "comm.set") {
        const WriteResult result = writeCommSet(path, {-5, -32768});
        *error = result.error;
        return result.ok;
    }
    paramfile::Parameters parameters;
    parameters.readAt = QDateTime(QDate(2026, 12, 7), QTime(8, 0));
    if (file == "p.txt")
        return paramfile::save(path, parameters, error);
    if (file == "backup")
        return calibration::saveBackup(path, parameters, error).has_value();
    return calibration::appendHistory(path, {{"kind", "check"}}, error);
}
#endif
} // namespace

class TestCore : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void crc_data()
    {
        QTest::addColumn<QByteArray>("frame"); // CRC last, low byte first
        // From a separate bitwise CRC-16/MODBUS (reflected 0xA001, start 0xFFFF).
        for (const char *hex : {"FFFF", "00BF40", "313233343536373839374B", "020300000008443F",
                                "02031007D00000FFFF9C4103E800000000FFF645CD"})
            QTest::newRow(hex) << QByteArray::fromHex(hex);
    }

    void crc()
    {
        QFETCH(QByteArray, frame);
        const QByteArray body = frame.chopped(2);
        const CrcPair pair = Crc16(body, int(body.size()) - 1);
        QCOMPARE(QByteArray(1, char(pair.low)) + char(pair.high), frame.right(2));
        QCOMPARE(WithCrc(body), frame);
        QCOMPARE(HasValidCrc(frame), !body.isEmpty()); // two bytes alone are no frame
    }

    void rangesAndTexts()
    {
        const QByteArray frame = QByteArray::fromHex("020300000008443F");
        const auto crc = [&](int j) { return Crc16(frame, j).low | Crc16(frame, j).high << 8; };
        QCOMPARE(crc(5), 0x3F44); // bytes 0..5, as the requests are closed
        QCOMPARE(CloseFrame(2, 3, 0, 0, 0, 8), frame);
        QVERIFY(!HasValidCrc(QByteArray::fromHex("020300000008453F"))); // low byte wrong
        QVERIFY(!HasValidCrc(QByteArray::fromHex("020300000008443E"))); // high byte wrong
        QCOMPARE(crc(-1) & crc(INT_MIN), 0xFFFF);
        QCOMPARE(Crc16(frame.left(6), 6).low, 0x44); // j at the end: clamped, no byte past it
        // Over a frame and its own CRC; past the end: clamped.
        QCOMPARE(crc(7) | crc(8) | crc(INT_MAX), 0);
        QCOMPARE(ShowHex(QByteArray::fromHex("000AF0FF5C")), QStringLiteral(" 00 0A F0 FF 5C"));
        QCOMPARE(RequestText(QByteArray::fromHex("000AF0FF5C")), QStringLiteral("00 0A F0 FF 5C "));
        QCOMPARE(ShowHex(QByteArray()) + RequestText(QByteArray()), QString());
        // A read answer: the request's station and function, two bytes a register, a good CRC.
        const QByteArray one = QByteArray::fromHex("020300080001");
        QVERIFY(IsReadAnswer(WithCrc(one), QByteArray::fromHex("0203022580E774")));
        for (const char *bad : {"0303022580DAB4", "0204022580E600", "02030425800775",
                                "0203022580E775", "0203022580", "02830230F1"})
            QVERIFY2(!IsReadAnswer(WithCrc(one), QByteArray::fromHex(bad)), bad);
        QVERIFY(IsWriteEcho(frame, frame) && !IsWriteEcho(frame, frame.left(7)));
        const auto in = [](std::optional<double> v) {
            return numtext::inRange(v, 1, 255).value_or(-1);
        };
        QCOMPARE(QList<int>({in(0.0), in(1.0), in(255.0), in(256.0), in(std::nan("")), in({})}),
                 QList<int>({-1, 1, 255, -1, -1, -1}));
        // The widest text; other values are shown through the decoding rows.
        QCOMPARE(regmap::hundredthsText(INT_MIN), QStringLiteral("-21474836.48"));
    }

    void numbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<double>>("numbers"); // parse, floorOf, roundOf; none: no number
        const auto row = [](const QString &t, const QList<double> &n = {}) {
            QTest::addRow("\"%s\"", qPrintable(t)) << t << n;
        };
        // clang-format off
        row("2.9", {2.9, 2, 3});
        row("50.5", {50.5, 50, 50}); // halves go to the even neighbour
        row("1001.5", {1001.5, 1001, 1002});
        row(" \t12 \t", {12, 12, 12});
        row("+25E-1", {2.5, 2, 2});
        row("-0.5", {-0.5, -1, 0});
        row(".5", {0.5, 0, 0});
        row("5.", {5, 5, 5});
        for (const QString &bad : {"", "   ", "1,5", "0x10", "1e", "e5", "1.2.3", "-", ".", "1 2", "12abc", "12\n", "inf", "nan", "1e400", "-1e400"})
            row(bad);
        row(QStringLiteral("\u0661\u0662")), row(QStringLiteral("\uFF11"));
        // clang-format on
    }

    void numbers()
    {
        QFETCH(QString, text);
        QFETCH(QList<double>, numbers);
        QList<double> got;
        for (const auto &n : {numtext::parse(text), numtext::floorOf(text), numtext::roundOf(text)})
            if (n)
                got << *n;
        QCOMPARE(got, numbers);
    }

    void registers()
    {
        QString kinds; // h, r: read-only hundredths, whole; x, w: writable ones; ?: out of place
        for (const regmap::Register &r : regmap::kRegisters)
            kinds += "hrxw?"[r.address == kinds.size() ? r.writable * 2 + int(r.shown) : 4];
        QCOMPARE(kinds, QStringLiteral("hhhhrrrrwwwwwwwwww")); // registers 0..17 in turn
    }

    void boxes_data()
    {
        QTest::addColumn<QByteArray>("inx");
        QTest::addColumn<QList<int>>("args"); // display mode, channel base, quantity
        QTest::addColumn<QString>("boxes");   // i: txtCurrentInput, c: txtChannel, in writing order
        const auto row = [](const char *name, const QByteArray &inx, const QList<int> &args,
                            const char *boxes) { QTest::newRow(name) << inx << args << boxes; };
        const auto hex = [](const char *h) { return QByteArray::fromHex(h); };
        // clang-format off
        row("worked example", kWorked, {1, 0, 8}, "i0=20.00 i1=0.00 i2=0.00 i3=-255.35 i4=1000 i5=0 i6=0 i7=-10");
        row("5 bytes", hex("0283020000"), {2, 0, 1}, "");
        row("6 bytes", hex("0203022580E7"), {2, 0, 1}, "c0=9600");
        row("mode 3", kWorked, {3, 0, 8}, "");
        row("sign edges", hex("0203109C409C41FFFEFFFF9C409C41FFFEFFFFC05A"), {1, 0, 8}, "i0=400.00 i1=-255.35 i2=-0.02 i3=0.00 i4=40000 i5=-25535 i6=-2 i7=0");
        row("base 5, past the last box", kEight, {2, 5, 8}, "c5=1 c6=2 c7=3 c8=4 c9=5");
        row("base -1, before the first box", kEight, {2, -1, 3}, "c0=2 c1=3");
        row("quantity 9", kEight, {2, 0, 9}, "c0=1 c1=2 c2=3 c3=4 c4=5 c5=6 c6=7 c7=8 c8=14044");
        row("quantity 16, eight boxes", kEight, {1, 0, 16}, "i0=0.01 i1=0.02 i2=0.03 i3=0.04 i4=5 i5=6 i6=7 i7=8");
        // Short replies: a byte past the end keeps the one the previous value used.
        row("7 bytes for 8", hex("02031000070102"), {1, 0, 8}, "i0=0.07 i1=2.58 i2=2.58 i3=2.58 i4=258 i5=258 i6=258 i7=258");
        row("low byte carried", hex("0203060001000203"), {2, 0, 3}, "c0=1 c1=2 c2=770");
        // clang-format on
    }

    void boxes()
    {
        QFETCH(QByteArray, inx);
        QFETCH(QList<int>, args);
        QFETCH(QString, boxes);
        const decode::Shown shown = decode::DoData(inx, args[0], args[1], args[2]);
        QStringList got;
        for (const decode::BoxText &box : shown.boxes)
            got << (box.target == decode::Target::Channel ? "c" : "i") +
                       QString::number(box.index) + '=' + box.text;
        QCOMPARE(got.join(' '), boxes);
        QCOMPARE(shown.hasReplyText, inx.size() >= 6);
        if (inx == kWorked)
            QCOMPARE(shown.replyText,
                     " 02 03 10 07 D0 00 00 FF FF 9C 41 03 E8 00 00 00 00 FF F6 45 CD");
    }

    void files_data()
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
        // clang-format off
        row(true, "25,9600", "25,9600", {25, 9600});
        row(true, "int16 ends", "-32768,+32767", {-32768, 32767});
        row(true, "7,1", "7,1\r\n", {7, 1});
        row(true, "separators", "\xEF\xBB\xBF 6 \t,,\r\n9600", {6, 9600});
        row(true, "extra values", "6,9600,x\r\n", {6, 9600});
        row(true, "no file", QByteArray(), defaults);
        for (const char *bad : {"", "4", "4,32768", "-32769,9600", "4.5,9600", "4;9600", "-,9600", "4,0", "4,-9600"})
            row(true, bad, bad, defaults);
        // The read stops at 64 KiB; a number cut there is dropped, not read short.
        row(true, "64 KiB", QByteArray(65536 - 7, ' ') + "12,9600", {12, 9600});
        row(true, "64 KiB and 1", QByteArray(65536 - 6, ' ') + "12,9600", defaults);
        row(true, "ends at the limit", QByteArray(65536 - 7, ' ') + "12,9600 ", defaults); // 9600 might go on
        row(false, "shipped", "0,2,16,0\r\n", {2, 16});
        row(false, "no file", QByteArray(), {-1, -1});
        row(false, "three values", "0,5,8", {-1, -1});
        // clang-format on
    }

    void files()
    {
        QFETCH(bool, comm);
        QFETCH(QByteArray, content);
        QFETCH(QList<int>, values);
        const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(content.isNull() || writeFile(path, content));
        const CommSettings c = readCommSet(path);
        const ModSettings m = readModSet(path).value_or(ModSettings{-1, -1});
        QCOMPARE((comm ? QList<int>{c.port, c.baud} : QList<int>{m.station, m.dataLength}), values);
    }

    // Save writes where start-up reads first. An installed copy, or a program
    // folder that cannot be written, puts the user's folder first.
    void places()
    {
        const QTemporaryDir dir;
        const QString user = dir.filePath(QStringLiteral("user"));
        const auto places = [&](const QString &program, const QString &config) {
            return settingsplaces::placesFor(program, config).readDirs;
        };
        QCOMPARE(places(dir.path(), user), QStringList{dir.path()});
        QCOMPARE(places(dir.path(), QString()), QStringList{dir.path()});
#ifdef Q_OS_WIN
        // Wine lets anyone write Program Files: only its name can tell.
        const QString programs = QDir::fromNativeSeparators(qEnvironmentVariable("ProgramFiles"));
        const QStringList installed = {programs + "/Common Files", programs.toLower() + "/x/"};
        const QString elsewhere = programs + " Extra/x";
        QCOMPARE(settingsplaces::userSettingsDir(),
                 QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA")) + "/rv4820");
#else
        const QStringList installed = {"/usr/lib/rv4820", "/usr/local/lib/rv4820/"};
        const QString elsewhere = "/usrx/lib";
        QVERIFY(settingsplaces::userSettingsDir().endsWith("/rv4820"));
#endif
        for (const QString &program : installed + QStringList{dir.filePath("missing")})
            QCOMPARE(places(program, user), QStringList({user, program}));
        QVERIFY(!settingsplaces::isInstalled(elsewhere));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("user")));
        QFile both[] = {QFile(user + "/comm.set"), QFile(dir.filePath("comm.set"))};
        for (QFile &file : both)
            QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(settingsplaces::findFile({user, dir.path()}, "comm.set"), user + "/comm.set");
        QCOMPARE(settingsplaces::findFile({user, dir.path()}, "ModSet.set"), user + "/ModSet.set");
    }

#ifndef Q_OS_WIN
    // Every file the tool saves, each way a save fails: the system's reason, the old
    // file whole, nothing left beside it. DIR: the folder.
    void saves_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("error"); // none: saved
        const auto row = [](const char *file, const char *fault, const char *error) {
            QTest::addRow("%s, %s", file, fault) << file << fault << error;
        };
        for (const char *file : {"comm.set", "p.txt", "backup"})
            row(file, "no byte may grow a file", "File too large"); // as on a full disk
        row("h.jsonl", "no byte may grow a file", "its lock file DIR/h.jsonl.lock cannot be made");
        row("h.jsonl", "no file may pass 256 bytes", "File too large"); // its lock file may
        row("comm.set", "saved", "");
        row("comm.set", "no folder", "No such file or directory");
        row("comm.set", "a folder in its place", "Filename refers to a directory");
        row("h.jsonl", "saved", "");
        row("h.jsonl", "a folder in its place", "Is a directory");
        row("h.jsonl", "a file in its folder's place",
            "the folder of DIR/f/h.jsonl cannot be made");
        row("h.jsonl", "locked", "DIR/h.jsonl is being written by another program");
        row("h.jsonl.head", "a folder in its place", "Filename refers to a directory");
        row("backup", "a file in its folder's place", "the folder DIR/f cannot be made");
    }
    void saves()
    {
        QFETCH(QString, file);
        QFETCH(QString, fault);
        const QTemporaryDir dir;
        const QString target = dir.filePath(file == "backup" ? "b" : file);
        const QByteArray old = QByteArray(255, 'o') + '\n';
        QVERIFY(fault == "a folder in its place" || file == "backup" ? QDir().mkdir(target)
                                                                     : writeFile(target, old));
        QString path = file == "h.jsonl.head" ? dir.filePath("h.jsonl") : target;
        QVERIFY(file != "h.jsonl.head" || writeFile(path, ""));
        if (fault == "no folder")
            path = dir.filePath("none/comm.set");
        if (fault == "a file in its folder's place") {
            QVERIFY(writeFile(dir.filePath("f"), ""));
            path = dir.filePath(file == "backup" ? "f" : "f/h.jsonl");
        }
        QLockFile lock(path + ".lock");
        QVERIFY(fault != "locked" || lock.tryLock(0));
        const auto entries = [&dir] { // every file and folder under it
            QStringList all;
            for (QDirIterator it(dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                 QDirIterator::Subdirectories);
                 it.hasNext();)
                all << it.next();
            all.sort();
            return all;
        };
        const QStringList before = entries();
        FileSizeLimit limit(fault == "no byte may grow a file"      ? 0
                            : fault == "no file may pass 256 bytes" ? 256
                                                                    : RLIM_INFINITY);
        QString error;
        const bool saved = save(file, path, &error);
        limit.lift();
        QTEST(saved ? "" : error.replace(dir.path(), "DIR"), "error");
        if (saved)
            QCOMPARE(readFile(target).replace(old, "").left(12),
                     file == "comm.set" ? "-5,-32768\r\n" : "{\"kind\":\"che");
        else
            QCOMPARE(entries(), before);
        QVERIFY(saved || !QFileInfo(target).isFile() || readFile(target) == old);
    }
#endif
};

QTEST_GUILESS_MAIN(TestCore)
#include "tst_core.moc"
