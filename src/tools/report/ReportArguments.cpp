#include "tools/report/ReportArguments.h"

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

} // namespace

std::expected<ReportArguments, QString> ReportArguments::parse(const QStringList &arguments)
{
    ReportArguments result;
    bool reportGiven = false;
    for (int i = 0; i < arguments.size(); ++i) {
        QString argument = arguments[i];
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            result.help = true;
            continue;
        }
        if (!argument.startsWith(QLatin1String("--"))) {
            const auto report = lookUp(kReports, argument);
            if (!report)
                return std::unexpected(QStringLiteral("unknown report \"%1\"").arg(argument));
            if (reportGiven)
                return std::unexpected(QStringLiteral("only one report at a time"));
            result.report = *report;
            reportGiven = true;
            continue;
        }
        static const QStringList options
            = { QStringLiteral("--folder"), QStringLiteral("--reprice"), QStringLiteral("--provider"),
                  QStringLiteral("--from"), QStringLiteral("--to"), QStringLiteral("--format") };
        // Both "--option value" and "--option=value".
        QString value;
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        if (equals >= 0) {
            value = argument.mid(equals + 1);
            argument.truncate(equals);
        }
        if (!options.contains(argument))
            return std::unexpected(QStringLiteral("unknown option %1").arg(argument));
        if (equals < 0) {
            if (i + 1 >= arguments.size())
                return std::unexpected(QStringLiteral("%1 needs a value").arg(argument));
            value = arguments[++i];
        }
        if (argument == QLatin1String("--folder")) {
            result.folder = value;
        } else if (argument == QLatin1String("--reprice")) {
            result.repriceFolder = value;
        } else if (argument == QLatin1String("--provider")) {
            result.filter.provider = value;
        } else if (argument == QLatin1String("--from") || argument == QLatin1String("--to")) {
            const auto date = parseDate(value);
            if (!date)
                return std::unexpected(
                    QStringLiteral("%1 wants a date as YYYY-MM-DD, not \"%2\"").arg(argument, value));
            (argument == QLatin1String("--from") ? result.filter.from : result.filter.to) = *date;
        } else if (argument == QLatin1String("--format")) {
            const auto format = lookUp(kFormats, value);
            if (!format)
                return std::unexpected(QStringLiteral("unknown format \"%1\"").arg(value));
            result.format = *format;
        }
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
                          "--reprice costs every call again under the tariffs kept in another folder.\n"
                          "The data files are only read.\n");
}
