#include "core/skins/DibRunLength.h"

namespace {

// The second byte after a zero count.
constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfBitmap = 1;
constexpr std::uint8_t kDelta = 2;

class RowWriter {
public:
    RowWriter(DibFormat format, int width, int height, bool bottomUp)
        : m_fourBits(format == DibFormat::Bits4)
        , m_bottomUp(bottomUp)
        , m_width(width)
        , m_height(height)
        , m_rowBytes(dibRowBytes(format, width))
        , m_rows(std::size_t(m_rowBytes * height), 0)
    {
    }

    void put(std::uint8_t index)
    {
        if (m_x < m_width && m_y < m_height) {
            const int row = m_bottomUp ? m_height - 1 - m_y : m_y;
            std::uint8_t &byte = m_rows[std::size_t(row * m_rowBytes + (m_fourBits ? m_x / 2 : m_x))];
            if (!m_fourBits)
                byte = index;
            else if (m_x % 2 == 0)
                byte = std::uint8_t((byte & 0x0F) | (index << 4));
            else
                byte = std::uint8_t((byte & 0xF0) | (index & 0x0F));
        }
        ++m_x;
    }

    // The n-th pixel of a byte: both nibbles in turn for 4 bits.
    std::uint8_t pixelOf(std::uint8_t value, int n) const
    {
        if (!m_fourBits)
            return value;
        return n % 2 == 0 ? std::uint8_t(value >> 4) : std::uint8_t(value & 0x0F);
    }

    void nextLine()
    {
        m_x = 0;
        ++m_y;
    }

    void move(int dx, int dy)
    {
        m_x += dx;
        m_y += dy;
    }

    bool done() const { return m_y >= m_height; }
    bool fourBits() const { return m_fourBits; }
    std::vector<std::uint8_t> take() { return std::move(m_rows); }

private:
    bool m_fourBits;
    bool m_bottomUp;
    int m_width;
    int m_height;
    qsizetype m_rowBytes;
    std::vector<std::uint8_t> m_rows;
    int m_x = 0;
    int m_y = 0;
};

} // namespace

std::optional<std::vector<std::uint8_t>> expandDibRunLength(
    QByteArrayView data, DibFormat format, int width, int height, bool bottomUp)
{
    RowWriter out(format, width, height, bottomUp);
    const auto byteAt = [&data](qsizetype at) { return std::uint8_t(data[at]); };
    qsizetype at = 0;
    while (!out.done()) {
        if (data.size() - at < 2)
            return std::nullopt;
        const std::uint8_t count = byteAt(at);
        const std::uint8_t value = byteAt(at + 1);
        at += 2;
        if (count > 0) {
            for (int n = 0; n < count; ++n)
                out.put(out.pixelOf(value, n));
            continue;
        }
        if (value == kEndOfLine) {
            out.nextLine();
        } else if (value == kEndOfBitmap) {
            break;
        } else if (value == kDelta) {
            if (data.size() - at < 2)
                return std::nullopt;
            out.move(byteAt(at), byteAt(at + 1));
            at += 2;
        } else {
            // Literal pixels, their bytes padded to an even count.
            const qsizetype literalBytes = out.fourBits() ? (value + 1) / 2 : value;
            if (data.size() - at < literalBytes)
                return std::nullopt;
            for (int n = 0; n < value; ++n)
                out.put(out.pixelOf(byteAt(at + (out.fourBits() ? n / 2 : n)), n));
            at += literalBytes + literalBytes % 2;
        }
    }
    return out.take();
}
