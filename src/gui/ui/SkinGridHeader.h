#pragma once

#include <QHeaderView>

class TariffGridPainter;

// The grid's one fixed row of column titles, drawn by the grid painter.
class TariffGridHeader final : public QHeaderView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TariffGridHeader)

public:
    TariffGridHeader(const TariffGridPainter &painter, QWidget *parent = nullptr);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    const TariffGridPainter &m_painter;
};
