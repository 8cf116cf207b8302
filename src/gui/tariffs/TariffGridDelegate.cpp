#include "gui/tariffs/TariffGridDelegate.h"

#include "gui/tariffs/TariffGridPainter.h"

#include <QPainter>

TariffGridDelegate::TariffGridDelegate(const TariffGridPainter &painter, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_painter(painter)
{
}

void TariffGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    m_painter.paintCell(*painter, option.rect, index.column(), index.data(Qt::DisplayRole).toString(), selected,
        index.data(Qt::BackgroundRole).value<QColor>());
}
