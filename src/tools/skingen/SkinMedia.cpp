#include "tools/skingen/SkinMedia.h"

#include "tools/skingen/GifWriter.h"
#include "tools/skingen/Icons.h"
#include "tools/skingen/SkinArt.h"
#include "tools/skingen/WaveWriter.h"

#include "core/skins/SkinLayout.h"

#include <QPainter>

#include <cmath>
#include <numbers>

using namespace SkinArt;

namespace {

constexpr int kFrames = 12;
constexpr int kRampSteps = 32;

QColor blend(const QColor &from, const QColor &to, qreal t)
{
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * t),
        float(from.greenF() + (to.greenF() - from.greenF()) * t),
        float(from.blueF() + (to.blueF() - from.blueF()) * t));
}

// Two ramps from the well's colour, to the accent and to white: every
// antialiased pixel of the frames lies close to one of them.
QList<QRgb> animationPalette()
{
    QList<QRgb> palette;
    for (int i = 0; i < kRampSteps; ++i)
        palette.append(blend(Colour::kWell, Colour::kAccentHot, qreal(i) / (kRampSteps - 1)).rgb());
    for (int i = 0; i < kRampSteps; ++i)
        palette.append(blend(Colour::kWell, QColor(250, 252, 255), qreal(i) / (kRampSteps - 1)).rgb());
    return palette;
}

QImage frame(int index, const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Colour::kWell);
    QPainter painter(&image);
    prepare(painter);
    const QPointF centre(size.width() / 2.0, size.height() / 2.0);
    QRectF handset(0, 0, 34, 34);
    handset.moveCenter(centre);
    Icons::handset(painter, handset, QColor(250, 252, 255), false);
    constexpr int kDots = 12;
    for (int dot = 0; dot < kDots; ++dot) {
        const qreal angle = 2 * std::numbers::pi * dot / kDots - std::numbers::pi / 2;
        const int age = (index - dot + kDots) % kDots; // 0: the head of the chase
        const qreal strength = std::max(0.15, 1.0 - age / 5.0);
        painter.setPen(Qt::NoPen);
        painter.setBrush(blend(Colour::kWell, Colour::kAccentHot, strength));
        const QPointF at = centre + QPointF(31 * std::cos(angle), 31 * std::sin(angle));
        painter.drawEllipse(at, 4, 4);
    }
    return image;
}

struct Note {
    double frequency; // Hz
    double seconds;
};

// Notes with a quick attack, an exponential fade and a little second harmonic.
QByteArray tune(std::initializer_list<Note> notes)
{
    constexpr int kRate = 22050;
    QList<std::int16_t> samples;
    for (const Note &note : notes) {
        const int count = int(note.seconds * kRate);
        for (int i = 0; i < count; ++i) {
            const double t = double(i) / kRate;
            const double attack = std::min(1.0, t / 0.006);
            const double release = std::min(1.0, (note.seconds - t) / 0.01);
            const double envelope = attack * release * std::exp(-t * 5.0);
            const double wave = std::sin(2 * std::numbers::pi * note.frequency * t)
                + 0.25 * std::sin(4 * std::numbers::pi * note.frequency * t);
            samples.append(std::int16_t(std::lround(wave / 1.25 * envelope * 0.6 * 32767)));
        }
    }
    return encodeWave(samples, kRate);
}

} // namespace

QByteArray SkinMedia::connectingAnimation()
{
    GifAnimation animation;
    animation.size = SkinLayout::ConnectDialog::GIFAnimation.size();
    animation.palette = animationPalette();
    animation.delayCentiseconds = 8;
    for (int i = 0; i < kFrames; ++i)
        animation.frames.append(frame(i, animation.size).convertToFormat(QImage::Format_Indexed8, animation.palette));
    return encodeGif(animation);
}

QByteArray SkinMedia::connectedSound() { return tune({ { 784.0, 0.12 }, { 1046.5, 0.30 } }); }

QByteArray SkinMedia::warningSound()
{
    return tune({ { 880.0, 0.16 }, { 659.25, 0.16 }, { 880.0, 0.16 }, { 659.25, 0.30 } });
}

QByteArray SkinMedia::welcomeSound() { return tune({ { 523.25, 0.11 }, { 659.25, 0.11 }, { 783.99, 0.34 } }); }
