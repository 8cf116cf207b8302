#include "gui/controls/BuiltInPictures.h"

#include "gui/controls/SkinLook.h"

#include "core/skins/SkinLayout.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>
#include <utility>

namespace {

QFont arial(int points, bool bold = false)
{
    QFont font(QStringLiteral("Arial"), points);
    font.setBold(bold);
    return font;
}

void paintSky(QPainter &painter, QSize size, QColor top, QColor bottom)
{
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, top);
    sky.setColorAt(1, bottom);
    painter.fillRect(QRect(QPoint(0, 0), size), sky);
}

// A telephone line sagging between two poles, the program's emblem.
void paintLine(QPainter &painter, QRectF area, QColor colour)
{
    painter.setPen(QPen(colour, 3));
    const QPointF left(area.left(), area.top());
    const QPointF right(area.right(), area.top());
    painter.drawLine(left, QPointF(area.left(), area.bottom()));
    painter.drawLine(right, QPointF(area.right(), area.bottom()));
    QPainterPath wire(left);
    wire.quadTo(QPointF(area.center().x(), area.top() + area.height() * 0.6), right);
    painter.setPen(QPen(colour, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(wire);
}

// A meter dial with its needle most of the way round.
void paintDial(QPainter &painter, QPointF centre, qreal radius)
{
    painter.setPen(QPen(QColor(255, 200, 60), 3));
    painter.setBrush(QColor(20, 30, 60));
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(QPen(QColor(200, 210, 230), 2));
    for (int tick = 0; tick < 12; ++tick) {
        const qreal angle = tick * std::numbers::pi / 6;
        const QPointF direction(std::sin(angle), -std::cos(angle));
        painter.drawLine(centre + direction * radius * 0.8, centre + direction * radius * 0.95);
    }
    const qreal needle = std::numbers::pi * 1.4;
    painter.setPen(QPen(QColor(255, 90, 60), 3));
    painter.drawLine(centre, centre + QPointF(std::sin(needle), -std::cos(needle)) * radius * 0.75);
}

void paintField(QPainter &painter, const QRectF &box, QColor fill, QColor border, qreal radius)
{
    painter.setPen(QPen(border, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

void paintCaption(QPainter &painter, const QRect &box, const QString &text, const QFont &font, QRgb colour,
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(colour));
    painter.drawText(box, alignment, text);
}

} // namespace

QImage mainWindowFallbackPicture()
{
    namespace Main = SkinLayout::MainWindow;
    const QColor well(11, 16, 22);
    const QColor wellBorder(70, 84, 102);
    const QColor panel(22, 30, 40);
    const QColor lightField(252, 253, 254);
    const QColor fieldBorder(12, 17, 23);

    QImage picture(Main::kSize, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    paintSky(painter, Main::kSize, QColor(44, 55, 69), QColor(30, 38, 49));
    painter.fillRect(QRect(0, 0, Main::kSize.width(), Main::kTitleHeight), QColor(52, 64, 80));
    painter.setPen(QColor(14, 19, 26));
    painter.drawRect(QRect(QPoint(0, 0), Main::kSize).adjusted(0, 0, -1, -1));
    paintCaption(
        painter, QRect(14, 6, 120, 26), QStringLiteral("Tollwise"), SkinLook::font(17, true), SkinLayout::kLightText);

    paintField(painter, QRectF(Main::DisplayPanel), well, wellBorder, 6);
    paintField(painter, QRectF(Main::ScannerLights).adjusted(-2, -2, 2, 2), well, wellBorder, 3);
    // The provider's name and the count of calls are dark texts on light fields.
    paintField(painter, QRectF(Main::grpSelectedEntry).adjusted(-4, 0, 4, 0), lightField, fieldBorder, 4);
    paintField(painter, QRectF(Main::LabelTotalNumOfCalls).adjusted(-4, 0, 0, 0), lightField, fieldBorder, 4);
    paintCaption(painter, QRect(330, 136, 76, 24), QStringLiteral("Calls"), SkinLook::font(12), SkinLayout::kMutedText,
        Qt::AlignRight | Qt::AlignVCenter);

    const std::pair<QRect, QString> panels[] = { { Main::TodayPanel, QStringLiteral("Today") },
        { Main::MonthPanel, QStringLiteral("This month") }, { Main::TodatePanel, QStringLiteral("To date") } };
    for (const auto &[area, heading] : panels) {
        paintField(painter, QRectF(area), panel, wellBorder, 6);
        paintCaption(painter, QRect(area.left() + 8, area.top() + 1, area.width() - 16, 16), heading,
            SkinLook::font(11, true), SkinLayout::kLcdText);
        for (const auto &[top, caption] : { std::pair { 186, "Time" }, std::pair { 203, "Cost" } })
            paintCaption(painter, QRect(area.left() + 8, top, 34, 16), QString::fromLatin1(caption), SkinLook::font(11),
                SkinLayout::kMutedText);
    }
    return picture;
}

void paintSplashPicture(QPainter &painter, QSize size)
{
    painter.setRenderHint(QPainter::Antialiasing);
    paintSky(painter, size, QColor(20, 40, 90), QColor(5, 10, 30));
    paintLine(painter, QRectF(30, 60, size.width() - 60, 200), QColor(90, 110, 150));
    paintDial(painter, QPointF(size.width() / 2.0, 110), 42);
    painter.setPen(QColor(255, 200, 60));
    painter.setFont(arial(40, true));
    painter.drawText(QRect(0, 165, size.width(), 70), Qt::AlignCenter, QStringLiteral("Tollwise"));
    painter.setPen(QColor(200, 210, 230));
    painter.setFont(arial(12));
    painter.drawText(
        QRect(0, 235, size.width(), 30), Qt::AlignCenter, QStringLiteral("dial-up call costs, to the second"));
}

void paintAboutPicture(QPainter &painter, QSize size)
{
    painter.setRenderHint(QPainter::Antialiasing);
    paintSky(painter, size, QColor(40, 30, 70), QColor(10, 8, 25));
    paintLine(painter, QRectF(20, 50, size.width() - 40, size.height() - 80), QColor(100, 90, 140));
    paintDial(painter, QPointF(size.width() / 2.0, 90), 34);
    painter.setPen(QColor(255, 200, 60));
    painter.setFont(arial(28, true));
    painter.drawText(QRect(0, 130, size.width(), 50), Qt::AlignCenter, QStringLiteral("Tollwise"));
    painter.setPen(QColor(200, 210, 230));
    painter.setFont(arial(10));
    painter.drawText(QRect(0, 180, size.width(), 24), Qt::AlignCenter,
        QStringLiteral("watches your dial-up line and costs every call"));
    painter.drawText(QRect(0, size.height() - 30, size.width(), 20), Qt::AlignCenter, QStringLiteral("click to close"));
}

QPixmap renderPicture(QSize size, qreal ratio, const std::function<void(QPainter &, QSize)> &paint)
{
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::black);
    QPainter painter(&pixmap);
    paint(painter, size);
    return pixmap;
}
