#include "core/store/SpendingFile.h"

#include "core/store/Cp1252.h"
#include "core/store/IniDocument.h"

#include <QHash>

#include <limits>

namespace {

const QString kGeneral = QStringLiteral("Spending");
const QString kBudgetPrefix = QStringLiteral("Budget.");
const QString kMargin = QStringLiteral("HangUpBeforeUnitSeconds");
const QStringList kBudgetKeys { QStringLiteral("Name"), QStringLiteral("Money"), QStringLiteral("Hours"),
    QStringLiteral("AutoHangUp"), QStringLiteral("WarnedCycle"), QStringLiteral("WarnedLevels") };
constexpr int kAllLevels = (1 << std::size(kBudgetLevels)) - 1;

struct Section {
    QString name;
    QList<std::pair<QString, QString>> entries; // key and value as written
};

bool sameName(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// A line the program could have written: no control characters (random
// bytes decode to them).
bool printable(const QString &line)
{
    for (const QChar c : line)
        if ((c.unicode() < 0x20 && c != QLatin1Char('\t')) || (c.unicode() >= 0x7f && c.unicode() < 0xa0)
            || c == QChar::ReplacementCharacter)
            return false;
    return true;
}

// Digits only, as the program writes numbers; a larger number than fits
// reads as the largest.
std::optional<std::uint64_t> digitsValue(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        const auto digit = std::uint64_t(c.unicode() - '0');
        if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10)
            value = std::numeric_limits<std::uint64_t>::max();
        else
            value = value * 10 + digit;
    }
    return value;
}

QList<Section> sectionsOf(const QString &text, QStringList &problems)
{
    QList<Section> sections;
    QStringList lines = text.split(QLatin1Char('\n'));
    int unreadable = 0;
    int firstUnreadable = 0;
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';')))
            continue;
        const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
        const bool header = trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'));
        if (printable(trimmed) && header) {
            sections.append({ trimmed.mid(1, trimmed.size() - 2).trimmed(), {} });
            continue;
        }
        if (printable(trimmed) && equals > 0 && !sections.isEmpty()) {
            sections.last().entries.append({ trimmed.left(equals).trimmed(), trimmed.mid(equals + 1).trimmed() });
            continue;
        }
        if (unreadable++ == 0)
            firstUnreadable = i + 1;
    }
    if (unreadable == 1)
        problems.append(QStringLiteral("Line %1 cannot be read.").arg(firstUnreadable));
    else if (unreadable > 1)
        problems.append(
            QStringLiteral("%1 lines cannot be read, the first is line %2.").arg(unreadable).arg(firstUnreadable));
    return sections;
}

// The section's keys, each once; a key given again or not known is a problem.
QHash<QString, QString> valuesOf(
    const Section &section, const QStringList &known, const QString &owner, QStringList &problems)
{
    QHash<QString, QString> values;
    for (const auto &[key, value] : section.entries) {
        QString name;
        for (const QString &k : known)
            if (sameName(k, key))
                name = k;
        if (name.isEmpty())
            problems.append(QStringLiteral("%1=%2 %3 is not a setting of this file.").arg(key, value, owner));
        else if (values.contains(name))
            problems.append(QStringLiteral("%1 is given twice %2: the first is used.").arg(name, owner));
        else
            values.insert(name, value);
    }
    return values;
}

void readGeneral(const Section &section, SpendingPlan &plan, QStringList &problems)
{
    const auto values = valuesOf(section, { kMargin }, QStringLiteral("in [%1]").arg(section.name), problems);
    if (!values.contains(kMargin))
        return;
    const QString text = values.value(kMargin);
    const auto margin = digitsValue(text);
    if (margin && *margin >= 1 && *margin <= SpendingPlan::kMaxHangUpMargin) {
        plan.hangUpMarginSeconds = int(*margin);
        return;
    }
    problems.append(QStringLiteral("%1=%2 is not 1 to %3 seconds: %4 is used.")
                        .arg(kMargin, text)
                        .arg(SpendingPlan::kMaxHangUpMargin)
                        .arg(SpendingPlan::kDefaultHangUpMargin));
}

// The budget of one section, and its provider's name; none without a name.
std::optional<std::pair<QString, ProviderBudget>> readBudget(const Section &section, QStringList &problems)
{
    QString name;
    for (const auto &[key, value] : section.entries)
        if (sameName(key, QStringLiteral("Name")) && name.isEmpty())
            name = value;
    if (name.isEmpty()) {
        problems.append(QStringLiteral("[%1] names no provider: it is left out.").arg(section.name));
        return std::nullopt;
    }
    // Told by the provider's name, which the user knows.
    const QString owner = QStringLiteral("for %1").arg(name);
    const auto values = valuesOf(section, kBudgetKeys, owner, problems);
    auto wrong = [&](const QString &key, const QString &what) {
        problems.append(QStringLiteral("%1=%2 %3 %4.").arg(key, values.value(key), owner, what));
    };

    ProviderBudget budget;
    if (values.contains(QStringLiteral("Money"))) {
        const auto money = digitsValue(values.value(QStringLiteral("Money")));
        if (money && *money <= std::uint64_t(std::numeric_limits<MoneyValue>::max()))
            budget.money = MoneyValue(*money);
        else
            wrong(QStringLiteral("Money"), QStringLiteral("is not an amount: no money budget is used"));
    }
    if (values.contains(QStringLiteral("Hours"))) {
        const auto hours = digitsValue(values.value(QStringLiteral("Hours")));
        if (!hours) {
            wrong(QStringLiteral("Hours"), QStringLiteral("is not a number of hours: the monthly limit is used"));
        } else if (*hours > std::uint64_t(ProviderBudget::kMaxHours)) {
            budget.hours = ProviderBudget::kMaxHours;
            wrong(
                QStringLiteral("Hours"), QStringLiteral("is more than %1: %1 is used").arg(ProviderBudget::kMaxHours));
        } else {
            budget.hours = int(*hours);
        }
    }
    if (values.contains(QStringLiteral("AutoHangUp"))) {
        const QString hangUp = values.value(QStringLiteral("AutoHangUp"));
        if (hangUp == QLatin1String("1"))
            budget.autoHangUp = true;
        else if (hangUp != QLatin1String("0"))
            wrong(QStringLiteral("AutoHangUp"), QStringLiteral("is neither 0 nor 1: the automatic hang-up is off"));
    }
    const QString cycle = values.value(QStringLiteral("WarnedCycle"));
    const QString levels = values.value(QStringLiteral("WarnedLevels"));
    const QDate warnedCycle = QDate::fromString(cycle, Qt::ISODate);
    const auto warnedLevels = digitsValue(levels);
    // Warnings already given are forgotten rather than guessed: a warning
    // given twice does less harm than one never given.
    if (!cycle.isEmpty() && !warnedCycle.isValid()) {
        wrong(QStringLiteral("WarnedCycle"), QStringLiteral("is not a date: this month's warnings may come again"));
    } else if (values.contains(QStringLiteral("WarnedLevels")) && !(warnedLevels && *warnedLevels <= kAllLevels)) {
        wrong(QStringLiteral("WarnedLevels"), QStringLiteral("is not 0 to 7: this month's warnings may come again"));
    } else if (warnedCycle.isValid()) {
        budget.warnedCycle = warnedCycle;
        budget.warnedLevels = int(warnedLevels.value_or(0));
    }
    return std::pair { name, budget };
}

} // namespace

namespace spendingfile {

ReadResult parse(const QByteArray &bytes)
{
    ReadResult result;
    const QList<Section> sections
        = sectionsOf(cp1252::decodeName(bytes.constData(), std::size_t(bytes.size())), result.problems);
    bool generalSeen = false;
    for (const Section &section : sections) {
        if (sameName(section.name, kGeneral) && !generalSeen) {
            generalSeen = true;
            readGeneral(section, result.plan, result.problems);
        } else if (section.name.startsWith(kBudgetPrefix, Qt::CaseInsensitive)) {
            const auto budget = readBudget(section, result.problems);
            if (!budget)
                continue;
            if (result.plan.budgets.contains(budget->first))
                result.problems.append(
                    QStringLiteral("There are two budgets for %1: the first is used.").arg(budget->first));
            else
                result.plan.budgets.insert(budget->first, budget->second);
        } else {
            result.problems.append(QStringLiteral("[%1] is not a section of this file.").arg(section.name));
        }
    }
    return result;
}

QByteArray serialise(const SpendingPlan &plan)
{
    IniDocument document;
    document.setValue(kGeneral, kMargin, QString::number(plan.hangUpMarginSeconds));
    // Sorted, so the file does not reshuffle from one save to the next.
    QStringList names = plan.budgets.keys();
    names.sort();
    int index = 0;
    for (const QString &name : names) {
        const ProviderBudget &budget = plan.budgets[name];
        const QString section = kBudgetPrefix + QString::number(index++);
        document.setValue(
            section, QStringLiteral("Name"), QString(name).remove(QLatin1Char('\r')).remove(QLatin1Char('\n')));
        document.setValue(section, QStringLiteral("Money"), QString::number(budget.money));
        if (budget.hours)
            document.setValue(section, QStringLiteral("Hours"), QString::number(*budget.hours));
        document.setValue(
            section, QStringLiteral("AutoHangUp"), budget.autoHangUp ? QStringLiteral("1") : QStringLiteral("0"));
        document.setValue(section, QStringLiteral("WarnedCycle"), budget.warnedCycle.toString(Qt::ISODate));
        document.setValue(section, QStringLiteral("WarnedLevels"), QString::number(budget.warnedLevels));
    }
    const QString text = document.toText();
    // A name the code page cannot hold would come back as question marks and
    // lose its budget.
    return cp1252::holds(text) ? cp1252::encode(text) : text.toUtf8();
}

} // namespace spendingfile
