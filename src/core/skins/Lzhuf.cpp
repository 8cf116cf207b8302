#include "core/skins/Lzhuf.h"

#include "core/skins/AdaptiveHuffman.h"

#include <QtEndian>

#include <array>
#include <vector>

namespace {

constexpr int kRingSize = 4096;
constexpr int kRingMask = kRingSize - 1;
constexpr int kLongestMatch = 60;
constexpr int kThreshold = 2; // matches of this length or shorter are sent as literals
constexpr int kStart = kRingSize - kLongestMatch;
constexpr int kFirstMatchSymbol = 256 - kThreshold - 1; // symbol of a match of length L is this + L

// The fixed prefix code of the upper 6 bits of a match position: one code of
// 3 bits, 3 of 4, 8 of 5, 12 of 6, 24 of 7 and 16 of 8, assigned in order.
struct PositionCode {
    std::array<std::uint8_t, 64> code {}; // left-aligned in 8 bits
    std::array<std::uint8_t, 64> length {};
    std::array<std::uint8_t, 256> upperByPrefix {}; // decoding: the first 8 bits give the value
};

constexpr PositionCode makePositionCode()
{
    PositionCode table;
    constexpr std::array<int, 6> counts { 1, 3, 8, 12, 24, 16 };
    int value = 0;
    unsigned next = 0;
    for (int i = 0; i < 6; ++i) {
        const int length = i + 3;
        for (int n = 0; n < counts[i]; ++n, ++value, ++next) {
            table.code[value] = std::uint8_t(next << (8 - length));
            table.length[value] = std::uint8_t(length);
            for (unsigned rest = 0; rest < (1u << (8 - length)); ++rest)
                table.upperByPrefix[table.code[value] | rest] = std::uint8_t(value);
        }
        next <<= 1;
    }
    return table;
}

constexpr PositionCode kPositionCode = makePositionCode();

// Reads bits most significant first. Past the end it delivers zeros, as the
// classic decoder does, but counts them so that a short stream is noticed.
class BitReader {
public:
    BitReader(const std::uint8_t *data, qsizetype size)
        : m_data(data)
        , m_end(data + size)
        , m_availableBits(std::uint64_t(size) * 8)
    {
    }

    unsigned peek8()
    {
        if (m_count < 8)
            refill();
        return unsigned(m_buffer >> 56);
    }

    unsigned take(int bits)
    {
        if (m_count < bits)
            refill();
        const unsigned value = unsigned(m_buffer >> (64 - bits));
        m_buffer <<= bits;
        m_count -= bits;
        return value;
    }

    // Makes at least 32 bits visible in window().
    void ensure()
    {
        if (m_count < 32)
            refill();
    }
    [[nodiscard]] std::uint64_t window() const { return m_buffer; }
    [[nodiscard]] int visible() const { return m_count; }
    void skip(int bits)
    {
        m_buffer <<= bits;
        m_count -= bits;
    }

    [[nodiscard]] bool overrun() const { return m_loadedBits - std::uint64_t(m_count) > m_availableBits; }

private:
    void refill()
    {
        while (m_count <= 56) {
            const std::uint64_t byte = m_data < m_end ? *m_data++ : 0;
            m_buffer |= byte << (56 - m_count);
            m_count += 8;
            m_loadedBits += 8;
        }
    }

    const std::uint8_t *m_data;
    const std::uint8_t *m_end;
    std::uint64_t m_availableBits;
    std::uint64_t m_loadedBits = 0;
    std::uint64_t m_buffer = 0;
    int m_count = 0;
};

class BitWriter {
public:
    explicit BitWriter(QByteArray &out)
        : m_out(out)
    {
    }

    // Appends the `bits` low bits of `value`, most significant first.
    void put(std::uint32_t value, int bits)
    {
        for (int i = bits - 1; i >= 0; --i) {
            m_byte = std::uint8_t((m_byte << 1) | ((value >> i) & 1));
            if (++m_count == 8) {
                m_out.append(char(m_byte));
                m_byte = 0;
                m_count = 0;
            }
        }
    }

    void flush()
    {
        if (m_count > 0)
            m_out.append(char(m_byte << (8 - m_count)));
        m_byte = 0;
        m_count = 0;
    }

private:
    QByteArray &m_out;
    std::uint8_t m_byte = 0;
    int m_count = 0;
};

int decodeSymbol(AdaptiveHuffman &tree, BitReader &reader)
{
    // Walks down the tree on a local copy of the visible bits.
    reader.ensure();
    std::uint64_t bits = reader.window();
    int used = 0;
    int node = tree.child(AdaptiveHuffman::kRoot);
    while (node < AdaptiveHuffman::kNodes) {
        if (used == reader.visible()) {
            reader.skip(used);
            reader.ensure();
            bits = reader.window();
            used = 0;
        }
        node = tree.child(node + int(bits >> 63));
        bits <<= 1;
        ++used;
    }
    reader.skip(used);
    const int symbol = node - AdaptiveHuffman::kNodes;
    tree.update(symbol);
    return symbol;
}

int decodePosition(BitReader &reader)
{
    const unsigned upper = kPositionCode.upperByPrefix[reader.peek8()];
    reader.take(kPositionCode.length[upper]);
    return int(upper << 6 | reader.take(6));
}

void encodeSymbol(AdaptiveHuffman &tree, BitWriter &writer, int symbol)
{
    // The path is found from the leaf up; the bits go out from the root down.
    std::array<std::uint8_t, AdaptiveHuffman::kNodes> path; // only the first `depth` entries are used
    int depth = 0;
    for (int node = tree.leafOf(symbol); node != AdaptiveHuffman::kRoot; node = tree.parent(node))
        path[depth++] = std::uint8_t(node & 1);
    while (depth > 0)
        writer.put(path[--depth], 1);
    tree.update(symbol);
}

void encodePosition(BitWriter &writer, int position)
{
    const int upper = position >> 6;
    writer.put(kPositionCode.code[upper] >> (8 - kPositionCode.length[upper]), kPositionCode.length[upper]);
    writer.put(std::uint32_t(position & 63), 6);
}

// Finds matches with hash chains over the blanks and the data seen so far.
class MatchFinder {
public:
    explicit MatchFinder(const QByteArray &window)
        : m_window(window)
        , m_previous(std::size_t(window.size()), -1)
        , m_heads(kHashSize, -1)
    {
    }

    void insert(qsizetype at)
    {
        if (at + 3 > m_window.size())
            return;
        const std::size_t key = hash(at);
        m_previous[std::size_t(at)] = m_heads[key];
        m_heads[key] = at;
    }

    struct Match {
        int length = 0;
        int distance = 0;
    };

    [[nodiscard]] Match longest(qsizetype at, int limit) const
    {
        Match best;
        if (limit < kThreshold + 1 || at + 3 > m_window.size())
            return best;
        const auto *bytes = reinterpret_cast<const std::uint8_t *>(m_window.constData());
        int chain = kMaxChain;
        for (qsizetype candidate = m_heads[hash(at)]; candidate >= 0 && chain-- > 0;
             candidate = m_previous[std::size_t(candidate)]) {
            const qsizetype distance = at - candidate;
            if (distance > kMaxDistance)
                break;
            if (distance <= 0)
                continue;
            int length = 0;
            while (length < limit && bytes[candidate + length] == bytes[at + length])
                ++length;
            if (length > best.length) {
                best = { length, int(distance) };
                if (length == limit)
                    break;
            }
        }
        return best;
    }

private:
    static constexpr std::size_t kHashSize = 1 << 15;
    static constexpr int kMaxChain = 256;
    // As the classic coder: never further back than the ring minus the look-ahead.
    static constexpr qsizetype kMaxDistance = kStart;

    [[nodiscard]] std::size_t hash(qsizetype at) const
    {
        const auto *bytes = reinterpret_cast<const std::uint8_t *>(m_window.constData()) + at;
        return ((std::size_t(bytes[0]) << 10) ^ (std::size_t(bytes[1]) << 5) ^ bytes[2]) & (kHashSize - 1);
    }

    const QByteArray &m_window;
    std::vector<qsizetype> m_previous;
    std::vector<qsizetype> m_heads;
};

} // namespace

LzhufDecoded lzhufDecode(QByteArrayView stream, qsizetype maxLength)
{
    if (stream.size() < 4)
        return { {}, SkinError::LzhInputStream };
    const qsizetype length = qFromLittleEndian<quint32>(stream.data());
    const qsizetype codeBytes = stream.size() - 4;
    if (length > maxLength)
        return { {}, SkinError::LzhOutputStream };
    // Every symbol takes at least one bit and a match at least ten for at
    // most 60 bytes, so no code yields more than 6 bytes per bit.
    if (length > codeBytes * 8 * 6 + kLongestMatch)
        return { {}, SkinError::LzhInputStream };

    QByteArray out(length, Qt::Uninitialized);
    auto *target = reinterpret_cast<std::uint8_t *>(out.data());
    std::array<std::uint8_t, kRingSize> ring {};
    std::fill(ring.begin(), ring.begin() + kStart, std::uint8_t(' '));
    int r = kStart;

    AdaptiveHuffman tree;
    BitReader reader(reinterpret_cast<const std::uint8_t *>(stream.data()) + 4, codeBytes);
    qsizetype count = 0;
    while (count < length) {
        const int symbol = decodeSymbol(tree, reader);
        if (symbol < 256) {
            target[count++] = std::uint8_t(symbol);
            ring[r] = std::uint8_t(symbol);
            r = (r + 1) & kRingMask;
        } else {
            const int from = (r - decodePosition(reader) - 1) & kRingMask;
            const int matchLength = symbol - kFirstMatchSymbol;
            for (int k = 0; k < matchLength && count < length; ++k) {
                const std::uint8_t byte = ring[(from + k) & kRingMask];
                target[count++] = byte;
                ring[r] = byte;
                r = (r + 1) & kRingMask;
            }
        }
        if (reader.overrun())
            return { {}, SkinError::PixelDataEnd };
    }
    return { out, SkinError::None };
}

QByteArray lzhufEncode(QByteArrayView data)
{
    QByteArray out(4, Qt::Uninitialized);
    qToLittleEndian<quint32>(quint32(data.size()), out.data());

    // The window holds the initial blanks followed by the data, so that a
    // position in it maps onto the ring buffer by its low 12 bits.
    QByteArray window(kStart, ' ');
    window.append(data.data(), data.size());
    MatchFinder finder(window);
    for (qsizetype i = 0; i < kStart; ++i)
        finder.insert(i);

    AdaptiveHuffman tree;
    BitWriter writer(out);
    qsizetype at = kStart;
    const qsizetype end = window.size();
    while (at < end) {
        const int limit = int(std::min<qsizetype>(kLongestMatch, end - at));
        const MatchFinder::Match match = finder.longest(at, limit);
        int step = 1;
        if (match.length > kThreshold) {
            encodeSymbol(tree, writer, kFirstMatchSymbol + match.length);
            encodePosition(writer, match.distance - 1);
            step = match.length;
        } else {
            encodeSymbol(tree, writer, std::uint8_t(window[at]));
        }
        for (int k = 0; k < step; ++k)
            finder.insert(at + k);
        at += step;
    }
    writer.flush();
    return out;
}
