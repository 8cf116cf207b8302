#include "tools/skingen/Icons.h"
#include "tools/skingen/SkinPictures.h"

#include "core/skins/SkinLayout.h"

#include <QPainter>

using namespace SkinArt;
namespace Log = SkinLayout::CallLogWindow;

namespace {

const QColor kFrameTop { 30, 38, 49 };
const QColor kFrame { 26, 33, 43 };
const QColor kFrameBottom { 22, 28, 37 };
const QColor kRuleDark { 200, 206, 218 };

QColor mix(const QColor &a, const QColor &b, qreal t)
{
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
        float(a.greenF() + (b.greenF() - a.greenF()) * t), float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

// The plain cell: a light rule down its left and along its bottom, the rest a
// faint vertical gradient. (u, v) inside the 65 x 15 piece.
QColor cellTexture(int u, int v)
{
    const int height = Log::kCellTexture.height();
    if (u == 0)
        return Colour::kRule;
    if (v == height - 1)
        return QColor(228, 232, 240);
    return mix(QColor(255, 255, 255), QColor(245, 247, 251), qreal(v) / (height - 2));
}

// The header bar, repeated in cells of 56 pixels from x 12: a highlight at
// each cell's left, a separator at its right.
QColor headerBar(int x, int y)
{
    const int row = y - Log::kHeaderLeft.top();
    const int rows = Log::kHeaderLeft.height();
    if (row == rows - 1)
        return QColor(160, 170, 190);
    const int phase = (x - Log::kHeaderLeft.left()) % 56;
    if (phase == 0)
        return QColor(250, 252, 255);
    if (phase == 55)
        return QColor(150, 160, 182);
    return mix(QColor(238, 242, 249), QColor(204, 212, 228), qreal(row) / (rows - 2));
}

QImage callLogImage()
{
    QImage image(Log::kImageSize, QImage::Format_RGB32);
    const int width = image.width();
    const int height = image.height();
    const int innerTop = Log::kGridTop;
    const int innerBottom = Log::kBottomStrip.top(); // first row of the bottom strip
    for (int y = 0; y < height; ++y) {
        QColor frame = kFrame;
        if (y < Log::kTopStrip.height())
            frame = mix(kFrameTop, kFrame, qreal(y) / Log::kTopStrip.height());
        else if (y >= innerBottom)
            frame = mix(kFrame, kFrameBottom, qreal(y - innerBottom) / Log::kBottomStrip.height());
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = frame.rgb();
    }

    // The grid's box: header bar, cell texture, rules along both edges and
    // under the grid, where the bottom strip begins.
    const int left = Log::kCellTexture.left();
    const int right = Log::kRightEdge.left();
    for (int y = innerTop; y < Log::kLeftEdge.bottom() + 1; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = left; x <= right; ++x) {
            QColor colour;
            if (x == left || x == right)
                colour = Colour::kRule;
            else if (y == innerBottom)
                colour = kRuleDark;
            else if (y > innerBottom)
                colour = QColor::fromRgb(line[x]);
            else if (y < Log::kHeaderLeft.bottom() + 1)
                colour = headerBar(x, y);
            else {
                const int u = (x - left) % Log::kCellTexture.width();
                const int v = ((y - Log::kCellTexture.top()) % Log::kCellTexture.height() + Log::kCellTexture.height())
                    % Log::kCellTexture.height();
                colour = cellTexture(u, v);
            }
            line[x] = colour.rgb();
        }
    }

    QPainter painter(&image);
    prepare(painter);
    // Outer border down both sides and along the bottom.
    painter.setPen(Colour::kOutline);
    painter.drawLine(QPointF(0.5, 0), QPointF(0.5, height));
    painter.drawLine(QPointF(width - 0.5, 0), QPointF(width - 0.5, height));
    painter.drawLine(QPointF(0, height - 0.5), QPointF(width, height - 0.5));

    drawText(painter, QRectF(18, 24, 200, 26), QStringLiteral("Call log"), font(14, true), Colour::kLightText);

    // Bottom strip: the statistics well and the provider filter's field.
    const int statTop = height - Log::kStatButtonsFromBottom;
    drawWell(
        painter, QRectF(12, statTop - 2, 468, Log::kStatButtonSize.height() + 4), Colour::kWell, QColor(14, 19, 26), 5);
    const int providerTop = height - Log::kProviderRowFromBottom;
    drawText(painter, QRectF(12, providerTop - 1, Log::kLabelProviderLeft - 18, 24), QStringLiteral("Showing"),
        font(11), Colour::kMutedText, Qt::AlignRight | Qt::AlignVCenter);
    drawWell(painter,
        QRectF(Log::kLabelProviderLeft - 2, providerTop - 1,
            Log::kButtonChooseProviderLeft + Log::kButtonChooseProviderSize.width() - Log::kLabelProviderLeft + 2, 24),
        QColor(255, 255, 255), QColor(12, 17, 23), 4);
    return image;
}

using IconFunction = void (*)(QPainter &, const QRectF &, const QColor &);

QImage handleImage()
{
    const QSize size = SkinLayout::Handle::kSize;
    QImage image = canvas(size);
    QPainter painter(&image);
    prepare(painter);
    const QRectF whole(0, 0, size.width(), size.height());
    fillGradient(painter, roundedRect(whole, 6, 0b1100), kFrameBottom, QColor(18, 23, 31));
    painter.setPen(QPen(Colour::kOutline, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(roundedRect(whole.adjusted(0.5, -1, -0.5, -0.5), 5.5, 0b1100));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Colour::kMutedText);
    painter.drawRoundedRect(QRectF(whole.center().x() - 20, 4, 40, 3), 1.5, 1.5);
    painter.end();
    return cutWindow(image, Colour::kOutline);
}

} // namespace

void SkinPictures::drawCallLog(SkinSet &skin)
{
    const QImage background = callLogImage();
    skin.insert(QStringLiteral("CallLog"), background);
    const struct {
        const char *prefix;
        QRect rect;
        IconFunction icon;
        const char *text;
    } buttons[] = {
        { "CallLogEdit", Log::ButtonEdit, Icons::pencil, "Edit" },
        { "CallLogDelete", Log::ButtonDelete, Icons::trash, "Delete" },
        { "CallLogClear", Log::ButtonClear, Icons::sweep, "Clear" },
    };
    for (const auto &b : buttons)
        addButton(skin, QString::fromLatin1(b.prefix), background, b.rect,
            [&b](QPainter &painter, const QRectF &box, ButtonState state) {
                drawLookButton(painter, box, state, Look::ButtonSize::Small, QString::fromLatin1(b.text), b.icon);
            });
    skin.insert(QStringLiteral("Handle"), handleImage());
}
