#include "core/skins/UbmHeader.h"

#include <QtEndian>

std::optional<UbmHeader> UbmHeader::parse(QByteArrayView bytes)
{
    if (bytes.size() < kSize || std::uint8_t(bytes[0]) != kMagic0 || std::uint8_t(bytes[1]) != kMagic1)
        return std::nullopt;
    const char *data = bytes.data();
    UbmHeader header;
    header.width = qFromLittleEndian<quint16>(data + 2);
    header.height = qFromLittleEndian<quint16>(data + 4);
    header.storedFormat = std::uint8_t(data[6]);
    header.builtFormat = std::uint8_t(data[7]);
    header.flags = std::uint8_t(data[8]);
    header.paletteEntries = std::uint8_t(data[10]);
    header.bodyLength = qFromLittleEndian<quint32>(data + 16);
    return header;
}

QByteArray UbmHeader::bytes() const
{
    QByteArray out(kSize, '\0');
    char *data = out.data();
    data[0] = char(kMagic0);
    data[1] = char(kMagic1);
    qToLittleEndian<quint16>(width, data + 2);
    qToLittleEndian<quint16>(height, data + 4);
    data[6] = char(storedFormat);
    data[7] = char(builtFormat);
    data[8] = char(flags);
    data[10] = char(paletteEntries);
    qToLittleEndian<quint32>(bodyLength, data + 16);
    return out;
}
