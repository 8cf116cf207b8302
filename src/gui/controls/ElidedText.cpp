#include "gui/controls/ElidedText.h"

#include <QFontMetrics>
#include <QLabel>
#include <QRegularExpression>

namespace {

int roomOf(const QLabel *label)
{
    return label->contentsRect().width() - 2 * label->margin() - std::max(0, label->indent()) - 2;
}

} // namespace

void setElidedText(QLabel *label, const QString &text, const QString &hint)
{
    const QString shown = label->fontMetrics().elidedText(text, Qt::ElideRight, roomOf(label));
    label->setText(shown);
    if (shown == text)
        label->setToolTip(hint);
    else
        label->setToolTip(hint.isEmpty() ? text : text + QLatin1Char('\n') + hint);
}

void setFittedText(QLabel *label, const QString &text, QFont font, const QString &hint)
{
    const int room = roomOf(label);
    while (font.pixelSize() > kSmallestTextPixels && QFontMetrics(font).horizontalAdvance(text) > room)
        font.setPixelSize(font.pixelSize() - 1);
    label->setFont(font);
    setElidedText(label, text, hint);
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
