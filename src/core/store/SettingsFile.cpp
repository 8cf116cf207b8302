#include "core/store/SettingsFile.h"

#include "core/store/Cp1252.h"
#include "core/store/DialUpServiceChoice.h"
#include "core/store/IniDocument.h"

#include <QFile>
#include <QFileInfo>

namespace {

IniDocument readDocument(const QString &path)
{
    QFile file(path);
    // Only a plain file: a pipe or device would block or never end.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    return IniDocument::parse(cp1252::decode(file.readAll()));
}

class Reader {
public:
    explicit Reader(const IniDocument &document)
        : m_document(document)
    {
    }

    std::optional<std::int64_t> integer(const QString &key) const
    {
        const auto text = m_document.value(SettingsFile::kSection, key);
        return text ? parseSettingsInteger(*text) : std::nullopt;
    }

    void read(const QString &key, int &value) const
    {
        if (const auto number = integer(key); number && *number >= INT32_MIN && *number <= INT32_MAX)
            value = int(*number);
    }

    void read(const QString &key, bool &value) const
    {
        if (const auto number = integer(key))
            value = *number != 0;
    }

    void read(const QString &key, QString &value) const
    {
        if (const auto text = m_document.value(SettingsFile::kSection, key))
            value = *text;
    }

private:
    const IniDocument &m_document;
};

QString boolText(bool value) { return value ? QStringLiteral("1") : QStringLiteral("0"); }

QString columnKey(int column) { return QStringLiteral("CallLog.Column.%1.Width").arg(column); }

} // namespace

std::optional<std::int64_t> parseSettingsInteger(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    std::int64_t value = 0;
    if (trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = trimmed.mid(2).toLongLong(&ok, 16);
    else
        value = trimmed.toLongLong(&ok, 10);
    return ok ? std::optional(value) : std::nullopt;
}

SettingsFile::SettingsFile(QString path)
    : m_path(std::move(path))
{
}

StoredCounts SettingsFile::load(Settings &settings) const
{
    const IniDocument document = readDocument(m_path);
    const Reader reader(document);
    reader.read(QStringLiteral("RunAtStartup"), settings.RunAtStartup);
    reader.read(QStringLiteral("LoadMinimised"), settings.LoadMinimised);
    if (!settings.LoadMinimised) {
        reader.read(QStringLiteral("MainWindow.Top"), settings.MainWindowTop);
        reader.read(QStringLiteral("MainWindow.Left"), settings.MainWindowLeft);
        reader.read(QStringLiteral("CallLog.Height"), settings.CallLogHeight);
    }
    reader.read(QStringLiteral("PlayApplicationSounds"), settings.PlayApplicationSounds);
    reader.read(QStringLiteral("AutoUpdateProvider"), settings.AutoUpdateProvider);
    reader.read(QStringLiteral("ShowHint"), settings.ShowHint);
    reader.read(QStringLiteral("ShowConnectionTimeOnTitle"), settings.ShowConnectionTimeOnTitle);
    reader.read(QStringLiteral("CurrencyString"), settings.CurrencyString);
    reader.read(QStringLiteral("UseUserCurrency"), settings.UseUserCurrency);
    reader.read(QStringLiteral("NotifyCallEnded"), settings.NotifyCallEnded);

    StoredCounts counts;
    counts.logRecords = reader.integer(QStringLiteral("Log.NumberOfRecords"));
    counts.tariffRecords = reader.integer(QStringLiteral("Tarifs.NumberOfRecords"));
    counts.lastTariffId = reader.integer(QStringLiteral("LastTariffIdNumber"));

    settings.ColumnWidths = kDefaultColumnWidths;
    for (int column = 0; column < kCallLogColumns; ++column)
        reader.read(columnKey(column), settings.ColumnWidths[std::size_t(column)]);
    return counts;
}

std::expected<void, FileError> SettingsFile::save(
    const Settings &settings, int logRecords, int tariffRecords, std::uint32_t lastTariffId) const
{
    IniDocument document = readDocument(m_path);
    auto write = [&document](const QString &key, const QString &value) { document.setValue(kSection, key, value); };
    write(QStringLiteral("MainWindow.Top"), QString::number(settings.MainWindowTop));
    write(QStringLiteral("MainWindow.Left"), QString::number(settings.MainWindowLeft));
    write(QStringLiteral("CallLog.Height"), QString::number(settings.CallLogHeight));
    write(QStringLiteral("CallLog.Visible"), boolText(settings.CallLogVisible));
    write(QStringLiteral("ShowHint"), boolText(settings.ShowHint));
    write(QStringLiteral("PlayApplicationSounds"), boolText(settings.PlayApplicationSounds));
    write(QStringLiteral("AutoUpdateProvider"), boolText(settings.AutoUpdateProvider));
    write(QStringLiteral("RunAtStartup"), boolText(settings.RunAtStartup));
    write(QStringLiteral("LoadMinimised"), boolText(settings.LoadMinimised));
    write(QStringLiteral("ShowConnectionTimeOnTitle"), boolText(settings.ShowConnectionTimeOnTitle));
    write(QStringLiteral("UseUserCurrency"), boolText(settings.UseUserCurrency));
    // A line break would end the INI line and corrupt the keys after it.
    write(QStringLiteral("CurrencyString"),
        QString(settings.CurrencyString).remove(QLatin1Char('\r')).remove(QLatin1Char('\n')));
    write(QStringLiteral("Tarifs.NumberOfRecords"), QString::number(tariffRecords));
    write(QStringLiteral("Log.NumberOfRecords"), QString::number(logRecords));
    write(QStringLiteral("LastTariffIdNumber"), QString::number(lastTariffId));
    for (int column = 0; column < kCallLogColumns; ++column)
        write(columnKey(column), QString::number(settings.ColumnWidths[std::size_t(column)]));
    // Chosen by hand, read once at start-up: written back as understood.
    const QString service = document.value(kSection, QStringLiteral("DialUpService")).value_or(QString());
    write(QStringLiteral("DialUpService"), dialUpServiceText(parseDialUpService(service)));
    write(QStringLiteral("NotifyCallEnded"), boolText(settings.NotifyCallEnded));
    return writeFileAtomically(m_path, cp1252::encode(document.toText()));
}
