#include "tools/skingen/GifWriter.h"

#include <vector>

namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kMaxCodes = 1 << kMaxCodeBits;

void appendU16(QByteArray &out, int value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

// Codes go out least significant bit first, packed into sub-blocks of at
// most 255 bytes.
class CodeWriter {
public:
    void put(int code, int bits)
    {
        m_buffer |= std::uint32_t(code) << m_count;
        m_count += bits;
        while (m_count >= 8) {
            m_bytes.append(char(m_buffer & 0xFF));
            m_buffer >>= 8;
            m_count -= 8;
        }
    }

    QByteArray blocks()
    {
        if (m_count > 0)
            m_bytes.append(char(m_buffer & 0xFF));
        m_buffer = 0;
        m_count = 0;
        QByteArray out;
        for (qsizetype at = 0; at < m_bytes.size(); at += 255) {
            const qsizetype length = std::min<qsizetype>(255, m_bytes.size() - at);
            out.append(char(length));
            out.append(m_bytes.mid(at, length));
        }
        out.append('\0');
        return out;
    }

private:
    QByteArray m_bytes;
    std::uint32_t m_buffer = 0;
    int m_count = 0;
};

// LZW with variable code width, as GIF decoders expect it: a clear code first
// and whenever the table is full, the width growing once a code of the next
// width has been assigned.
QByteArray lzw(const QImage &frame, int minimumBits)
{
    const int clear = 1 << minimumBits;
    const int end = clear + 1;
    std::vector<std::int16_t> table(std::size_t(kMaxCodes) * 256, -1);
    int next = end + 1;
    int bits = minimumBits + 1;
    CodeWriter writer;
    writer.put(clear, bits);

    int prefix = -1;
    for (int y = 0; y < frame.height(); ++y) {
        const std::uint8_t *line = frame.constScanLine(y);
        for (int x = 0; x < frame.width(); ++x) {
            const int pixel = line[x];
            if (prefix < 0) {
                prefix = pixel;
                continue;
            }
            const std::size_t slot = std::size_t(prefix) * 256 + std::size_t(pixel);
            if (table[slot] >= 0) {
                prefix = table[slot];
                continue;
            }
            writer.put(prefix, bits);
            if (next < kMaxCodes) {
                table[slot] = std::int16_t(next);
                if (next == (1 << bits) && bits < kMaxCodeBits)
                    ++bits;
                ++next;
            } else {
                writer.put(clear, bits);
                std::fill(table.begin(), table.end(), std::int16_t(-1));
                next = end + 1;
                bits = minimumBits + 1;
            }
            prefix = pixel;
        }
    }
    writer.put(prefix, bits);
    // The decoder adds one more entry on reading that last code.
    if (next < kMaxCodes && next == (1 << bits) && bits < kMaxCodeBits)
        ++bits;
    writer.put(end, bits);
    return writer.blocks();
}

} // namespace

QByteArray encodeGif(const GifAnimation &animation)
{
    const QList<QRgb> &palette = animation.palette;
    if (palette.isEmpty() || palette.size() > 256 || animation.frames.isEmpty() || animation.size.isEmpty())
        return {};
    for (const QImage &frame : animation.frames)
        if (frame.size() != animation.size || frame.format() != QImage::Format_Indexed8)
            return {};

    int tableBits = 1;
    while ((1 << tableBits) < palette.size())
        ++tableBits;
    const int minimumBits = std::max(2, tableBits);

    QByteArray out("GIF89a");
    appendU16(out, animation.size.width());
    appendU16(out, animation.size.height());
    out.append(char(0x80 | (tableBits - 1) << 4 | (tableBits - 1))); // global table, its size
    out.append('\0'); // background index
    out.append('\0'); // no aspect ratio
    for (int i = 0; i < (1 << tableBits); ++i) {
        const QRgb colour = i < palette.size() ? palette[i] : qRgb(0, 0, 0);
        out.append(char(qRed(colour)));
        out.append(char(qGreen(colour)));
        out.append(char(qBlue(colour)));
    }
    // Loop for ever.
    out.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01", 16);
    appendU16(out, 0);
    out.append('\0');

    for (const QImage &frame : animation.frames) {
        out.append("\x21\xF9\x04", 3);
        out.append(char(1 << 2)); // leave the frame in place
        appendU16(out, animation.delayCentiseconds);
        out.append('\0');
        out.append('\0');

        out.append('\x2C');
        appendU16(out, 0);
        appendU16(out, 0);
        appendU16(out, animation.size.width());
        appendU16(out, animation.size.height());
        out.append('\0');
        out.append(char(minimumBits));
        out.append(lzw(frame, minimumBits));
    }
    out.append('\x3B');
    return out;
}
