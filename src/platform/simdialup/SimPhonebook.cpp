#include "platform/simdialup/SimPhonebook.h"

#include "core/store/AtomicFile.h"
#include "platform/simdialup/SimErrors.h"
#include "platform/simdialup/SimLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <limits>

namespace {

const QString kPhoneNumber = QStringLiteral("PhoneNumber");
const QString kUserName = QStringLiteral("UserName");
const QString kSavePassword = QStringLiteral("SavePassword");
const QString kPassword = QStringLiteral("Password");
const QString kStageSeconds = QStringLiteral("StageSeconds");
const QString kAnswers = QStringLiteral("Answers");
const QString kFailWithError = QStringLiteral("FailWithError");
const QString kDropAfterSeconds = QStringLiteral("DropAfterSeconds");
const QString kBytesPerSecondIn = QStringLiteral("BytesPerSecondIn");
const QString kBytesPerSecondOut = QStringLiteral("BytesPerSecondOut");

const char kHeader[] = "; Phonebook of the simulated dial-up service, one section per entry.\n"
                       "; PhoneNumber, UserName, Password: the account. SavePassword=1 gives the\n"
                       ";   password to programs that dial the entry.\n"
                       "; StageSeconds: seconds the dial spends in each state (0 to 60, decimals allowed).\n"
                       "; Answers=0: the remote end never picks up.\n"
                       "; FailWithError: an error code every dial of the entry ends with (0 for none).\n"
                       "; DropAfterSeconds: the line drops this long after connecting (0 for never).\n"
                       "; BytesPerSecondIn, BytesPerSecondOut: the traffic of the connected line.\n"
                       "\n";

bool readFlag(const std::optional<QString> &text, bool fallback)
{
    if (!text)
        return fallback;
    const QString value = text->toLower();
    if (value == QLatin1String("1") || value == QLatin1String("true") || value == QLatin1String("yes"))
        return true;
    if (value == QLatin1String("0") || value == QLatin1String("false") || value == QLatin1String("no"))
        return false;
    return fallback;
}

double readSeconds(const std::optional<QString> &text, double fallback)
{
    bool ok = false;
    const double value = text ? text->toDouble(&ok) : 0;
    if (!ok || !std::isfinite(value) || value < 0 || value > SimEntry::kMaxStageSeconds)
        return fallback;
    return value;
}

// A whole number in [0, max]; anything else reads as the fallback.
qulonglong readCount(const std::optional<QString> &text, qulonglong max, qulonglong fallback)
{
    bool ok = false;
    const qulonglong value = text ? text->toULongLong(&ok) : 0;
    return ok && value <= max ? value : fallback;
}

// A value is one line of the file; a line break in it would start a new key
// or even a new section.
QString oneLine(QString text)
{
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    return text;
}

void writeEntry(IniDocument &document, const QString &section, const SimEntry &entry)
{
    document.setValue(section, kPhoneNumber, oneLine(entry.phoneNumber));
    document.setValue(section, kUserName, oneLine(entry.userName));
    document.setValue(section, kSavePassword, entry.savePassword ? QStringLiteral("1") : QStringLiteral("0"));
    document.setValue(section, kPassword, oneLine(entry.password));
    document.setValue(section, kStageSeconds, QString::number(entry.stageSeconds, 'g', 6));
    document.setValue(section, kAnswers, entry.answers ? QStringLiteral("1") : QStringLiteral("0"));
    document.setValue(section, kFailWithError, QString::number(entry.failWithError));
    document.setValue(section, kDropAfterSeconds, QString::number(entry.dropAfterSeconds));
    document.setValue(section, kBytesPerSecondIn, QString::number(entry.bytesPerSecondIn));
    document.setValue(section, kBytesPerSecondOut, QString::number(entry.bytesPerSecondOut));
}

std::optional<QString> findName(const QStringList &names, const QString &name)
{
    for (const QString &candidate : names) {
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            return candidate;
    }
    return std::nullopt;
}

} // namespace

SimPhonebook::SimPhonebook(const QString &programFolder)
    : m_path(QDir(programFolder).filePath(QStringLiteral("phonebook.ini")))
{
}

SimEntry SimPhonebook::demoEntry()
{
    SimEntry demo;
    demo.name = QStringLiteral("DemoEntry");
    demo.phoneNumber = QStringLiteral("0800 555 0100");
    demo.userName = QStringLiteral("demo");
    demo.password = QStringLiteral("demo");
    demo.savePassword = true;
    return demo;
}

std::expected<IniDocument, dialup::ErrorCode> SimPhonebook::load() const
{
    QFile file(m_path);
    if (!file.exists()) {
        IniDocument document = IniDocument::parse(QString::fromUtf8(kHeader));
        const SimEntry demo = demoEntry();
        writeEntry(document, demo.name, demo);
        // A folder we cannot write to still gets the demo entry, for this run.
        (void)writeFileAtomically(m_path, document.toText().toUtf8());
        return document;
    }
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
        return std::unexpected(simdialup::kPhonebookFailed);
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (bytes.size() > kMaxFileBytes)
        return std::unexpected(simdialup::kPhonebookFailed);
    return IniDocument::parse(QString::fromUtf8(bytes));
}

QStringList SimPhonebook::usableNames(const IniDocument &document)
{
    QStringList names;
    for (const QString &section : document.sections()) {
        if (SimEntry::nameProblem(section).isEmpty())
            names.append(section);
        if (names.size() == kMaxEntries)
            break;
    }
    return names;
}

std::expected<QStringList, dialup::ErrorCode> SimPhonebook::entryNames() const
{
    const auto document = load();
    if (!document)
        return std::unexpected(document.error());
    return usableNames(*document);
}

std::expected<SimEntry, dialup::ErrorCode> SimPhonebook::entry(const QString &name) const
{
    const auto document = load();
    if (!document)
        return std::unexpected(document.error());
    const auto found = findName(usableNames(*document), name);
    if (!found)
        return std::unexpected(simdialup::kEntryNotFound);
    const SimEntry defaults;
    SimEntry entry;
    entry.name = *found;
    entry.phoneNumber = document->value(*found, kPhoneNumber).value_or(QString());
    entry.userName = document->value(*found, kUserName).value_or(QString());
    entry.password = document->value(*found, kPassword).value_or(QString());
    entry.savePassword = readFlag(document->value(*found, kSavePassword), defaults.savePassword);
    entry.stageSeconds = readSeconds(document->value(*found, kStageSeconds), defaults.stageSeconds);
    entry.answers = readFlag(document->value(*found, kAnswers), defaults.answers);
    entry.failWithError = std::uint32_t(
        readCount(document->value(*found, kFailWithError), std::numeric_limits<std::uint32_t>::max(), 0));
    entry.dropAfterSeconds
        = int(readCount(document->value(*found, kDropAfterSeconds), SimEntry::kMaxDropAfterSeconds, 0));
    entry.bytesPerSecondIn
        = qint64(readCount(document->value(*found, kBytesPerSecondIn), SimEntry::kMaxBytesPerSecond, 0));
    entry.bytesPerSecondOut
        = qint64(readCount(document->value(*found, kBytesPerSecondOut), SimEntry::kMaxBytesPerSecond, 0));
    return entry;
}

std::expected<void, dialup::ErrorCode> SimPhonebook::store(const SimEntry &entry, StoreMode mode) const
{
    if (!SimEntry::nameProblem(entry.name).isEmpty())
        return std::unexpected(simdialup::kPhonebookFailed);
    SimLock lock(QFileInfo(m_path).absolutePath());
    if (!lock.acquire())
        return std::unexpected(simdialup::kPhonebookFailed);
    auto document = load();
    if (!document)
        return std::unexpected(document.error());
    const auto existing = findName(usableNames(*document), entry.name);
    if (existing && mode == StoreMode::Create)
        return std::unexpected(simdialup::kAlreadyExists);
    const QString section = existing.value_or(entry.name);
    writeEntry(*document, section, entry);
    if (!writeFileAtomically(m_path, document->toText().toUtf8()))
        return std::unexpected(simdialup::kPhonebookFailed);
    return {};
}
