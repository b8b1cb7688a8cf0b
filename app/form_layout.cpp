#include "app/artwork.h"
#include "app/form_controls.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRawFont>
#include <QTabWidget>

namespace {
constexpr int kRow = 26;
const QColor kGreen(0x2e, 0xb8, 0x4a);
const QColor kYellow(0xf2, 0xc4, 0x1b);
const QColor kRed(0xdc, 0x2e, 0x2e);

// The fraction bar between the two counters.
class SlantedStroke : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(palette().color(QPalette::WindowText), 1.5));
        p.drawLine(QPointF(3, height() - 4), QPointF(width() - 3, 4));
    }
};

QString indexed(const char *name, int index)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

template <typename Widget> Widget *place(Widget *widget, const QString &name, const QRect &geometry)
{
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

QLabel *label(QWidget *parent, const QString &name, const QString &text, const QRect &geometry,
              Qt::Alignment alignment = Qt::AlignLeft)
{
    auto *caption = place(new QLabel(text, parent), name, geometry);
    caption->setAlignment(alignment | Qt::AlignVCenter);
    return caption;
}

QLineEdit *textBox(QWidget *parent, const QString &name, const QString &text, const QRect &geometry,
                   bool centred)
{
    auto *box = place(new QLineEdit(text, parent), name, geometry);
    if (centred)
        box->setAlignment(Qt::AlignCenter);
    return box;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &text,
                    const QRect &geometry)
{
    return place(new QPushButton(text, parent), name, geometry);
}

QGroupBox *frame(QWidget *parent, const QString &name, const QString &title, const QRect &geometry)
{
    return place(new QGroupBox(title, parent), name, geometry);
}

QComboBox *list(QWidget *parent, const QString &name, const QStringList &items, const QString &text,
                const QRect &geometry)
{
    auto *box = place(new QComboBox(parent), name, geometry);
    box->setEditable(true);
    // Typed text must not grow the list: an item's index stands for its port number.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    // Nothing is selected until start-up picks the saved entry.
    box->setCurrentIndex(-1);
    box->setEditText(text);
    return box;
}

QString chineseFamily()
{
    const QStringList installed = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    for (const char *preferred : {"Noto Sans CJK SC", "Source Han Sans SC", "WenQuanYi Micro Hei",
                                  "Microsoft YaHei", "SimSun"}) {
        if (installed.contains(QLatin1String(preferred)))
            return QLatin1String(preferred);
    }
    return installed.isEmpty() ? QString() : installed.first();
}

// Generic names such as "monospace" only resolve on their own, not inside a family list.
QString resolvedFamily(const QFont &font)
{
    return QFontInfo(font).family();
}

// A Latin-only default font leaves the captions to per-glyph fallback, which gives
// uneven line heights and, without any fallback, empty boxes.
void useChineseCapableFont(QWidget *frmMain)
{
    QFont font = frmMain->font();
    if (QRawFont::fromFont(font).supportsCharacter(QChar(0x8BBE)))
        return;
    const QString family = chineseFamily();
    if (family.isEmpty())
        return;
    font.setFamilies({family, resolvedFamily(font)});
    frmMain->setFont(font);
}

// Request and reply bytes line up in columns; status messages may still be Chinese.
QFont hexFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QString family = chineseFamily();
    if (!family.isEmpty())
        font.setFamilies({resolvedFamily(font), family});
    return font;
}

void buildModbusFrame(QWidget *frmMain, FormControls &c)
{
    QGroupBox *box = frame(frmMain, QStringLiteral("Frame10"), QStringLiteral("MODBUS-RTU设置"),
                           QRect(8, 4, 540, 54));
    const auto field = [box](int column, int labelIndex, const QString &caption, const char *name,
                             const QString &text) {
        const int x = 14 + 132 * column;
        label(box, indexed("Label8", labelIndex), caption, QRect(x, 22, 52, kRow));
        return textBox(box, QLatin1String(name), text, QRect(x + 54, 22, 62, kRow), true);
    };
    c.txtStationID = field(0, 0, QStringLiteral("设备地址"), "txtStationID", QStringLiteral("2"));
    c.txtStartID = field(1, 1, QStringLiteral("起始地址"), "txtStartID", QStringLiteral("1"));
    c.txtFunID = field(2, 3, QStringLiteral("功能号"), "txtFunID", QStringLiteral("1"));
    c.txtDataLength =
        field(3, 2, QStringLiteral("数据长度"), "txtDataLength", QStringLiteral("16"));
}

QLabel *lampLabel(QWidget *picture, const char *name, const QColor &colour)
{
    QLabel *lamp = place(new QLabel(picture), QLatin1String(name), QRect(5, 5, 16, 16));
    lamp->setPixmap(artwork::lamp(colour));
    lamp->setToolTip(QStringLiteral("数据采集通讯状态指示"));
    return lamp;
}

void buildRunStateFrame(QWidget *frmMain, FormControls &c)
{
    QGroupBox *box = frame(frmMain, QStringLiteral("Frame6"), QStringLiteral("Run State"),
                           QRect(556, 4, 241, 54));
    c.Picture2 = place(new QWidget(box), QStringLiteral("Picture2"), QRect(18, 22, 26, 26));
    c.ImgYellow = lampLabel(c.Picture2, "ImgYellow", kYellow);
    c.imgNotConnected = lampLabel(c.Picture2, "imgNotConnected", kRed);
    c.imgConnected = lampLabel(c.Picture2, "imgConnected", kGreen);
    c.imgConnected->raise();
    c.lblRecCount = label(box, QStringLiteral("lblRecCount"), QStringLiteral("0"),
                          QRect(70, 22, 62, kRow), Qt::AlignHCenter);
    place(new SlantedStroke(box), QStringLiteral("Line1"), QRect(136, 20, 14, 30));
    c.lblCounter = label(box, QStringLiteral("lblCounter"), QStringLiteral("0"),
                         QRect(154, 22, 62, kRow), Qt::AlignHCenter);
}

void buildPortFrame(QWidget *page, FormControls &c)
{
    QGroupBox *box =
        frame(page, QStringLiteral("Frame5"), QStringLiteral("串口设置"), QRect(10, 12, 765, 60));
    label(box, QStringLiteral("Label3"), QStringLiteral("串口号"), QRect(16, 24, 48, kRow));
    QStringList ports;
    for (int port = 1; port <= 25; ++port)
        ports << QStringLiteral("COM%1").arg(port);
    c.Combo1 = list(box, QStringLiteral("Combo1"), ports, QStringLiteral("COM4"),
                    QRect(66, 24, 100, kRow));
    label(box, indexed("Label5", 2), QStringLiteral("波特率"), QRect(190, 24, 48, kRow));
    c.Combo2 =
        list(box, QStringLiteral("Combo2"), {QStringLiteral("9600"), QStringLiteral("19200")},
             QStringLiteral("19200"), QRect(240, 24, 100, kRow));
    c.cmdCom =
        button(box, QStringLiteral("cmdCom"), QStringLiteral("保存"), QRect(364, 24, 88, kRow));
}

void buildLiveValues(QGroupBox *box, FormControls &c)
{
    const int labelIndex[8] = {2, 7, 8, 9, 3, 10, 19, 20};
    QFont large;
    large.setPointSizeF(box->font().pointSizeF() + 2);
    for (int k = 0; k < 8; ++k) {
        const int x = 26 + 186 * (k % 4);
        const int y = k < 4 ? 34 : 82;
        const QString caption = QStringLiteral("%1%2")
                                    .arg(k < 4 ? QStringLiteral("输入") : QStringLiteral("输出"))
                                    .arg(k % 4 + 1);
        label(box, indexed("Label12", labelIndex[k]), caption, QRect(x, y, 40, 30));
        c.txtCurrentInput[k] = textBox(box, indexed("txtCurrentInput", k), QStringLiteral("0"),
                                       QRect(x + 46, y, 110, 30), true);
        c.txtCurrentInput[k]->setFont(large);
    }
}

void buildQueryFrame(QWidget *page, FormControls &c)
{
    QGroupBox *box =
        frame(page, QStringLiteral("Frame7"), QStringLiteral("数据查询"), QRect(10, 88, 765, 196));
    buildLiveValues(box, c);
    label(box, indexed("Label8", 4), QStringLiteral("定时(ms)"), QRect(26, 146, 60, 28));
    c.txtTimerSet = textBox(box, QStringLiteral("txtTimerSet"), QStringLiteral("1000"),
                            QRect(92, 146, 90, 28), false);
    c.comDoOnce = button(box, QStringLiteral("comDoOnce"), QStringLiteral("查询状态"),
                         QRect(428, 146, 96, 28));
    c.cmdOneM =
        button(box, QStringLiteral("cmdOneM"), QStringLiteral("循环"), QRect(536, 146, 96, 28));
    c.cmdStopOnce =
        button(box, QStringLiteral("cmdStopOnce"), QStringLiteral("停止"), QRect(644, 146, 96, 28));
}

void buildWarning(QWidget *page)
{
    QLabel *warning =
        label(page, indexed("Label13", 1),
              QStringLiteral("在设置波特率、设备地址或电流输入输出参数前，请将右端子排上CNG与"
                             "GND短接，否则修改都无法保存"),
              QRect(10, 6, 765, 48));
    warning->setWordWrap(true);
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                      QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC")});
    font.setPointSize(12);
    warning->setFont(font);
    QPalette palette = warning->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    warning->setPalette(palette);
}

// The caption and value box of one parameter; each frame sizes its own buttons.
void parameterRow(QWidget *box, FormControls &c, int index, const QString &caption, int labelIndex,
                  const QPoint &at, int labelWidth, bool centred)
{
    const int x = at.x();
    const int y = at.y();
    label(box, indexed("Label12", labelIndex), caption, QRect(x, y, labelWidth, kRow));
    c.txtChannel[index] = textBox(box, indexed("txtChannel", index), QStringLiteral("0"),
                                  QRect(x + labelWidth + 2, y, 84, kRow), centred);
}

void buildBaudAddressFrame(QWidget *page, FormControls &c)
{
    QGroupBox *box = frame(page, QStringLiteral("Frame3"), QStringLiteral("波特率及地址查询与设置"),
                           QRect(10, 58, 765, 58));
    const QString read[2] = {QStringLiteral("读波特率"), QStringLiteral("读地址")};
    const QString write[2] = {QStringLiteral("写波特率"), QStringLiteral("写地址")};
    const QString caption[2] = {QStringLiteral("波特率"), QStringLiteral("设备地址")};
    for (int i = 0; i < 2; ++i) {
        const int x = 20 + 385 * i;
        parameterRow(box, c, i, caption[i], i, QPoint(x, 22), 56, true);
        c.cmdReadP[i] = button(box, indexed("cmdReadP", i), read[i], QRect(x + 150, 22, 84, kRow));
        c.cmdWriteP[i] =
            button(box, indexed("cmdWriteP", i), write[i], QRect(x + 242, 22, 84, kRow));
    }
}

void buildCalibrationFrame(QWidget *page, FormControls &c)
{
    QGroupBox *box =
        frame(page, QStringLiteral("Frame8"), QStringLiteral("模拟量输出输出通道校准参数设置"),
              QRect(10, 124, 765, 248));
    for (int k = 0; k < 8; ++k) {
        const int index = k + 2;
        const QString caption = QStringLiteral("电流%1%2参数值")
                                    .arg(k < 4 ? QStringLiteral("输入") : QStringLiteral("输出"))
                                    .arg(k % 4 + 1);
        const QPoint at(20 + 385 * (k / 4), 26 + 36 * (k % 4));
        parameterRow(box, c, index, caption, 11 + k, at, 104, false);
        c.cmdReadP[index] = button(box, indexed("cmdReadP", index), QStringLiteral("读参数"),
                                   QRect(at.x() + 196, at.y(), 70, kRow));
        c.cmdWriteP[index] = button(box, indexed("cmdWriteP", index), QStringLiteral("写参数"),
                                    QRect(at.x() + 272, at.y(), 70, kRow));
    }
    QLabel *note =
        label(box, indexed("Label13", 0),
              QStringLiteral("以上所有参数的值范围5000-10000，真实系数为0.5-1.5之间，如果当前"
                             "值偏高，那需系数值应该小于10000，即小于1，如果当前值偏低，系统"),
              QRect(20, 178, 600, 56));
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    note->setWordWrap(true);
    c.cmdReadAlarm2 = button(box, indexed("cmdReadAlarm", 2), QStringLiteral("读所有参数"),
                             QRect(647, 204, 100, 30));
}

void buildAboutTab(QWidget *page)
{
    QLabel *picture = place(new QLabel(page), QStringLiteral("Picture1"), QRect(16, 40, 401, 238));
    picture->setPixmap(artwork::aboutPicture());
    QLabel *statement = label(page, indexed("Label4", 0),
                              QStringLiteral("本软件专为配置和监测RV4820电流采集变送模块而设计，"
                                             "仅适用于该模块。"),
                              QRect(440, 60, 330, 48));
    statement->setWordWrap(true);
    label(page, QStringLiteral("Label6"), QStringLiteral("技术支持：support@example.com"),
          QRect(440, 124, 330, kRow));
    label(page, indexed("Label9", 0), QStringLiteral("网站：https://www.example.com"),
          QRect(440, 156, 330, kRow));
    label(page, indexed("Label9", 2), QStringLiteral("服务时间：周一至周五 9:00-17:00"),
          QRect(440, 188, 330, kRow));
}

void buildTabs(QWidget *frmMain, FormControls &c)
{
    c.SSTab1 = place(new QTabWidget(frmMain), QStringLiteral("SSTab1"), QRect(8, 64, 789, 440));
    QWidget *live = new QWidget(c.SSTab1);
    buildPortFrame(live, c);
    buildQueryFrame(live, c);
    QWidget *settings = new QWidget(c.SSTab1);
    buildWarning(settings);
    buildBaudAddressFrame(settings, c);
    buildCalibrationFrame(settings, c);
    QWidget *about = new QWidget(c.SSTab1);
    buildAboutTab(about);
    c.SSTab1->addTab(live, QStringLiteral("实时数据"));
    c.SSTab1->addTab(settings, QStringLiteral("软件设置"));
    c.SSTab1->addTab(about, QStringLiteral("关于我们"));
    c.SSTab1->setCurrentIndex(0);
}

void buildCommandFrame(QWidget *frmMain, FormControls &c)
{
    QGroupBox *box = frame(frmMain, QStringLiteral("Frame1"), QStringLiteral("Command State"),
                           QRect(8, 510, 789, 146));
    label(box, QStringLiteral("Label7"), QStringLiteral("Send Command:"), QRect(12, 22, 100, kRow));
    c.txtCommand =
        textBox(box, QStringLiteral("txtCommand"), QString(), QRect(112, 22, 665, kRow), false);
    c.txtState = place(new QPlainTextEdit(box), QStringLiteral("txtState"), QRect(12, 54, 765, 84));
    c.txtState->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    c.txtCommand->setFont(hexFont());
    c.txtState->setFont(hexFont());
}
} // namespace

FormControls buildForm(QWidget *frmMain)
{
    FormControls c;
    useChineseCapableFont(frmMain);
    frmMain->setWindowIcon(artwork::applicationIcon());
    buildModbusFrame(frmMain, c);
    buildRunStateFrame(frmMain, c);
    buildTabs(frmMain, c);
    buildCommandFrame(frmMain, c);
    return c;
}
