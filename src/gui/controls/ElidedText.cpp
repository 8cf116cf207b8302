#include "gui/controls/ElidedText.h"

#include <QFontMetrics>
#include <QLabel>
#include <QRegularExpression>
#include <QVariant>

namespace {

int roomOf(const QLabel *label)
{
    return label->contentsRect().width() - 2 * label->margin() - std::max(0, label->indent()) - 2;
}

// The display sets its labels every second, mostly to what they already
// show; measuring the texts again each time was most of an idle second's work.
// A label keeps what it was last given and what it then showed, and is left
// alone while both are the same.
struct LabelState {
    QString text;
    QString hint;
    QFont font;
    int room = 0;
    QString shownText;
    QFont shownFont;
    QString shownToolTip;

    bool operator==(const LabelState &) const = default;
};

LabelState stateOf(const QLabel *label, const QString &text, const QString &hint, const QFont &font, int room)
{
    return { text, hint, font, room, label->text(), label->font(), label->toolTip() };
}

bool sameAsLast(const QLabel *label, const char *name, const LabelState &now)
{
    return label->property(name).value<LabelState>() == now;
}

void remember(QLabel *label, const char *name, LabelState given)
{
    given.shownText = label->text();
    given.shownFont = label->font();
    given.shownToolTip = label->toolTip();
    label->setProperty(name, QVariant::fromValue(given));
}

constexpr char kElided[] = "tollwiseElided";
constexpr char kFitted[] = "tollwiseFitted";

} // namespace

void setElidedText(QLabel *label, const QString &text, const QString &hint)
{
    const LabelState given = stateOf(label, text, hint, label->font(), roomOf(label));
    if (sameAsLast(label, kElided, given))
        return;
    const QString shown = label->fontMetrics().elidedText(text, Qt::ElideRight, roomOf(label));
    label->setText(shown);
    if (shown == text)
        label->setToolTip(hint);
    else
        label->setToolTip(hint.isEmpty() ? text : text + QLatin1Char('\n') + hint);
    remember(label, kElided, given);
}

void setFittedText(QLabel *label, const QString &text, QFont font, const QString &hint)
{
    const int room = roomOf(label);
    const LabelState given = stateOf(label, text, hint, font, room);
    if (sameAsLast(label, kFitted, given))
        return;
    while (font.pixelSize() > kSmallestTextPixels && QFontMetrics(font).horizontalAdvance(text) > room)
        font.setPixelSize(font.pixelSize() - 1);
    label->setFont(font);
    setElidedText(label, text, hint);
    remember(label, kFitted, given);
}

QString breakableText(const QString &text, const QFont &font, int width)
{
    constexpr QChar kBreakHere(0x200B); // zero width: a place to wrap, nothing shown
    const QFontMetrics metrics(font);
    QString result;
    qsizetype from = 0;
    for (const QRegularExpressionMatch &word : QRegularExpression(QStringLiteral("\\S+")).globalMatch(text)) {
        result += text.mid(from, word.capturedStart() - from);
        QString shown = word.captured();
        if (metrics.horizontalAdvance(shown) > width)
            for (qsizetype at = shown.size() - 1; at > 0; --at)
                if (!shown.at(at).isLowSurrogate())
                    shown.insert(at, kBreakHere);
        result += shown;
        from = word.capturedEnd();
    }
    return result + text.mid(from);
}
