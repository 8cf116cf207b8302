#pragma once

#include "core/services/DialUpService.h"
#include "core/store/Records.h"

#include <QString>

#include <functional>

// The providers: one record per dial-up phonebook entry, matched by name,
// appended and never removed. `Current` is the selected provider.
class ProviderRegistry {
public:
    // The table stops at 254 providers: calls are logged with the provider's
    // index, and 254 and 255 mark deleted and unused log slots.
    static constexpr int kMaxUsableProviders = 254;
    static constexpr int kNameCapacity = 64;

    ProviderRegistry(ProviderTable &table, dialup::DialUpService &service);

    // Selects the first provider with that name (exact, case-sensitive);
    // false and no change when there is none.
    bool ProviderDBFind(const QString &name);
    bool ProviderDBSeek(const QString &name) const;
    // Appends a provider and selects it; false when the table is full.
    bool ProviderDBadd(const QString &name);
    // Selects the provider of that name, appending one when there is none,
    // so that every call has a record of its own; false, and no change, only
    // when the table is full.
    bool findOrAdd(const QString &name);
    bool ProviderDBPrev();
    bool ProviderDBNext();
    // Adds every phonebook entry not yet in the table, in the service's order.
    void GetSystemDailupProviders();

    // Called once when a phonebook entry cannot be added because the table is full.
    void setTableFullHandler(std::function<void(const QString &entry)> handler) { m_onTableFull = std::move(handler); }

    // Names are stored cut to fit their 64 bytes and compared the same way,
    // so a long entry name always finds its one record.
    static QString storedName(const QString &name);

private:
    int indexOf(const QString &name) const;
    void reportTableFull(const QString &name);

    ProviderTable &m_table;
    dialup::DialUpService &m_service;
    std::function<void(const QString &)> m_onTableFull;
    bool m_reportedFull = false;
};
