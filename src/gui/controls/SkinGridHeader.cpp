#include "gui/controls/SkinGridHeader.h"

#include "gui/controls/SkinGridPainter.h"

SkinGridHeader::SkinGridHeader(const SkinGridPainter &painter, QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent)
    , m_painter(painter)
{
    setSectionsClickable(false);
    setHighlightSections(false);
}

QSize SkinGridHeader::sizeHint() const
{
    if (minimumHeight() == maximumHeight())
        return { length(), maximumHeight() };
    return QHeaderView::sizeHint();
}

void SkinGridHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    const QString text = model() ? model()->headerData(logicalIndex, Qt::Horizontal).toString() : QString();
    m_painter.paintHeader(*painter, rect, text);
}
