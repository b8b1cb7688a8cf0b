// Every control of the main window: name, kind, container and text, places kept
// on resize; the lists, tabs, lamps and drawn pictures. How the pages look is
// checked by eye on the README's screenshots.

#include "app/artwork.h"
#include "app/form_controls.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRawFont>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

namespace {
const QSize kClient(805, 662);

// container: name=text|... ; "*" is our own text, only required to be there.
const char *const kControls[] = {
    "frmMain: Frame10=MODBUS-RTU设置|Frame6=Run State|SSTab1=|Frame1=Command State",
    "Frame10: Label8_0=设备地址|txtStationID=2|Label8_1=起始地址|txtStartID=1|Label8_3=功能号|"
    "txtFunID=1|Label8_2=数据长度|txtDataLength=16",
    "Frame6: Picture2=|lblRecCount=0|Line1=|lblCounter=0",
    "Picture2: imgConnected=|ImgYellow=|imgNotConnected=",
    "tab0: Frame5=串口设置|Frame7=数据查询",
    "Frame5: Label3=串口号|Combo1=COM4|cmdCom=保存|Label5_2=波特率|Combo2=19200",
    "Frame7: Label8_4=定时(ms)|txtTimerSet=1000|comDoOnce=查询状态|cmdOneM=循环|cmdStopOnce=停止|"
    "Label12_2=输入1|Label12_7=输入2|Label12_8=输入3|Label12_9=输入4|Label12_3=输出1|"
    "Label12_10=输出2|Label12_19=输出3|Label12_20=输出4",
    "tab1: "
    "Label13_1=在设置波特率、设备地址或电流输入输出参数前，请将右端子排上CNG与GND短接，否则修改都"
    "无法保存|Frame3=波特率及地址查询与设置|Frame8=模拟量输出输出通道校准参数设置",
    "Frame3: Label12_0=波特率|txtChannel_0=0|cmdReadP_0=读波特率|cmdWriteP_0=写波特率|"
    "Label12_1=设备地址|txtChannel_1=0|cmdReadP_1=读地址|cmdWriteP_1=写地址",
    "Frame8: "
    "cmdReadAlarm_2=读所有参数|Label13_0=以上所有参数的值范围5000-10000，真实系数为0.5-1.5之"
    "间，如果当前值偏高，那需系数值应该小于10000，即小于1，如果当前值偏低，系统",
    "tab2: Picture1=|Label4_0=*|Label6=*|Label9_0=*|Label9_2=*",
    "Frame1: Label7=Send Command:|txtCommand=|txtState=",
};

struct Control {
    QString container, name, text;
};

QList<Control> controls()
{
    QList<Control> out;
    for (const char *line : kControls) {
        const QString row = QString::fromUtf8(line);
        for (const QString &item : row.section(QStringLiteral(": "), 1).split('|'))
            out.append({row.section(": ", 0, 0), item.section('=', 0, 0), item.section('=', 1)});
    }
    for (int k = 0; k < 8; ++k) {
        const QString n = (k < 4 ? "输入" : "输出") + QString::number(k % 4 + 1);
        out += {{"Frame7", QStringLiteral("txtCurrentInput_%1").arg(k), "0"},
                {"Frame8", QStringLiteral("Label12_%1").arg(11 + k), "电流" + n + "参数值"},
                {"Frame8", QStringLiteral("txtChannel_%1").arg(k + 2), "0"},
                {"Frame8", QStringLiteral("cmdReadP_%1").arg(k + 2), "读参数"},
                {"Frame8", QStringLiteral("cmdWriteP_%1").arg(k + 2), "写参数"}};
    }
    return out;
}

QString kindOf(const QString &name)
{
    // clang-format off
    for (const auto &[prefix, kind] : {std::pair{"txtState", "QPlainTextEdit"}, {"txt", "QLineEdit"}, {"cmd", "QPushButton"}, {"com", "QPushButton"},
                                       {"Frame", "QGroupBox"}, {"Combo", "QComboBox"}, {"SSTab", "QTabWidget"}, {"Picture2", "QWidget"}, {"Line", "QWidget"}})
        if (name.startsWith(prefix))
            return kind;
    // clang-format on
    return QStringLiteral("QLabel");
}

QString shownText(const QWidget *w)
{
    for (const char *property : {"text", "title", "currentText", "plainText"})
        if (const QVariant v = w->property(property); v.isValid())
            return v.toString();
    return QString();
}

// "tab<N>" for a page of SSTab1, otherwise the nearest named ancestor.
QString containerOf(const QWidget *w, const QTabWidget *tabs)
{
    QWidget *p = w->parentWidget();
    while (tabs->indexOf(p) < 0 && (p->objectName().isEmpty() || p->objectName().startsWith("qt_")))
        p = p->parentWidget();
    return tabs->indexOf(p) >= 0 ? QStringLiteral("tab%1").arg(tabs->indexOf(p)) : p->objectName();
}
} // namespace

class TestLayout : public QObject {
    Q_OBJECT
    QWidget m_form;
    FormControls m_c = buildForm(&m_form);

private slots:
    void initTestCase()
    {
        m_form.setObjectName(QStringLiteral("frmMain"));
        m_form.resize(kClient);
        m_form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_form));
    }

    // Exactly these controls, each in its container with its text drawn in a
    // font that holds its glyphs, enabled, editable, and kept in place on resize.
    void everyControl()
    {
        QStringList expected, found;
        QHash<QWidget *, QRect> places;
        for (const Control &c : controls()) {
            expected << c.name;
            auto *w = m_form.findChild<QWidget *>(c.name);
            QVERIFY2(w, qPrintable(c.name));
            places.insert(w, w->geometry());
            QCOMPARE(QString::fromLatin1(w->metaObject()->className()), kindOf(c.name));
            QCOMPARE(containerOf(w, m_c.SSTab1), c.container);
            QCOMPARE(c.text == "*" && !shownText(w).isEmpty() ? "*" : shownText(w), c.text);
            const QRawFont font = QRawFont::fromFont(w->font());
            for (QChar ch : c.text)
                QVERIFY2(ch.unicode() < 0x2E80 || font.supportsCharacter(ch), qPrintable(c.name));
            QVERIFY(w->isEnabled() && !w->property("readOnly").toBool());
        }
        for (QWidget *w : m_form.findChildren<QWidget *>())
            if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")) &&
                !qobject_cast<QTabBar *>(w->parentWidget()))
                found << w->objectName();
        expected.sort();
        found.sort();
        QCOMPARE(found, expected);
        for (const QSize size : {QSize(1200, 900), QSize(640, 480), kClient})
            m_form.resize(size);
        for (auto it = places.cbegin(); it != places.cend(); ++it)
            QCOMPARE(it.key()->geometry(), it.value());
    }

    void listsTabsAndLog()
    {
        QStringList ports, baud{"9600", "19200"}, tabs{"实时数据", "软件设置", "关于我们"};
        for (int i = 0; i < 25; ++i)
            ports << QStringLiteral("COM%1").arg(i + 1);
        for (auto [list, items] : {std::pair{m_c.Combo1, ports}, {m_c.Combo2, baud}}) {
            for (int i = 0; i < list->count(); ++i)
                QCOMPARE(list->itemText(i), items.value(i));
            QCOMPARE(list->count() * list->isEditable(), items.size());
            QCOMPARE(list->currentIndex(), -1); // the starting text is no selection
        }
        for (int i = 0; i < m_c.SSTab1->count(); ++i)
            QCOMPARE(m_c.SSTab1->tabText(i), tabs.value(i));
        QCOMPARE(m_c.SSTab1->count() * 10 + m_c.SSTab1->currentIndex(), 30);
        auto *warning = m_form.findChild<QLabel *>(QStringLiteral("Label13_1"));
        QCOMPARE(warning->palette().color(QPalette::WindowText), QColor(Qt::red));
        QCOMPARE(QFontInfo(warning->font()).pointSize(), 12);
        QCOMPARE(m_c.txtState->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }

    void lampsAndPictures()
    {
        QList<QLabel *> lamps = m_c.Picture2->findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
        QCOMPARE(lamps.size(), 3);
        QCOMPARE(lamps.last(), m_c.imgConnected); // the last child is drawn on top
        // clang-format off
        for (auto [lamp, low, high] : {std::tuple{m_c.imgNotConnected, -15, 15}, {m_c.ImgYellow, 40, 70}, {m_c.imgConnected, 90, 150}}) {
            const int hue = (lamp->pixmap().toImage().pixelColor(8, 8).hsvHue() + 180) % 360 - 180;
            QVERIFY(hue >= low && hue <= high && lamp->geometry() == m_c.imgConnected->geometry());
            QCOMPARE(lamp->pixmap().size(), QSize(16, 16));
            QCOMPARE(lamp->toolTip(), QStringLiteral("数据采集通讯状态指示"));
        }
        // clang-format on
        QCOMPARE(qAlpha(artwork::applicationIcon().pixmap(32, 32).toImage().pixel(16, 16)), 255);
        QCOMPARE(m_form.findChild<QLabel *>(QStringLiteral("Picture1"))->pixmap().size(),
                 QSize(401, 238));
        QStringList captions;
        for (const char *side : {"I", "O"})
            for (int k = 0; k < 4; ++k)
                captions << artwork::terminalCaption(QString::fromLatin1(side), k);
        QCOMPARE(captions.join(' '), QStringLiteral("I1 I2 I3 I4 O1 O2 O3 O4"));
    }
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
