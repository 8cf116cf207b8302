#include "gui/calllog/CallLogModel.h"

#include "core/app/AppCore.h"
#include "core/calllog/CallLogCells.h"

CallLogModel::CallLogModel(const AppCore &core, QObject *parent)
    : QAbstractTableModel(parent)
    , m_core(core)
{
}

int CallLogModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : std::max<int>(1, int(m_rows.size()));
}

int CallLogModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : kCallLogColumns; }

QVariant CallLogModel::data(const QModelIndex &index, int role) const
{
    // Names and amounts may be cut to their column: the hint holds them whole.
    const bool name
        = index.column() == kTariffColumn || index.column() == kConnectionColumn || index.column() == kCostColumn;
    const bool wanted = role == Qt::DisplayRole || (role == Qt::ToolTipRole && name);
    if (!wanted || !index.isValid() || index.row() >= m_rows.size())
        return {};
    const CallRecord &call = m_core.log().records[m_rows.at(index.row())];
    return callLogCellText(call, index.column(), m_core.providers(), m_core.tariffs());
}

Qt::ItemFlags CallLogModel::flags(const QModelIndex &index) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return Qt::NoItemFlags;
    return QAbstractTableModel::flags(index);
}

QVariant CallLogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return callLogHeaderText(section, m_core.currencyText());
}

void CallLogModel::setRows(QList<int> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void CallLogModel::refreshHeader() { emit headerDataChanged(Qt::Horizontal, kCostColumn, kCostColumn); }
