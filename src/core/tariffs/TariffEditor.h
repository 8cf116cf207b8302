#pragma once

#include "core/tariffs/TariffEditorRules.h"

#include <QLocale>
#include <QString>

#include <cstdint>
#include <expected>
#include <optional>

enum class TariffEditorMode {
    Viewing,
    Entering, // a new tariff
    Editing, // the tariff at CurrentIndex
};

// The tariff editor's modes and what they do to the table in memory: New
// reserves an id number (used up even when cancelled), Save stores, Delete
// moves later records down. The window shows the fields and asks the
// questions; this decides.
class TariffEditor {
public:
    explicit TariffEditor(TariffTable &table);

    TariffEditorMode mode() const { return m_mode; }
    // 1 while editing the selected tariff, 0 otherwise.
    std::uint8_t EditMode() const { return m_mode == TariffEditorMode::Editing ? 1 : 0; }
    // The id reserved by the last New.
    std::uint32_t PendingIdNumber() const { return m_pendingIdNumber; }

    // Starts a new tariff and returns its default name ("Tariff 7"). Refused
    // when the table is full, without using up a number.
    [[nodiscard]] std::expected<QString, TariffEditProblem> New();
    // Starts editing the selected tariff; false when there is none.
    bool Edit();
    void Cancel();

    // The tariff that the edit would compete with, ignoring the one being edited.
    [[nodiscard]] std::optional<int> clash(const TariffEdit &edit) const;
    // Stores the edit (a new tariff is appended and becomes current) and
    // returns to viewing; the record's index on success. The checks are the
    // caller's to ask about first; a money field that is not an amount is
    // refused here too.
    [[nodiscard]] std::expected<int, TariffEditProblem> Save(const TariffEdit &edit, const QLocale &locale = QLocale());

    // Removes the selected tariff; the first one becomes current. False when
    // there is nothing to remove or a tariff is being entered or edited.
    bool Delete();

    // Makes the tariff at `index` current; false when it is not in use.
    bool select(int index);

private:
    TariffTable &m_table;
    TariffEditorMode m_mode = TariffEditorMode::Viewing;
    std::uint32_t m_pendingIdNumber = 0;
};
