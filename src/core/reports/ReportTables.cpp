#include "core/reports/ReportTables.h"

#include "core/store/CallRecordCheck.h"
#include "core/store/CallVolumeFile.h"
#include "core/store/DataFiles.h"
#include "core/store/TableLoader.h"
#include "core/store/VolumePlanFile.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <cstring>

namespace {

using Kind = ReportFileProblem::Kind;

ReportFileProblem problemOf(Kind kind, const QString &path)
{
    ReportFileProblem problem;
    problem.kind = kind;
    problem.path = path;
    return problem;
}

// A file the program wrote is always of its full size; anything else is not
// one of its files, and guessing at it would report wrong figures.
std::expected<void, ReportFileProblem> checkFile(const DataFiles &files, const QString &name, qint64 size)
{
    const QString path = files.path(name);
    const QFileInfo info(path);
    if (!info.exists())
        return std::unexpected(problemOf(Kind::Missing, path));
    if (!info.isFile() || !info.isReadable())
        return std::unexpected(problemOf(Kind::Unreadable, path));
    if (info.size() != size)
        return std::unexpected(problemOf(Kind::Damaged, path));
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
            return std::unexpected(problemOf(Kind::Missing, path));
        case ProviderFileState::Invalid:
            return std::unexpected(problemOf(Kind::Damaged, path));
        case ProviderFileState::Unreadable:
            return std::unexpected(problemOf(Kind::Unreadable, path));
        }
    }
    if (tables.log) {
        if (auto checked = checkFile(files, DataFiles::kLogFile, kLogFileSize); !checked)
            return checked;
        if (loaded.logBytes != kLogFileSize)
            return std::unexpected(problemOf(Kind::Unreadable, files.path(DataFiles::kLogFile)));
    }
    if (tables.tariffs) {
        if (auto checked = checkFile(files, DataFiles::kTariffsFile, kTariffsFileSize); !checked)
            return checked;
        if (loaded.tariffBytes != kTariffsFileSize)
            return std::unexpected(problemOf(Kind::Unreadable, files.path(DataFiles::kTariffsFile)));
    }
    return {};
}

ReportFileProblem damagedRecord(const QString &path, int index, const QString &fault)
{
    ReportFileProblem problem = problemOf(Kind::DamagedRecord, path);
    problem.record = index + 1;
    problem.fault = fault;
    return problem;
}

// A counted string whose length byte is beyond its bytes, or that holds a
// NUL, was not written by the program.
template <std::size_t N> QString nameFault(const CountedString<N> &name)
{
    if (name.length > N)
        return QStringLiteral("its name's length %1 is more than the %2 bytes it has").arg(name.length).arg(N);
    if (std::memchr(name.chars, 0, name.length) != nullptr)
        return QStringLiteral("its name holds a NUL byte");
    return {};
}

std::expected<void, ReportFileProblem> checkCalls(
    const QString &path, const CallRecord *calls, int count, int providerCount)
{
    for (int i = 0; i < count; ++i) {
        const CallRecord &call = calls[i];
        if (!isCallSlot(call))
            continue;
        const CallRecordFault fault = callRecordFault(call);
        if (fault != CallRecordFault::None)
            return std::unexpected(damagedRecord(path, i, callRecordFaultText(call, fault)));
        if (call.ProviderIndex >= providerCount)
            return std::unexpected(damagedRecord(path, i,
                QStringLiteral("its provider index %1 is not in the table of %2 providers")
                    .arg(call.ProviderIndex)
                    .arg(providerCount)));
    }
    return {};
}

std::expected<void, ReportFileProblem> checkTables(const DataFiles &files, const ReportTables &tables)
{
    const ProviderTable &providers = *tables.providers;
    for (int i = 0; i < providers.Count; ++i)
        if (const QString fault = nameFault(providers.records[i].Name); !fault.isEmpty())
            return std::unexpected(damagedRecord(files.path(DataFiles::kProvidersFile), i, fault));
    const TariffTable &tariffs = *tables.tariffs;
    for (int i = 0; i < tariffs.Count; ++i)
        if (const QString fault = nameFault(tariffs.records[i].Name); !fault.isEmpty())
            return std::unexpected(damagedRecord(files.path(DataFiles::kTariffsFile), i, fault));
    if (auto checked = checkCalls(files.path(DataFiles::kLogArchiveFile), tables.archived.data(),
            int(tables.archived.size()), providers.Count);
        !checked)
        return checked;
    return checkCalls(files.path(DataFiles::kLogFile), tables.log->records, tables.log->Count, providers.Count);
}

// A volume file's records for `calls` calls; the bytes are extra figures, so
// a file that cannot say leaves them unknown rather than stopping the report.
std::vector<CallVolume> readVolumes(const QString &path, std::size_t calls)
{
    std::vector<CallVolume> volumes;
    QFile file(path);
    if (QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly)) {
        // Far more calls than the log and any archive hold is no file of ours.
        constexpr qint64 kMostBytes = callvolumefile::kHeaderBytes + (qint64(1) << 24) * callvolumefile::kRecordBytes;
        if (file.size() <= kMostBytes)
            volumes = callvolumefile::parse(file.readAll()).value_or(std::vector<CallVolume> {});
    }
    volumes.resize(calls);
    return volumes;
}

} // namespace

std::expected<ReportTables, ReportFileProblem> loadReportTables(const QString &folder)
{
    ReportTables tables { std::make_unique<ProviderTable>(), std::make_unique<CallLogTable>(),
        std::make_unique<TariffTable>(), {}, {}, {} };
    const TableSet wanted { tables.providers.get(), tables.log.get(), tables.tariffs.get() };
    const LoadedTables loaded
        = loadTables(folder, wanted, DamagedProviders::LeaveAlone, QLocale::system().currencySymbol());
    if (auto checked = checkLoaded(DataFiles(folder), loaded, wanted); !checked)
        return std::unexpected(checked.error());
    tables.currencyText = loaded.currencyText;

    const DataFiles files(folder);
    const QString archivePath = files.path(DataFiles::kLogArchiveFile);
    switch (files.loadLogArchive(tables.archived)) {
    case DataFiles::ArchiveState::Missing:
    case DataFiles::ArchiveState::Loaded:
        break;
    case DataFiles::ArchiveState::Damaged:
        return std::unexpected(problemOf(Kind::Damaged, archivePath));
    case DataFiles::ArchiveState::Unreadable:
        return std::unexpected(problemOf(Kind::Unreadable, archivePath));
    }
    if (auto checked = checkTables(files, tables); !checked)
        return std::unexpected(checked.error());
    tables.volumes = readVolumes(files.path(callvolumefile::kArchiveFile), tables.archived.size());
    const std::vector<CallVolume> inLog = readVolumes(files.path(callvolumefile::kLogFile),
        std::size_t(std::clamp<std::int32_t>(tables.log->Count, 0, kMaxLogRecords)));
    tables.volumes.insert(tables.volumes.end(), inLog.begin(), inLog.end());
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

std::expected<VolumePlans, ReportFileProblem> loadReportVolumePlans(const QString &folder)
{
    const QString path = DataFiles(folder).path(volumeplanfile::kFileName);
    const QFileInfo info(path);
    if (!info.exists())
        return VolumePlans {};
    QFile file(path);
    // An INI file of a few plans; anything this large is not one.
    constexpr qint64 kMostBytes = 16 * 1024 * 1024;
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return std::unexpected(problemOf(Kind::Unreadable, path));
    if (file.size() > kMostBytes)
        return std::unexpected(problemOf(Kind::Damaged, path));
    const QByteArray bytes = file.readAll();
    if (bytes.size() != file.size())
        return std::unexpected(problemOf(Kind::Unreadable, path));
    volumeplanfile::ReadResult read = volumeplanfile::parse(bytes);
    if (!read.problems.isEmpty()) {
        ReportFileProblem problem = problemOf(Kind::Damaged, path);
        problem.fault = read.problems.first();
        return std::unexpected(problem);
    }
    return std::move(read.plans);
}
