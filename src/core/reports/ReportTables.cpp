#include "core/reports/ReportTables.h"

#include "core/store/DataFiles.h"
#include "core/store/TableLoader.h"

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

// The first file, in the order they are read, that keeps the tables from being reported.
std::expected<void, ReportFileProblem> checkLoaded(
    const DataFiles &files, const LoadedTables &loaded, const TableSet &tables)
{
    if (tables.providers) {
        const QString path = files.path(DataFiles::kProvidersFile);
        switch (loaded.providers) {
        case ProviderFileState::Loaded:
            break;
        case ProviderFileState::Missing:
            return std::unexpected(ReportFileProblem { Kind::Missing, path });
        case ProviderFileState::Invalid:
            return std::unexpected(ReportFileProblem { Kind::Damaged, path });
        case ProviderFileState::Unreadable:
            return std::unexpected(ReportFileProblem { Kind::Unreadable, path });
        }
    }
    if (tables.log) {
        if (auto checked = checkFile(files, DataFiles::kLogFile, kLogFileSize); !checked)
            return checked;
        if (loaded.logBytes != kLogFileSize)
            return std::unexpected(ReportFileProblem { Kind::Unreadable, files.path(DataFiles::kLogFile) });
    }
    if (tables.tariffs) {
        if (auto checked = checkFile(files, DataFiles::kTariffsFile, kTariffsFileSize); !checked)
            return checked;
        if (loaded.tariffBytes != kTariffsFileSize)
            return std::unexpected(ReportFileProblem { Kind::Unreadable, files.path(DataFiles::kTariffsFile) });
    }
    return {};
}

} // namespace

std::expected<ReportTables, ReportFileProblem> loadReportTables(const QString &folder)
{
    ReportTables tables { std::make_unique<ProviderTable>(), std::make_unique<CallLogTable>(),
        std::make_unique<TariffTable>(), {} };
    const TableSet wanted { tables.providers.get(), tables.log.get(), tables.tariffs.get() };
    const LoadedTables loaded
        = loadTables(folder, wanted, DamagedProviders::LeaveAlone, QLocale::system().currencySymbol());
    if (auto checked = checkLoaded(DataFiles(folder), loaded, wanted); !checked)
        return std::unexpected(checked.error());
    tables.currencyText = loaded.currencyText;
    return tables;
}

std::expected<std::unique_ptr<TariffTable>, ReportFileProblem> loadReportTariffs(const QString &folder)
{
    auto tariffs = std::make_unique<TariffTable>();
    const TableSet wanted { nullptr, nullptr, tariffs.get() };
    const LoadedTables loaded = loadTables(folder, wanted, DamagedProviders::LeaveAlone, QString());
    if (auto checked = checkLoaded(DataFiles(folder), loaded, wanted); !checked)
        return std::unexpected(checked.error());
    return tariffs;
}
