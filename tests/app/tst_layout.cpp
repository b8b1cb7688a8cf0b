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
    if (auto *l = qobject_cast<const QLabel *>(w))
        return l->text();
    if (auto *b = qobject_cast<const QPushButton *>(w))
        return b->text();
    if (auto *e = qobject_cast<const QLineEdit *>(w))
        return e->text();
    if (auto *g = qobject_cast<const QGroupBox *>(w))
        return g->title();
    if (auto *c = qobject_cast<const QComboBox *>(w))
        return c->currentText();
    if (auto *p = qobject_cast<const QPlainTextEdit *>(w))
        return p->toPlainText();
    return QString();
}

bool centred(const QWidget *w)
{
    if (auto *l = qobject_cast<const QLabel *>(w))
        return l->alignment() & Qt::AlignHCenter;
    if (auto *e = qobject_cast<const QLineEdit *>(w))
        return e->alignment() & Qt::AlignHCenter;
    return false;
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
    QString name, kind, container, text;
    bool centred = false;
};

QList<Row> expectedControls()
{
    QList<Row> rows{
        {"Frame10", "QGroupBox", "frmMain", "MODBUS-RTU设置"},
        {"Label8_0", "QLabel", "Frame10", "设备地址"},
        {"txtStationID", "QLineEdit", "Frame10", "2", true},
        {"Label8_1", "QLabel", "Frame10", "起始地址"},
        {"txtStartID", "QLineEdit", "Frame10", "1", true},
        {"Label8_3", "QLabel", "Frame10", "功能号"},
        {"txtFunID", "QLineEdit", "Frame10", "1", true},
        {"Label8_2", "QLabel", "Frame10", "数据长度"},
        {"txtDataLength", "QLineEdit", "Frame10", "16", true},
        {"Frame6", "QGroupBox", "frmMain", "Run State"},
        {"Picture2", "QWidget", "Frame6", ""},
        {"imgConnected", "QLabel", "Picture2", ""},
        {"ImgYellow", "QLabel", "Picture2", ""},
        {"imgNotConnected", "QLabel", "Picture2", ""},
        {"lblRecCount", "QLabel", "Frame6", "0", true},
        {"Line1", "QWidget", "Frame6", ""},
        {"lblCounter", "QLabel", "Frame6", "0", true},
        {"SSTab1", "QTabWidget", "frmMain", ""},
        {"Frame5", "QGroupBox", "tab0", "串口设置"},
        {"Label3", "QLabel", "Frame5", "串口号"},
        {"Combo1", "QComboBox", "Frame5", "COM4"},
        {"Label5_2", "QLabel", "Frame5", "波特率"},
        {"Combo2", "QComboBox", "Frame5", "19200"},
        {"cmdCom", "QPushButton", "Frame5", "保存"},
        {"Frame7", "QGroupBox", "tab0", "数据查询"},
        {"Label8_4", "QLabel", "Frame7", "定时(ms)"},
        {"txtTimerSet", "QLineEdit", "Frame7", "1000"},
        {"comDoOnce", "QPushButton", "Frame7", "查询状态"},
        {"cmdOneM", "QPushButton", "Frame7", "循环"},
        {"cmdStopOnce", "QPushButton", "Frame7", "停止"},
        {"Label13_1", "QLabel", "tab1",
         "在设置波特率、设备地址或电流输入输出参数前，请将右端子排上CNG与GND短接，否则修改都无法保"
         "存"},
        {"Frame3", "QGroupBox", "tab1", "波特率及地址查询与设置"},
        {"Label12_0", "QLabel", "Frame3", "波特率"},
        {"txtChannel_0", "QLineEdit", "Frame3", "0", true},
        {"cmdReadP_0", "QPushButton", "Frame3", "读波特率"},
        {"cmdWriteP_0", "QPushButton", "Frame3", "写波特率"},
        {"Label12_1", "QLabel", "Frame3", "设备地址"},
        {"txtChannel_1", "QLineEdit", "Frame3", "0", true},
        {"cmdReadP_1", "QPushButton", "Frame3", "读地址"},
        {"cmdWriteP_1", "QPushButton", "Frame3", "写地址"},
        {"Frame8", "QGroupBox", "tab1", "模拟量输出输出通道校准参数设置"},
        {"cmdReadAlarm_2", "QPushButton", "Frame8", "读所有参数"},
        {"Label13_0", "QLabel", "Frame8",
         "以上所有参数的值范围5000-10000，真实系数为0.5-1.5之间，如果当前值偏高，那需系数值应该小于"
         "10000，即小于1，如果当前值偏低，系统"},
        {"Picture1", "QLabel", "tab2", ""},
        {"Label4_0", "QLabel", "tab2", kAny},
        {"Label6", "QLabel", "tab2", kAny},
        {"Label9_0", "QLabel", "tab2", kAny},
        {"Label9_2", "QLabel", "tab2", kAny},
        {"Frame1", "QGroupBox", "frmMain", "Command State"},
        {"Label7", "QLabel", "Frame1", "Send Command:"},
        {"txtCommand", "QLineEdit", "Frame1", ""},
        {"txtState", "QPlainTextEdit", "Frame1", ""},
    };
    const int liveLabels[8] = {2, 7, 8, 9, 3, 10, 19, 20};
    for (int k = 0; k < 8; ++k) {
        const QString io = k < 4 ? "输入" : "输出";
        const QString n = QString::number(k % 4 + 1);
        rows.append({QStringLiteral("Label12_%1").arg(liveLabels[k]), "QLabel", "Frame7", io + n});
        rows.append(
            {QStringLiteral("txtCurrentInput_%1").arg(k), "QLineEdit", "Frame7", "0", true});
        const int i = k + 2;
        rows.append({QStringLiteral("Label12_%1").arg(11 + k), "QLabel", "Frame8",
                     "电流" + io + n + "参数值"});
        rows.append({QStringLiteral("txtChannel_%1").arg(i), "QLineEdit", "Frame8", "0"});
        rows.append({QStringLiteral("cmdReadP_%1").arg(i), "QPushButton", "Frame8", "读参数"});
        rows.append({QStringLiteral("cmdWriteP_%1").arg(i), "QPushButton", "Frame8", "写参数"});
    }
    return rows;
}

bool isControl(const QWidget *w)
{
    static QSet<QString> names;
    if (names.isEmpty()) {
        for (const Row &row : expectedControls())
            names.insert(row.name);
    }
    return names.contains(w->objectName());
}

int lampHue(const QLabel *lamp)
{
    return lamp->pixmap().toImage().pixelColor(8, 8).hsvHue();
}
} // namespace

class TestLayout : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void controls_data();
    void controls();
    void noOtherNamedControls();
    void formControlsPointAtNamedWidgets();
    void lists();
    void typedTextDoesNotGrowList();
    void tabs();
    void lampsStackedWithGreenInFront();
    void warningLabel();
    void replyLogShowsFiveLines();
    void chineseGlyphs_data();
    void chineseGlyphs();
    void placesInsideContainersWithoutOverlap();
    void captionsFit();
    void placesKeptOnResize();
    void artworkSizes();

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

void TestLayout::cleanup()
{
    delete m_form;
    m_form = nullptr;
}

void TestLayout::controls_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isCentred");
    for (const Row &row : expectedControls())
        QTest::newRow(qPrintable(row.name)) << row.kind << row.container << row.text << row.centred;
}

void TestLayout::controls()
{
    QFETCH(QString, kind);
    QFETCH(QString, container);
    QFETCH(QString, text);
    QFETCH(bool, isCentred);
    auto *w = m_form->findChild<QWidget *>(QLatin1String(QTest::currentDataTag()));
    QVERIFY(w);
    QCOMPARE(QString::fromLatin1(w->metaObject()->className()), kind);
    QCOMPARE(containerOf(w, m_c.SSTab1), container);
    if (text == kAny)
        QVERIFY(!shownText(w).isEmpty());
    else
        QCOMPARE(shownText(w), text);
    QCOMPARE(centred(w), isCentred);
    QVERIFY(w->isEnabled());
    QVERIFY(!w->isHidden());
    if (auto *e = qobject_cast<QLineEdit *>(w))
        QVERIFY(!e->isReadOnly());
    if (auto *p = qobject_cast<QPlainTextEdit *>(w))
        QVERIFY(!p->isReadOnly());
}

void TestLayout::noOtherNamedControls()
{
    QStringList expected;
    for (const Row &row : expectedControls())
        expected << row.name;
    QStringList found;
    for (QWidget *w : m_form->findChildren<QWidget *>()) {
        const bool internal = w->objectName().startsWith(QLatin1String("qt_")) ||
                              qobject_cast<QTabBar *>(w->parentWidget());
        if (!w->objectName().isEmpty() && !internal)
            found << w->objectName();
    }
    expected.sort();
    found.sort();
    QCOMPARE(found, expected);
}

void TestLayout::formControlsPointAtNamedWidgets()
{
    const QList<QPair<QWidget *, QString>> members{
        {m_c.txtStationID, "txtStationID"},
        {m_c.txtStartID, "txtStartID"},
        {m_c.txtFunID, "txtFunID"},
        {m_c.txtDataLength, "txtDataLength"},
        {m_c.Picture2, "Picture2"},
        {m_c.imgConnected, "imgConnected"},
        {m_c.ImgYellow, "ImgYellow"},
        {m_c.imgNotConnected, "imgNotConnected"},
        {m_c.lblRecCount, "lblRecCount"},
        {m_c.lblCounter, "lblCounter"},
        {m_c.SSTab1, "SSTab1"},
        {m_c.Combo1, "Combo1"},
        {m_c.Combo2, "Combo2"},
        {m_c.cmdCom, "cmdCom"},
        {m_c.txtTimerSet, "txtTimerSet"},
        {m_c.comDoOnce, "comDoOnce"},
        {m_c.cmdOneM, "cmdOneM"},
        {m_c.cmdStopOnce, "cmdStopOnce"},
        {m_c.cmdReadAlarm2, "cmdReadAlarm_2"},
        {m_c.txtCommand, "txtCommand"},
        {m_c.txtState, "txtState"},
    };
    for (const auto &[widget, name] : members) {
        QVERIFY2(widget, qPrintable(name));
        QCOMPARE(widget->objectName(), name);
    }
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(m_c.txtChannel[i]->objectName(), QStringLiteral("txtChannel_%1").arg(i));
        QCOMPARE(m_c.cmdReadP[i]->objectName(), QStringLiteral("cmdReadP_%1").arg(i));
        QCOMPARE(m_c.cmdWriteP[i]->objectName(), QStringLiteral("cmdWriteP_%1").arg(i));
    }
    for (int k = 0; k < 8; ++k)
        QCOMPARE(m_c.txtCurrentInput[k]->objectName(), QStringLiteral("txtCurrentInput_%1").arg(k));
}

void TestLayout::lists()
{
    QStringList ports;
    for (int i = 0; i < m_c.Combo1->count(); ++i)
        ports << m_c.Combo1->itemText(i);
    QCOMPARE(ports.size(), 25);
    for (int i = 0; i < ports.size(); ++i)
        QCOMPARE(ports.at(i), QStringLiteral("COM%1").arg(i + 1));
    QCOMPARE(m_c.Combo2->count(), 2);
    QCOMPARE(m_c.Combo2->itemText(0), QStringLiteral("9600"));
    QCOMPARE(m_c.Combo2->itemText(1), QStringLiteral("19200"));
    for (QComboBox *list : {m_c.Combo1, m_c.Combo2}) {
        QVERIFY(list->isEditable());
        QCOMPARE(list->currentIndex(), -1);
    }
}

void TestLayout::typedTextDoesNotGrowList()
{
    m_c.Combo1->setFocus();
    m_c.Combo1->lineEdit()->clear();
    QTest::keyClicks(m_c.Combo1->lineEdit(), QStringLiteral("COM30"));
    QTest::keyClick(m_c.Combo1->lineEdit(), Qt::Key_Return);
    QCOMPARE(m_c.Combo1->count(), 25);
    QCOMPARE(m_c.Combo1->currentText(), QStringLiteral("COM30"));
}

void TestLayout::tabs()
{
    QCOMPARE(m_c.SSTab1->count(), 3);
    QCOMPARE(m_c.SSTab1->tabText(0), QStringLiteral("实时数据"));
    QCOMPARE(m_c.SSTab1->tabText(1), QStringLiteral("软件设置"));
    QCOMPARE(m_c.SSTab1->tabText(2), QStringLiteral("关于我们"));
    QCOMPARE(m_c.SSTab1->currentIndex(), 0);
    const QRawFont tabFont = QRawFont::fromFont(m_c.SSTab1->tabBar()->font());
    QVERIFY(tabFont.supportsCharacter(m_c.SSTab1->tabText(0).at(0)));
    QVERIFY(m_c.Combo1->isVisible());
    QVERIFY(!m_c.cmdReadAlarm2->isVisible());
}

void TestLayout::lampsStackedWithGreenInFront()
{
    QList<QLabel *> lamps;
    for (QObject *child : m_c.Picture2->children()) {
        if (auto *lamp = qobject_cast<QLabel *>(child))
            lamps << lamp;
    }
    QCOMPARE(lamps.size(), 3);
    QCOMPARE(lamps.last(), m_c.imgConnected);
    for (QLabel *lamp : lamps) {
        QCOMPARE(lamp->geometry(), m_c.imgConnected->geometry());
        QCOMPARE(lamp->pixmap().size(), QSize(16, 16));
        QCOMPARE(lamp->toolTip(), QStringLiteral("数据采集通讯状态指示"));
    }
    const int green = lampHue(m_c.imgConnected);
    const int yellow = lampHue(m_c.ImgYellow);
    const int red = lampHue(m_c.imgNotConnected);
    QVERIFY2(green >= 90 && green <= 150, qPrintable(QString::number(green)));
    QVERIFY2(yellow >= 40 && yellow <= 70, qPrintable(QString::number(yellow)));
    QVERIFY2(red <= 15 || red >= 345, qPrintable(QString::number(red)));
}

void TestLayout::warningLabel()
{
    auto *warning = m_form->findChild<QLabel *>(QStringLiteral("Label13_1"));
    QVERIFY(warning);
    QCOMPARE(warning->palette().color(QPalette::WindowText), QColor(Qt::red));
    QCOMPARE(QFontInfo(warning->font()).pointSize(), 12);
    QVERIFY(warning->font().families().contains(QStringLiteral("SimSun")));
    QVERIFY(m_form->findChild<QLabel *>(QStringLiteral("Label13_0"))->wordWrap());
}

void TestLayout::replyLogShowsFiveLines()
{
    QPlainTextEdit *log = m_c.txtState;
    QCOMPARE(log->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    const qreal usable = log->viewport()->height() - 2 * log->document()->documentMargin();
    const qreal lines = usable / QFontMetricsF(log->font()).height();
    QVERIFY2(lines >= 4.5 && lines < 6.5, qPrintable(QString::number(lines)));
    QVERIFY(log->width() > m_form->width() * 9 / 10);
}

void TestLayout::chineseGlyphs_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"Label8_0", "Label3", "Label12_11", "Label13_0", "Label13_1",
                             "Label4_0", "Frame8", "cmdReadAlarm_2", "comDoOnce"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

// The font each caption is drawn with must itself hold the glyphs, not leave them to chance.
void TestLayout::chineseGlyphs()
{
    QFETCH(QString, name);
    auto *w = m_form->findChild<QWidget *>(name);
    QVERIFY(w);
    const QRawFont raw = QRawFont::fromFont(w->font());
    for (QChar ch : shownText(w)) {
        if (ch.unicode() >= 0x2E80)
            QVERIFY2(raw.supportsCharacter(ch), qPrintable(raw.familyName() + ": " + ch));
    }
}

void TestLayout::placesInsideContainersWithoutOverlap()
{
    for (int tab = 0; tab < m_c.SSTab1->count(); ++tab) {
        m_c.SSTab1->setCurrentIndex(tab);
        QList<QWidget *> containers{m_form, m_c.SSTab1->widget(tab)};
        for (QGroupBox *frame : m_form->findChildren<QGroupBox *>())
            containers << frame;
        for (QWidget *container : containers) {
            if (!container->isVisible())
                continue;
            QList<QWidget *> placed;
            for (QWidget *w : container->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                if (!isControl(w))
                    continue;
                const QRect inForm(w->mapTo(m_form, QPoint(0, 0)), w->size());
                QVERIFY2(QRect(QPoint(0, 0), kClient).contains(inForm),
                         qPrintable(w->objectName()));
                QVERIFY2(container->rect().contains(w->geometry()), qPrintable(w->objectName()));
                for (QWidget *other : placed)
                    QVERIFY2(!other->geometry().intersects(w->geometry()),
                             qPrintable(other->objectName() + " / " + w->objectName()));
                placed << w;
            }
        }
    }
}

void TestLayout::captionsFit()
{
    for (QWidget *w : m_form->findChildren<QWidget *>()) {
        if (!isControl(w))
            continue;
        const QByteArray name = w->objectName().toUtf8();
        const QFontMetrics fm(w->font());
        if (auto *l = qobject_cast<QLabel *>(w); l && !l->text().isEmpty()) {
            if (l->wordWrap())
                QVERIFY2(l->heightForWidth(l->width()) <= l->height(), name);
            else
                QVERIFY2(l->width() >= l->sizeHint().width() &&
                             l->height() >= l->sizeHint().height(),
                         name);
        } else if (auto *b = qobject_cast<QPushButton *>(w)) {
            QVERIFY2(b->width() >= fm.horizontalAdvance(b->text()) + 16, name);
            QVERIFY2(b->height() >= b->sizeHint().height(), name);
        } else if (auto *g = qobject_cast<QGroupBox *>(w)) {
            QVERIFY2(g->width() >= fm.horizontalAdvance(g->title()) + 16, name);
        } else if (qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w)) {
            QVERIFY2(w->height() >= w->minimumSizeHint().height(), name);
        }
    }
}

void TestLayout::placesKeptOnResize()
{
    QHash<QString, QRect> before;
    for (QWidget *w : m_form->findChildren<QWidget *>()) {
        if (isControl(w))
            before.insert(w->objectName(), w->geometry());
    }
    m_form->resize(1200, 900);
    QCoreApplication::processEvents();
    m_form->resize(640, 480);
    QCoreApplication::processEvents();
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QCOMPARE(m_form->findChild<QWidget *>(it.key())->geometry(), it.value());
}

void TestLayout::artworkSizes()
{
    const QIcon icon = artwork::applicationIcon();
    QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
    const QImage image = icon.pixmap(32, 32).toImage();
    QCOMPARE(image.size(), QSize(32, 32));
    QVERIFY(qAlpha(image.pixel(16, 16)) == 255);
    QVERIFY(!m_form->windowIcon().isNull());

    const QImage lamp = artwork::lamp(Qt::blue).toImage();
    QCOMPARE(lamp.size(), QSize(16, 16));
    QCOMPARE(qAlpha(lamp.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(lamp.pixel(8, 8)), 255);

    const QImage picture = artwork::aboutPicture().toImage();
    QCOMPARE(picture.size(), QSize(401, 238));
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 7) {
        for (int x = 0; x < picture.width(); x += 7)
            colours.insert(picture.pixel(x, y));
    }
    QVERIFY(colours.size() > 50);
    auto *shown = m_form->findChild<QLabel *>(QStringLiteral("Picture1"));
    QCOMPARE(shown->pixmap().size(), QSize(401, 238));
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
