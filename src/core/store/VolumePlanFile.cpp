#include "core/store/VolumePlanFile.h"

#include "core/store/Cp1252.h"
#include "core/store/IniDocument.h"
#include "core/store/SpendingPlan.h"

#include <QHash>

#include <limits>
#include <optional>

namespace {

const QString kPrefix = QStringLiteral("Volume.");
const QStringList kKeys { QStringLiteral("Name"), QStringLiteral("AllowanceBytes"), QStringLiteral("BlockBytes"),
    QStringLiteral("BlockPrice"), QStringLiteral("Counts"), QStringLiteral("WarnedCycle"),
    QStringLiteral("WarnedLevels") };
constexpr int kAllLevels = (1 << std::size(kBudgetLevels)) - 1;

struct Section {
    QString name;
    QHash<QString, QString> values; // by the key's name as written here
};

// Digits only, as the program writes numbers; none for anything else or
// for more than `limit`.
std::optional<std::int64_t> digitsUpTo(const QString &text, std::int64_t limit)
{
    if (text.isEmpty() || text.size() > 19)
        return std::nullopt;
    std::int64_t value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
        if (value > limit)
            return std::nullopt;
    }
    return value;
}

bool printable(const QString &line)
{
    for (const QChar c : line)
        if ((c.unicode() < 0x20 && c != QLatin1Char('\t')) || (c.unicode() >= 0x7f && c.unicode() < 0xa0)
            || c == QChar::ReplacementCharacter)
            return false;
    return true;
}

QList<Section> sectionsOf(const QString &text, QStringList &problems)
{
    QList<Section> sections;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!printable(line)) {
            problems.append(QStringLiteral("Line %1 cannot be read.").arg(i + 1));
        } else if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            sections.append({ line.mid(1, line.size() - 2).trimmed(), {} });
        } else if (equals > 0 && !sections.isEmpty()) {
            const QString key = line.left(equals).trimmed();
            QString known;
            for (const QString &k : kKeys)
                if (k.compare(key, Qt::CaseInsensitive) == 0)
                    known = k;
            if (known.isEmpty())
                problems.append(
                    QStringLiteral("%1 in [%2] is not a setting of this file.").arg(key, sections.last().name));
            else if (sections.last().values.contains(known))
                problems.append(
                    QStringLiteral("%1 is given twice in [%2]: the first is used.").arg(known, sections.last().name));
            else
                sections.last().values.insert(known, line.mid(equals + 1).trimmed());
        } else {
            problems.append(QStringLiteral("Line %1 cannot be read.").arg(i + 1));
        }
    }
    return sections;
}

VolumePlan readPlan(const Section &section, const QString &name, QStringList &problems)
{
    VolumePlan plan;
    auto wrong = [&](const QString &key, const QString &what) {
        problems.append(QStringLiteral("%1=%2 for %3 %4.").arg(key, section.values.value(key), name, what));
    };
    auto bytes = [&](const QString &key, std::int64_t &field) {
        if (!section.values.contains(key))
            return;
        if (const auto value = digitsUpTo(section.values.value(key), VolumePlan::kMaxBytes))
            field = *value;
        else
            wrong(key, QStringLiteral("is not a number of bytes up to %1: 0 is used").arg(VolumePlan::kMaxBytes));
    };
    bytes(QStringLiteral("AllowanceBytes"), plan.allowanceBytes);
    bytes(QStringLiteral("BlockBytes"), plan.blockBytes);
    if (section.values.contains(QStringLiteral("BlockPrice"))) {
        if (const auto price
            = digitsUpTo(section.values.value(QStringLiteral("BlockPrice")), std::numeric_limits<MoneyValue>::max()))
            plan.blockPrice = *price;
        else
            wrong(QStringLiteral("BlockPrice"), QStringLiteral("is not an amount: data is not priced"));
    }
    const QString counts = section.values.value(QStringLiteral("Counts"), QStringLiteral("both"));
    if (counts.compare(QLatin1String("in"), Qt::CaseInsensitive) == 0)
        plan.counted = CountedBytes::In;
    else if (counts.compare(QLatin1String("out"), Qt::CaseInsensitive) == 0)
        plan.counted = CountedBytes::Out;
    else if (counts.compare(QLatin1String("both"), Qt::CaseInsensitive) != 0)
        wrong(QStringLiteral("Counts"), QStringLiteral("is none of both, in and out: both are counted"));

    // Warnings already given are forgotten rather than guessed: a warning
    // given twice does less harm than one never given.
    const QString cycle = section.values.value(QStringLiteral("WarnedCycle"));
    const QDate warnedCycle = QDate::fromString(cycle, Qt::ISODate);
    const auto levels
        = digitsUpTo(section.values.value(QStringLiteral("WarnedLevels"), QStringLiteral("0")), kAllLevels);
    if (!cycle.isEmpty() && !warnedCycle.isValid())
        wrong(QStringLiteral("WarnedCycle"), QStringLiteral("is not a date: this cycle's warnings may come again"));
    else if (!levels)
        wrong(QStringLiteral("WarnedLevels"), QStringLiteral("is not 0 to 7: this cycle's warnings may come again"));
    else if (warnedCycle.isValid()) {
        plan.warnedCycle = warnedCycle;
        plan.warnedLevels = int(*levels);
    }
    return plan;
}

QString countsText(CountedBytes counted)
{
    switch (counted) {
    case CountedBytes::In:
        return QStringLiteral("in");
    case CountedBytes::Out:
        return QStringLiteral("out");
    case CountedBytes::Both:
        break;
    }
    return QStringLiteral("both");
}

} // namespace

namespace volumeplanfile {

ReadResult parse(const QByteArray &bytes)
{
    ReadResult result;
    const QString text = cp1252::decodeName(bytes.constData(), std::size_t(bytes.size()));
    for (const Section &section : sectionsOf(text, result.problems)) {
        if (!section.name.startsWith(kPrefix, Qt::CaseInsensitive)) {
            result.problems.append(QStringLiteral("[%1] is not a section of this file.").arg(section.name));
            continue;
        }
        const QString name = section.values.value(QStringLiteral("Name"));
        if (name.isEmpty()) {
            result.problems.append(QStringLiteral("[%1] names no provider: it is left out.").arg(section.name));
            continue;
        }
        const VolumePlan plan = readPlan(section, name, result.problems);
        if (result.plans.contains(name))
            result.problems.append(QStringLiteral("There are two data plans for %1: the first is used.").arg(name));
        else
            result.plans.insert(name, plan);
    }
    return result;
}

QByteArray serialise(const VolumePlans &plans)
{
    IniDocument document;
    // Sorted, so the file does not reshuffle from one save to the next.
    QStringList names = plans.keys();
    names.sort();
    int index = 0;
    for (const QString &name : names) {
        const VolumePlan &plan = plans[name];
        if (plan.none() && plan.warnedLevels == 0)
            continue;
        const QString section = kPrefix + QString::number(index++);
        document.setValue(
            section, QStringLiteral("Name"), QString(name).remove(QLatin1Char('\r')).remove(QLatin1Char('\n')));
        document.setValue(section, QStringLiteral("AllowanceBytes"), QString::number(plan.allowanceBytes));
        document.setValue(section, QStringLiteral("BlockBytes"), QString::number(plan.blockBytes));
        document.setValue(section, QStringLiteral("BlockPrice"), QString::number(plan.blockPrice));
        document.setValue(section, QStringLiteral("Counts"), countsText(plan.counted));
        document.setValue(section, QStringLiteral("WarnedCycle"), plan.warnedCycle.toString(Qt::ISODate));
        document.setValue(section, QStringLiteral("WarnedLevels"), QString::number(plan.warnedLevels));
    }
    const QString text = document.toText();
    // A name the code page cannot hold would come back as question marks and
    // lose its plan.
    return cp1252::holds(text) ? cp1252::encode(text) : text.toUtf8();
}

} // namespace volumeplanfile
