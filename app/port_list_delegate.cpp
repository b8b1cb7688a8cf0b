#include "app/port_list_delegate.h"

#include <QPainter>

namespace {

// Where the second column starts: past the widest entry name, "COM25", and a gap.
int nameColumnWidth(const QFontMetrics &metrics)
{
    return metrics.horizontalAdvance(QStringLiteral("COM25")) + 3 * metrics.averageCharWidth();
}

} // namespace

void PortListDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const QString device = index.data(kDeviceRole).toString();
    if (device.isEmpty())
        return;
    const QFontMetrics &metrics = option.fontMetrics;
    const QRect column =
        option.rect.adjusted(nameColumnWidth(metrics), 0, -metrics.averageCharWidth(), 0);
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->setPen(
        option.palette.color(selected ? QPalette::HighlightedText : QPalette::PlaceholderText));
    painter->drawText(column, Qt::AlignLeft | Qt::AlignVCenter,
                      metrics.elidedText(device, Qt::ElideMiddle, column.width()));
    painter->restore();
}

QSize PortListDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const QString device = index.data(kDeviceRole).toString();
    const QFontMetrics &metrics = option.fontMetrics;
    const int wanted = nameColumnWidth(metrics) + metrics.horizontalAdvance(device) +
                       2 * metrics.averageCharWidth();
    size.setWidth(qMax(size.width(), wanted));
    return size;
}
