#pragma once

#include "core/services/DialUpService.h"
#include "core/store/Records.h"

#include <QString>

#include <functional>
#include <vector>

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
    // What the user is told then: the entry gets no record, and its calls go
    // to the provider selected when they begin (`selected`, empty when none).
    static QString tableFullText(const QString &entry, const QString &selected);

    // The name a record keeps for an entry: the name itself when it fits its
    // 64 bytes, otherwise its beginning and a mark made from the whole name,
    // so that a long entry always finds its one record and two entries that
    // begin alike get two.
    static QString storedName(const QString &name);
    // The phonebook entry the record at `index` stands for, as last read from
    // the phonebook; the record's own name when no entry matches it.
    QString phonebookName(int index) const;

private:
    int indexOf(const QString &name) const;
    void reportTableFull(const QString &name);

    ProviderTable &m_table;
    dialup::DialUpService &m_service;
    std::function<void(const QString &)> m_onTableFull;
    std::vector<QString> m_entries; // the phonebook at the last synchronisation
    bool m_reportedFull = false;
};
