#include "core/store/Cp1252.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>

namespace {

// Unicode values of the bytes 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC,
    0x0081,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x02C6,
    0x2030,
    0x0160,
    0x2039,
    0x0152,
    0x008D,
    0x017D,
    0x008F,
    0x0090,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x02DC,
    0x2122,
    0x0161,
    0x203A,
    0x0153,
    0x009D,
    0x017E,
    0x0178,
};

char encodeOne(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c)
            return char(0x80 + i);
    }
    return '?';
}

} // namespace

namespace cp1252 {

QString decode(const char *bytes, std::size_t length)
{
    QString text;
    text.reserve(qsizetype(length));
    for (std::size_t i = 0; i < length; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        text.append(b >= 0x80 && b < 0xA0 ? QChar(kHighControls[b - 0x80]) : QChar(b));
    }
    return text;
}

QByteArray encode(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i; // one character outside the code page, one '?'
        bytes.append(encodeOne(c.unicode()));
    }
    return bytes;
}

bool holds(const QString &text)
{
    return std::ranges::none_of(text, [](QChar c) { return c != QLatin1Char('?') && encodeOne(c.unicode()) == '?'; });
}

QByteArray encodeName(const QString &text, std::size_t capacity)
{
    const QString head = text.left(qsizetype(capacity));
    // Some code page bytes also form valid UTF-8 ("É’" is C9 92, which reads
    // as "ɒ"): such a name is stored as UTF-8 so that it reads back as written.
    if (holds(head)) {
        QByteArray bytes = encode(head);
        if (decodeName(bytes.constData(), std::size_t(bytes.size())) == head)
            return bytes;
    }
    QByteArray bytes = text.toUtf8();
    auto size = std::min<qsizetype>(bytes.size(), qsizetype(capacity));
    // Back off over continuation bytes so the cut lands between characters.
    while (size > 0 && size < bytes.size() && (static_cast<unsigned char>(bytes[size]) & 0xC0) == 0x80)
        --size;
    bytes.truncate(size);
    return bytes;
}

QString decodeName(const char *bytes, std::size_t length)
{
    const QByteArrayView view(bytes, qsizetype(length));
    const bool multiByte = std::ranges::any_of(view, [](char b) { return static_cast<unsigned char>(b) >= 0x80; });
    if (multiByte) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8.decode(view);
        if (!utf8.hasError())
            return text;
    }
    return decode(bytes, length);
}

} // namespace cp1252
