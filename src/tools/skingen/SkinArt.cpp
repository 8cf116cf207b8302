#include "tools/skingen/SkinArt.h"

#include "core/skins/SkinLayout.h"

#include <QLinearGradient>
#include <QPainter>

namespace SkinArt {

QFont font(int pixelSize, bool bold)
{
    QFont result = Look::font(pixelSize, bold);
    result.setStyleStrategy(QFont::PreferAntialias);
    result.setHintingPreference(QFont::PreferFullHinting);
    return result;
}

QImage canvas(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void prepare(QPainter &painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

QPainterPath roundedRect(const QRectF &rect, qreal radius, int corners)
{
    const auto corner = [corners](int bit) { return (corners >> bit) & 1; };
    const qreal d = radius * 2;
    QPainterPath path;
    path.moveTo(rect.left() + (corner(0) ? radius : 0), rect.top());
    path.lineTo(rect.right() - (corner(1) ? radius : 0), rect.top());
    if (corner(1))
        path.arcTo(QRectF(rect.right() - d, rect.top(), d, d), 90, -90);
    path.lineTo(rect.right(), rect.bottom() - (corner(2) ? radius : 0));
    if (corner(2))
        path.arcTo(QRectF(rect.right() - d, rect.bottom() - d, d, d), 0, -90);
    path.lineTo(rect.left() + (corner(3) ? radius : 0), rect.bottom());
    if (corner(3))
        path.arcTo(QRectF(rect.left(), rect.bottom() - d, d, d), 270, -90);
    path.lineTo(rect.left(), rect.top() + (corner(0) ? radius : 0));
    if (corner(0))
        path.arcTo(QRectF(rect.left(), rect.top(), d, d), 180, -90);
    path.closeSubpath();
    return path;
}

void fillGradient(
    QPainter &painter, const QPainterPath &path, const QColor &top, const QColor &bottom, const QColor &border)
{
    const QRectF bounds = path.boundingRect();
    QLinearGradient gradient(bounds.topLeft(), bounds.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.setPen(border.isValid() ? QPen(border, 1) : QPen(Qt::NoPen));
    painter.setBrush(gradient);
    painter.drawPath(path);
}

void drawWell(QPainter &painter, const QRectF &rect, const QColor &fill, const QColor &border, qreal radius)
{
    const QRectF inner = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(border, 1));
    painter.setBrush(fill);
    painter.drawPath(roundedRect(inner, radius));
    QColor shade = fill.lightness() > 128 ? QColor(0, 0, 0, 22) : QColor(0, 0, 0, 60);
    painter.setPen(QPen(shade, 1));
    painter.drawLine(QPointF(inner.left() + radius, inner.top() + 1), QPointF(inner.right() - radius, inner.top() + 1));
}

void drawText(QPainter &painter, const QRectF &box, const QString &text, const QFont &font, const QColor &colour,
    Qt::Alignment alignment)
{
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(box, int(alignment), text);
}

void drawLookButton(QPainter &painter, const QRectF &box, ButtonState state, Look::ButtonSize size,
    const QString &caption, const std::function<void(QPainter &, const QRectF &, const QColor &)> &icon)
{
    const Look::ButtonFace &face = state == ButtonState::Up ? Look::kButtonUp
        : state == ButtonState::Hot                         ? Look::kButtonHot
                                                            : Look::kButtonDown;
    const QRectF edge = box.adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(QColor::fromRgb(face.border), 1));
    painter.setBrush(QColor::fromRgb(face.fill));
    painter.drawRoundedRect(edge, Look::kButtonRadius, Look::kButtonRadius);
    const QColor ink = QColor::fromRgb(face.text);
    const QFont type = font(Look::buttonFont(size).pixelSize(), Look::buttonFont(size).bold());
    if (!icon) {
        drawText(painter, box, caption, type, ink, Qt::AlignCenter);
        return;
    }
    // The icon and the caption centred together.
    constexpr qreal kIcon = 12;
    constexpr qreal kGap = 5;
    const qreal width = kIcon + kGap + QFontMetricsF(type).horizontalAdvance(caption);
    const qreal left = box.center().x() - width / 2;
    icon(painter, QRectF(left, box.center().y() - kIcon / 2, kIcon, kIcon), ink);
    drawText(painter, QRectF(left + kIcon + kGap, box.top(), width, box.height()), caption, type, ink);
}

namespace {

const QColor kKeyColour = QColor::fromRgb(SkinLayout::kKey);

// Nothing but the cut may be pure blue: a stray pixel of it would be a hole.
QRgb offKey(QRgb colour) { return (colour & 0xFFFFFFu) == (SkinLayout::kKey & 0xFFFFFFu) ? qRgb(0, 0, 254) : colour; }

} // namespace

QImage cutWindow(const QImage &canvas, const QColor &edge)
{
    QImage flat(canvas.size(), QImage::Format_RGB32);
    flat.fill(edge);
    {
        QPainter painter(&flat);
        painter.drawImage(0, 0, canvas);
    }
    for (int y = 0; y < flat.height(); ++y) {
        const auto *alpha = reinterpret_cast<const QRgb *>(canvas.constScanLine(y));
        auto *line = reinterpret_cast<QRgb *>(flat.scanLine(y));
        for (int x = 0; x < flat.width(); ++x)
            line[x] = qAlpha(alpha[x]) < 128 ? kKeyColour.rgb() : offKey(line[x]);
    }
    return flat;
}

QImage buttonPicture(
    const QImage &background, const QRect &rect, const std::function<void(QPainter &, const QRectF &)> &paint)
{
    const QImage under = background.copy(rect).convertToFormat(QImage::Format_RGB32);
    QImage picture = under;
    {
        QPainter painter(&picture);
        prepare(painter);
        paint(painter, QRectF(0, 0, rect.width(), rect.height()));
    }
    for (int y = 0; y < picture.height(); ++y) {
        const auto *before = reinterpret_cast<const QRgb *>(under.constScanLine(y));
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            line[x] = line[x] == before[x] ? kKeyColour.rgb() : offKey(line[x]);
    }
    return picture;
}

void addButton(SkinSet &skin, const QString &prefix, const QImage &background, const QRect &rect,
    const std::function<void(QPainter &, const QRectF &, ButtonState)> &paint)
{
    const struct {
        const char *suffix;
        ButtonState state;
    } states[] = { { "_up", ButtonState::Up }, { "_hot", ButtonState::Hot }, { "_down", ButtonState::Down } };
    for (const auto &s : states)
        skin.insert(prefix + QLatin1String(s.suffix),
            buttonPicture(
                background, rect, [&](QPainter &painter, const QRectF &box) { paint(painter, box, s.state); }));
}

} // namespace SkinArt
