#pragma once

#include "core/store/CallVolume.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

// Log.volume.data and Log.archive.volume.data: the bytes of the calls of
// Log.data and Log.archive.data, record for record, kept apart so that those
// files keep their layouts. An 8-byte header ("TWV1" and the record count,
// little-endian 32 bits), then 16 bytes a call: bytes in and bytes out, each a
// little-endian signed 64-bit number, -1 where unknown.
namespace callvolumefile {

inline const QString kLogFile = QStringLiteral("Log.volume.data");
inline const QString kArchiveFile = QStringLiteral("Log.archive.volume.data");
inline constexpr qint64 kHeaderBytes = 8;
inline constexpr qint64 kRecordBytes = 16;

QByteArray serialise(const CallVolume *volumes, qsizetype count);
// nullopt when the bytes are not such a file: wrong header, a size that does
// not match the count, or a figure below -1.
std::optional<std::vector<CallVolume>> parse(QByteArrayView bytes);

} // namespace callvolumefile
