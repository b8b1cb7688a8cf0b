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
const QString kAny = QStringLiteral("<any>"); // our own text: only required to be there

QString shownText(const QWidget *w)
{
    for (const char *property : {"text", "title", "currentText", "plainText"}) {
        if (const QVariant v = w->property(property); v.isValid())
            return v.toString();
    }
    return QString();
}

bool centred(const QWidget *w)
{
    const bool aligns = qobject_cast<const QLabel *>(w) || qobject_cast<const QLineEdit *>(w);
    return aligns && (w->property("alignment").value<Qt::Alignment>() & Qt::AlignHCenter);
}

// The font a caption is drawn with must itself hold its glyphs, not leave them to chance.
QString missingGlyphs(const QFont &font, const QString &text)
{
    const QRawFont raw = QRawFont::fromFont(font);
    QString missing;
    for (QChar ch : text) {
        if (ch.unicode() >= 0x2E80 && !raw.supportsCharacter(ch))
            missing += ch;
    }
    return missing;
}

bool captionFits(QWidget *w)
{
    const int textWidth = QFontMetrics(w->font()).horizontalAdvance(shownText(w)) + 16;
    if (auto *l = qobject_cast<QLabel *>(w); l && !l->text().isEmpty())
        return l->wordWrap()
                   ? l->heightForWidth(l->width()) <= l->height()
                   : l->width() >= l->sizeHint().width() && l->height() >= l->sizeHint().height();
    if (qobject_cast<QPushButton *>(w))
        return w->width() >= textWidth && w->height() >= w->sizeHint().height();
    if (qobject_cast<QGroupBox *>(w))
        return w->width() >= textWidth;
    if (qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w))
        return w->height() >= w->minimumSizeHint().height();
    return true;
}

// "tab<N>" for a page of SSTab1, otherwise the nearest named ancestor.
QString containerOf(const QWidget *w, const QTabWidget *tabs)
{
    for (QWidget *p = w->parentWidget(); p; p = p->parentWidget()) {
        if (tabs->indexOf(p) >= 0)
            return QStringLiteral("tab%1").arg(tabs->indexOf(p));
        if (!p->objectName().isEmpty() && !p->objectName().startsWith(QLatin1String("qt_")))
            return p->objectName();
    }
    return QString();
}

struct Row {
    QString name, kind, text;
    bool centred = false;
    QString container = QString();
};

QList<Row> expectedControls()
{
    const char *L = "QLabel", *E = "QLineEdit", *B = "QPushButton", *G = "QGroupBox";
    QList<Row> rows;
    const auto in = [&rows](const char *container, QList<Row> some) {
        for (Row &row : some)
            row.container = container;
        rows += some;
    };
    // clang-format off
    in("frmMain", {{"Frame10", G, "MODBUS-RTU设置"}, {"Frame6", G, "Run State"},
                   {"SSTab1", "QTabWidget", ""}, {"Frame1", G, "Command State"}});
    in("Frame10", {{"Label8_0", L, "设备地址"}, {"txtStationID", E, "2", true},
                   {"Label8_1", L, "起始地址"}, {"txtStartID", E, "1", true},
                   {"Label8_3", L, "功能号"}, {"txtFunID", E, "1", true},
                   {"Label8_2", L, "数据长度"}, {"txtDataLength", E, "16", true}});
    in("Frame6", {{"Picture2", "QWidget", ""}, {"lblRecCount", L, "0", true},
                  {"Line1", "QWidget", ""}, {"lblCounter", L, "0", true}});
    in("Picture2", {{"imgConnected", L, ""}, {"ImgYellow", L, ""}, {"imgNotConnected", L, ""}});
    in("tab0", {{"Frame5", G, "串口设置"}, {"Frame7", G, "数据查询"}});
    in("Frame5", {{"Label3", L, "串口号"}, {"Combo1", "QComboBox", "COM4"}, {"cmdCom", B, "保存"},
                  {"Label5_2", L, "波特率"}, {"Combo2", "QComboBox", "19200"}});
    in("Frame7", {{"Label8_4", L, "定时(ms)"}, {"txtTimerSet", E, "1000"},
                  {"comDoOnce", B, "查询状态"}, {"cmdOneM", B, "循环"}, {"cmdStopOnce", B, "停止"}});
    in("tab1", {{"Label13_1", L, "在设置波特率、设备地址或电流输入输出参数前，请将右端子排上CNG与"
                                 "GND短接，否则修改都无法保存"},
                {"Frame3", G, "波特率及地址查询与设置"}, {"Frame8", G, "模拟量输出输出通道校准参数设置"}});
    in("Frame3", {{"Label12_0", L, "波特率"}, {"txtChannel_0", E, "0", true},
                  {"cmdReadP_0", B, "读波特率"}, {"cmdWriteP_0", B, "写波特率"},
                  {"Label12_1", L, "设备地址"}, {"txtChannel_1", E, "0", true},
                  {"cmdReadP_1", B, "读地址"}, {"cmdWriteP_1", B, "写地址"}});
    in("Frame8", {{"cmdReadAlarm_2", B, "读所有参数"},
                  {"Label13_0", L, "以上所有参数的值范围5000-10000，真实系数为0.5-1.5之间，如果当前"
                                   "值偏高，那需系数值应该小于10000，即小于1，如果当前值偏低，系统"}});
    in("tab2", {{"Picture1", L, ""}, {"Label4_0", L, kAny}, {"Label6", L, kAny},
                {"Label9_0", L, kAny}, {"Label9_2", L, kAny}});
    in("Frame1", {{"Label7", L, "Send Command:"}, {"txtCommand", E, ""},
                  {"txtState", "QPlainTextEdit", ""}});
    // clang-format on
    const int liveLabels[8] = {2, 7, 8, 9, 3, 10, 19, 20};
    for (int k = 0; k < 8; ++k) {
        const QString io = k < 4 ? "输入" : "输出", n = QString::number(k % 4 + 1);
        const auto name = [](const char *stem, int i) {
            return QStringLiteral("%1_%2").arg(stem).arg(i);
        };
        in("Frame7", {{name("Label12", liveLabels[k]), L, io + n},
                      {name("txtCurrentInput", k), E, "0", true}});
        in("Frame8", {{name("Label12", 11 + k), L, "电流" + io + n + "参数值"},
                      {name("txtChannel", k + 2), E, "0"},
                      {name("cmdReadP", k + 2), B, "读参数"},
                      {name("cmdWriteP", k + 2), B, "写参数"}});
    }
    return rows;
}

QStringList controlNames()
{
    QStringList names;
    for (const Row &row : expectedControls())
        names << row.name;
    return names;
}

bool isControl(const QWidget *w)
{
    static const QStringList names = controlNames();
    return names.contains(w->objectName());
}
} // namespace
Q_DECLARE_METATYPE(Row)

class TestLayout : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { delete m_form; }
    void controls_data();
    void controls();
    void names();
    void listsAndTabs();
    void lampsStackedWithGreenInFront();
    void warningAndReplyLog();
    void places();
    void artwork();

private:
    QWidget *m_form = nullptr;
    FormControls m_c;
};

void TestLayout::init()
{
    m_form = new QWidget;
    m_form->setObjectName(QStringLiteral("frmMain"));
    m_c = buildForm(m_form);
    m_form->resize(kClient);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
}

void TestLayout::controls_data()
{
    QTest::addColumn<Row>("row");
    for (const Row &row : expectedControls())
        QTest::newRow(qPrintable(row.name)) << row;
}

void TestLayout::controls()
{
    QFETCH(Row, row);
    auto *w = m_form->findChild<QWidget *>(row.name);
    QVERIFY(w);
    QCOMPARE(QString::fromLatin1(w->metaObject()->className()), row.kind);
    QCOMPARE(containerOf(w, m_c.SSTab1), row.container);
    QCOMPARE(row.text == kAny && !shownText(w).isEmpty() ? kAny : shownText(w), row.text);
    QCOMPARE(centred(w), row.centred);
    QCOMPARE(missingGlyphs(w->font(), shownText(w)), QString());
    QVERIFY(w->isEnabled() && !w->isHidden() && !w->property("readOnly").toBool());
}

// No control besides those above; each member of FormControls is the control of its name.
void TestLayout::names()
{
    QStringList found;
    for (QWidget *w : m_form->findChildren<QWidget *>()) {
        const bool internal = w->objectName().startsWith(QLatin1String("qt_")) ||
                              qobject_cast<QTabBar *>(w->parentWidget());
        if (!w->objectName().isEmpty() && !internal)
            found << w->objectName();
    }
    QStringList expected = controlNames();
    expected.sort();
    found.sort();
    QCOMPARE(found, expected);
    using Named = QPair<QWidget *, QString>;
#define MEMBER(m) Named(m_c.m, #m)
    // clang-format off
    const QList<Named> members{
        MEMBER(txtStationID), MEMBER(txtStartID), MEMBER(txtFunID), MEMBER(txtDataLength),
        MEMBER(Picture2), MEMBER(ImgYellow), MEMBER(imgConnected), MEMBER(imgNotConnected),
        MEMBER(lblRecCount), MEMBER(lblCounter), MEMBER(SSTab1), MEMBER(Combo1), MEMBER(Combo2),
        MEMBER(cmdCom), MEMBER(txtTimerSet), MEMBER(comDoOnce), MEMBER(cmdOneM), MEMBER(cmdStopOnce),
        MEMBER(txtCommand), MEMBER(txtState), Named(m_c.cmdReadAlarm2, "cmdReadAlarm_2")};
    // clang-format on
#undef MEMBER
    for (const auto &[widget, name] : members)
        QCOMPARE(widget ? widget->objectName() : QString(), name);
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(m_c.txtChannel[i]->objectName(), QStringLiteral("txtChannel_%1").arg(i));
        QCOMPARE(m_c.cmdReadP[i]->objectName(), QStringLiteral("cmdReadP_%1").arg(i));
        QCOMPARE(m_c.cmdWriteP[i]->objectName(), QStringLiteral("cmdWriteP_%1").arg(i));
        if (i < 8)
            QCOMPARE(m_c.txtCurrentInput[i]->objectName(),
                     QStringLiteral("txtCurrentInput_%1").arg(i));
    }
}

void TestLayout::listsAndTabs()
{
    QStringList ports, tabs;
    for (int i = 0; i < 25; ++i)
        ports << QStringLiteral("COM%1").arg(i + 1);
    using Items = std::pair<QComboBox *, QStringList>;
    for (const auto &[list, items] :
         {Items{m_c.Combo1, ports}, Items{m_c.Combo2, {"9600", "19200"}}}) {
        QStringList shown;
        for (int i = 0; i < list->count(); ++i)
            shown << list->itemText(i);
        QCOMPARE(shown, items);
        QVERIFY(list->isEditable());
        QCOMPARE(list->currentIndex(), -1); // the starting text is no selection
    }
    m_c.Combo1->lineEdit()->setText(QStringLiteral("COM30")); // typed text must not grow the list
    QTest::keyClick(m_c.Combo1->lineEdit(), Qt::Key_Return);
    QCOMPARE(m_c.Combo1->count(), 25);

    for (int i = 0; i < m_c.SSTab1->count(); ++i)
        tabs << m_c.SSTab1->tabText(i);
    QCOMPARE(tabs, (QStringList{"实时数据", "软件设置", "关于我们"}));
    QCOMPARE(m_c.SSTab1->currentIndex(), 0);
    QCOMPARE(missingGlyphs(m_c.SSTab1->tabBar()->font(), tabs.join(QString())), QString());
}

void TestLayout::lampsStackedWithGreenInFront()
{
    QList<QLabel *> lamps = m_c.Picture2->findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
    QCOMPARE(lamps.size(), 3);
    QCOMPARE(lamps.last(), m_c.imgConnected); // the last child is drawn on top
    for (QLabel *lamp : lamps) {
        QCOMPARE(lamp->geometry(), m_c.imgConnected->geometry());
        QCOMPARE(lamp->pixmap().size(), QSize(16, 16));
        QCOMPARE(qAlpha(lamp->pixmap().toImage().pixel(0, 0)), 0); // round, on a clear ground
        QCOMPARE(lamp->toolTip(), QStringLiteral("数据采集通讯状态指示"));
    }
    const auto hue = [](QLabel *lamp) {
        return lamp->pixmap().toImage().pixelColor(8, 8).hsvHue();
    };
    QVERIFY(hue(m_c.imgConnected) >= 90 && hue(m_c.imgConnected) <= 150);
    QVERIFY(hue(m_c.ImgYellow) >= 40 && hue(m_c.ImgYellow) <= 70);
    QVERIFY(hue(m_c.imgNotConnected) <= 15 || hue(m_c.imgNotConnected) >= 345);
}

void TestLayout::warningAndReplyLog()
{
    auto *warning = m_form->findChild<QLabel *>(QStringLiteral("Label13_1"));
    QCOMPARE(warning->palette().color(QPalette::WindowText), QColor(Qt::red));
    QCOMPARE(QFontInfo(warning->font()).pointSize(), 12);
    QVERIFY(warning->font().families().contains(QStringLiteral("SimSun")));

    QPlainTextEdit *log = m_c.txtState; // five lines in view, scroll bar always there
    QCOMPARE(log->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    const qreal usable = log->viewport()->height() - 2 * log->document()->documentMargin();
    const qreal lines = usable / QFontMetricsF(log->font()).height();
    QVERIFY2(lines >= 4.5 && lines < 6.5, qPrintable(QString::number(lines)));
    QVERIFY(log->width() > m_form->width() * 9 / 10);
}

// Fixed places: inside the client area and their container, apart from their siblings, room
// for the caption, and kept on resize.
void TestLayout::places()
{
    QHash<QString, QRect> before;
    for (QWidget *w : m_form->findChildren<QWidget *>()) {
        if (isControl(w))
            before.insert(w->objectName(), w->geometry());
    }
    for (const QSize size : {QSize(1200, 900), QSize(640, 480), kClient}) {
        m_form->resize(size);
        QCoreApplication::processEvents();
    }
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QCOMPARE(m_form->findChild<QWidget *>(it.key())->geometry(), it.value());
    for (int tab = 0; tab < m_c.SSTab1->count(); ++tab) {
        m_c.SSTab1->setCurrentIndex(tab); // only the page shown is laid out
        QList<QWidget *> placed;
        for (QWidget *w : m_form->findChildren<QWidget *>()) {
            if (!isControl(w) || !w->isVisible() || w->parentWidget() == m_c.Picture2)
                continue; // the lamps share one place on purpose
            const QByteArray name = w->objectName().toUtf8();
            const QRect inForm(w->mapTo(m_form, QPoint()), w->size());
            QVERIFY2(QRect(QPoint(), kClient).contains(inForm), name);
            QVERIFY2(w->parentWidget()->rect().contains(w->geometry()), name);
            QVERIFY2(captionFits(w), name);
            for (QWidget *other : placed)
                QVERIFY2(other->parentWidget() != w->parentWidget() ||
                             !other->geometry().intersects(w->geometry()),
                         qPrintable(other->objectName() + " / " + name));
            placed << w;
        }
    }
}

void TestLayout::artwork()
{
    const QIcon icon = artwork::applicationIcon();
    QCOMPARE(icon.pixmap(32, 32).size(), QSize(32, 32));
    QCOMPARE(qAlpha(icon.pixmap(32, 32).toImage().pixel(16, 16)), 255);
    QVERIFY(!m_form->windowIcon().isNull());
    const QImage picture = artwork::aboutPicture().toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 7) {
        for (int x = 0; x < picture.width(); x += 7)
            colours.insert(picture.pixel(x, y));
    }
    QVERIFY(colours.size() > 50);
    QCOMPARE(m_form->findChild<QLabel *>(QStringLiteral("Picture1"))->pixmap().size(),
             QSize(401, 238));
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
