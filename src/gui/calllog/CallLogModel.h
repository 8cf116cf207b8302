#pragma once

#include <QAbstractTableModel>
#include <QList>

class AppCore;

// The calls the call log grid shows, one row each, read from the log table
// as they are painted. With no call shown the grid has one empty row.
class CallLogModel final : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CallLogModel)

public:
    explicit CallLogModel(const AppCore &core, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // The empty row of an empty grid holds no call, so it cannot be selected.
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // The log indices of the rows, in order; resets the model.
    void setRows(QList<int> rows);
    [[nodiscard]] qsizetype callCount() const { return m_rows.size(); }
    // The cost column's title follows the currency text in force.
    void refreshHeader();

private:
    const AppCore &m_core;
    QList<int> m_rows;
};
