#include "ui/ElidedText.h"

#include <QLabel>

void setElidedText(QLabel *label, const QString &text)
{
    const int room = label->contentsRect().width() - 2 * label->margin() - 2;
    const QString shown = label->fontMetrics().elidedText(text, Qt::ElideRight, room);
    label->setText(shown);
    label->setToolTip(shown == text ? QString() : text);
}
