// The one reader of numbers the operator types, and its conversions.

#include "device/number_text.h"

#include <QtTest>
#include <cmath>

class TestNumberText : public QObject {
    Q_OBJECT
private slots:
    void conversions_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<double>>("numbers"); // parse, floorOf, roundOf; none: no number
        QTest::newRow("2.9") << QString("2.9") << QList<double>{2.9, 2, 3};
        // Halves go to the even neighbour.
        QTest::newRow("50.5") << QString("50.5") << QList<double>{50.5, 50, 50};
        QTest::newRow("1001.5") << QString("1001.5") << QList<double>{1001.5, 1001, 1002};
        QTest::newRow(" \t12 \t") << QString(" \t12 \t") << QList<double>{12, 12, 12};
        QTest::newRow("+25E-1") << QString("+25E-1") << QList<double>{2.5, 2, 2};
        QTest::newRow("-0.5") << QString("-0.5") << QList<double>{-0.5, -1, 0};
        QTest::newRow(".5") << QString(".5") << QList<double>{0.5, 0, 0};
        QTest::newRow("5.") << QString("5.") << QList<double>{5, 5, 5};
        for (const QString &bad :
             QStringList{"", "   ", "1,5", "0x10", "1e", "e5", "1.2.3", "-", ".", "1 2", "12abc",
                         "12\n", "inf", "nan", "1e400", "-1e400", QStringLiteral("\u0661\u0662"),
                         QStringLiteral("\uFF11")})
            QTest::addRow("\"%s\"", qPrintable(bad)) << bad << QList<double>();
    }

    void conversions()
    {
        QFETCH(QString, text);
        QFETCH(QList<double>, numbers);
        QList<double> got;
        for (const auto &n : {numtext::parse(text), numtext::floorOf(text), numtext::roundOf(text)})
            if (n)
                got << *n;
        QCOMPARE(got, numbers);
    }

    void ranges()
    {
        const auto in = [](std::optional<double> v) {
            return numtext::inRange(v, 1, 255).value_or(-1);
        };
        QCOMPARE(QList<int>({in(0.0), in(1.0), in(255.0), in(256.0), in(std::nan("")), in({})}),
                 QList<int>({-1, 1, 255, -1, -1, -1}));
    }
};

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_number_text.moc"
