#include "core/calllog/StatisticsButtons.h"

StatisticsButtons::StatisticsButtons()
    : m_values(statisticResetTexts())
    , m_texts(statisticCaptions())
{
    for (int k = 0; k < kStatisticCount; ++k)
        m_tags.at(k) = 10 * (k + 1);
}

void StatisticsButtons::toggle(int button)
{
    int &tag = m_tags.at(button);
    tag += tag % 10 == 0 ? 1 : -1;
    updateText(button);
}

void StatisticsButtons::refill(const std::optional<std::array<QString, kStatisticCount>> &values)
{
    if (!values) {
        m_values = statisticResetTexts();
        return;
    }
    m_values = *values;
    for (int k = 0; k < kStatisticCount; ++k) {
        m_hints.at(k) = statisticCaptions().at(k) + QStringLiteral("= ") + m_values.at(k);
        updateText(k);
    }
}

void StatisticsButtons::updateText(int button)
{
    m_texts.at(button) = m_tags.at(button) % 10 == 0 ? statisticCaptions().at(button) : m_values.at(button);
}
