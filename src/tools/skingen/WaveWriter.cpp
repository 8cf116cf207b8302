#include "tools/skingen/WaveWriter.h"

#include <QtEndian>

namespace {

void appendU32(QByteArray &out, std::uint32_t value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void appendU16(QByteArray &out, std::uint16_t value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

} // namespace

QByteArray encodeWave(const QList<std::int16_t> &samples, int sampleRate)
{
    const auto dataBytes = std::uint32_t(samples.size() * 2);
    QByteArray out("RIFF");
    appendU32(out, 36 + dataBytes);
    out.append("WAVEfmt ");
    appendU32(out, 16);
    appendU16(out, 1); // PCM
    appendU16(out, 1); // mono
    appendU32(out, std::uint32_t(sampleRate));
    appendU32(out, std::uint32_t(sampleRate) * 2);
    appendU16(out, 2);
    appendU16(out, 16);
    out.append("data");
    appendU32(out, dataBytes);
    for (const std::int16_t sample : samples)
        appendU16(out, std::uint16_t(sample));
    return out;
}
