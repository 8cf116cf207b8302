#include "gui/calllog/CallLogDelegate.h"

#include "core/calllog/CallLogCells.h"
#include "gui/controls/SkinGridPainter.h"

#include <QPainter>

namespace {

const QColor kSelectedFill(128, 128, 192);
const QColor kEvenRowFill(255, 255, 217);

} // namespace

CallLogDelegate::CallLogDelegate(const SkinGridPainter &painter, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_painter(painter)
{
}

void CallLogDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    const bool rightAligned = index.column() == kCostColumn;
    if (option.state & QStyle::State_Selected) {
        m_painter.paintCell(*painter, option.rect, text, kSelectedFill, false, Qt::white, rightAligned);
        return;
    }
    // Model row 0 is the grid's row 1, an odd row.
    const QColor fill = index.row() % 2 == 0 ? QColor(Qt::white) : kEvenRowFill;
    m_painter.paintCell(*painter, option.rect, text, fill, true, Qt::black, rightAligned);
}
