#include "reports/centeredicondelegate.h"

#include <QApplication>
#include <QPainter>

void CenteredIconDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    QStyleOptionViewItem plain(option);
    initStyleOption(&plain, index);
    const QIcon icon = plain.icon;
    const QSize size = plain.decorationSize;
    plain.icon = QIcon();
    plain.features &= ~QStyleOptionViewItem::HasDecoration;
    const QStyle *style = plain.widget ? plain.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &plain, painter, plain.widget);
    if (!icon.isNull())
        icon.paint(painter, QStyle::alignedRect(plain.direction, Qt::AlignCenter, size, plain.rect));
}
