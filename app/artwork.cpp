#include "app/artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace artwork {

namespace {
const QColor kHousing(0x2f, 0x5d, 0x8c);
const QColor kHousingDark(0x1d, 0x3b, 0x5c);
const QColor kBrass(0xd9, 0xa4, 0x41);
const QColor kCopper(0xc8, 0x6b, 0x3c);
const QColor kTeal(0x2a, 0x9d, 0x8f);
const QColor kRunLed(0x3c, 0xc8, 0x5a);

QPixmap transparentPixmap(int width, int height)
{
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// The icon's module on a 32-unit grid: inputs on the left, outputs on the right.
void paintIconModule(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kHousingDark, 1));
    for (int k = 0; k < 4; ++k) {
        const qreal y = 7.5 + 5.5 * k;
        p.setBrush(kBrass);
        p.drawRect(QRectF(1.5, y, 6, 3));
        p.setBrush(kTeal);
        p.drawRect(QRectF(24.5, y, 6, 3));
    }
    QLinearGradient body(0, 3, 0, 29);
    body.setColorAt(0, kHousing.lighter(130));
    body.setColorAt(1, kHousingDark);
    p.setBrush(body);
    p.drawRoundedRect(QRectF(7.5, 3.5, 17, 25), 3, 3);
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath wave(QPointF(10.5, 19));
    wave.cubicTo(13, 9, 16, 9, 16, 16);
    wave.cubicTo(16, 23, 19, 23, 21.5, 13);
    p.drawPath(wave);
    p.setPen(Qt::NoPen);
    p.setBrush(kRunLed);
    p.drawEllipse(QPointF(20.5, 7.5), 1.6, 1.6);
}

QPixmap iconPixmap(int size)
{
    QPixmap pixmap = transparentPixmap(size, size);
    QPainter p(&pixmap);
    p.scale(size / 32.0, size / 32.0);
    paintIconModule(p);
    return pixmap;
}

void paintBackground(QPainter &p, const QRect &area)
{
    QLinearGradient sky(area.topLeft(), area.bottomLeft());
    sky.setColorAt(0, QColor(0xf4, 0xf7, 0xfb));
    sky.setColorAt(1, QColor(0xd5, 0xe0, 0xec));
    p.fillRect(area, sky);
    // The mounting rail behind the module.
    p.setPen(QPen(QColor(0x8a, 0x96, 0xa3), 1));
    p.setBrush(QColor(0xb9, 0xc3, 0xce));
    p.drawRect(QRectF(0.5, 104.5, area.width() - 1, 30));
    p.setBrush(QColor(0x9a, 0xa6, 0xb3));
    for (int x = 18; x < area.width(); x += 46)
        p.drawRoundedRect(QRectF(x + 0.5, 116.5, 22, 7), 3, 3);
}

// One wire from a terminal to the picture's edge, drawn before the housing.
void paintWire(QPainter &p, QPointF from, QPointF to, const QColor &colour)
{
    QPainterPath path(from);
    const qreal bend = (to.x() - from.x()) / 2;
    path.cubicTo(from + QPointF(bend, 0), to - QPointF(bend, 0), to);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour.darker(150), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(path);
    p.setPen(QPen(colour, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(path);
}

void paintTerminalBlock(QPainter &p, const QRectF &block)
{
    p.setPen(QPen(QColor(0x4a, 0x55, 0x60), 1));
    p.setBrush(QColor(0x5d, 0x69, 0x75));
    p.drawRoundedRect(block, 4, 4);
}

void paintScrew(QPainter &p, QPointF centre)
{
    p.setPen(QPen(QColor(0x3c, 0x45, 0x4f), 1));
    QRadialGradient screw(centre - QPointF(2, 2), 9);
    screw.setColorAt(0, QColor(0xf2, 0xf4, 0xf6));
    screw.setColorAt(1, QColor(0x9c, 0xa6, 0xb0));
    p.setBrush(screw);
    p.drawEllipse(centre, 8, 8);
    p.drawLine(centre + QPointF(-5, 5), centre + QPointF(5, -5));
}

void paintCaption(QPainter &p, const QRectF &box, const QString &text, int pixels,
                  const QColor &colour)
{
    QFont font = p.font();
    font.setPixelSize(pixels);
    font.setBold(true);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, text);
}

void paintHousing(QPainter &p, const QRectF &body)
{
    p.setPen(QPen(QColor(0x6b, 0x75, 0x80), 1.2));
    QLinearGradient shell(body.topLeft(), body.topRight());
    shell.setColorAt(0, QColor(0xe4, 0xe8, 0xec));
    shell.setColorAt(0.5, QColor(0xfb, 0xfc, 0xfd));
    shell.setColorAt(1, QColor(0xd2, 0xd8, 0xde));
    p.setBrush(shell);
    p.drawRoundedRect(body, 8, 8);

    const QRectF panel = body.adjusted(34, 40, -34, -40);
    QLinearGradient face(panel.topLeft(), panel.bottomLeft());
    face.setColorAt(0, kHousing);
    face.setColorAt(1, kHousingDark);
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    p.drawRoundedRect(panel, 5, 5);
    paintCaption(p, panel.adjusted(0, 20, 0, -60), QStringLiteral("RV4820"), 17, Qt::white);
    paintCaption(p, panel.adjusted(0, 50, 0, -30), QStringLiteral("I \u2192 O"), 12,
                 QColor(0xc9, 0xd8, 0xe8));

    p.setPen(QPen(kRunLed.darker(150), 1));
    p.setBrush(kRunLed);
    p.drawEllipse(QPointF(panel.center().x(), panel.bottom() - 14), 4, 4);
}

qreal terminalY(const QRectF &block, int k)
{
    return block.top() + block.height() * (2 * k + 1) / 8.0;
}

// Four terminals down one side of the module, each wired out to the picture's edge.
void paintSide(QPainter &p, const QRectF &block, qreal edgeX, const QString &prefix,
               const QList<QColor> &wires)
{
    for (int k = 0; k < 4; ++k) {
        const qreal y = terminalY(block, k);
        const qreal spread = 46 + 48 * k;
        paintWire(p, QPointF(block.center().x(), y), QPointF(edgeX, spread), wires[k]);
    }
    paintTerminalBlock(p, block);
    for (int k = 0; k < 4; ++k) {
        const qreal y = terminalY(block, k);
        paintScrew(p, QPointF(block.center().x(), y));
        const qreal captionX = edgeX < block.left() ? block.right() + 4 : block.left() - 30;
        paintCaption(p, QRectF(captionX, y - 8, 26, 16), prefix + QString::number(k + 1), 11,
                     QColor(0x3a, 0x44, 0x50));
    }
}
} // namespace

QIcon applicationIcon()
{
    QIcon icon;
    icon.addPixmap(iconPixmap(32));
    icon.addPixmap(iconPixmap(16));
    return icon;
}

QPixmap applicationIcon(int size)
{
    return iconPixmap(size);
}

QPixmap lamp(const QColor &colour)
{
    QPixmap pixmap = transparentPixmap(16, 16);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(QPointF(6.5, 6), 8);
    glow.setColorAt(0, colour.lighter(160));
    glow.setColorAt(0.55, colour);
    glow.setColorAt(1, colour.darker(150));
    p.setPen(QPen(colour.darker(220), 1));
    p.setBrush(glow);
    p.drawEllipse(QPointF(8, 8), 7, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(QPointF(6, 5.2), 2.6, 1.7);
    return pixmap;
}

QPixmap aboutPicture()
{
    QPixmap pixmap(401, 238);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintBackground(p, pixmap.rect());

    const QRectF body(128, 18, 145, 202);
    paintHousing(p, body);
    const QRectF inputs(body.left() - 30, body.top() + 12, 30, body.height() - 24);
    const QRectF outputs(body.right(), inputs.top(), 30, inputs.height());
    paintSide(p, inputs, -4, QStringLiteral("I"), {kBrass, kCopper, kBrass, kCopper});
    paintSide(p, outputs, 405, QStringLiteral("O"), {kTeal, kTeal, kTeal, kTeal});
    paintCaption(p, QRectF(8, 8, 60, 18), QStringLiteral("IN"), 13, kCopper.darker(130));
    paintCaption(p, QRectF(333, 8, 60, 18), QStringLiteral("OUT"), 13, kTeal.darker(130));
    return pixmap;
}

} // namespace artwork
