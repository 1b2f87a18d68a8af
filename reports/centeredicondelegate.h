#pragma once

#include <QStyledItemDelegate>

// Draws a cell's icon in the middle of the cell (an item view puts it at the left edge);
// the row's background is drawn as usual.
class CenteredIconDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};
