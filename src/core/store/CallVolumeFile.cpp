#include "core/store/CallVolumeFile.h"

#include <QtEndian>

#include <algorithm>
#include <iterator>

namespace callvolumefile {

namespace {

constexpr char kMagic[4] = { 'T', 'W', 'V', '1' };

} // namespace

QByteArray serialise(const CallVolume *volumes, qsizetype count)
{
    QByteArray bytes(kHeaderBytes + count * kRecordBytes, '\0');
    char *out = bytes.data();
    std::copy(std::begin(kMagic), std::end(kMagic), out);
    qToLittleEndian<quint32>(quint32(count), out + 4);
    for (qsizetype i = 0; i < count; ++i) {
        char *record = out + kHeaderBytes + i * kRecordBytes;
        qToLittleEndian<qint64>(volumes[i].known() ? volumes[i].bytesIn : -1, record);
        qToLittleEndian<qint64>(volumes[i].known() ? volumes[i].bytesOut : -1, record + 8);
    }
    return bytes;
}

std::optional<std::vector<CallVolume>> parse(QByteArrayView bytes)
{
    if (bytes.size() < kHeaderBytes || !std::equal(std::begin(kMagic), std::end(kMagic), bytes.data()))
        return std::nullopt;
    const quint32 count = qFromLittleEndian<quint32>(bytes.data() + 4);
    if (bytes.size() - kHeaderBytes != qint64(count) * kRecordBytes)
        return std::nullopt;
    std::vector<CallVolume> volumes(count);
    for (quint32 i = 0; i < count; ++i) {
        const char *record = bytes.data() + kHeaderBytes + qint64(i) * kRecordBytes;
        const qint64 in = qFromLittleEndian<qint64>(record);
        const qint64 out = qFromLittleEndian<qint64>(record + 8);
        if (in < -1 || out < -1)
            return std::nullopt;
        // Half known is not known: both or neither.
        if (in >= 0 && out >= 0)
            volumes[i] = { in, out };
    }
    return volumes;
}

} // namespace callvolumefile
