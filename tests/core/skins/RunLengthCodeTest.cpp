#include "core/skins/RunLengthCode.h"

#include "core/skins/SkinBytes.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <vector>

namespace {

QByteArray decodeInto(const QByteArray &code, qsizetype size, RunLengthDecoded &result)
{
    std::vector<std::uint8_t> pixels(std::size_t(size), 0xEE);
    result = runLengthDecode(code, pixels);
    return QByteArray(reinterpret_cast<const char *>(pixels.data()), size);
}

} // namespace

TEST(RunLengthCode, DecodesHandMadeCodes)
{
    const struct {
        const char *what;
        QByteArray code;
        qsizetype size;
        QByteArray pixels; // EE marks a byte the code did not reach
        qsizetype consumed;
    } cases[] = {
        { "plain bytes, FF FF is one FF", bytes({ 1, 2, 0xFF, 0xFF, 3, 0xFF, 0 }), 4, bytes({ 1, 2, 0xFF, 3 }), 7 },
        { "FF 00 ends at once", bytes({ 0xFF, 0, 9, 9 }), 3, bytes({ 0xEE, 0xEE, 0xEE }), 2 },
        { "C5: five copies, three literals, then plain mode",
            bytes({ 0xFF, 0xC5, 7, 0xA, 0xB, 0xC, 0xFF, 0xFF, 8, 0xFF, 0 }), 10,
            bytes({ 7, 7, 7, 7, 7, 0xA, 0xB, 0xC, 0xFF, 8 }), 11 },
        { "k = 0: a run, then another control byte", bytes({ 0xFF, 3, 9, 2, 4, 0 }), 5, bytes({ 9, 9, 9, 4, 4 }), 6 },
        { "k = 1", bytes({ 0xFF, 0x42, 9, 0xAA, 0x01, 5, 0 }), 4, bytes({ 9, 9, 0xAA, 5 }), 7 },
        { "k = 2, literals may be FF", bytes({ 0xFF, 0x81, 9, 0xFF, 0xBB, 0 }), 3, bytes({ 9, 0xFF, 0xBB }), 6 },
        { "k = 3, plain mode after", bytes({ 0xFF, 0xC1, 9, 1, 2, 3, 5, 0xFF, 0 }), 5, bytes({ 9, 1, 2, 3, 5 }), 9 },
        { "a control byte of count 0 with literals set ends too", bytes({ 0xFF, 0xC0, 1, 2 }), 2, bytes({ 0xEE, 0xEE }),
            2 },
        { "output past the end is dropped, reading goes on to the end code", bytes({ 0xFF, 0x0A, 7, 0x41, 1, 2, 0 }), 4,
            bytes({ 7, 7, 7, 7 }), 7 },
    };
    for (const auto &c : cases) {
        RunLengthDecoded result;
        const QByteArray pixels = decodeInto(c.code, c.size, result);
        EXPECT_TRUE(result.complete) << c.what;
        EXPECT_EQ(result.consumed, c.consumed) << c.what;
        EXPECT_EQ(pixels.toHex(' '), c.pixels.toHex(' ')) << c.what;
    }
}

TEST(RunLengthCode, CodeWithoutEndCodeIsIncomplete)
{
    const QByteArray cases[] = {
        bytes({}),
        bytes({ 1, 2, 3 }),
        bytes({ 0xFF }),
        bytes({ 0xFF, 5 }),
        bytes({ 0xFF, 0xC2, 1, 2 }),
        bytes({ 0xFF, 3, 1 }),
    };
    for (const QByteArray &code : cases) {
        RunLengthDecoded result;
        decodeInto(code, 16, result);
        EXPECT_FALSE(result.complete) << code.toHex(' ').constData();
    }
}

TEST(RunLengthCode, EncodesRunsAndEscapes)
{
    const struct {
        QByteArray pixels;
        QByteArray code;
    } cases[] = {
        { bytes({ 7, 7, 7, 7, 7 }), bytes({ 0xFF, 5, 7, 0 }) },
        { bytes({ 0xFF }), bytes({ 0xFF, 0xFF, 0xFF, 0 }) },
        { bytes({ 1, 2 }), bytes({ 1, 2, 0xFF, 0 }) },
        { bytes({ 4, 4, 4, 1, 2, 3, 9 }), bytes({ 0xFF, 0xC3, 4, 1, 2, 3, 9, 0xFF, 0 }) },
        { bytes({ 4, 4, 4, 1, 5, 5, 5 }), bytes({ 0xFF, 0x43, 4, 1, 3, 5, 0 }) },
        // 63 copies and three literals would make the control byte FF, which
        // right after the escape reads as an escaped FF: two literals only.
        { QByteArray(63, 7) + bytes({ 1, 2, 3 }), bytes({ 0xFF, 0xBF, 7, 1, 2, 1, 3, 0 }) },
    };
    for (const auto &c : cases)
        EXPECT_EQ(runLengthEncode(c.pixels).toHex(' '), c.code.toHex(' ')) << c.pixels.toHex(' ').constData();
}

TEST(RunLengthCode, RoundTripsRandomPixels)
{
    QRandomGenerator random(7);
    for (int round = 0; round < 300; ++round) {
        QByteArray pixels;
        const int size = random.bounded(1, 600);
        while (pixels.size() < size) {
            // Runs of every length, escapes and literals mixed.
            const int kind = random.bounded(4);
            const char value = kind == 0 ? char(0xFF) : char(random.bounded(256));
            pixels += QByteArray(kind == 1 ? random.bounded(1, 140) : 1, value);
        }
        pixels.truncate(size);
        RunLengthDecoded result;
        const QByteArray code = runLengthEncode(pixels);
        const QByteArray decoded = decodeInto(code, size, result);
        ASSERT_TRUE(result.complete);
        EXPECT_EQ(result.consumed, code.size());
        ASSERT_EQ(decoded, pixels) << pixels.toHex(' ').constData();
    }
}
