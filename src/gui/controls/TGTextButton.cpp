#include "gui/controls/TGTextButton.h"

#include <QPainter>

namespace {

struct FaceColours {
    QColor background;
    QColor font;
    QColor frame;
};

FaceColours coloursFor(const TextButtonAppearance &look, ButtonFace face)
{
    switch (face) {
    case ButtonFace::Hot:
        return { look.ColorHot, look.FontHotColor, look.FrameHotColor };
    case ButtonFace::Down:
        return { look.ColorDown, look.FontDownColor, look.FrameDownColor };
    case ButtonFace::Disabled:
        return { look.ColorDisabled, look.FontDisabledColor, look.FrameDisabledColor };
    case ButtonFace::Up:
        break;
    }
    return { look.Color, look.FontColor, look.FrameUpColor };
}

// A raised edge: light above and left, dark below and right; sunken when down.
void drawEdge(QPainter &painter, QRect area, int width, bool sunken)
{
    const QColor light = sunken ? QColor(64, 64, 64) : QColor(255, 255, 255);
    const QColor dark = sunken ? QColor(255, 255, 255) : QColor(64, 64, 64);
    for (int i = 0; i < width; ++i) {
        const QRect r = area.adjusted(i, i, -i, -i);
        painter.setPen(light);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(dark);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    }
}

} // namespace

TGTextButton::TGTextButton(QWidget *parent)
    : SkinButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void TGTextButton::setAppearance(const TextButtonAppearance &appearance)
{
    m_appearance = appearance;
    update();
}

QSize TGTextButton::sizeHint() const
{
    const QSize text = fontMetrics().size(Qt::TextShowMnemonic, this->text());
    return text + QSize(12, 6);
}

void TGTextButton::paintEvent(QPaintEvent *)
{
    const ButtonFace now = face();
    const FaceColours colours = coloursFor(m_appearance, now);
    QPainter painter(this);
    if (now == ButtonFace::Disabled)
        painter.setOpacity(m_appearance.DisabledOpacity);
    const QRect area = rect();
    if (m_appearance.Radius > 0) {
        // Rounded: the window shows through the corners; no 3D edge.
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(m_appearance.Framed ? QPen(colours.frame) : QPen(Qt::NoPen));
        painter.setBrush(m_appearance.Transparent ? QBrush(Qt::NoBrush) : QBrush(colours.background));
        const qreal radius = std::min<qreal>(m_appearance.Radius, area.height() / 2.0);
        painter.drawRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    } else {
        paintSquareFace(painter, colours.background, colours.frame, now == ButtonFace::Down);
    }
    painter.setPen(colours.font);
    painter.setFont(font());
    painter.drawText(area, Qt::AlignCenter | Qt::TextShowMnemonic, text());
    paintOver(painter);
}

void TGTextButton::paintSquareFace(QPainter &painter, const QColor &background, const QColor &frame, bool down)
{
    const QRect area = rect();
    if (!m_appearance.Transparent)
        painter.fillRect(area, background);
    const QRect inner = area.adjusted(0, 0, -1, -1);
    if (m_appearance.Ctrl3D)
        drawEdge(painter, inner, std::max(1, m_appearance.Ctrl3DWidth), down);
    if (m_appearance.Framed) {
        painter.setPen(frame);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(inner);
    }
}

void TGTextButton::paintOver(QPainter &) { }
