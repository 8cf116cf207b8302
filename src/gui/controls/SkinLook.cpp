#include "gui/controls/SkinLook.h"

#include "core/skins/SkinLayout.h"

#include <QCalendarWidget>
#include <QPainter>
#include <QPainterPath>
#include <QTextCharFormat>
#include <QToolButton>
#include <QWidget>

namespace {

// The calendar's strip and its chosen day.
const QColor kCalendarStrip(16, 118, 132);
const QColor kCalendarHeader(226, 232, 240);

// A light chevron pointing left or right, drawn sharp at any density.
QIcon chevron(bool left)
{
    constexpr int kSide = 16;
    constexpr qreal kRatio = 2;
    QPixmap picture(int(kSide * kRatio), int(kSide * kRatio));
    picture.setDevicePixelRatio(kRatio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(QColor::fromRgb(SkinLayout::kLightText), 2);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    const qreal tip = left ? 5.5 : 10.5;
    const qreal back = left ? 10.5 : 5.5;
    QPainterPath path;
    path.moveTo(back, 3.5);
    path.lineTo(tip, 8);
    path.lineTo(back, 12.5);
    painter.drawPath(path);
    return QIcon(picture);
}

} // namespace

namespace SkinLook {

TextButtonAppearance textButton()
{
    const QColor accent = QColor::fromRgb(SkinLayout::kAccent);
    const QColor pressed(16, 118, 132);
    TextButtonAppearance look;
    look.Color = QColor(226, 232, 240);
    look.ColorHot = accent;
    look.ColorDown = pressed;
    look.ColorDisabled = QColor(236, 239, 243);
    look.FontColor = QColor::fromRgb(SkinLayout::kDarkText);
    look.FontHotColor = Qt::white;
    look.FontDownColor = Qt::white;
    look.FontDisabledColor = QColor(160, 168, 178);
    look.FrameUpColor = QColor(160, 172, 186);
    look.FrameHotColor = accent;
    look.FrameDownColor = pressed;
    look.FrameDisabledColor = QColor(204, 210, 218);
    look.FrameFocusColor = accent;
    return look;
}

TextButtonAppearance darkTextButton()
{
    TextButtonAppearance look = textButton();
    look.Color = QColor(52, 64, 80);
    look.FontColor = QColor::fromRgb(SkinLayout::kLightText);
    look.FrameUpColor = QColor(74, 90, 110);
    look.ColorDisabled = QColor(40, 49, 61);
    look.FontDisabledColor = QColor::fromRgb(SkinLayout::kMutedText);
    look.FrameDisabledColor = QColor(58, 70, 86);
    look.Radius = 13; // the pills of the call log's picture buttons
    return look;
}

QFont font(int pixels, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QFont fieldFont(bool bold) { return font(13, bold); }

void styleField(QWidget *field)
{
    // The well is painted in the picture: the field shows it through.
    QPalette palette = field->palette();
    const QColor text = QColor::fromRgb(SkinLayout::kDarkText);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Base, Qt::white);
    field->setPalette(palette);
    field->setFont(fieldFont());
}

} // namespace SkinLook

void SkinLook::styleCalendar(QCalendarWidget *calendar)
{
    const QColor text = QColor::fromRgb(SkinLayout::kDarkText);
    QPalette palette = calendar->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::AlternateBase, kCalendarHeader);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ButtonText, QColor::fromRgb(SkinLayout::kLightText));
    palette.setColor(QPalette::Highlight, kCalendarStrip);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 130, 142));
    calendar->setPalette(palette);
    calendar->setFont(fieldFont());
    calendar->window()->setPalette(palette);
    QTextCharFormat header;
    header.setForeground(text);
    header.setBackground(kCalendarHeader);
    header.setFontWeight(QFont::Bold);
    calendar->setHeaderTextFormat(header);
    // Weekend names and days in a red that reads on white and on the header.
    QTextCharFormat weekend;
    weekend.setForeground(QColor(178, 34, 34));
    for (const Qt::DayOfWeek day : { Qt::Saturday, Qt::Sunday })
        calendar->setWeekdayTextFormat(day, weekend);
    for (const auto &[name, left] : { std::pair { "qt_calendar_prevmonth", true }, { "qt_calendar_nextmonth", false } })
        if (auto *button = calendar->findChild<QToolButton *>(QString::fromLatin1(name)))
            button->setIcon(chevron(left));
}
