#pragma once

#include <QStyledItemDelegate>

class SkinGridPainter;

// Paints the call log's cells: the selected rows highlighted, the others
// white and pale yellow by turns under the skin's cell texture.
class CallLogDelegate final : public QStyledItemDelegate {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CallLogDelegate)

public:
    CallLogDelegate(const SkinGridPainter &painter, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    const SkinGridPainter &m_painter;
};
