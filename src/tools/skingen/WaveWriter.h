#pragma once

#include <QByteArray>
#include <QList>

#include <cstdint>

// A mono 16-bit PCM wave file of the given samples.
[[nodiscard]] QByteArray encodeWave(const QList<std::int16_t> &samples, int sampleRate);
