#include "tools/skin/SkinCommands.h"

#include "core/skins/DibFormat.h"
#include "core/skins/TCompressedDib.h"
#include "core/skins/UbmEncoder.h"
#include "core/skins/UbmHeader.h"
#include "core/store/AtomicFile.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QtEndian>

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

const char *const kUsageText = "usage: tollwise-skin unpack IN OUT.png\n"
                               "       tollwise-skin pack IN OUT.ubm [--format N] [--no-compress]"
                               " [--palette stored|standard]\n"
                               "       tollwise-skin info IN\n"
                               "formats: 0 = 1 bit, 1 = 4 bits, 2 = 8 bits, 3 = 16 bits 555, 4 = 16 bits 565,"
                               " 5 = 24 bits, 6 = 32 bits\n";

int usage(QTextStream &err)
{
    err << kUsageText;
    return kUsage;
}

bool readFile(const QString &path, QByteArray &bytes, QTextStream &err)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err << path << ": " << file.errorString() << "\n";
        return false;
    }
    bytes = file.readAll();
    return true;
}

bool writeFile(const QString &path, const QByteArray &bytes, QTextStream &err)
{
    const auto written = writeFileAtomically(path, bytes);
    if (!written) {
        err << path << ": " << written.error().reason << "\n";
        return false;
    }
    return true;
}

bool isSkinBitmap(const QByteArray &bytes)
{
    return bytes.startsWith("BM") || bytes.startsWith(QByteArray("\xFE\x4D", 2));
}

const char *formatName(int code)
{
    static const char *const names[]
        = { "1 bit", "4 bits", "8 bits", "16 bits 555", "16 bits 565", "24 bits", "32 bits" };
    return code >= 0 && code <= 6 ? names[code] : "not valid";
}

int unpack(const QString &in, const QString &out, QTextStream &err)
{
    QByteArray bytes;
    if (!readFile(in, bytes, err))
        return kFailed;
    const DibLoaded loaded = TCompressedDib::fromBytes(bytes);
    if (loaded.error != SkinError::None) {
        err << in << ": " << skinErrorText(loaded.error) << "\n";
        return kFailed;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!loaded.dib.image().save(&buffer, "PNG")) {
        err << out << ": the image could not be coded as PNG\n";
        return kFailed;
    }
    return writeFile(out, png, err) ? kDone : kFailed;
}

int pack(const QStringList &arguments, QTextStream &err)
{
    UbmOptions options;
    QStringList files;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QLatin1String("--format") && i + 1 < arguments.size()) {
            bool number = false;
            const std::optional<DibFormat> format = dibFormatFromCode(arguments[++i].toInt(&number));
            if (!number || !format)
                return usage(err);
            options.storedFormat = options.builtFormat = *format;
        } else if (argument == QLatin1String("--no-compress")) {
            options.compress = false;
        } else if (argument == QLatin1String("--palette") && i + 1 < arguments.size()) {
            const QString &palette = arguments[++i];
            if (palette != QLatin1String("stored") && palette != QLatin1String("standard"))
                return usage(err);
            options.standardPalette = palette == QLatin1String("standard");
        } else if (argument.startsWith(QLatin1String("--"))) {
            return usage(err);
        } else {
            files.append(argument);
        }
    }
    if (files.size() != 2)
        return usage(err);

    QByteArray bytes;
    if (!readFile(files[0], bytes, err))
        return kFailed;
    QImage image;
    if (isSkinBitmap(bytes)) {
        const DibLoaded loaded = TCompressedDib::fromBytes(bytes);
        if (loaded.error != SkinError::None) {
            err << files[0] << ": " << skinErrorText(loaded.error) << "\n";
            return kFailed;
        }
        image = loaded.dib.image();
    } else if (!image.loadFromData(bytes)) {
        err << files[0] << ": not an image this tool can read\n";
        return kFailed;
    }
    const UbmEncoded encoded = encodeUbm(image, options);
    if (!encoded.error.isEmpty()) {
        err << files[0] << ": " << encoded.error << "\n";
        return kFailed;
    }
    return writeFile(files[1], encoded.bytes, err) ? kDone : kFailed;
}

void describeCompressed(const QByteArray &bytes, const UbmHeader &header, QTextStream &out)
{
    out << "kind: compressed bitmap\n"
        << "width: " << header.width << "\n"
        << "height: " << header.height << "\n"
        << "stored format: " << header.storedFormat << " (" << formatName(header.storedFormat) << ")\n"
        << "built format: " << header.builtFormat << " (" << formatName(header.builtFormat) << ")\n"
        << "flags: " << header.flags;
    QStringList flags;
    if (header.flags & UbmHeader::kCompressed)
        flags << QStringLiteral("compressed");
    if (header.flags & UbmHeader::kStandardPalette)
        flags << QStringLiteral("standard palette");
    if (header.flags & UbmHeader::kAlphaBlock)
        flags << QStringLiteral("alpha block");
    if (!flags.isEmpty())
        out << " (" << flags.join(QStringLiteral(", ")) << ")";
    out << "\n"
        << "palette entries: " << header.paletteEntries << "\n"
        << "bytes 16-19: " << header.bodyLength << "\n";
    if ((header.flags & UbmHeader::kCompressed) && bytes.size() >= UbmHeader::kSize + 4)
        out << "decoded body length: " << qFromLittleEndian<quint32>(bytes.constData() + UbmHeader::kSize) << "\n";
}

void describeWindowsBitmap(const QByteArray &bytes, QTextStream &out)
{
    out << "kind: Windows bitmap\n";
    if (bytes.size() < 34)
        return;
    const char *data = bytes.constData();
    const auto headerSize = qFromLittleEndian<quint32>(data + 14);
    if (headerSize == 12) {
        out << "width: " << qFromLittleEndian<quint16>(data + 18) << "\n"
            << "height: " << qFromLittleEndian<quint16>(data + 20) << "\n"
            << "bits per pixel: " << qFromLittleEndian<quint16>(data + 24) << "\n";
        return;
    }
    out << "width: " << qFromLittleEndian<qint32>(data + 18) << "\n"
        << "height: " << qFromLittleEndian<qint32>(data + 22) << "\n"
        << "bits per pixel: " << qFromLittleEndian<quint16>(data + 28) << "\n"
        << "compression: " << qFromLittleEndian<quint32>(data + 30) << "\n";
}

int info(const QString &in, QTextStream &out, QTextStream &err)
{
    QByteArray bytes;
    if (!readFile(in, bytes, err))
        return kFailed;
    out << "file: " << in << " (" << bytes.size() << " bytes)\n";
    if (const auto header = UbmHeader::parse(bytes))
        describeCompressed(bytes, *header, out);
    else if (bytes.startsWith("BM"))
        describeWindowsBitmap(bytes, out);
    const DibLoaded loaded = TCompressedDib::fromBytes(bytes);
    if (loaded.error != SkinError::None) {
        err << in << ": " << skinErrorText(loaded.error) << "\n";
        return kFailed;
    }
    out << "reads as: " << loaded.dib.width() << " x " << loaded.dib.height() << "\n";
    return kDone;
}

} // namespace

int runSkinCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    if (arguments.isEmpty())
        return usage(err);
    const QString &command = arguments.front();
    if (command == QLatin1String("unpack") && arguments.size() == 3)
        return unpack(arguments[1], arguments[2], err);
    if (command == QLatin1String("pack"))
        return pack(arguments.mid(1), err);
    if (command == QLatin1String("info") && arguments.size() == 2)
        return info(arguments[1], out, err);
    return usage(err);
}
