// Which device "COM"n names: a link under <programDir>/ports followed to the
// real device, else the n-th built-in serial port.

#include "serial/port_names.h"
#include "tests/support/pty.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestPortNames : public QObject {
    Q_OBJECT

private slots:
    void deviceFor_data();
    void deviceFor();
};

enum class Link { None, ToPty, ToLinkToPty, Dangling };
Q_DECLARE_METATYPE(Link)

void TestPortNames::deviceFor_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<Link>("link");
    QTest::addColumn<QString>("expected"); // "pty" and "link" stand for the paths made here

    QTest::newRow("no link, COM1") << 1 << Link::None << "/dev/ttyS0";
    QTest::newRow("no link, COM4") << 4 << Link::None << "/dev/ttyS3";
    QTest::newRow("no link, COM255") << 255 << Link::None << "/dev/ttyS254";
    QTest::newRow("link to a pty") << 3 << Link::ToPty << "pty";
    QTest::newRow("link to a link") << 12 << Link::ToLinkToPty << "pty";
    QTest::newRow("dangling link") << 5 << Link::Dangling << "link";
}

void TestPortNames::deviceFor()
{
    QFETCH(int, number);
    QFETCH(Link, link);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    Pty pty;
    QVERIFY(pty.isOpen());
    const QString linkPath = QStringLiteral("%1/ports/COM%2").arg(dir.path()).arg(number);
    if (link == Link::ToPty) {
        QVERIFY(pty.linkAs(dir.path(), number));
    } else if (link == Link::ToLinkToPty) {
        QVERIFY(QFile::link(pty.slavePath(), dir.filePath(QStringLiteral("middle"))));
        QVERIFY(Pty::linkPort(dir.path(), number, dir.filePath(QStringLiteral("middle"))));
    } else if (link == Link::Dangling) {
        QVERIFY(Pty::linkPort(dir.path(), number, dir.filePath(QStringLiteral("unplugged"))));
    }
    if (expected == QLatin1String("pty"))
        expected = pty.slavePath();
    else if (expected == QLatin1String("link"))
        expected = linkPath;

    QCOMPARE(portnames::deviceFor(QStringList{dir.path()}, number), expected);
}

QTEST_GUILESS_MAIN(TestPortNames)
#include "tst_port_names.moc"
