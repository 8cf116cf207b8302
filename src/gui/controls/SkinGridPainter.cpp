#include "gui/controls/SkinGridPainter.h"

#include "core/skins/SkinLayout.h"
#include "core/store/TextHelpers.h"

#include <QPainter>

namespace {

const QColor kHeaderFill(216, 216, 235);
constexpr int kHeaderBarHeight = 15;
using SkinLayout::CallLogWindow::kCellTexture;
using SkinLayout::CallLogWindow::kHeaderLeft;
using SkinLayout::CallLogWindow::kHeaderMiddle;
using SkinLayout::CallLogWindow::kHeaderRight;

} // namespace

SkinGridPainter::SkinGridPainter(QImage skin)
    : m_skin(std::move(skin))
    , m_font(QStringLiteral("Arial"))
{
    m_font.setPointSize(8);
}

void SkinGridPainter::paintHeader(QPainter &painter, const QRect &cell, const QString &text) const
{
    painter.save();
    painter.fillRect(cell, kHeaderFill);
    if (!m_skin.isNull()) {
        const int ends = std::min(kHeaderLeft.width(), cell.width() / 2);
        const QRect left(cell.left(), cell.top(), ends, kHeaderBarHeight);
        const QRect right(cell.right() + 1 - ends, cell.top(), ends, kHeaderBarHeight);
        const QRect middle(
            left.right() + 1, cell.top(), std::max(0, right.left() - left.right() - 1), kHeaderBarHeight);
        painter.drawImage(middle, m_skin, kHeaderMiddle);
        painter.drawImage(left, m_skin, kHeaderLeft);
        painter.drawImage(right, m_skin, kHeaderRight);
    }
    painter.setFont(m_font);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    const QString shown = painter.fontMetrics().elidedText(text, Qt::ElideRight, cell.width() - 6);
    painter.setPen(Qt::white);
    painter.drawText(cell.adjusted(5, 2, 0, 0), flags, shown);
    painter.setPen(Qt::black);
    painter.drawText(cell.adjusted(4, 1, 0, 0), flags, shown);
    painter.restore();
}

void SkinGridPainter::paintCell(QPainter &painter, const QRect &cell, const QString &text, const QColor &fill,
    bool textured, const QColor &textColour, bool rightAligned) const
{
    painter.save();
    painter.setFont(m_font);
    painter.fillRect(cell, fill);
    if (textured && !m_skin.isNull())
        painter.drawImage(cell, m_skin, kCellTexture);
    painter.setPen(textColour);
    // An amount cut at its left would read as a smaller one: it ends in an
    // ellipsis instead, whole in its hint.
    if (rightAligned)
        DrawCellTextRight(painter, cell.adjusted(1, 1, -1, -1),
            painter.fontMetrics().elidedText(text.trimmed(), Qt::ElideRight, cell.width() - 3));
    else // a name too long for its column ends in an ellipsis; its hint has the whole
        painter.drawText(cell.adjusted(2, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
            painter.fontMetrics().elidedText(text, Qt::ElideRight, cell.width() - 3));
    painter.restore();
}
