// Any three data files and settings.data, as the program finds them at
// start-up: loading never crashes, an invalid Providers.data is told apart
// and copied aside, the counts stay within their tables, and whatever was
// loaded comes back byte for byte after the program saves and starts again.
#include "FuzzFolder.h"

#include "core/app/AppCore.h"
#include "core/store/DataFiles.h"

#include "support/FakeClock.h"
#include "support/FakeDialUpService.h"
#include "support/FakeServices.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QFile>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

namespace {

// A file of about the size the program expects, made from a few bytes of
// input: most of it is one fill byte, so short inputs reach full-size files.
QByteArray makeFile(FuzzedDataProvider &input, qint64 fullSize, bool withMagic)
{
    qint64 size = fullSize;
    switch (input.ConsumeIntegralInRange(0, 2)) {
    case 1:
        size += input.ConsumeIntegralInRange(-2, 2);
        break;
    case 2:
        size = input.ConsumeIntegralInRange<qint64>(0, fullSize + 64);
        break;
    default:
        break;
    }
    QByteArray bytes(size, char(input.ConsumeIntegral<std::uint8_t>()));
    const std::string prefix = input.ConsumeBytesAsString(input.ConsumeIntegralInRange<std::size_t>(0, 4096));
    std::memcpy(bytes.data(), prefix.data(), std::min<std::size_t>(prefix.size(), std::size_t(size)));
    if (withMagic && size >= qint64(sizeof kFileMagic))
        std::memcpy(bytes.data(), kFileMagic, sizeof kFileMagic);
    return bytes;
}

struct Program {
    explicit Program(const FuzzFolder &folder)
        : core(folder.path(QStringLiteral("tollwise")), AppServices { clock, sound, startup, dialUp })
    {
        core.setSaveFailureHandler([](const FileError &) { std::abort(); });
    }

    FakeClock clock;
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    FakeDialUpService dialUp;
    AppCore core;
};

bool same(const void *a, const void *b, std::size_t size) { return std::memcmp(a, b, size) == 0; }

void checkCounts(const AppCore &core)
{
    const ProviderTable &providers = core.providers();
    if (providers.Count > kMaxProviders || (providers.Count > 0 && providers.Current >= providers.Count)
        || (providers.Count == 0 && providers.Current != 0))
        std::abort();
    if (core.log().Count < 0 || core.log().Count > kMaxLogRecords || core.tariffs().Count > kMaxTariffs
        || core.tariffs().LastTariffIdNumber < highestTariffId(core.tariffs()))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const FuzzFolder folder;
    for (const QString &name : { DataFiles::kProvidersFile, DataFiles::kLogFile, DataFiles::kTariffsFile,
             DataFiles::kInvalidCopy, SettingsFile::kFileName })
        folder.remove(name);

    FuzzedDataProvider input(data, size);
    std::optional<QByteArray> providersFile;
    if (input.ConsumeBool()) {
        const bool withMagic = input.ConsumeBool();
        providersFile = makeFile(input, kProvidersFileSize, withMagic);
        folder.write(DataFiles::kProvidersFile, *providersFile);
    }
    if (input.ConsumeBool())
        folder.write(DataFiles::kLogFile, makeFile(input, kLogFileSize, false));
    if (input.ConsumeBool())
        folder.write(DataFiles::kTariffsFile, makeFile(input, kTariffsFileSize, false));
    const std::string settings = input.ConsumeRemainingBytesAsString();
    if (!settings.empty())
        folder.write(SettingsFile::kFileName, QByteArray(settings.data(), qsizetype(settings.size())));

    auto first = std::make_unique<Program>(folder);
    const StartupReport report = first->core.loadAll();
    const bool invalid = providersFile
        && (providersFile->size() != kProvidersFileSize || !providersFile->startsWith(QByteArray(kFileMagic, 6)));
    if (report.invalidProviderFile != invalid)
        std::abort();
    if (invalid) {
        QFile copy(folder.path(DataFiles::kInvalidCopy));
        if (!copy.open(QIODevice::ReadOnly) || copy.readAll() != *providersFile || first->core.providers().Count != 0)
            std::abort();
    }
    checkCounts(first->core);

    first->core.saveEverything();
    if (QFile(folder.path(DataFiles::kProvidersFile)).size() != kProvidersFileSize
        || QFile(folder.path(DataFiles::kLogFile)).size() != kLogFileSize
        || QFile(folder.path(DataFiles::kTariffsFile)).size() != kTariffsFileSize)
        std::abort();

    auto second = std::make_unique<Program>(folder);
    if (second->core.loadAll().invalidProviderFile)
        std::abort();
    const AppCore &a = first->core;
    const AppCore &b = second->core;
    if (!same(&a.providers(), &b.providers(), std::size_t(kProvidersFileSize)) || a.log().Count != b.log().Count
        || !same(a.log().records, b.log().records, sizeof a.log().records) || a.tariffs().Count != b.tariffs().Count
        || a.tariffs().LastTariffIdNumber != b.tariffs().LastTariffIdNumber
        || !same(a.tariffs().records, b.tariffs().records, sizeof a.tariffs().records))
        std::abort();
    return 0;
}
