#pragma once

#include "core/calllog/CallStatistics.h"

#include <QString>

#include <array>
#include <optional>

// What the eight statistics buttons show. Button k (0..7) has the tag
// 10 (k + 1) while it shows its caption and one more while it shows its
// value; a click toggles between the two.
class StatisticsButtons {
public:
    StatisticsButtons();

    [[nodiscard]] int tag(int button) const { return m_tags.at(button); }
    [[nodiscard]] const QString &text(int button) const { return m_texts.at(button); }
    [[nodiscard]] const QString &hint(int button) const { return m_hints.at(button); }
    [[nodiscard]] const QString &value(int button) const { return m_values.at(button); }

    void toggle(int button);

    // After a fill: with values (at least one call shown) every hint and
    // value text is renewed and each button shows what its tag says; without
    // (no call shown) the values go back to their reset texts while the
    // buttons keep their texts and hints until clicked.
    void refill(const std::optional<std::array<QString, kStatisticCount>> &values);

private:
    void updateText(int button);

    std::array<int, kStatisticCount> m_tags {};
    std::array<QString, kStatisticCount> m_values;
    std::array<QString, kStatisticCount> m_texts;
    std::array<QString, kStatisticCount> m_hints;
};
