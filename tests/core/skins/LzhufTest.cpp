#include "core/skins/Lzhuf.h"

#include "core/skins/SkinBytes.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

struct HandStream {
    const char *what;
    QByteArray decoded;
    QByteArray stream;
};

// Worked out from the initial tree (leaf i at node i, node 314 + m the parent
// of nodes 2m and 2m + 1, the root at 626) and its updates:
// 'A' starts 9 bits deep (111001101), after one update it sits at node 313
// (11000101); 'B' starts at 111001110; the length-3 match symbol 256 is
// 10001100 and 257 is 10001101; position 0 is 000 000000, position 1 is
// 000 000001.
const HandStream kHandStreams[] = {
    { "empty", {}, bytes({ 0, 0, 0, 0 }) },
    { "one literal", "A", bytes({ 1, 0, 0, 0, 0xE6, 0x80 }) },
    { "a literal twice, after the tree adapted", "AA", bytes({ 2, 0, 0, 0, 0xE6, 0xE2, 0x80 }) },
    { "a match into the initial blanks", "   ", bytes({ 3, 0, 0, 0, 0x8C, 0x00, 0x00 }) },
    { "an overlapping match at distance 1", "AAAAA", bytes({ 5, 0, 0, 0, 0xE6, 0xC6, 0x80, 0x00 }) },
    { "a match at distance 2", "ABABA", bytes({ 5, 0, 0, 0, 0xE6, 0xF3, 0xA3, 0x00, 0x20 }) },
};

QByteArray randomBytes(qsizetype size, int alphabet, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray out(size, '\0');
    for (char &c : out)
        c = char(random.bounded(alphabet));
    return out;
}

} // namespace

TEST(Lzhuf, DecodesHandMadeStreams)
{
    for (const HandStream &hand : kHandStreams) {
        const LzhufDecoded result = lzhufDecode(hand.stream, 1 << 20);
        EXPECT_EQ(result.error, SkinError::None) << hand.what;
        EXPECT_EQ(result.bytes, hand.decoded) << hand.what;
    }
}

TEST(Lzhuf, EncodesSmallInputsAsTheHandMadeStreams)
{
    for (const HandStream &hand : kHandStreams)
        EXPECT_EQ(lzhufEncode(hand.decoded).toHex(' '), hand.stream.toHex(' ')) << hand.what;
}

TEST(Lzhuf, RoundTripsDataOfEveryShape)
{
    QByteArray text;
    while (text.size() < 300000)
        text += "Peak rate 08:00:00 to 17:59:59, 0.10 per minute; off-peak all other times. ";
    QByteArray runs;
    for (int i = 0; i < 5000; ++i)
        runs += QByteArray(i % 97 + 1, char(i % 7));
    const struct {
        const char *what;
        QByteArray data;
    } cases[] = {
        { "random bytes", randomBytes(70000, 256, 1) },
        { "few symbols, many matches", randomBytes(120000, 3, 2) },
        { "repeated text: the tree is rebuilt many times", text },
        { "runs of every length", runs },
        { "blanks only", QByteArray(10000, ' ') },
        { "all 256 bytes", randomBytes(256, 256, 3) },
    };
    for (const auto &c : cases) {
        const QByteArray stream = lzhufEncode(c.data);
        const LzhufDecoded result = lzhufDecode(stream, c.data.size());
        ASSERT_EQ(result.error, SkinError::None) << c.what;
        EXPECT_TRUE(result.bytes == c.data) << c.what;
    }
}

TEST(Lzhuf, RefusesDamagedStreams)
{
    const QByteArray good = lzhufEncode(randomBytes(5000, 256, 4));
    QByteArray claimsTooMuch = good;
    claimsTooMuch[3] = char(0x7F);
    const struct {
        const char *what;
        QByteArray stream;
        qsizetype maxLength;
        SkinError error;
    } cases[] = {
        { "no room for the length", bytes({ 5, 0, 0 }), 100, SkinError::LzhInputStream },
        { "longer than the caller allows", bytes({ 0x10, 0x27, 0, 0, 0xE6 }), 9999, SkinError::LzhOutputStream },
        { "longer than the code could hold", claimsTooMuch, qsizetype(1) << 32, SkinError::LzhInputStream },
        { "code cut short", good.first(good.size() / 2), 5000, SkinError::PixelDataEnd },
        { "length without code", bytes({ 1, 0, 0, 0 }), 100, SkinError::PixelDataEnd },
    };
    for (const auto &c : cases) {
        const LzhufDecoded result = lzhufDecode(c.stream, c.maxLength);
        EXPECT_EQ(result.error, c.error) << c.what;
        EXPECT_TRUE(result.bytes.isEmpty()) << c.what;
    }
}
