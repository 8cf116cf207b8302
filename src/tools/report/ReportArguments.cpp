#include "tools/report/ReportArguments.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDate>

#include <array>
#include <utility>

namespace {

const std::array<std::pair<const char *, ReportArguments::Report>, 5> kReports = { {
    { "calls", ReportArguments::Report::Calls },
    { "days", ReportArguments::Report::Days },
    { "months", ReportArguments::Report::Months },
    { "providers", ReportArguments::Report::Providers },
    { "tariffs", ReportArguments::Report::Tariffs },
} };

const std::array<std::pair<const char *, ReportFormat>, 3> kFormats = { {
    { "text", ReportFormat::Text },
    { "csv", ReportFormat::Csv },
    { "json", ReportFormat::Json },
} };

template <typename Value, std::size_t N>
std::optional<Value> lookUp(const std::array<std::pair<const char *, Value>, N> &names, const QString &text)
{
    for (const auto &[name, value] : names)
        if (text == QLatin1String(name))
            return value;
    return std::nullopt;
}

std::optional<QDate> parseDate(const QString &text)
{
    const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid() || text.size() != 10)
        return std::nullopt;
    return date;
}

QCommandLineOption valueOption(const char *name)
{
    return QCommandLineOption(QLatin1String(name), QString(), QStringLiteral("value"));
}

// The parser's own words are not the tool's; name the option as it was typed.
QString parseProblem(
    const QCommandLineParser &parser, const QStringList &arguments, const QList<QCommandLineOption> &valueOptions)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        const QString &name = unknown.first();
        return QStringLiteral("unknown option %1%2").arg(QLatin1String(name.size() == 1 ? "-" : "--"), name);
    }
    // Only the last argument can lack its value: any other takes the next one.
    if (!arguments.isEmpty()) {
        for (const QCommandLineOption &option : valueOptions)
            if (arguments.last() == QLatin1String("--") + option.names().first())
                return QStringLiteral("%1 needs a value").arg(arguments.last());
    }
    // Such as a value given to --help: in the tool's form, lower case without the stop.
    QString text = parser.errorText();
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

} // namespace

std::expected<ReportArguments, QString> ReportArguments::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList { QStringLiteral("h"), QStringLiteral("help") });
    const QCommandLineOption folder = valueOption("folder");
    const QCommandLineOption reprice = valueOption("reprice");
    const QCommandLineOption provider = valueOption("provider");
    const QCommandLineOption from = valueOption("from");
    const QCommandLineOption to = valueOption("to");
    const QCommandLineOption format = valueOption("format");
    const QList<QCommandLineOption> valueOptions = { folder, reprice, provider, from, to, format };
    parser.addOptions(valueOptions);
    parser.addOption(help);
    // The parser skips the first argument as the program's name.
    if (!parser.parse(QStringList(QStringLiteral("tollwise-report")) + arguments))
        return std::unexpected(parseProblem(parser, arguments, valueOptions));

    ReportArguments result;
    result.help = parser.isSet(help);
    bool reportGiven = false;
    for (const QString &name : parser.positionalArguments()) {
        const auto report = lookUp(kReports, name);
        if (!report)
            return std::unexpected(QStringLiteral("unknown report \"%1\"").arg(name));
        if (reportGiven)
            return std::unexpected(QStringLiteral("only one report at a time"));
        result.report = *report;
        reportGiven = true;
    }
    if (parser.isSet(folder))
        result.folder = parser.value(folder);
    if (parser.isSet(reprice))
        result.repriceFolder = parser.value(reprice);
    if (parser.isSet(provider))
        result.filter.provider = parser.value(provider);
    for (const auto &[option, date] :
        { std::pair { &from, &result.filter.from }, std::pair { &to, &result.filter.to } }) {
        if (!parser.isSet(*option))
            continue;
        const QString value = parser.value(*option);
        const auto parsed = parseDate(value);
        if (!parsed)
            return std::unexpected(
                QStringLiteral("--%1 wants a date as YYYY-MM-DD, not \"%2\"").arg(option->names().first(), value));
        *date = *parsed;
    }
    if (parser.isSet(format)) {
        const QString value = parser.value(format);
        const auto parsed = lookUp(kFormats, value);
        if (!parsed)
            return std::unexpected(QStringLiteral("unknown format \"%1\"").arg(value));
        result.format = *parsed;
    }
    return result;
}

QString ReportArguments::usage()
{
    return QStringLiteral("Usage: tollwise-report [--folder DIR] [--from YYYY-MM-DD] [--to YYYY-MM-DD]\n"
                          "                       [--provider NAME] [--format text|csv|json] [--reprice DIR]\n"
                          "                       [calls|days|months|providers|tariffs]\n"
                          "\n"
                          "Reports the logged calls of the program folder DIR (by default the\n"
                          "folder the program keeps its files in), one row per call or per day, month,\n"
                          "provider or tariff. --from and --to take calls by their start date, both inclusive.\n"
                          "--reprice costs every call again under the tariffs kept in another folder,\n"
                          "and its data under its provider's data plan as it stands now, through each\n"
                          "billing month's allowance and blocks; a call whose bytes were never counted\n"
                          "adds no data cost and is marked \"no data counted\".\n"
                          "The data files are only read.\n");
}
