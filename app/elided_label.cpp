#include "app/elided_label.h"

#include <QPainter>
#include <QStyle>

void ElidedLabel::setText(const QString &format, const QString &part)
{
    m_format = format;
    m_part = part;
    // One arg call: a path holding "%1" is taken as it is.
    QLabel::setText(part.isEmpty() ? format : format.arg(part));
    setToolTip(part);
    updateGeometry();
    update();
}

QString ElidedLabel::shown() const
{
    if (m_part.isEmpty())
        return text();
    const QFontMetrics metrics = fontMetrics();
    const int rest = metrics.horizontalAdvance(QString(m_format).remove(QStringLiteral("%1")));
    return m_format.arg(
        metrics.elidedText(m_part, Qt::ElideMiddle, std::max(contentsRect().width() - rest, 0)));
}

// Room for the fixed part and a few letters of the long one, whatever its length.
QSize ElidedLabel::minimumSizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    const QString fixed = QString(m_format).replace(QStringLiteral("%1"), QStringLiteral("…"));
    return {metrics.horizontalAdvance(fixed) + 2 * margin(), QLabel::minimumSizeHint().height()};
}

QSize ElidedLabel::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    return {std::min(QLabel::sizeHint().width(), 40 * metrics.averageCharWidth()),
            QLabel::sizeHint().height()};
}

void ElidedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), int(alignment()), palette(), isEnabled(),
                          shown(), foregroundRole());
}
