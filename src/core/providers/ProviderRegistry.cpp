#include "core/providers/ProviderRegistry.h"

#include "core/store/CountedString.h"

#include <algorithm>
#include <iterator>

ProviderRegistry::ProviderRegistry(ProviderTable &table, dialup::DialUpService &service)
    : m_table(table)
    , m_service(service)
{
}

QString ProviderRegistry::storedName(const QString &name)
{
    CountedString<kNameCapacity> stored {};
    stored.setText(name);
    return stored.text();
}

int ProviderRegistry::indexOf(const QString &name) const
{
    const QString key = storedName(name);
    for (int i = 0; i < m_table.Count; ++i) {
        if (m_table.records[i].Name.text() == key)
            return i;
    }
    return -1;
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
    record.Name.setText(name);
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
    for (const std::string &entry : *entries) {
        const QString name = QString::fromStdString(entry);
        if (ProviderDBSeek(name))
            continue;
        if (!ProviderDBadd(name)) {
            reportTableFull(name);
            return;
        }
    }
}

void ProviderRegistry::reportTableFull(const QString &name)
{
    if (!m_reportedFull && m_onTableFull)
        m_onTableFull(name);
    m_reportedFull = true;
}
