#include "gui/tariffs/TariffGridModel.h"

#include "core/app/AppCore.h"
#include "core/store/Money.h"
#include "core/store/TextHelpers.h"
#include "core/tariffs/TariffEditorTexts.h"
#include "gui/tariffs/TariffColourStrip.h"

#include <QColor>

#include <algorithm>

TariffGridModel::TariffGridModel(const AppCore &core, QObject *parent)
    : QAbstractTableModel(parent)
    , m_core(core)
{
}

int TariffGridModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return std::max<int>(1, std::min<int>(m_core.tariffs().Count, kMaxTariffs));
}

int TariffGridModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : kColumnCount; }

QString TariffGridModel::cellText(int row, int column) const
{
    const TariffTable &table = m_core.tariffs();
    if (row >= table.Count)
        return QStringLiteral(" ");
    const Tariff &t = table.records[row];
    const auto amount = [](MoneyValue value) { return paddedAmountText(value, 18) + QLatin1Char(' '); };
    switch (column) {
    case 0:
        return t.Name.text();
    case 1:
        return appliesToText(t);
    case 2:
        return ShortDurationText(t.StartTime);
    case 3:
        return ShortDurationText(t.FinishTime);
    case 4:
        return chargeKindText(t.ChargeKind);
    case 5:
        return amount(t.UnitCost);
    case 6:
        return unitKindText(t.UnitKind);
    case 7:
        return amount(t.MinCharge);
    default:
        return QStringLiteral(" ");
    }
}

QVariant TariffGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return cellText(index.row(), index.column());
    // The name and the days may be cut to their column: the hint holds them whole.
    if (role == Qt::ToolTipRole && index.column() <= 1)
        return cellText(index.row(), index.column());
    if (role == Qt::BackgroundRole) {
        const TariffTable &table = m_core.tariffs();
        if (index.row() >= table.Count)
            return QColor(Qt::white);
        return qColourOfTariff(table.records[index.row()].Colour);
    }
    return {};
}

QVariant TariffGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case 0:
        return QStringLiteral("Name of Tariff");
    case 1:
        return QStringLiteral("Applies to");
    case 2:
        return QStringLiteral("Starts");
    case 3:
        return QStringLiteral("Finishes");
    case 4:
        return QStringLiteral("Charge type");
    case 5:
        return moneyHeaderText(QStringLiteral("Unit Cost"), m_core.currencyText());
    case 6:
        return QStringLiteral("Unit");
    case 7:
        return moneyHeaderText(QStringLiteral("Min Charge"), m_core.currencyText());
    default:
        return QStringLiteral(" ");
    }
}

void TariffGridModel::refresh()
{
    beginResetModel();
    endResetModel();
}
