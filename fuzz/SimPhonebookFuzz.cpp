// Any bytes as the simulator's phonebook.ini, a file users edit by hand:
// every listed entry can be read with values in range, and writing an entry
// back keeps the list of entries and the entry's values.
#include "FuzzFolder.h"

#include "platform/simdialup/SimPhonebook.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// What a value becomes on its way through the file: one trimmed line.
QString asStored(QString text)
{
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    return text.trimmed();
}

void checkRanges(const SimEntry &entry)
{
    if (!(entry.stageSeconds >= 0 && entry.stageSeconds <= SimEntry::kMaxStageSeconds) || entry.dropAfterSeconds < 0
        || entry.dropAfterSeconds > SimEntry::kMaxDropAfterSeconds || !SimEntry::nameProblem(entry.name).isEmpty())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const FuzzFolder folder;
    folder.write(QStringLiteral("phonebook.ini"), QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const SimPhonebook phonebook(folder.folder());
    const auto names = phonebook.entryNames();
    if (!names)
        return 0;
    if (names->size() > SimPhonebook::kMaxEntries)
        std::abort();
    SimEntry first;
    for (qsizetype i = 0; i < std::min<qsizetype>(names->size(), 16); ++i) {
        const auto entry = phonebook.entry(names->at(i));
        if (!entry || entry->name != names->at(i))
            std::abort();
        checkRanges(*entry);
        if (i == 0)
            first = *entry;
    }
    if (names->isEmpty())
        return 0;

    if (!phonebook.store(first, SimPhonebook::StoreMode::Replace))
        std::abort();
    const auto namesAfter = phonebook.entryNames();
    const auto stored = phonebook.entry(first.name);
    if (!namesAfter || *namesAfter != *names || !stored)
        std::abort();
    SimEntry expected = first;
    expected.phoneNumber = asStored(first.phoneNumber);
    expected.userName = asStored(first.userName);
    expected.password = asStored(first.password);
    expected.stageSeconds = stored->stageSeconds;
    if (*stored != expected || std::abs(stored->stageSeconds - first.stageSeconds) > 1e-4)
        std::abort();
    return 0;
}
