// Calibration arithmetic without a window: the proposal or why there is none, the
// rounding of halves, the ends of the coefficient range, the check after a write, the
// multi-point check and its fit, the record's CSV, the history's chain, and the
// backup's values and names.

#include "device/calibration.h"
#include "device/calibration_backup.h"
#include "device/calibration_history.h"
#include "device/calibration_record.h"
#include "tests/support/files.h"

#include <QtTest>

using namespace calibration;

// Reads written as "12.01 x 12.03", in mA; x: a failed read.
static std::vector<Reading> readingsOf(const QString &text)
{
    std::vector<Reading> values;
    for (const QString &one : text.split(' ', Qt::SkipEmptyParts))
        values.push_back(one == "x" ? Reading() : one.toDouble());
    return values;
}

class TestCalibration : public QObject {
    Q_OBJECT

private slots:
    void propose_data()
    {
        QTest::addColumn<bool>("input");
        QTest::addColumn<int>("old");          // -1: its read failed
        QTest::addColumn<QString>("readings"); // mA; x: a failed read
        QTest::addColumn<QString>("reference");
        QTest::addColumn<QString>("meter");
        QTest::addColumn<QString>("result"); // new coefficient and expected value, or why not
        const auto row = [](const char *name, bool input, int old, const char *readings,
                            const char *reference, const char *meter, const char *result) {
            QTest::newRow(name) << input << old << readings << reference << meter << result;
        };
        // clang-format off
        row("1.2 % high", true, 10000, "12.14 12.14 12.14", "12.00", "", "9885 12.000");
        row("half down to even", true, 9999, "1 1", "1.5", "", "14998 1.500");
        row("half up to even", true, 9997, "1", "1.5", "", "14996 1.500");
        row("lowest", true, 5000, "1", "1", "", "5000 1.000");
        row("below", true, 5000, "1", "0.9998", "", "The new coefficient 4999 would lie outside 5000 to 15000.");
        row("highest", true, 5000, "1", "3", "", "15000 3.000");
        row("above", true, 5000, "1", "3.0002", "", "The new coefficient 15001 would lie outside 5000 to 15000.");
        row("spread 0.5 %", true, 10000, "9.975 10.025", "10", "", "10000 10.000");
        row("spread wider", true, 10000, "9.974 10.026", "10", "", "The readings spread over 0.052 mA, more than 0.5 % of their mean 10.000 mA: the current is not steady.");
        row("a read failed", true, 10000, "12 x", "12", "", "A read failed: the module did not answer as it should.");
        row("coefficient unread", true, -1, "12", "12", "", "A read failed: the module did not answer as it should.");
        row("no readings", true, 10000, "", "12", "", "There are no readings.");
        row("reference text", true, 10000, "12", "12 mA", "", "The reference is not a number.");
        row("reference 0", true, 10000, "12", "0", "", "The reference must be above zero.");
        row("mean 0", true, 10000, "0 0", "12", "", "The mean reading must be above zero.");
        row("output", false, 10000, "", "12", "11.88", "10101 12.000");
        row("output above", false, 10000, "", "12", "7.9", "The new coefficient 15190 would lie outside 5000 to 15000.");
        row("meter empty", false, 10000, "", "12", "", "The meter reading is not a number.");
        row("meter negative", false, 10000, "", "12", "-11.88", "The meter reading must be above zero.");
        row("output reference", false, 10000, "", "-12", "11.88", "The reference must be above zero.");
        row("output unread", false, -1, "", "12", "11.88", "A read failed: the module did not answer as it should.");
        row("product beyond int", true, 15000, "0.000001", "1e6", "", "The new coefficient 1.5e+16 would lie outside 5000 to 15000.");
        row("product beyond a long text", true, 15000, "1e-300", "1e10", "", "The new coefficient beyond any number would lie outside 5000 to 15000.");
        // clang-format on
    }

    void propose()
    {
        QFETCH(bool, input);
        QFETCH(int, old);
        QFETCH(QString, readings);
        QFETCH(QString, reference);
        QFETCH(QString, meter);
        const std::optional<int> coefficient = old < 0 ? std::nullopt : std::optional(old);
        const Proposal p = input ? proposeInput(coefficient, readingsOf(readings), reference)
                                 : proposeOutput(coefficient, reference, meter);
        QTEST(p.ok() ? QString("%1 %2").arg(p.newCoefficient).arg(p.expected, 0, 'f', 3)
                     : reasonText(p),
              "result");
    }

    void checkAfterWrite()
    {
        const auto shown = [](std::optional<int> held, double reading) {
            const Check c = check(9885, held, reading, 12);
            return QString("%1 %2 %3 %4")
                .arg(c.readBack)
                .arg(c.holds)
                .arg(percentText(c.error))
                .arg(c.passed());
        };
        QCOMPARE(shown(9885, 12.012), "1 1 +0.10 % 1"); // 0.1 % is still within
        QCOMPARE(shown(9885, 11.987), "1 1 -0.11 % 0");
        QCOMPARE(shown(9884, 12), "1 0 +0.00 % 0");
        QCOMPARE(shown(std::nullopt, 12), "0 0 +0.00 % 0");
        // Sentences joined as each language writes them.
        QCOMPARE(sentences({"Held.", "", " Read 12 mA."}), "Held. Read 12 mA.");
        QCOMPARE(sentences({"保持。", "读数 12 mA。"}), "保持。读数 12 mA。");
    }

    // Points given as "reference:reading reference:reading ..." in mA.
    void fit_data()
    {
        QTest::addColumn<int>("old");
        QTest::addColumn<QString>("points");
        QTest::addColumn<QString>("result"); // as found, new coefficient, offset, line, left
        const auto row = [](const char *name, int old, const char *points, const char *result) {
            QTest::newRow(name) << old << points << result;
        };
        // clang-format off
        row("gain only", 10000, "4:4.048 12:12.144 20:20.24", "fail 9881 | -0.000 | 0.000 | 0.001 | within");
        row("offset only", 10000, "4:4.05 12:12.05 20:20.05", "fail 9968 | 0.050 | 0.000 | 0.037 | beyond");
        row("gain and offset", 10000, "4:4.098 12:12.194 20:20.29", "fail 9850 | 0.049 | 0.000 | 0.037 | beyond");
        row("non-linear", 10000, "4:4 12:12.1 20:20", "fail 9978 | 0.033 | 0.067 | 0.073 | beyond");
        row("already right", 10000, "4:4 20:20.01", "pass 9995 | -0.002 | 0.000 | 0.002 | within");
        row("a zero reference", 10000, "0:0 20:20.2", "fail 9901 | -0.000 | 0.000 | 0.000 | within");
        row("half down to even", 9999, "1.5:1 3:2", "fail 14998 | 0.000 | 0.000 | 0.000 | within");
        row("nothing above zero", 10000, "4:0 20:0", "fail no point reads above zero, so no gain fits");
        row("beyond the range", 10000, "4:2 20:10", "fail the new coefficient 20000 would lie outside 5000 to 15000");
        row("overflow", 15000, "20:1e-12", "fail the new coefficient 3e+17 would lie outside 5000 to 15000");
        // clang-format on
    }

    void fit()
    {
        QFETCH(int, old);
        QFETCH(QString, points);
        std::vector<PointResult> found;
        for (const QString &pair : points.split(' ')) {
            const Taken taken = takeInputPoint(pair.section(':', 0, 0).toDouble(),
                                               {pair.section(':', 1).toDouble()});
            QVERIFY(taken.point);
            found.push_back(*taken.point);
        }
        const Fit f = fitGain(old, found);
        const QString asFound = resultText(passes(found, 0.1)) + ' ';
        QTEST(f.ok() ? asFound + QString("%1 | %2 | %3 | %4 | %5")
                                     .arg(f.newCoefficient)
                                     .arg(f.offset, 0, 'f', 3)
                                     .arg(f.nonLinearity, 0, 'f', 3)
                                     .arg(f.leftError, 0, 'f', 3)
                                     .arg(f.leftBeyond(0.1) ? "beyond" : "within")
                     : asFound + f.refusal,
              "result");
    }

    void point_data()
    {
        QTest::addColumn<QString>("reference"); // input: mA; output: the meter's text
        QTest::addColumn<QString>("reads");     // x: a failed read
        QTest::addColumn<QString>("result");
        const auto row = [](const char *name, const char *reference, const char *reads,
                            const char *result) {
            QTest::newRow(name) << reference << reads << result;
        };
        // clang-format off
        row("steady", "12", "12.01 12.03 12.02", "12.000 12.020 0.020 0.010 +0.020 +0.125 fail");
        row("at the tolerance", "4", "4.016", "4.000 4.016 0.000 0.000 +0.016 +0.100 pass");
        row("zero applied, zero read", "0", "0 0", "0.000 0.000 0.000 0.000 +0.000 +0.000 pass");
        row("zero applied, some read", "0", "0 0.01", "the reads spread over 0.010 mA, more than 0.5 % of their mean 0.005 mA: the current is not steady");
        row("spread 0.5 %", "10", "9.975 10.025", "10.000 10.000 0.050 0.035 +0.000 +0.000 pass");
        row("spread wider", "10", "9.974 10.026", "the reads spread over 0.052 mA, more than 0.5 % of their mean 10.000 mA: the current is not steady");
        row("a read failed", "12", "12 x", "a read failed: the module did not answer as it should");
        row("no reads", "12", "", "there are no readings");
        row("output", "meter 11.88", "12 12", "12.000 11.880 0.000 0.000 -0.120 -0.750 fail");
        row("output meter text", "meter 11,88", "12", "meter: “11,88” is not a current from 0 to 25 mA");
        row("output meter negative", "meter -1", "12", "meter: “-1” is not a current from 0 to 25 mA");
        row("output read failed", "meter 12", "x", "a read failed: the module did not answer as it should");
        // clang-format on
    }

    void point()
    {
        QFETCH(QString, reference);
        QFETCH(QString, reads);
        const std::vector<Reading> values = readingsOf(reads);
        const Taken taken = reference.startsWith("meter ")
                                ? takeOutputPoint(values, reference.mid(6))
                                : takeInputPoint(reference.toDouble(), values);
        QTEST(taken.point ? pointTable({*taken.point}, 0.1).rows[0].join(' ') : taken.refusal,
              "result");
        QCOMPARE(mAText(0.0005) + ", " + mAText(-0.00049), "0.001 mA, 0.000 mA"); // never -0.000
    }

    void parse_data()
    {
        QTest::addColumn<QString>("points");
        QTest::addColumn<QString>("tolerance");
        QTest::addColumn<QString>("result");
        // clang-format off
        QTest::newRow("defaults") << "4, 8, 12, 16, 20" << "0.1" << "4 8 12 16 20 | 0.1";
        QTest::newRow("blanks and full-width commas") << " 0，25 ;12 " << "10" << "0 25 12 | 10";
        QTest::newRow("not a number") << "4, 8 mA" << "0.1" << "points: “mA” is not a number";
        QTest::newRow("below zero") << "-1, 4" << "0.1" << "points: -1 mA lies outside 0 to 25 mA";
        QTest::newRow("above 25") << "4, 25.01" << "0.1" << "points: 25.01 mA lies outside 0 to 25 mA";
        QTest::newRow("one current") << "12, 12" << "0.1" << "points: at least two different currents are needed";
        QTest::newRow("empty") << "" << "0.1" << "points: at least two different currents are needed";
        QTest::newRow("as many as allowed") << "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20" << "0.1" << "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 | 0.1";
        QTest::newRow("too many") << "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21" << "0.1" << "points: at most 20 points";
        QTest::newRow("tolerance 0") << "4, 20" << "0" << "tolerance: “0” is not a share of the span above 0 and at most 10 %";
        QTest::newRow("tolerance above 10") << "4, 20" << "10.5" << "tolerance: “10.5” is not a share of the span above 0 and at most 10 %";
        // clang-format on
    }

    void parse()
    {
        QFETCH(QString, points);
        QFETCH(QString, tolerance);
        QString error;
        const auto list = parsePoints(points, &error);
        const auto share = list ? parseTolerance(tolerance, &error) : std::nullopt;
        QStringList texts;
        for (double p : list.value_or(std::vector<double>{}))
            texts << QString::number(p);
        QTEST(share ? texts.join(' ') + " | " + QString::number(*share) : error, "result");
    }

    void record()
    {
        Record r;
        r.number = "RV4820-20261207-181530-0000ABCD";
        r.at = QDateTime(QDate(2026, 12, 7), QTime(18, 15, 30), QTimeZone(3600));
        r.station = 2;
        r.channel = 3;
        r.tolerance = 0.1;
        r.asFound = {*takeInputPoint(4, {4.048}).point};
        r.asLeft = {*takeInputPoint(4, {4.0, 4.01}).point};
        QCOMPARE(certificateFileName(r), "rv4820-cal-station2-input3-20261207-181530.pdf");
        QCOMPARE(csv(r), "record,check,channel,reference_mA,mean_mA,spread_mA,std_deviation_mA,"
                         "error_mA,error_percent_of_span,result\n"
                         "RV4820-20261207-181530-0000ABCD,as found,input3,4.0000,4.0480,0.0000,"
                         "0.0000,0.0480,0.3000,fail\n"
                         "RV4820-20261207-181530-0000ABCD,as left,input3,4.0000,4.0050,0.0100,"
                         "0.0071,0.0050,0.0312,pass\n");
        const QJsonObject entry = historyEntry(r, "check");
        QCOMPARE(entry["at"].toString() + ' ' + entry["channel"].toString(),
                 "2026-12-07T18:15:30+01:00 input3");
        QCOMPARE(certificate(r).sections[0].fields[1].second, "2026-12-07 18:15:30 UTC+01:00");
    }

    void history_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<int>("brokenLine");
        QTest::addColumn<QString>("text");
        const auto row = [](const char *tag, const char *damage, int line, const char *text) {
            QTest::newRow(tag) << QString(damage) << line
                               << "The calibration history H/calibrations.jsonl is " +
                                      QString(text);
        };
        // clang-format off
        row("whole", "", 0, "whole: 3 entries, each following the one before.");
        row("line 2 edited", "edit 2", 3, "broken: line 3 does not follow line 2: line 2 was changed, or lines between them were removed.");
        row("line 2 deleted", "delete 2", 2, "broken: line 2 does not follow line 1: line 1 was changed, or lines between them were removed.");
        row("line 1 deleted", "delete 1", 1, "broken: line 1 does not start the history: lines before it were removed.");
        row("last line deleted", "delete 3", 3, "broken: it ends at line 2, but line 3 was written last: lines at its end were removed or changed.");
        row("last line edited", "edit 3", 4, "broken: it ends at line 3, but line 3 was written last: lines at its end were removed or changed.");
        row("garbled", "garble 3", 3, "broken: line 3 is not a calibration entry.");
        // clang-format on
    }

    void history()
    {
        QFETCH(QString, damage);
        QTemporaryDir dir;
        const QString path = historyPath(dir.filePath("H"));
        QString error;
        for (const char *kind : {"check", "adjust", "restore"})
            QVERIFY2(appendHistory(path, {{"kind", kind}}, &error), qPrintable(error));
        QList<QByteArray> lines = readFile(path).split('\n');
        QVERIFY(lines[1].startsWith(R"({"kind":"adjust","prev":")") &&
                lines[1].endsWith(R"(","seq":2})"));
        const int at = damage.section(' ', 1).toInt() - 1;
        if (damage.startsWith("edit"))
            lines[at].replace("adjust", "adjusT").replace("restore", "restorE");
        else if (damage.startsWith("delete"))
            lines.removeAt(at);
        else if (damage.startsWith("garble"))
            lines[at] = "{";
        QVERIFY(writeFile(path, lines.join('\n')));
        const HistoryVerdict verdict = verifyHistory(path);
        QCOMPARE(verdict.whole, damage.isEmpty());
        QTEST(verdict.brokenLine, "brokenLine");
        // The text names the file with the system's own separators.
        QTEST(QString(verdict.text).replace('\\', '/').remove(dir.path() + '/'), "text");
    }

    void backup()
    {
        // Registers 8..17 as the module holds them: 40001 stays 40001, not -25535.
        const QByteArray reply =
            QByteArray::fromHex("020314 4B00 0002 2710 9C41 1388 3A98 0000 FFFF 2711 270F AAAA");
        const auto values =
            paramfile::fromRead(QByteArray::fromHex("02030008000A"), reply, 4, "9600,N,8,1");
        QVERIFY(values && !paramfile::fromRead("\x02", reply.left(22), 4, ""));
        QCOMPARE(values->port + ' ' + values->settings + ' ' + QString::number(values->station),
                 "COM4 9600,N,8,1 2");
        QCOMPARE(QList<int>(values->values.begin(), values->values.end()),
                 QList<int>({19200, 2, 10000, 40001, 5000, 15000, 0, 65535, 10001, 9999}));
        QTemporaryDir dir;
        paramfile::Parameters p;
        p.station = 7;
        p.readAt = QDateTime(QDate(2026, 12, 7), QTime(14, 3, 5));
        QString error;
        const QString folder = dir.filePath("a/b");
        QCOMPARE(saveBackup(folder, p, &error), folder + "/station7-20261207-140305.txt");
        QCOMPARE(saveBackup(folder, p, &error), folder + "/station7-20261207-140305-2.txt");
        QVERIFY(!saveBackup(folder + "/station7-20261207-140305.txt/c", p, &error));
        QCOMPARE(error, "the folder " + QDir::toNativeSeparators(folder) +
                            QDir::toNativeSeparators("/station7-20261207-140305.txt/c") +
                            " cannot be made");
    }
};

QTEST_GUILESS_MAIN(TestCalibration)
#include "tst_calibration.moc"
