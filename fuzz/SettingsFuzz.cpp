// Any bytes as settings.data: reading never crashes, the INI text survives a
// rewrite line for line, and what was read comes back unchanged after the
// program writes the file and reads it again.
#include "FuzzFolder.h"

#include "core/store/Cp1252.h"
#include "core/store/IniDocument.h"
#include "core/store/SettingsFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <tuple>

namespace {

auto fields(const Settings &s)
{
    return std::tie(s.RunAtStartup, s.LoadMinimised, s.MainWindowTop, s.MainWindowLeft, s.CallLogHeight, s.ShowHint,
        s.PlayApplicationSounds, s.AutoUpdateProvider, s.ShowConnectionTimeOnTitle, s.UseUserCurrency, s.CurrencyString,
        s.ColumnWidths);
}

void checkRewrite(const QString &text)
{
    const IniDocument document = IniDocument::parse(text);
    const IniDocument again = IniDocument::parse(document.toText());
    if (again.sections() != document.sections())
        std::abort();
    for (const char *key : { "Log.NumberOfRecords", "CurrencyString", "MainWindow.Top" }) {
        for (const QString &section : document.sections()) {
            if (again.value(section, QLatin1String(key)) != document.value(section, QLatin1String(key)))
                std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const FuzzFolder folder;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    checkRewrite(cp1252::decode(bytes));

    const QString path = folder.write(SettingsFile::kFileName, bytes);
    const SettingsFile file(path);
    Settings first;
    const StoredCounts counts = file.load(first);
    // The program clamps the counts before it writes them back.
    const int log = int(std::clamp<std::int64_t>(counts.logRecords.value_or(0), 0, 16384));
    const int tariffs = int(std::clamp<std::int64_t>(counts.tariffRecords.value_or(0), 0, 256));
    const auto lastId = std::uint32_t(std::clamp<std::int64_t>(counts.lastTariffId.value_or(0), 0, UINT32_MAX));
    if (!file.save(first, log, tariffs, lastId))
        std::abort();

    Settings second;
    const StoredCounts reread = file.load(second);
    // Line breaks cannot be kept inside one INI line; they are dropped on writing.
    first.CurrencyString.remove(QLatin1Char('\r'));
    if (fields(first) != fields(second) || reread.logRecords != log || reread.tariffRecords != tariffs
        || reread.lastTariffId != lastId)
        std::abort();
    return 0;
}
