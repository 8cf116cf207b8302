#include "gui/controls/SkinLook.h"

#include "core/skins/SkinLayout.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCalendarWidget>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QStyleFactory>
#include <QTextCharFormat>
#include <QToolButton>
#include <QWidget>

namespace {

// The calendar's strip and its chosen day.
const QColor kCalendarStrip = QColor::fromRgb(Look::kAccentDown);
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
    TextButtonAppearance look;
    const auto face = [](const Look::ButtonFace &colours, QColor &fill, QColor &text, QColor &border) {
        fill = QColor::fromRgb(colours.fill);
        text = QColor::fromRgb(colours.text);
        border = QColor::fromRgb(colours.border);
    };
    face(Look::kButtonUp, look.Color, look.FontColor, look.FrameUpColor);
    face(Look::kButtonHot, look.ColorHot, look.FontHotColor, look.FrameHotColor);
    face(Look::kButtonDown, look.ColorDown, look.FontDownColor, look.FrameDownColor);
    face(Look::kButtonUp, look.ColorDisabled, look.FontDisabledColor, look.FrameDisabledColor);
    look.FrameFocusColor = QColor::fromRgb(Look::kAccent);
    look.Radius = Look::kButtonRadius;
    look.DisabledOpacity = Look::kDisabledOpacity;
    return look;
}

void styleButton(TGTextButton *button, Look::ButtonSize size)
{
    button->setAppearance(textButton());
    button->setFont(Look::buttonFont(size));
}

QFont font(int pixels, bool bold) { return Look::font(pixels, bold); }

QFont fieldFont(bool bold) { return font(Look::kTextPixels, bold); }

void styleField(QWidget *field)
{
    // The well is painted in the picture: the field shows it through.
    QPalette palette = field->palette();
    const QColor text = QColor::fromRgb(Look::kValueText);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Base, QColor::fromRgb(Look::kField));
    palette.setColor(QPalette::Highlight, QColor::fromRgb(Look::kAccent));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    const QColor disabled = QColor::fromRgb(Look::kDisabledText);
    for (const QPalette::ColorRole role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        palette.setColor(QPalette::Disabled, role, disabled);
    field->setPalette(palette);
    field->setFont(fieldFont());
}

void styleCaption(QLabel *caption)
{
    QPalette palette = caption->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(Look::kLabelText));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor::fromRgb(Look::kDisabledText));
    caption->setPalette(palette);
    caption->setFont(fieldFont());
}

void styleFormField(QWidget *field)
{
    const auto hex = [](QRgb colour) { return QColor::fromRgb(colour).name(); };
    field->setFont(fieldFont());
    // A number is typed, or stepped with the arrow keys and the wheel; the
    // style's own arrows would not match the field.
    if (auto *number = qobject_cast<QAbstractSpinBox *>(field))
        number->setButtonSymbols(QAbstractSpinBox::NoButtons);
    field->setStyleSheet(QStringLiteral("QLineEdit, QAbstractSpinBox { background: %1; color: %2; border: 1px solid %3;"
                                        " border-radius: 3px; padding: 3px 5px; selection-background-color: %4;"
                                        " selection-color: white; }"
                                        " QLineEdit:focus, QAbstractSpinBox:focus { border-color: %4; }"
                                        " QLineEdit:read-only, QLineEdit:disabled, QAbstractSpinBox:disabled"
                                        " { background: %5; color: %6; }")
                             .arg(hex(Look::kField), hex(Look::kValueText), hex(Look::kFieldBorder), hex(Look::kAccent),
                                 hex(Look::kReadOnlyField), hex(Look::kLabelText)));
}

void styleProblem(QLabel *problem)
{
    QPalette palette = problem->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(Look::kProblemText));
    problem->setPalette(palette);
    problem->setFont(fieldFont());
    problem->setTextFormat(Qt::PlainText);
    problem->setWordWrap(true);
    problem->hide();
}

void applyToApplication(QApplication &application)
{
    // One style whatever the desktop: the colours below are drawn as meant.
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    // Every text a window does not size itself, dialog labels and fields included.
    QApplication::setFont(fieldFont());

    QPalette popup = application.palette();
    const auto both = [&popup](QPalette::ColorRole role, QRgb colour) {
        popup.setColor(QPalette::Active, role, QColor::fromRgb(colour));
        popup.setColor(QPalette::Inactive, role, QColor::fromRgb(colour));
    };
    for (const QPalette::ColorRole role : { QPalette::Window, QPalette::Base, QPalette::Button })
        both(role, Look::kPopupBack);
    for (const QPalette::ColorRole role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        both(role, Look::kPopupText);
    both(QPalette::Highlight, Look::kPopupHighlight);
    both(QPalette::HighlightedText, Look::kPopupHighlightText);
    both(QPalette::Mid, Look::kPopupBorder);
    both(QPalette::Dark, Look::kPopupBorder);
    popup.setColor(QPalette::Disabled, QPalette::Text, QColor::fromRgb(Look::kDisabledText));
    popup.setColor(QPalette::Disabled, QPalette::WindowText, QColor::fromRgb(Look::kDisabledText));
    QApplication::setPalette(popup, "QMenu");
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
