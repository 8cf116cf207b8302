// Decoding speed of skin bitmaps: every image of the default skin, read
// through the decoded-image cache and decoded afresh, and a 1024 x 768 24-bit
// compressed picture. Prints MB/s of decoded output.
#include "core/skins/Lzhuf.h"
#include "core/skins/SkinImageCache.h"
#include "core/skins/TCompressedDib.h"
#include "core/skins/UbmEncoder.h"
#include "core/skins/UbmHeader.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstdio>

namespace {

struct Timing {
    double milliseconds = 0; // per round
    double megabytesPerSecond = 0;
};

template <typename Work> Timing measure(qint64 bytesPerRound, Work work)
{
    // Enough rounds for a quarter of a second, at least three.
    QElapsedTimer clock;
    int rounds = 0;
    clock.start();
    while (rounds < 3 || clock.nsecsElapsed() < 250'000'000) {
        work();
        ++rounds;
    }
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    return { seconds * 1000 / rounds, double(bytesPerRound) * rounds / seconds / 1e6 };
}

// A photograph-like test picture: smooth gradients, hard-edged shapes and
// a little noise, so that both coders have work of every kind.
QImage testPicture()
{
    QImage image(1024, 768, QImage::Format_RGB32);
    QRandomGenerator random(3);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            int r = x * 255 / 1023;
            int g = y * 255 / 767;
            int b = ((x / 64 + y / 48) % 2) ? 200 : 60;
            if ((x - 512) * (x - 512) + (y - 384) * (y - 384) < 200 * 200)
                r = g = 240;
            const int noise = int(random.bounded(9)) - 4;
            line[x] = qRgb(qBound(0, r + noise, 255), qBound(0, g + noise, 255), qBound(0, b, 255));
        }
    }
    return image;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

qint64 imageBytes(const QImage &image) { return image.sizeInBytes(); }

void report(const char *what, const Timing &timing)
{
    std::printf("%-44s %9.3f ms %9.1f MB/s\n", what, timing.milliseconds, timing.megabytesPerSecond);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(TOLLWISE_DEFAULT_SKIN);

    QList<QByteArray> files;
    QStringList paths;
    for (const QString &name : QDir(folder).entryList({ QStringLiteral("*.ubm") }, QDir::Files, QDir::Name)) {
        paths.append(QDir(folder).filePath(name));
        files.append(readFile(paths.last()));
    }
    if (files.isEmpty()) {
        std::fprintf(stderr, "no skin images in %s\n", qPrintable(folder));
        return 1;
    }

    qint64 skinOutput = 0;
    qint64 skinBodies = 0;
    qint64 skinInput = 0;
    for (const QByteArray &file : files) {
        skinInput += file.size();
        skinOutput += imageBytes(TCompressedDib::fromBytes(file).dib.image());
        skinBodies += qFromLittleEndian<quint32>(file.constData() + UbmHeader::kSize);
    }
    std::printf("default skin: %lld images, %lld bytes of files, %lld bytes decoded\n", qlonglong(files.size()),
        qlonglong(skinInput), qlonglong(skinOutput));
    // A start after the first: every image read from its cache entry.
    QTemporaryDir cacheFolder;
    const SkinImageCache cache(cacheFolder.path());
    for (const QString &path : paths)
        (void)cache.load(path);
    const Timing skinLoad = measure(skinOutput, [&] {
        for (const QString &path : paths)
            (void)cache.load(path);
    });
    report("whole default skin, from the cache (per load)", skinLoad);
    std::printf("figure: skin-load %.3f ms\n", skinLoad.milliseconds);
    const Timing skinDecode = measure(skinOutput, [&] {
        for (const QByteArray &file : files)
            (void)TCompressedDib::fromBytes(file);
    });
    report("whole default skin, decoded (per load)", skinDecode);
    std::printf("figure: skin-decode %.3f ms\n", skinDecode.milliseconds);
    report("default skin, LZHUF stage only", measure(skinBodies, [&] {
        for (const QByteArray &file : files)
            (void)lzhufDecode(QByteArrayView(file).sliced(UbmHeader::kSize), qsizetype(1) << 30);
    }));

    const QImage picture = testPicture();
    const QByteArray compressed = encodeUbm(picture, { DibFormat::Bits24, DibFormat::Bits24, true, false }).bytes;
    const QByteArray plain = encodeUbm(picture, { DibFormat::Bits24, DibFormat::Bits24, false, false }).bytes;
    const qint64 body = qFromLittleEndian<quint32>(compressed.constData() + UbmHeader::kSize);
    const qint64 output = imageBytes(TCompressedDib::fromBytes(compressed).dib.image());
    std::printf("1024 x 768 24 bits: %lld bytes compressed, %lld bytes of body\n", qlonglong(compressed.size()),
        qlonglong(body));
    report("1024 x 768, whole decode", measure(output, [&] { (void)TCompressedDib::fromBytes(compressed); }));
    report("1024 x 768, LZHUF stage only", measure(body, [&] {
        (void)lzhufDecode(QByteArrayView(compressed).sliced(UbmHeader::kSize), qsizetype(1) << 30);
    }));
    report("1024 x 768, run-length and pixels only", measure(output, [&] { (void)TCompressedDib::fromBytes(plain); }));
    report("1024 x 768, encode (for reference)", measure(output, [&] {
        (void)encodeUbm(picture, { DibFormat::Bits24, DibFormat::Bits24, true, false });
    }));
    return 0;
}
