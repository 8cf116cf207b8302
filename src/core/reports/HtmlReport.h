#pragma once

#include "core/reports/CallReport.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A printable HTML page: per provider its calls, totals, the statistics of
// the call log and a chart, the chart embedded as a PNG so the page stands
// alone.
struct HtmlReportSection {
    QString provider;
    QList<ReportCall> calls;
    QStringList statisticCaptions; // beside statisticValues, one to one
    QStringList statisticValues;
    QByteArray chartPng;
};

QString htmlReport(const QString &title, const QList<HtmlReportSection> &sections, const QString &currencyText);
