#pragma once

#include <QHeaderView>

class SkinGridPainter;

// A skinned grid's one fixed row of column titles, drawn by the grid painter.
class SkinGridHeader final : public QHeaderView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SkinGridHeader)

public:
    SkinGridHeader(const SkinGridPainter &painter, QWidget *parent = nullptr);

    // At a fixed height no title is measured: the grid takes the fixed height
    // whatever the titles would ask for.
    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    const SkinGridPainter &m_painter;
};
