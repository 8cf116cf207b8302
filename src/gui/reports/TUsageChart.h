#pragma once

#include "core/reports/CallReport.h"
#include "core/reports/UsageChart.h"

#include <QDate>
#include <QDialog>
#include <QList>
#include <QString>

class QLabel;
class TGTextButton;
class QScrollArea;
class UsageChartView;

// The usage chart: cost and connected time, or data received and sent, per
// day of a month or per month of a year, stacked by provider; a click on a
// bar shows its figures.
// Borderless, moved by its background, closed by Close or Escape.
class TUsageChart final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TUsageChart)

public:
    // Opens on the month of `today`; `shown` names whose calls these are.
    TUsageChart(QList<ReportCall> calls, const QString &shown, const QDate &today, QString currencyText,
        QWidget *parent = nullptr);

    void showMonth(int year, int month);
    void showYear(int year);
    void showPlots(UsageChartPlots plots);

protected:
    void paintEvent(QPaintEvent *event) override;
    // Left and right step to the month or year before or after.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void ButtonPreviousClick();
    void ButtonNextClick();
    void ChartViewBarClick(int bar);
    void refresh();
    void showFigures(const QString &figures);

    QList<ReportCall> m_calls;
    QString m_currencyText;
    QDate m_month; // the first day of the month shown, or of any month of the year shown
    bool m_yearShown = false;
    UsageChartPlots m_plots = UsageChartPlots::CostAndTime;

    UsageChartView *ChartView;
    QLabel *LabelPeriod;
    QScrollArea *FiguresArea; // the figures of ten providers scroll
    QLabel *LabelFigures;
    TGTextButton *ButtonPrevious;
    TGTextButton *ButtonNext;
    TGTextButton *ButtonMonth;
    TGTextButton *ButtonYear;
    TGTextButton *ButtonCostTime;
    TGTextButton *ButtonData;
    TGTextButton *ButtonClose;
};
