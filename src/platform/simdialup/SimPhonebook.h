#pragma once

#include "core/services/DialUpService.h"
#include "core/store/IniDocument.h"
#include "platform/simdialup/SimEntry.h"

#include <QString>
#include <QStringList>

#include <expected>
#include <optional>

// The simulated phonebook: "phonebook.ini" in the program folder, one
// section per entry. The file is the user's to edit by hand, so reading it
// never trusts it: unusable names are skipped, unusable values read as
// their defaults.
class SimPhonebook {
public:
    static constexpr qint64 kMaxFileBytes = 1024 * 1024;
    static constexpr int kMaxEntries = 10000;

    explicit SimPhonebook(const QString &programFolder);

    QString filePath() const { return m_path; }

    // A missing file is created with one entry that connects, so the program
    // can be tried at once.
    [[nodiscard]] std::expected<QStringList, dialup::ErrorCode> entryNames() const;
    // The entry of that name (compared without regard to case, the name as
    // the phonebook spells it); kEntryNotFound when there is none.
    [[nodiscard]] std::expected<SimEntry, dialup::ErrorCode> entry(const QString &name) const;
    enum class StoreMode { Create, Replace };
    // Writes the entry. Create refuses a name the phonebook has already
    // (kAlreadyExists); Replace overwrites the values of that entry.
    [[nodiscard]] std::expected<void, dialup::ErrorCode> store(const SimEntry &entry, StoreMode mode) const;

    static SimEntry demoEntry();

private:
    [[nodiscard]] std::expected<IniDocument, dialup::ErrorCode> load() const;
    static QStringList usableNames(const IniDocument &document);

    QString m_path;
};
