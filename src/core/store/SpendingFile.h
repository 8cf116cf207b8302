#pragma once

#include "core/store/SpendingPlan.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// budgets.data: INI text, Windows-1252 unless a name needs more (then UTF-8).
// Section "Spending" holds the program-wide keys; each budget is a section
// "Budget.N" naming its provider with "Name", so that names with any
// characters survive. Only what the program itself writes is read as valid.
namespace spendingfile {

inline const QString kFileName = QStringLiteral("budgets.data");
// Where a damaged file is kept before it is replaced.
inline const QString kDamagedCopy = QStringLiteral("budgets.data.old");

struct ReadResult {
    SpendingPlan plan; // what could be read; defaults for the rest
    QStringList problems; // one sentence for each thing that was wrong; empty for a sound file
};

ReadResult parse(const QByteArray &bytes);
QByteArray serialise(const SpendingPlan &plan);

} // namespace spendingfile
