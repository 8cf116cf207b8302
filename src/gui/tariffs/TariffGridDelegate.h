#pragma once

#include <QStyledItemDelegate>

class TariffGridPainter;

// Every cell of the tariff grid is drawn by the grid painter.
class TariffGridDelegate final : public QStyledItemDelegate {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TariffGridDelegate)

public:
    TariffGridDelegate(const TariffGridPainter &painter, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    const TariffGridPainter &m_painter;
};
