#include "gui/reports/UsageChartView.h"

#include <QMouseEvent>
#include <QPainter>

#include <utility>

namespace {

UsageChartColours darkPanel()
{
    UsageChartColours colours;
    colours.background = QColor(22, 30, 40);
    colours.text = QColor(196, 206, 218);
    colours.axis = QColor(70, 84, 102);
    return colours;
}

} // namespace

UsageChartView::UsageChartView(QWidget *parent)
    : QWidget(parent)
{
    setCursor(Qt::PointingHandCursor);
}

UsageChartPainter UsageChartView::painter() const { return UsageChartPainter(m_chart, size(), darkPanel()); }

void UsageChartView::setChart(UsageChart chart)
{
    m_chart = std::move(chart);
    m_picture = QImage();
    update();
}

QRect UsageChartView::barColumn(int bar) const { return painter().barColumn(bar, true); }

QString UsageChartView::barFigures(int bar, const QString &currencyText) const
{
    return painter().barFigures(bar, currencyText);
}

void UsageChartView::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        m_picture = painter().paint(devicePixelRatioF());
    QPainter(this).drawImage(QPoint(0, 0), m_picture);
}

void UsageChartView::mousePressEvent(QMouseEvent *event)
{
    // Taken here, so that a press on the chart never starts moving the window.
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    if (const auto bar = painter().barAt(event->position().toPoint()))
        emit barClicked(*bar);
}

void UsageChartView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_picture = QImage();
}
