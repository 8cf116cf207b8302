#include "gui/controls/ElidedText.h"

#include <QFontMetrics>
#include <QLabel>
#include <QRegularExpression>

void setElidedText(QLabel *label, const QString &text)
{
    const int room = label->contentsRect().width() - 2 * label->margin() - 2;
    const QString shown = label->fontMetrics().elidedText(text, Qt::ElideRight, room);
    label->setText(shown);
    label->setToolTip(shown == text ? QString() : text);
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
