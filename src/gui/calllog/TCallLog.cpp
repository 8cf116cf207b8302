#include "calllog/TCallLog.h"

#include "skins/SkinLibrary.h"
#include "ui/WindowOutline.h"

#include <QPainter>

namespace {

// Rows of the skin: the top strip, the stretchable sides, the bottom strip.
constexpr int kTopStrip = 65;
constexpr int kBottomStrip = 75;
constexpr int kSideWidth = 12;
constexpr QRect kSourceTop(0, 0, 492, 65);
constexpr QRect kSourceLeft(0, 65, 12, 135);
constexpr QRect kSourceRight(480, 65, 12, 135);
constexpr QRect kSourceBottom(0, 197, 492, 75);

} // namespace

TCallLog::TCallLog(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("TCallLog"));
    setFixedWidth(kWidth);
    setMinimumHeight(1);
}

void TCallLog::loadSkin()
{
    SkinLibrary::LoadSkinImage(Image1, QStringLiteral("CallLog"));
    rebuildOutline();
    update();
}

QImage TCallLog::composeFrame() const
{
    const int h = height();
    QImage frame(kWidth, h, QImage::Format_RGB32);
    frame.fill(Qt::white);
    QPainter painter(&frame);
    auto piece = [&](const QRect &source, const QRect &target) {
        if (target.width() > 0 && target.height() > 0)
            painter.drawImage(target, Image1, source);
    };
    if (h >= kBottomStrip)
        piece(kSourceTop, QRect(0, 0, kWidth, kTopStrip));
    piece(kSourceLeft, QRect(QPoint(0, kTopStrip), QPoint(kSideWidth - 1, h - kBottomStrip - 1)));
    piece(kSourceRight, QRect(QPoint(kWidth - kSideWidth, kTopStrip), QPoint(kWidth - 1, h - kBottomStrip - 1)));
    piece(kSourceBottom, QRect(0, h - kBottomStrip, kWidth, kBottomStrip));
    return frame;
}

void TCallLog::rebuildOutline()
{
    // The frame's key-coloured corners are cut away; without a skin the
    // window stays a rectangle.
    const QRegion outline = Image1.isNull() || height() <= 1
                                ? QRegion()
                                : outlineRegion(composeFrame(), QColor::fromRgb(kSkinKeyColour));
    if (outline.isEmpty())
        clearMask();
    else
        setMask(outline);
}

void TCallLog::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    rebuildOutline();
    emit resized();
}

void TCallLog::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (Image1.isNull()) {
        painter.fillRect(rect(), QColor(235, 235, 245));
        return;
    }
    if (height() <= 1)
        return;
    painter.drawImage(QPoint(0, 0), composeFrame());
}
