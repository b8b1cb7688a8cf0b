// Every control of the main window: name, kind, container and text, places kept
// on resize; the lists, tabs, lamps and drawn pictures. How the pages look is
// checked by eye on the README's screenshots.

#include "app/artwork.h"
#include "app/form_controls.h"

#include <QtTest>
#include <QtWidgets>

namespace {
const QSize kClient(805, 662);
// Our own texts, only required to be there.
const QStringList kOwnTexts{"Label4_0", "Label6", "Label9_0", "Label9_2"};

// The text shown, its alignment and wrapping; a list adds its selected entry and its entries,
// the tabs their captions.
QString shownText(const QWidget *w)
{
    QStringList parts;
    for (const char *property :
         {"text", "title", "currentText", "plainText", "currentIndex", "alignment", "wordWrap"})
        if (const QVariant v = w->property(property); v.isValid())
            parts << (v.canConvert<QString>() ? v.toString() : QString::number(v.toInt()));
    if (auto *list = qobject_cast<const QComboBox *>(w))
        for (int i = 0; i < list->count(); ++i)
            parts << list->itemText(i);
    if (auto *tabs = qobject_cast<const QTabWidget *>(w))
        for (int i = 0; i < tabs->count(); ++i)
            parts << tabs->tabText(i);
    return parts.join(' ');
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

    // Exactly the controls of layout.txt ("name kind container x,y,wxh text"), each text
    // drawn in a font that holds its glyphs, enabled, editable, kept in place on resize.
    void everyControl()
    {
        QFile file(QFINDTESTDATA("layout.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList expected =
            QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
        QStringList found;
        QHash<QWidget *, QRect> places;
        for (QWidget *w : m_form.findChildren<QWidget *>()) {
            if (w->objectName().isEmpty() || w->objectName().startsWith("qt_") ||
                qobject_cast<QTabBar *>(w->parentWidget()))
                continue;
            places.insert(w, w->geometry());
            const QString text =
                kOwnTexts.contains(w->objectName()) && !shownText(w).isEmpty() ? "*" : shownText(w);
            const QRect r = w->geometry();
            found << QStringLiteral("%1 %2 %3 %4,%5,%6x%7 %8")
                         .arg(w->objectName(), w->metaObject()->className(),
                              containerOf(w, m_c.SSTab1))
                         .arg(r.x())
                         .arg(r.y())
                         .arg(r.width())
                         .arg(r.height())
                         .arg(text)
                         .trimmed();
            const QRawFont font = QRawFont::fromFont(w->font());
            for (QChar ch : text)
                QVERIFY2(ch.unicode() < 0x2E80 || font.supportsCharacter(ch),
                         qPrintable(w->objectName()));
            QVERIFY(w->isEnabled() && !w->property("readOnly").toBool());
        }
        found.sort();
        QCOMPARE(found, expected);
        for (const QSize size : {QSize(1200, 900), QSize(640, 480), kClient})
            m_form.resize(size);
        for (auto it = places.cbegin(); it != places.cend(); ++it)
            QCOMPARE(it.key()->geometry(), it.value());
    }

    void lampsAndPictures()
    {
        auto *warning = m_form.findChild<QLabel *>(QStringLiteral("Label13_1"));
        QVERIFY(warning->palette().color(QPalette::WindowText) == Qt::red &&
                QFontInfo(warning->font()).pointSize() == 12);
        QVERIFY(m_c.txtState->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn &&
                m_c.Combo1->isEditable() && m_c.Combo2->isEditable());
        QList<QLabel *> lamps = m_c.Picture2->findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
        QVERIFY(lamps.size() == 3 && lamps.last() == m_c.imgConnected); // the last is drawn on top
        for (QLabel *lamp : {m_c.imgNotConnected, m_c.ImgYellow, m_c.imgConnected})
            QCOMPARE(lamp->toolTip(), QStringLiteral("数据采集通讯状态指示"));
        // The drawings pixel for pixel, as they were looked at: the picture with its
        // terminals I1 to O4, the icons, and
        // the lamps red, yellow and green.
        QStringList digests;
        for (const QPixmap &drawn :
             {m_form.findChild<QLabel *>(QStringLiteral("Picture1"))->pixmap(),
              artwork::applicationIcon().pixmap(32, 32), artwork::applicationIcon(256),
              m_c.imgConnected->pixmap(), m_c.ImgYellow->pixmap(), m_c.imgNotConnected->pixmap()}) {
            const QImage image = drawn.toImage().convertToFormat(QImage::Format_ARGB32);
            const QByteArrayView pixels(image.constBits(), image.sizeInBytes());
            const QByteArray digest = QCryptographicHash::hash(pixels, QCryptographicHash::Sha256);
            digests << QString::number(image.width()) + ' ' + digest.toHex().left(12);
        }
        QCOMPARE(digests.join(' '), "401 6ec9235f13b4 32 53fb2c2b81a5 256 2d018023e9e9 16 "
                                    "1d314572c003 16 f6b2d45a48fb 16 724869c1ab74");
    }
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
