// Calibration arithmetic without a window: the proposal or why there is none, the
// rounding of halves, the ends of the coefficient range, the check after a write, and
// the backup's values and names.

#include "device/calibration.h"
#include "device/calibration_backup.h"

#include <QtTest>

using namespace calibration;

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
        // clang-format on
    }

    void propose()
    {
        QFETCH(bool, input);
        QFETCH(int, old);
        QFETCH(QString, readings);
        QFETCH(QString, reference);
        QFETCH(QString, meter);
        std::vector<Reading> values;
        for (const QString &text : readings.split(' ', Qt::SkipEmptyParts))
            values.push_back(text == "x" ? Reading() : text.toDouble());
        const std::optional<int> coefficient = old < 0 ? std::nullopt : std::optional(old);
        const Proposal p = input ? proposeInput(coefficient, values, reference)
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
    }

    void backup()
    {
        // Registers 8..17 as the module holds them: 40001 stays 40001, not -25535.
        const QByteArray reply = QByteArray::fromHex("020314"
                                                     "4B00"
                                                     "0002"
                                                     "2710"
                                                     "9C41"
                                                     "1388"
                                                     "3A98"
                                                     "0000"
                                                     "FFFF"
                                                     "2711"
                                                     "270F"
                                                     "AAAA");
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
