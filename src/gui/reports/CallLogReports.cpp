#include "gui/reports/CallLogReports.h"

#include "core/app/AppCore.h"
#include "core/calllog/CallLogRows.h"
#include "core/reports/SaveLocation.h"
#include "core/tariffs/TariffNames.h"
#include "gui/messages/MessageDialogs.h"
#include "gui/providers/ProviderMenu.h"
#include "gui/reports/SaveFileDialog.h"
#include "gui/reports/TUsageChart.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The months offered besides the current billing month.
constexpr int kMonthsOffered = 24;
constexpr int kCurrentBillingMonth = -1;

QString monthName(const QDate &month)
{
    return QStringLiteral("%1 %2").arg(QLatin1String(MonthNames[std::size_t(month.month())])).arg(month.year());
}

} // namespace

CallLogReports::CallLogReports(QWidget *window)
    : QObject(window)
    , m_window(window)
    , m_chooseFile(&SaveFileDialog::ask)
    , m_monthMenu(new ProviderMenu(window))
{
    m_monthMenu->setObjectName(QStringLiteral("MonthMenu"));
    connect(m_monthMenu, &ProviderMenu::itemChosen, this, [this](const QString &, int tag) {
        writeReport(m_menuFilter, tag == kCurrentBillingMonth ? std::nullopt : std::optional(m_menuMonths.value(tag)));
    });
    m_lastFolder = safeStartFolder();
}

CallLogView CallLogReports::viewOf(int filter) const
{
    return { m_core->log(), m_core->providers(), m_core->tariffs(), filter, m_core->clock().now().date(),
        m_core->archivedCalls(), m_core->volumes().records, m_core->archivedVolumes() };
}

void CallLogReports::exportCalls(int filter)
{
    if (!m_core)
        return;
    saveAs(QStringLiteral("Export the calls shown"), QStringLiteral("calls.csv"),
        QStringLiteral("Comma-separated values (*.csv)"), shownCallsCsv(viewOf(filter), m_core->currencyText()));
}

void CallLogReports::chooseReportMonth(int filter, const QPoint &where)
{
    if (!m_core)
        return;
    m_menuFilter = filter;
    m_menuMonths = monthsWithCalls(viewOf(filter)).mid(0, kMonthsOffered);
    m_monthMenu->clearItems();
    m_monthMenu->addItem(QStringLiteral("Current billing month"), kCurrentBillingMonth);
    for (int i = 0; i < m_menuMonths.size(); ++i)
        m_monthMenu->addItem(monthName(m_menuMonths[i]), i);
    m_monthMenu->open(where);
}

void CallLogReports::writeReport(int filter, const std::optional<QDate> &month)
{
    if (!m_core)
        return;
    const CallLogView view = viewOf(filter);
    const QDate named = month.value_or(view.today);
    saveAs(QStringLiteral("Write the report"),
        QStringLiteral("calls-%1.html").arg(named.toString(QStringLiteral("yyyy-MM"))),
        QStringLiteral("Web page (*.html)"), monthReportHtml(view, month, m_core->currencyText()).toUtf8());
}

void CallLogReports::showChart(int filter)
{
    if (!m_core)
        return;
    const CallLogView view = viewOf(filter);
    // Any filter that is not a provider's index, kAllProviders among them.
    const QString shown = filter < 0 || filter >= kMaxProviders ? QStringLiteral("All Providers")
                                                                : m_core->providers().records[filter].Name.text();
    TUsageChart chart(everyReportCall(view), shown, view.today, m_core->currencyText(), m_window);
    chart.exec();
}

void CallLogReports::saveAs(
    const QString &caption, const QString &proposed, const QString &typeFilter, const QByteArray &bytes)
{
    // The folder may have become unusable since (removed, unmounted).
    if (!plainWritableFolder(m_lastFolder))
        m_lastFolder = safeStartFolder();
    const QString path = m_chooseFile(m_window, caption, QDir(m_lastFolder).filePath(proposed), typeFilter);
    if (path.isEmpty())
        return;
    if (const QString folder = QFileInfo(path).absolutePath(); plainWritableFolder(folder))
        m_lastFolder = folder;
    const auto written = m_core->writeUserFile(path, bytes);
    if (!written)
        SkinMessageDlg(mtError,
            QStringLiteral("Dialtally could not write the file\r%1\r\r%2")
                .arg(QDir::toNativeSeparators(written.error().path), written.error().reason),
            mbOK, m_window);
}
