#include "tools/skingen/Icons.h"
#include "tools/skingen/SkinPictures.h"

#include "core/skins/SkinLayout.h"

#include <QPainter>
#include <QRadialGradient>

using namespace SkinArt;
namespace Main = SkinLayout::MainWindow;

namespace {

const QColor kIconHot { 250, 252, 255 };
const QColor kIconDown { 214, 234, 240 };
const QColor kKnob { 64, 78, 96 };

QImage mainBackground()
{
    QImage image = canvas(Main::kSize);
    QPainter painter(&image);
    prepare(painter);
    const QRectF whole(0, 0, Main::kSize.width(), Main::kSize.height());
    // Square bottom corners: the call log docks there.
    const QPainterPath body = roundedRect(whole, 14, 0b0011);
    fillGradient(painter, body, Colour::kBodyTop, Colour::kBodyBottom);
    painter.save();
    painter.setClipPath(body);
    fillGradient(painter, roundedRect(QRectF(0, 0, whole.width(), Main::kTitleHeight), 0), Colour::kTitleTop,
        Colour::kTitleBottom);
    painter.setPen(QPen(QColor(20, 26, 34), 1));
    painter.drawLine(QPointF(0, Main::kTitleHeight - 0.5), QPointF(whole.width(), Main::kTitleHeight - 0.5));
    painter.setPen(QPen(QColor(255, 255, 255, 34), 1));
    painter.drawLine(QPointF(14, 1.5), QPointF(whole.width() - 14, 1.5));
    painter.restore();
    painter.setPen(QPen(Colour::kOutline, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(roundedRect(whole.adjusted(0.5, 0.5, -0.5, 0), 13.5, 0b0011));

    // The logo: a small gauge in a disc, and the name.
    const QPointF mark(28, 19);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Colour::kAccent);
    painter.drawEllipse(mark, 9, 9);
    QPen needle(kIconHot, 2);
    needle.setCapStyle(Qt::RoundCap);
    painter.setPen(needle);
    painter.drawArc(QRectF(mark.x() - 5.5, mark.y() - 4.5, 11, 11), 20 * 16, 140 * 16);
    painter.drawLine(mark + QPointF(0, 2), mark + QPointF(3.5, -2.5));
    drawText(painter, QRectF(42, 6, 90, 26), QStringLiteral("Tollwise"), font(17, true), Colour::kLightText);

    // A well under the menu buttons, and the two link icons.
    drawWell(painter, QRectF(146, 5, 196, 28), QColor(34, 43, 55), QColor(24, 31, 40), 6);
    Icons::envelope(painter, QRectF(Main::MailLink).adjusted(2, 1, -2, -1), Colour::kMutedText);
    Icons::globe(painter, QRectF(Main::HomePageLink).adjusted(2, 1, -2, -1), Colour::kMutedText);

    // The dial button's socket and the scanner's slot.
    const QPointF dialCentre = QRectF(Main::ButtonDial).center();
    QRadialGradient socket(dialCentre, 36);
    socket.setColorAt(0.8, QColor(20, 27, 35));
    socket.setColorAt(1, QColor(34, 43, 55));
    painter.setPen(QPen(QColor(16, 21, 28), 1));
    painter.setBrush(socket);
    painter.drawEllipse(dialCentre, 35, 35);
    drawWell(painter, QRectF(Main::ScannerLights).adjusted(-2, -2, 2, 2), Colour::kWell, QColor(16, 21, 28), 3);

    // The display and the gauge's slot inside it.
    drawWell(painter, Main::DisplayPanel, Colour::kWell, Colour::kWellBorder, 6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(22, 32, 42));
    painter.drawRoundedRect(QRectF(Main::ChargeIndicator).adjusted(-1, -1, 1, 1), 2, 2);

    // Provider row.
    drawWell(painter, QRectF(40, 136, 252, 24), Colour::kDialogField, QColor(12, 17, 23), 4);
    drawText(painter, QRectF(330, 136, 78, 24), QStringLiteral("Calls"), font(12), Colour::kMutedText,
        Qt::AlignRight | Qt::AlignVCenter);
    drawWell(painter, QRectF(410, 136, 70, 24), Colour::kDialogField, QColor(12, 17, 23), 4);

    // Totals panels.
    const struct {
        QRect panel;
        const char *heading;
    } panels[]
        = { { Main::TodayPanel, "Today" }, { Main::MonthPanel, "This month" }, { Main::TodatePanel, "To date" } };
    for (const auto &p : panels) {
        const QRectF area = QRectF(p.panel).adjusted(0.5, 0.5, -0.5, -0.5);
        fillGradient(painter, roundedRect(area, 6), QColor(25, 33, 44), Colour::kPanel, Colour::kPanelBorder);
        drawText(painter, QRectF(area.left() + 8, area.top() + 1, area.width() - 16, 16),
            QString::fromLatin1(p.heading), font(11, true), Colour::kHeading);
        drawText(painter, QRectF(area.left() + 8, 186, 34, 16), QStringLiteral("Time"), font(11), Colour::kMutedText);
        drawText(painter, QRectF(area.left() + 8, 203, 34, 16), QStringLiteral("Cost"), font(11), Colour::kMutedText);
    }
    painter.end();
    return cutWindow(image, Colour::kOutline);
}

using IconFunction = void (*)(QPainter &, const QRectF &, const QColor &);

// A flat icon button: the icon alone while up, on a rounded plate when hot or down.
void iconButton(
    QPainter &painter, const QRectF &box, ButtonState state, IconFunction icon, const QColor &hot, const QColor &down)
{
    if (state != ButtonState::Up) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(state == ButtonState::Hot ? hot : down);
        painter.drawRoundedRect(box.adjusted(1, 1, -1, -1), 5, 5);
    }
    const QPointF shift(0, state == ButtonState::Down ? 1 : 0);
    const QColor colour = state == ButtonState::Up ? Colour::kIcon : state == ButtonState::Hot ? kIconHot : kIconDown;
    QRectF iconBox(0, 0, 16, 16);
    iconBox.moveCenter(box.center() + shift);
    icon(painter, iconBox, colour);
}

// A round knob: a plain disc while up, the accent when hot, darker when down.
void knob(QPainter &painter, const QRectF &box, ButtonState state, IconFunction icon, qreal iconSize)
{
    const QColor fill = state == ButtonState::Up ? kKnob
        : state == ButtonState::Hot              ? Colour::kAccent
                                                 : Colour::kAccentDown;
    const QRectF disc = box.adjusted(1, 1, -1, -1);
    painter.setPen(QPen(fill.darker(140), 1));
    painter.setBrush(fill);
    painter.drawEllipse(disc);
    painter.setPen(QPen(QColor(255, 255, 255, 50), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(disc.adjusted(1.5, 1.5, -1.5, -1.5), 40 * 16, 100 * 16);
    QRectF iconBox(0, 0, iconSize, iconSize);
    iconBox.moveCenter(box.center() + QPointF(0, state == ButtonState::Down ? 1 : 0));
    icon(painter, iconBox, state == ButtonState::Up ? Colour::kIcon : kIconHot);
}

void dialDisc(
    QPainter &painter, const QRectF &box, const QColor &top, const QColor &bottom, bool glow, bool pressed, bool hungUp)
{
    const QPointF centre = box.center();
    if (glow) {
        painter.setPen(QPen(QColor(130, 255, 180, 150), 3));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(centre, 30, 30);
    }
    QLinearGradient fill(centre - QPointF(0, 28), centre + QPointF(0, 28));
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    painter.setPen(QPen(bottom.darker(150), 1.2));
    painter.setBrush(fill);
    painter.drawEllipse(centre, 27.5, 27.5);
    if (!pressed) {
        painter.setPen(QPen(QColor(255, 255, 255, 70), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(QRectF(centre.x() - 24, centre.y() - 24, 48, 48), 35 * 16, 110 * 16);
    }
    QRectF iconBox(0, 0, 30, 30);
    iconBox.moveCenter(centre + QPointF(0, pressed ? 1 : 0));
    Icons::handset(painter, iconBox, QColor(250, 252, 250), hungUp);
}

QImage menuPiece(const QColor &fill, const QColor &line, bool bar)
{
    QImage image(Main::kMenuItemSize, QImage::Format_RGB32);
    image.fill(fill);
    QPainter painter(&image);
    painter.setPen(line);
    painter.drawLine(0, image.height() - 1, image.width(), image.height() - 1);
    if (bar)
        painter.fillRect(0, 0, 3, image.height() - 1, Colour::kAccentHot);
    return image;
}

} // namespace

void SkinPictures::drawMainWindow(SkinSet &skin)
{
    const QImage background = mainBackground();
    skin.insert(QStringLiteral("main"), background);

    const struct {
        const char *prefix;
        QRect rect;
        IconFunction icon;
    } menus[] = {
        { "MenuSetting", Main::ButtonSettings, Icons::gear },
        { "MenuNew", Main::ButtonNewConnection, Icons::plus },
        { "MenuTariffs", Main::ButtonEditTarifs, Icons::priceTag },
        { "MenuProvider", Main::ButtonEditConnection, Icons::person },
        { "MenuSkins", Main::ButtonSkins, Icons::info },
        { "MenuHelp", Main::ButtonHelp, Icons::question },
        { "Minimise", Main::ButtonMinimise, Icons::minimise },
    };
    for (const auto &m : menus)
        addButton(skin, QString::fromLatin1(m.prefix), background, m.rect,
            [&m](QPainter &painter, const QRectF &box, ButtonState state) {
                iconButton(painter, box, state, m.icon, Colour::kAccent, Colour::kAccentDown);
            });
    addButton(skin, QStringLiteral("Close"), background, Main::ButtonClose,
        [](QPainter &painter, const QRectF &box, ButtonState state) {
            iconButton(painter, box, state, Icons::cross, Colour::kDanger, Colour::kDangerDown);
        });

    addButton(skin, QStringLiteral("prov"), background, Main::ButtonChooseProvider,
        [](QPainter &painter, const QRectF &box, ButtonState state) {
            knob(painter, box, state, Icons::chevronDown, 14);
        });
    addButton(skin, QStringLiteral("BallProvider"), background, Main::ButtonChooseConnection,
        [](QPainter &painter, const QRectF &box, ButtonState state) { knob(painter, box, state, Icons::pencil, 11); });
    addButton(skin, QStringLiteral("BallTariffs"), background, Main::ButtonEditTarifs2,
        [](QPainter &painter, const QRectF &box, ButtonState state) { knob(painter, box, state, Icons::pencil, 11); });

    addButton(skin, QStringLiteral("dial"), background, Main::ButtonDial,
        [](QPainter &painter, const QRectF &box, ButtonState state) {
            switch (state) {
            case ButtonState::Up:
                dialDisc(painter, box, QColor(66, 204, 112), QColor(28, 148, 72), false, false, false);
                break;
            case ButtonState::Hot:
                dialDisc(painter, box, QColor(96, 228, 140), QColor(40, 172, 92), true, false, false);
                break;
            case ButtonState::Down:
                dialDisc(painter, box, QColor(30, 138, 68), QColor(22, 104, 52), false, true, false);
                break;
            }
        });
    skin.insert(QStringLiteral("dial_hangup"),
        buttonPicture(background, Main::ButtonDial, [](QPainter &painter, const QRectF &box) {
            dialDisc(painter, box, QColor(234, 88, 70), QColor(176, 40, 32), false, false, true);
        }));

    skin.insert(QStringLiteral("MenuBack"),
        menuPiece(QColor::fromRgb(Look::kPopupBack), QColor::fromRgb(Look::kReadOnlyField), false));
    skin.insert(QStringLiteral("MenuHigh"),
        menuPiece(QColor::fromRgb(Look::kPopupHighlight), QColor::fromRgb(Look::kPopupHighlight), true));
}
