#include "tools/skingen/WaveWriter.h"

#include <gtest/gtest.h>

TEST(WaveWriter, WritesACanonicalPcmHeader)
{
    const QByteArray wave = encodeWave({ 0, 1, -1, 32767 }, 8000);
    const QByteArray expected = QByteArray::fromHex("52494646 2c000000 57415645" // RIFF, 36 + 8, WAVE
                                                    "666d7420 10000000 0100 0100" // fmt, 16, PCM, mono
                                                    "401f0000 803e0000 0200 1000" // 8000 Hz, 16000 B/s, 2, 16 bits
                                                    "64617461 08000000" // data, 8 bytes
                                                    "0000 0100 ffff ff7f");
    EXPECT_EQ(wave.toHex(' '), expected.toHex(' '));
}
