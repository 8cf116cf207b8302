#pragma once

#include "core/reports/UsageChart.h"

#include <QImage>
#include <QWidget>

// Draws a usage chart on the dark panel and tells which bar was clicked.
class UsageChartView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UsageChartView)

public:
    explicit UsageChartView(QWidget *parent = nullptr);

    void setChart(UsageChart chart);
    [[nodiscard]] const UsageChart &chart() const { return m_chart; }
    // Where bar `bar` stands in the top plot (cost, or data received), in the view's pixels.
    [[nodiscard]] QRect barColumn(int bar) const;
    [[nodiscard]] QString barFigures(int bar, const QString &currencyText) const;

signals:
    void barClicked(int bar);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    [[nodiscard]] UsageChartPainter painter() const;

    UsageChart m_chart;
    QImage m_picture; // drawn again when the chart or the size changes
};
