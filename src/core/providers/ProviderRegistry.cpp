#include "core/providers/ProviderRegistry.h"

#include "core/store/CountedString.h"

#include <QCryptographicHash>

#include <algorithm>
#include <iterator>

ProviderRegistry::ProviderRegistry(ProviderTable &table, dialup::DialUpService &service)
    : m_table(table)
    , m_service(service)
{
}

namespace {

// A hyphen-free mark, unlikely in a name someone types: '~' and six hex digits.
constexpr int kMarkLength = 7;

// The name as its record's 64 bytes hold it, cut without a mark (how names
// were kept before the mark).
QString plainCut(const QString &name)
{
    CountedString<ProviderRegistry::kNameCapacity> stored {};
    stored.setText(name);
    return stored.text();
}

} // namespace

QString ProviderRegistry::storedName(const QString &name)
{
    if (plainCut(name) == name)
        return name;
    CountedString<kNameCapacity - kMarkLength> head {};
    head.setText(name);
    const QByteArray digest = QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex();
    return head.text() + QLatin1Char('~') + QString::fromLatin1(digest.left(kMarkLength - 1));
}

int ProviderRegistry::indexOf(const QString &name) const
{
    const QString key = storedName(name);
    for (int i = 0; i < m_table.Count; ++i) {
        if (m_table.records[i].Name.text() == key)
            return i;
    }
    if (key == name)
        return -1;
    // A record kept before cut names were marked.
    const QString cut = plainCut(name);
    for (int i = 0; i < m_table.Count; ++i) {
        if (m_table.records[i].Name.text() == cut)
            return i;
    }
    return -1;
}

QString ProviderRegistry::phonebookName(int index) const
{
    if (index < 0 || index >= std::min<int>(m_table.Count, kMaxProviders))
        return {};
    const QString stored = m_table.records[index].Name.text();
    for (const QString &entry : m_entries) {
        if (entry != stored && indexOf(entry) == index)
            return entry;
    }
    return stored;
}

bool ProviderRegistry::ProviderDBFind(const QString &name)
{
    const int index = indexOf(name);
    if (index < 0)
        return false;
    m_table.Current = std::uint16_t(index);
    return true;
}

bool ProviderRegistry::ProviderDBSeek(const QString &name) const { return indexOf(name) >= 0; }

bool ProviderRegistry::ProviderDBadd(const QString &name)
{
    if (m_table.Count >= kMaxUsableProviders)
        return false;
    Provider &record = m_table.records[m_table.Count];
    record.Name.setText(storedName(name));
    record.reserved69 = 0;
    record.Registered = 1;
    std::fill(std::begin(record.reserved76), std::end(record.reserved76), 0);
    record.TotalCost = 0;
    record.ChargesTodate = 0;
    record.MonthCost = 0;
    std::fill(std::begin(record.reserved120), std::end(record.reserved120), 0);
    record.TodayCost = 0;
    std::fill(std::begin(record.reserved148), std::end(record.reserved148), 0);
    std::fill(std::begin(record.reserved156), std::end(record.reserved156), 0);
    record.ExtraPerHour = 0;
    record.MonthlyFee = 0;
    record.TotalCalls = 0;
    record.MonthStartDay = 0;
    record.MonthCalls = 0;
    record.TodayCalls = 0;
    record.MonthlyHourLimit = 0;
    ++m_table.Count;
    m_table.Current = m_table.Count - 1;
    return true;
}

bool ProviderRegistry::findOrAdd(const QString &name)
{
    if (ProviderDBFind(name))
        return true;
    if (ProviderDBadd(name))
        return true;
    reportTableFull(name);
    return false;
}

bool ProviderRegistry::ProviderDBPrev()
{
    if (m_table.Count == 0 || m_table.Current == 0)
        return false;
    --m_table.Current;
    return true;
}

bool ProviderRegistry::ProviderDBNext()
{
    if (m_table.Count == 0 || m_table.Current + 1 >= m_table.Count)
        return false;
    ++m_table.Current;
    return true;
}

void ProviderRegistry::GetSystemDailupProviders()
{
    const auto entries = m_service.enumEntries();
    if (!entries)
        return;
    m_entries.clear();
    for (const std::string &entry : *entries)
        m_entries.push_back(QString::fromStdString(entry));
    for (const QString &name : m_entries) {
        if (ProviderDBSeek(name))
            continue;
        if (!ProviderDBadd(name)) {
            reportTableFull(name);
            return;
        }
    }
}

QString ProviderRegistry::tableFullText(const QString &entry, const QString &selected)
{
    QString text = QStringLiteral("The provider table is full: it holds %1 providers, the most it can.\r\r"
                                  "The connection \"%2\" cannot have a provider of its own, so its calls are "
                                  "booked to the provider selected when they begin")
                       .arg(kMaxUsableProviders)
                       .arg(entry);
    if (!selected.isEmpty())
        text += QStringLiteral(" (now \"%1\")").arg(selected);
    return text + QLatin1Char('.');
}

void ProviderRegistry::reportTableFull(const QString &name)
{
    if (!m_reportedFull && m_onTableFull)
        m_onTableFull(name);
    m_reportedFull = true;
}
