#pragma once
// Draws each entry of the opened port list with a short device text, greyed, in
// a second column. The entry's own text is drawn as before and stays unchanged.

#include <QStyledItemDelegate>

class PortListDelegate : public QStyledItemDelegate {
public:
    static constexpr int kDeviceRole = Qt::UserRole + 1; // the second column's text

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
