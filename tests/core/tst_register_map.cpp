// The register table that the commands and the simulator share.

#include "device/register_map.h"

#include <QtTest>
#include <climits>

class TestRegisterMap : public QObject {
    Q_OBJECT
private slots:
    void registers_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<char>("kind");
        // Register 0..17: h hundredths, read-only; r whole, read-only; w whole, writable.
        const char kinds[] = "hhhhrrrrwwwwwwwwww";
        for (int address = 0; address < 18; ++address)
            QTest::addRow("register %d", address) << address << kinds[address];
    }

    void registers()
    {
        QFETCH(int, address);
        QFETCH(char, kind);
        const regmap::Register &reg = regmap::kRegisters.at(address);
        QCOMPARE(reg.address, address);
        QCOMPARE(reg.writable, kind == 'w');
        QCOMPARE(reg.shown, kind == 'h' ? regmap::Shown::Hundredths : regmap::Shown::Whole);
    }

    void lowestInt()
    {
        // The widest text; other values are shown through the decoding tests.
        QCOMPARE(regmap::hundredthsText(INT_MIN), QStringLiteral("-21474836.48"));
    }
};

QTEST_GUILESS_MAIN(TestRegisterMap)
#include "tst_register_map.moc"
