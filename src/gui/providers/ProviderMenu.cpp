#include "gui/providers/ProviderMenu.h"

#include "core/skins/SkinLibrary.h"
#include "gui/controls/SkinLook.h"
#include "gui/providers/ProviderMenuStyle.h"

#include <QAction>
#include <QPainter>

namespace {

const char kCaptionProperty[] = "providerCaption";
const QColor kPlainBack(Qt::white);
const QColor kPlainHighlight(192, 192, 224);

} // namespace

ProviderMenu::ProviderMenu(QWidget *parent)
    : QMenu(parent)
{
    auto *style = new ProviderMenuStyle(*this);
    style->setParent(this);
    setStyle(style);
    reloadSkinImages();
    connect(
        this, &QMenu::triggered, this, [this](QAction *action) { emit itemChosen(captionOf(action), tagOf(action)); });
}

void ProviderMenu::reloadSkinImages()
{
    m_back = QImage();
    m_highlight = QImage();
    SkinLibrary::LoadSkinImage(m_back, QStringLiteral("MenuBack"));
    SkinLibrary::LoadSkinImage(m_highlight, QStringLiteral("MenuHigh"));
}

void ProviderMenu::clearItems() { clear(); }

QAction *ProviderMenu::addItem(const QString &caption, int tag)
{
    QString text = caption;
    QAction *action = addAction(text.replace(QLatin1Char('&'), QLatin1String("&&")));
    action->setData(tag);
    action->setProperty(kCaptionProperty, caption);
    return action;
}

QString ProviderMenu::captionOf(const QAction *action)
{
    return action ? action->property(kCaptionProperty).toString() : QString();
}

int ProviderMenu::tagOf(const QAction *action) { return action ? action->data().toInt() : 0; }

QSize ProviderMenu::MenuProvLine1MeasureItem(bool separator, int sizingFrameWidth)
{
    return { kWidth - 3 * sizingFrameWidth, separator ? kSeparatorHeight : kItemHeight };
}

void ProviderMenu::MenuProvLine1DrawItem(
    QPainter &painter, const QRect &rect, const QString &caption, bool selected) const
{
    painter.save();
    painter.setClipRect(rect);
    // The image covers the item from its top-left corner; a plain colour
    // fills whatever it does not reach, or stands in for a missing image.
    const QImage &image = selected ? m_highlight : m_back;
    painter.fillRect(rect, selected ? kPlainHighlight : kPlainBack);
    if (!image.isNull())
        painter.drawImage(rect.topLeft(), image);
    painter.setFont(SkinLook::font(12));
    painter.setPen(Qt::black);
    painter.drawText(rect.adjusted(5, 4, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, caption);
    painter.restore();
}
