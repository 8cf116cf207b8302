#include "tools/skingen/Icons.h"
#include "tools/skingen/SkinPictures.h"

#include "core/skins/SkinLayout.h"

#include <QPainter>

using namespace SkinArt;
namespace M = SkinLayout::MessageDialog;

namespace {

enum class Symbol { Exclamation, Cross, Info, Question };

struct Kind {
    const char *image;
    const char *title;
    QColor colour;
    Symbol symbol;
};

void drawSymbol(QPainter &painter, const QRectF &box, Symbol symbol, const QColor &ink)
{
    switch (symbol) {
    case Symbol::Exclamation:
        Icons::exclamation(painter, box, ink);
        break;
    case Symbol::Cross:
        Icons::cross(painter, box, ink);
        break;
    case Symbol::Info:
        // An exclamation mark upside down is an "i".
        painter.save();
        painter.translate(box.center());
        painter.rotate(180);
        painter.translate(-box.center());
        Icons::exclamation(painter, box, ink);
        painter.restore();
        break;
    case Symbol::Question:
        drawText(painter, box, QStringLiteral("?"), font(int(box.height()) + 4, true), ink, Qt::AlignCenter);
        break;
    }
}

QImage messageImage(const Kind &kind)
{
    QImage image = canvas(M::kSize);
    QPainter painter(&image);
    prepare(painter);
    const QRectF whole(0, 0, M::kSize.width(), M::kSize.height());
    const QPainterPath body = roundedRect(whole, 12);
    fillGradient(painter, body, Colour::kDialogBody, QColor(230, 234, 240));
    painter.save();
    painter.setClipPath(body);
    painter.fillRect(QRectF(0, 0, 6, whole.height()), kind.colour);
    painter.restore();

    // The kind: a coloured disc with its sign, and its name.
    const QPointF disc(46, 32);
    painter.setPen(QPen(kind.colour.darker(125), 1));
    painter.setBrush(kind.colour);
    painter.drawEllipse(disc, 17, 17);
    drawSymbol(painter, QRectF(disc.x() - 10, disc.y() - 10, 20, 20), kind.symbol, QColor(252, 253, 255));
    drawText(painter, QRectF(72, 12, 290, 40), QString::fromLatin1(kind.title), font(20, true), Colour::kDarkText);

    drawWell(painter, QRectF(M::MessageText).adjusted(-8, -6, 8, 6), Colour::kDialogField, Colour::kDialogBorder, 6);
    const QRectF column(M::kButtonLeft - 8, M::kFirstButtonTop - 11, M::kButtonSize.width() + 16,
        M::kSize.height() - M::kFirstButtonTop);
    painter.setPen(QPen(QColor(206, 212, 222), 1));
    painter.setBrush(QColor(222, 227, 235));
    painter.drawRoundedRect(column.adjusted(0.5, 0.5, -0.5, -0.5), 7, 7);

    painter.setPen(QPen(Colour::kOutline, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(roundedRect(whole.adjusted(0.5, 0.5, -0.5, -0.5), 11.5));
    painter.end();
    return cutWindow(image, Colour::kOutline);
}

} // namespace

void SkinPictures::drawMessageDialogs(SkinSet &skin)
{
    const Kind kinds[] = {
        { "Warning", "Warning", QColor::fromRgb(M::kKindColours[0]), Symbol::Exclamation },
        { "Error", "Error", QColor::fromRgb(M::kKindColours[1]), Symbol::Cross },
        { "Advice", "Advice", QColor::fromRgb(M::kKindColours[2]), Symbol::Info },
        { "Confirm", "Confirm", QColor::fromRgb(M::kKindColours[3]), Symbol::Question },
    };
    for (const Kind &kind : kinds)
        skin.insert(QString::fromLatin1(kind.image), messageImage(kind));
}
