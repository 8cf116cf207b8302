#include "gui/providers/ProviderDataPlan.h"

#include "core/skins/SkinLayout.h"
#include "core/spending/BudgetCheck.h"
#include "gui/providers/ProviderSpending.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>

#include <cmath>

namespace {

namespace Layout = SkinLayout::ProviderDialog;

constexpr int kUnitMB = 0; // the unit lists' entries
constexpr int kUnitGB = 1;

// "2.5", "1536000": the field is narrow, and a size's trailing zeros say nothing.
class SizeSpinBox final : public QDoubleSpinBox {
public:
    using QDoubleSpinBox::QDoubleSpinBox;
    QString textFromValue(double value) const override
    {
        QString text = QDoubleSpinBox::textFromValue(value);
        const QString point = locale().decimalPoint();
        if (!text.contains(point))
            return text;
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(point))
            text.chop(point.size());
        return text;
    }
};

QDoubleSpinBox *sizeSpinner(QWidget *dialog, const char *name, const QRect &rect)
{
    auto *spin = new SizeSpinBox(dialog);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setGeometry(rect);
    spin->setDecimals(3);
    spin->setRange(0, double(VolumePlan::kMaxBytes) / double(VolumePlan::kMegabyte));
    spin->setButtonSymbols(QAbstractSpinBox::NoButtons);
    spin->setAlignment(Qt::AlignRight);
    return spin;
}

QComboBox *unitList(QWidget *dialog, const char *name, const QRect &rect)
{
    auto *list = new QComboBox(dialog);
    list->setObjectName(QString::fromLatin1(name));
    list->setGeometry(rect);
    list->addItems({ QStringLiteral("MB"), QStringLiteral("GB") });
    return list;
}

std::int64_t unitBytes(const QComboBox *unit)
{
    return unit->currentIndex() == kUnitGB ? VolumePlan::kGigabyte : VolumePlan::kMegabyte;
}

// Whole gigabytes are shown as such, anything else in megabytes.
void showSize(std::int64_t bytes, QDoubleSpinBox *spin, QComboBox *unit)
{
    const bool gigabytes = bytes > 0 && bytes % VolumePlan::kGigabyte == 0;
    unit->setCurrentIndex(gigabytes ? kUnitGB : kUnitMB);
    spin->setValue(double(bytes) / double(unitBytes(unit)));
}

// The bytes a size field gives, or the message for one that gives none. A
// size shown as loaded keeps its bytes: the field shows them to the KB only.
template <typename Loaded>
std::expected<std::int64_t, QString> sizeOf(
    const QString &caption, const QDoubleSpinBox *spin, const QComboBox *unit, const Loaded &loaded)
{
    if (!spin->hasAcceptableInput())
        return std::unexpected(
            caption + QStringLiteral(":\r\"%1\" is not a number of MB or GB.").arg(spin->text().trimmed()));
    if (spin->value() == loaded.value && unit->currentIndex() == loaded.unit)
        return loaded.bytes;
    const double bytes = spin->value() * double(unitBytes(unit));
    if (bytes > double(VolumePlan::kMaxBytes))
        return std::unexpected(caption
            + QStringLiteral(":\r%1 %2 is more than the %3 GB a plan may hold.")
                  .arg(spin->text().trimmed(), unit->currentText(),
                      QLocale().toString(VolumePlan::kMaxBytes / VolumePlan::kGigabyte)));
    return std::llround(bytes);
}

} // namespace

ProviderDataPlan::ProviderDataPlan(AppCore &core, QWidget *dialog)
    : m_core(core)
    , m_allowance(sizeSpinner(dialog, "DataAllowance", Layout::DataAllowance))
    , m_allowanceUnit(unitList(dialog, "DataAllowanceUnit", Layout::DataAllowanceUnit))
    , m_counts(new QComboBox(dialog))
    , m_block(sizeSpinner(dialog, "DataBlock", Layout::DataBlock))
    , m_blockUnit(unitList(dialog, "DataBlockUnit", Layout::DataBlockUnit))
    , m_currency(new QLabel(dialog))
    , m_price(new QLineEdit(dialog))
{
    m_allowance->setToolTip(QStringLiteral(" Data free each billing month; 0 for none (every block is paid)"));
    m_counts->setObjectName(QStringLiteral("DataCounts"));
    m_counts->setGeometry(Layout::DataCounts);
    // In the order of CountedBytes.
    m_counts->addItems({ QStringLiteral("in+out"), QStringLiteral("in"), QStringLiteral("out") });
    m_counts->setToolTip(QStringLiteral(" Which data the plan counts: received and sent, or one of them"));
    m_block->setToolTip(QStringLiteral(" Data beyond the allowance is paid by the block begun; 0 for none"));
    m_currency->setObjectName(QStringLiteral("DataCurrency"));
    m_currency->setGeometry(Layout::DataCurrency);
    m_currency->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_price->setObjectName(QStringLiteral("DataBlockPrice"));
    m_price->setGeometry(Layout::DataBlockPrice);
    m_price->setAlignment(Qt::AlignRight);
    m_price->setToolTip(QStringLiteral(" The price of each block, to four decimals"));
    setEditing(false);
}

void ProviderDataPlan::load(int providerIndex)
{
    const Provider &provider = m_core.providers().records[providerIndex];
    const VolumePlan plan = m_core.volumePlans().value(provider.Name.text());
    showSize(plan.allowanceBytes, m_allowance, m_allowanceUnit);
    showSize(plan.blockBytes, m_block, m_blockUnit);
    m_loadedAllowance = { m_allowance->value(), m_allowanceUnit->currentIndex(), plan.allowanceBytes };
    m_loadedBlock = { m_block->value(), m_blockUnit->currentIndex(), plan.blockBytes };
    m_counts->setCurrentIndex(int(plan.counted));
    m_currency->setText(m_core.currencyText().trimmed());
    // Up to the 1/10000 the amount holds: block prices are often finer than cents.
    loadAmountField(m_price, plan.blockPrice);
    m_loadedPrice = { m_price->text(), plan.blockPrice };
}

void ProviderDataPlan::setEditing(bool editing)
{
    m_allowance->setReadOnly(!editing);
    m_block->setReadOnly(!editing);
    m_price->setReadOnly(!editing);
    m_allowanceUnit->setEnabled(editing);
    m_blockUnit->setEnabled(editing);
    m_counts->setEnabled(editing);
}

std::expected<VolumePlan, QString> ProviderDataPlan::read(int providerIndex) const
{
    const Provider &provider = m_core.providers().records[providerIndex];
    VolumePlan plan = m_core.volumePlans().value(provider.Name.text());
    const auto price = m_price->text() == m_loadedPrice.first
        ? std::expected<MoneyValue, BudgetAmountProblem>(m_loadedPrice.second)
        : readBudgetAmount(m_price->text());
    if (!price)
        return std::unexpected(
            QStringLiteral("Price of a block of data:\r") + budgetAmountMessage(price.error(), m_price->text()));
    const auto allowance = sizeOf(QStringLiteral("Data each month"), m_allowance, m_allowanceUnit, m_loadedAllowance);
    if (!allowance)
        return std::unexpected(allowance.error());
    const auto block = sizeOf(QStringLiteral("Beyond it, blocks of"), m_block, m_blockUnit, m_loadedBlock);
    if (!block)
        return std::unexpected(block.error());
    plan.allowanceBytes = *allowance;
    plan.blockBytes = *block;
    plan.blockPrice = *price;
    plan.counted = CountedBytes(std::clamp(m_counts->currentIndex(), 0, 2));
    if (plan.blockPrice > 0 && plan.blockBytes == 0)
        return std::unexpected(
            QStringLiteral("Beyond it, blocks of:\rA price needs the size of the block it buys, such as 1 MB."));
    return plan;
}

void ProviderDataPlan::store(int providerIndex, const VolumePlan &plan)
{
    const QString name = m_core.providers().records[providerIndex].Name.text();
    VolumePlan stored = plan;
    const VolumePlan before = m_core.volumePlans().value(name);
    // A new allowance has new thresholds; the same one keeps the warnings given.
    if (before.allowanceBytes != plan.allowanceBytes || before.counted != plan.counted)
        stored.warnedLevels = 0;
    if (stored.none() && stored.warnedLevels == 0)
        m_core.volumePlans().remove(name);
    else
        m_core.volumePlans().insert(name, stored);
}
