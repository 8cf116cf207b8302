#include "core/skins/RunLengthCode.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint8_t kEscape = 0xFF;
constexpr int kMaxRun = 63;
constexpr int kMaxLiterals = 3;

class PixelSink {
public:
    explicit PixelSink(std::span<std::uint8_t> pixels)
        : m_pixels(pixels)
    {
    }

    void put(std::uint8_t byte)
    {
        if (m_at < m_pixels.size())
            m_pixels[m_at++] = byte;
    }

    void repeat(std::uint8_t byte, std::size_t count)
    {
        const std::size_t n = std::min(count, m_pixels.size() - m_at);
        if (n == 0)
            return;
        std::memset(m_pixels.data() + m_at, byte, n);
        m_at += n;
    }

    void copy(const std::uint8_t *bytes, std::size_t count)
    {
        const std::size_t n = std::min(count, m_pixels.size() - m_at);
        if (n == 0)
            return;
        std::memcpy(m_pixels.data() + m_at, bytes, n);
        m_at += n;
    }

    [[nodiscard]] qsizetype written() const { return qsizetype(m_at); }

private:
    std::span<std::uint8_t> m_pixels;
    std::size_t m_at = 0;
};

} // namespace

RunLengthDecoded runLengthDecode(QByteArrayView code, std::span<std::uint8_t> pixels)
{
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(code.data());
    const qsizetype size = code.size();
    PixelSink sink(pixels);
    qsizetype at = 0;
    bool counted = false;
    while (at < size) {
        if (!counted) {
            // Plain bytes up to the next escape go out as they are.
            const auto *escape
                = static_cast<const std::uint8_t *>(std::memchr(bytes + at, kEscape, std::size_t(size - at)));
            const qsizetype stop = escape ? escape - bytes : size;
            sink.copy(bytes + at, std::size_t(stop - at));
            at = stop;
            if (at + 1 >= size)
                break;
            ++at;
            if (bytes[at] == kEscape) {
                sink.put(kEscape);
                ++at;
                continue;
            }
            counted = true;
            continue;
        }
        const std::uint8_t control = bytes[at++];
        const int n = control & kMaxRun;
        const int k = control >> 6;
        if (n == 0)
            return { at, sink.written(), true };
        if (at + 1 + k > size)
            break;
        sink.repeat(bytes[at++], std::size_t(n));
        for (int i = 0; i < k; ++i)
            sink.put(bytes[at++]);
        counted = k < kMaxLiterals;
    }
    return { size, sink.written(), false };
}

namespace {

int runAt(const std::uint8_t *bytes, qsizetype at, qsizetype size)
{
    int run = 1;
    while (run < kMaxRun && at + run < size && bytes[at + run] == bytes[at])
        ++run;
    return run;
}

// A run worth a control byte of its own.
bool startsRun(const std::uint8_t *bytes, qsizetype at, qsizetype size)
{
    return at < size && runAt(bytes, at, size) >= 3;
}

} // namespace

QByteArray runLengthEncode(QByteArrayView pixels)
{
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(pixels.data());
    const qsizetype size = pixels.size();
    QByteArray out;
    out.reserve(size / 2 + 16);
    bool counted = false;
    qsizetype at = 0;
    while (at < size) {
        const int run = runAt(bytes, at, size);
        const bool worthCounting = run >= 3 || (run == 2 && bytes[at] == kEscape);
        if (!counted && !worthCounting) {
            // Plain mode: one byte, FF doubled.
            out.append(char(bytes[at]));
            if (bytes[at] == kEscape)
                out.append(char(kEscape));
            ++at;
            continue;
        }
        // A run (of one or two bytes when already counting), then up to three
        // literals that do not start a run of their own.
        const qsizetype next = at + run;
        int literals = 0;
        while (literals < kMaxLiterals && next + literals < size && !startsRun(bytes, next + literals, size))
            ++literals;
        if (!counted) {
            out.append(char(kEscape));
            counted = true;
            // FF FF would read as one FF: the first control byte must not be FF.
            if (run == kMaxRun && literals == kMaxLiterals)
                --literals;
        }
        out.append(char(run | literals << 6));
        out.append(char(bytes[at]));
        out.append(reinterpret_cast<const char *>(bytes + next), literals);
        at = next + literals;
        counted = literals < kMaxLiterals;
    }
    if (!counted)
        out.append(char(kEscape));
    out.append(char(0));
    return out;
}
