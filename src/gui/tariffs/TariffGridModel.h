#pragma once

#include <QAbstractTableModel>

class AppCore;

// The tariffs as grid rows, in table order; an empty table shows one blank
// row. Qt::BackgroundRole gives a cell the row's tariff colour (white
// without a tariff).
class TariffGridModel final : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TariffGridModel)

public:
    static constexpr int kColumnCount = 8;

    explicit TariffGridModel(const AppCore &core, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Call after the table changed.
    void refresh();

private:
    QString cellText(int row, int column) const;

    const AppCore &m_core;
};
