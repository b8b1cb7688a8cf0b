#include "device/number_text.h"

#include <QtTest>
#include <climits>
#include <clocale>
#include <cmath>
#include <limits>

namespace {
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kNoByte = -1;

bool sameNumber(std::optional<double> got, double want)
{
    return std::isnan(want) ? !got.has_value() : got.has_value() && *got == want;
}
} // namespace

class TestNumberText : public QObject {
    Q_OBJECT
private slots:
    void conversions_data();
    void conversions();
    void ranges();
    void ignoresLocale();
};

void TestNumberText::conversions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value"); // NaN: not a number
    QTest::addColumn<double>("floor");
    QTest::addColumn<double>("round");
    QTest::addColumn<int>("floorByte"); // -1: no byte
    QTest::addColumn<int>("roundByte");

    const auto row = [](const char *name, const QString &text, double value, double floor,
                        double round, int floorByte, int roundByte) {
        QTest::newRow(name) << text << value << floor << round << floorByte << roundByte;
    };
    const auto none = [&](const char *name, const QString &text) {
        row(name, text, kNone, kNone, kNone, kNoByte, kNoByte);
    };
    row("2", "2", 2, 2, 2, 2, 2);
    row("2.9", "2.9", 2.9, 2, 3, 2, 3);
    row("49.9", "49.9", 49.9, 49, 50, 49, 50);
    row("50.5 to even", "50.5", 50.5, 50, 50, 50, 50);
    row("1000.5 to even", "1000.5", 1000.5, 1000, 1000, kNoByte, kNoByte);
    row("1001.5 to even", "1001.5", 1001.5, 1001, 1002, kNoByte, kNoByte);
    row("60000.7", "60000.7", 60000.7, 60000, 60001, kNoByte, kNoByte);
    row("blanks around", "  12  ", 12, 12, 12, 12, 12);
    row("tabs around", "\t7\t", 7, 7, 7, 7, 7);
    row("exponent", "1e2", 100, 100, 100, 100, 100);
    row("exponent signs", "+25E-1", 2.5, 2, 2, 2, 2);
    row("minus zero", "-0", -0.0, -0.0, -0.0, 0, 0);
    row("minus half", "-0.5", -0.5, -1, -0.0, kNoByte, 0);
    row("255.4", "255.4", 255.4, 255, 255, 255, 255);
    row("255.5", "255.5", 255.5, 255, 256, 255, kNoByte);
    row("256", "256", 256, 256, 256, kNoByte, kNoByte);
    row("-1", "-1", -1, -1, -1, kNoByte, kNoByte);
    row("overflow", "1e400", kInf, kInf, kInf, kNoByte, kNoByte);
    row("point first", ".5", 0.5, 0, 0, 0, 0);
    row("point last", "5.", 5, 5, 5, 5, 5);
    row("plus", "+3", 3, 3, 3, 3, 3);
    none("empty", "");
    none("blanks only", "   ");
    none("letters", "abc");
    none("thousands", "1,000");
    none("decimal comma", "1,5");
    none("hexadecimal", "0x10");
    none("bare exponent", "1e");
    none("exponent only", "e5");
    none("two points", "1.2.3");
    none("sign only", "-");
    none("point only", ".");
    none("inner blank", "1 2");
    none("arabic-indic", QStringLiteral("\u0661\u0662"));
    none("full width", QStringLiteral("\uFF11\uFF12"));
    none("trailing letters", "12abc");
    none("trailing line break", "12\n");
    none("inf", "inf");
    none("nan", "nan");
}

void TestNumberText::conversions()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(double, floor);
    QFETCH(double, round);
    QFETCH(int, floorByte);
    QFETCH(int, roundByte);
    QVERIFY(sameNumber(numtext::parse(text), value));
    QVERIFY(sameNumber(numtext::floorOf(text), floor));
    QVERIFY(sameNumber(numtext::roundOf(text), round));
    QCOMPARE(numtext::floorByte(text).value_or(kNoByte), floorByte);
    QCOMPARE(numtext::roundByte(text).value_or(kNoByte), roundByte);
}

void TestNumberText::ranges()
{
    const auto in = [](std::optional<double> value, int min, int max) {
        return numtext::inRange(value, min, max).value_or(kNoByte);
    };
    QCOMPARE(in(50.0, 50, 60000), 50);
    QCOMPARE(in(60000.0, 50, 60000), 60000);
    QCOMPARE(in(49.0, 50, 60000), kNoByte);
    QCOMPARE(in(60001.0, 50, 60000), kNoByte);
    QCOMPARE(in(std::nullopt, 0, 255), kNoByte);
    QCOMPARE(in(-kInf, INT_MIN, INT_MAX), kNoByte);
    QCOMPARE(in(numtext::floorOf(QStringLiteral("1e400")), INT_MIN, INT_MAX), kNoByte);
    QCOMPARE(in(kNone, INT_MIN, INT_MAX), kNoByte);
    QCOMPARE(numtext::floorByte(QStringLiteral("0"), 1).value_or(kNoByte), kNoByte);
    QCOMPARE(numtext::floorByte(QStringLiteral("1.9"), 1).value_or(kNoByte), 1);
}

void TestNumberText::ignoresLocale()
{
    const QByteArray saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        QSKIP("de_DE.UTF-8 is not installed");
    const auto restore = qScopeGuard([&] { std::setlocale(LC_ALL, saved.constData()); });
    QVERIFY(sameNumber(numtext::parse(QStringLiteral("1.5")), 1.5));
    QVERIFY(sameNumber(numtext::parse(QStringLiteral("1,5")), kNone));
}

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_number_text.moc"
