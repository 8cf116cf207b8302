#include "gui/reports/CallLogReports.h"

#include "core/app/AppCore.h"
#include "core/calllog/CallLogRows.h"
#include "core/tariffs/TariffNames.h"
#include "gui/messages/MessageDialogs.h"
#include "gui/providers/ProviderMenu.h"
#include "gui/reports/TUsageChart.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

namespace {

// The months offered besides the current billing month.
constexpr int kMonthsOffered = 24;
constexpr int kCurrentBillingMonth = -1;

// Kernel and device file systems hold files that block when read (the
// dialog reads a file to know its type) and take no user's file.
bool plainWritableFolder(const QString &folder)
{
    static const QStringList kSpecial = { QStringLiteral("proc"), QStringLiteral("sysfs"), QStringLiteral("devtmpfs"),
        QStringLiteral("devpts"), QStringLiteral("debugfs"), QStringLiteral("tracefs"), QStringLiteral("securityfs"),
        QStringLiteral("cgroup"), QStringLiteral("cgroup2"), QStringLiteral("pstore"), QStringLiteral("configfs"),
        QStringLiteral("efivarfs"), QStringLiteral("bpf"), QStringLiteral("mqueue"), QStringLiteral("fusectl"),
        QStringLiteral("binfmt_misc"), QStringLiteral("hugetlbfs") };
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir() || !info.isWritable())
        return false;
    const QString canonical = info.canonicalFilePath();
    for (const char *top : { "/proc", "/sys", "/dev" })
        if (canonical == QLatin1String(top) || canonical.startsWith(QLatin1String(top) + QLatin1Char('/')))
            return false;
    return !kSpecial.contains(QString::fromLatin1(QStorageInfo(canonical).fileSystemType()));
}

QString safeStartFolder()
{
    for (const auto location : { QStandardPaths::DocumentsLocation, QStandardPaths::HomeLocation })
        if (const QString folder = QStandardPaths::writableLocation(location); plainWritableFolder(folder))
            return folder;
    return QDir::homePath();
}

QString askForFile(QWidget *parent, const QString &caption, const QString &proposed, const QString &typeFilter)
{
    // Qt's own dialog: the same on every desktop, and it works with no desktop at all.
    QFileDialog dialog(parent, caption, proposed, typeFilter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // Stepping into /proc would freeze the dialog on its first blocking file.
    QObject::connect(&dialog, &QFileDialog::directoryEntered, &dialog, [&dialog](const QString &folder) {
        if (!plainWritableFolder(folder))
            dialog.setDirectory(safeStartFolder());
    });
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QFileInfo(proposed).suffix());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString monthName(const QDate &month)
{
    return QStringLiteral("%1 %2").arg(QLatin1String(MonthNames[std::size_t(month.month())])).arg(month.year());
}

} // namespace

CallLogReports::CallLogReports(QWidget *window)
    : QObject(window)
    , m_window(window)
    , m_chooseFile(askForFile)
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
    const QString shown = filter == kAllProviders || filter >= kMaxProviders
        ? QStringLiteral("All Providers")
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
