#include "core/tariffs/TariffEditor.h"

#include "core/tariffs/TariffIds.h"

TariffEditor::TariffEditor(TariffTable &table)
    : m_table(table)
{
}

std::expected<QString, TariffEditProblem> TariffEditor::New()
{
    if (m_mode != TariffEditorMode::Viewing)
        return std::unexpected(TariffEditProblem::WrongMode);
    if (m_table.Count >= kMaxTariffs)
        return std::unexpected(TariffEditProblem::TableFull);
    m_pendingIdNumber = reserveTariffId(m_table);
    m_mode = TariffEditorMode::Entering;
    return defaultTariffName(m_pendingIdNumber);
}

bool TariffEditor::Edit()
{
    if (m_mode != TariffEditorMode::Viewing || m_table.CurrentIndex >= m_table.Count)
        return false;
    m_mode = TariffEditorMode::Editing;
    return true;
}

void TariffEditor::Cancel() { m_mode = TariffEditorMode::Viewing; }

std::optional<int> TariffEditor::clash(const TariffEdit &edit) const
{
    std::optional<int> skip;
    if (m_mode == TariffEditorMode::Editing)
        skip = m_table.CurrentIndex;
    return findTariffClash(m_table, edit, skip);
}

std::expected<int, TariffEditProblem> TariffEditor::Save(const TariffEdit &edit, const QLocale &locale)
{
    if (m_mode == TariffEditorMode::Viewing)
        return std::unexpected(TariffEditProblem::WrongMode);
    const bool entering = m_mode == TariffEditorMode::Entering;
    const int index = entering ? m_table.Count : m_table.CurrentIndex;
    if (index >= kMaxTariffs)
        return std::unexpected(TariffEditProblem::TableFull);
    std::optional<std::uint32_t> newId;
    if (entering)
        newId = m_pendingIdNumber;
    if (auto stored = storeTariffEdit(m_table.records[index], edit, newId, locale); !stored)
        return std::unexpected(stored.error());
    if (entering)
        m_table.Count = std::uint16_t(index + 1);
    m_table.CurrentIndex = std::uint16_t(index);
    m_mode = TariffEditorMode::Viewing;
    return index;
}

bool TariffEditor::Delete()
{
    if (m_mode != TariffEditorMode::Viewing || !deleteTariffAt(m_table, m_table.CurrentIndex))
        return false;
    m_table.CurrentIndex = 0;
    return true;
}

bool TariffEditor::select(int index)
{
    if (index < 0 || index >= m_table.Count)
        return false;
    m_table.CurrentIndex = std::uint16_t(index);
    return true;
}
