#include "core/reports/ReportTables.h"

#include "core/store/DataFiles.h"
#include "core/store/SettingsFile.h"
#include "core/store/TableBlanks.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace {

using Kind = ReportFileProblem::Kind;

// A file the program wrote is always of its full size; anything else is not
// one of its files, and guessing at it would report wrong figures.
std::expected<void, ReportFileProblem> checkFile(const DataFiles &files, const QString &name, qint64 size)
{
    const QString path = files.path(name);
    const QFileInfo info(path);
    if (!info.exists())
        return std::unexpected(ReportFileProblem { Kind::Missing, path });
    if (!info.isFile() || !info.isReadable())
        return std::unexpected(ReportFileProblem { Kind::Unreadable, path });
    if (info.size() != size)
        return std::unexpected(ReportFileProblem { Kind::Damaged, path });
    return {};
}

std::expected<qint64, ReportFileProblem> readTariffs(const DataFiles &files, TariffTable &tariffs)
{
    if (auto checked = checkFile(files, DataFiles::kTariffsFile, kTariffsFileSize); !checked)
        return std::unexpected(checked.error());
    const qint64 bytes = files.loadTarifData(tariffs);
    if (bytes != kTariffsFileSize)
        return std::unexpected(ReportFileProblem { Kind::Unreadable, files.path(DataFiles::kTariffsFile) });
    return bytes;
}

} // namespace

std::expected<ReportTables, ReportFileProblem> loadReportTables(const QString &folder)
{
    const DataFiles files(folder);
    ReportTables tables { std::make_unique<ProviderTable>(), std::make_unique<CallLogTable>(),
        std::make_unique<TariffTable>(), {} };
    blankProviderTable(*tables.providers);
    blankCallLog(*tables.log);
    blankTariffTable(*tables.tariffs);

    const QString providersPath = files.path(DataFiles::kProvidersFile);
    switch (files.readAppData(*tables.providers)) {
    case ProviderFileState::Loaded:
        break;
    case ProviderFileState::Missing:
        return std::unexpected(ReportFileProblem { Kind::Missing, providersPath });
    case ProviderFileState::Invalid:
        return std::unexpected(ReportFileProblem { Kind::Damaged, providersPath });
    case ProviderFileState::Unreadable:
        return std::unexpected(ReportFileProblem { Kind::Unreadable, providersPath });
    }

    if (auto checked = checkFile(files, DataFiles::kLogFile, kLogFileSize); !checked)
        return std::unexpected(checked.error());
    const qint64 logBytes = files.loadLogData(*tables.log);
    if (logBytes != kLogFileSize)
        return std::unexpected(ReportFileProblem { Kind::Unreadable, files.path(DataFiles::kLogFile) });
    const auto tariffBytes = readTariffs(files, *tables.tariffs);
    if (!tariffBytes)
        return std::unexpected(tariffBytes.error());

    Settings settings;
    const StoredCounts counts = SettingsFile(QDir(folder).filePath(SettingsFile::kFileName)).load(settings);
    applyStoredCounts(*tables.log, *tables.tariffs, counts, logBytes, *tariffBytes);
    const QString currency = settings.UseUserCurrency ? settings.CurrencyString : QLocale::system().currencySymbol();
    tables.currencyText = currency + QLatin1Char(' ');
    return tables;
}

std::expected<std::unique_ptr<TariffTable>, ReportFileProblem> loadReportTariffs(const QString &folder)
{
    const DataFiles files(folder);
    auto tariffs = std::make_unique<TariffTable>();
    blankTariffTable(*tariffs);
    const auto tariffBytes = readTariffs(files, *tariffs);
    if (!tariffBytes)
        return std::unexpected(tariffBytes.error());
    // Only the tariff count matters here; the log slots stay untouched.
    auto unusedLog = std::make_unique<CallLogTable>();
    Settings settings;
    const StoredCounts counts = SettingsFile(QDir(folder).filePath(SettingsFile::kFileName)).load(settings);
    applyStoredCounts(*unusedLog, *tariffs, counts, 0, *tariffBytes);
    return tariffs;
}
