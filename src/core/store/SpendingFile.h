#pragma once

#include "core/store/SpendingPlan.h"

#include <QByteArray>
#include <QString>

// budgets.data: INI text in Windows-1252. Section "Spending" holds the
// program-wide keys; each budget is a section "Budget.N" naming its provider
// with "Name", so that names with any characters survive. Unreadable values
// keep their defaults.
namespace spendingfile {

inline const QString kFileName = QStringLiteral("budgets.data");

SpendingPlan parse(const QByteArray &bytes);
QByteArray serialise(const SpendingPlan &plan);

} // namespace spendingfile
