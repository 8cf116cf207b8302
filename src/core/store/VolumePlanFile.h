#pragma once

#include "core/store/VolumePlan.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// volume.data: INI text, Windows-1252 unless a name needs more (then UTF-8).
// Each plan is a section "Volume.N" naming its provider with "Name";
// "AllowanceBytes", "BlockBytes" and "BlockPrice" (1/10000 of money) are
// plain digits, "Counts" is "both", "in" or "out", and "WarnedCycle" and
// "WarnedLevels" remember the allowance warnings already given.
namespace volumeplanfile {

inline const QString kFileName = QStringLiteral("volume.data");
// Where a damaged file is kept before it is replaced.
inline const QString kDamagedCopy = QStringLiteral("volume.data.old");

struct ReadResult {
    VolumePlans plans; // what could be read
    QStringList problems; // one sentence for each thing that was wrong; empty for a sound file
};

ReadResult parse(const QByteArray &bytes);
QByteArray serialise(const VolumePlans &plans);

} // namespace volumeplanfile
