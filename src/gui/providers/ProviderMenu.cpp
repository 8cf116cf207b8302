#include "gui/providers/ProviderMenu.h"

#include "core/skins/Look.h"
#include "core/skins/SkinLayout.h"
#include "core/skins/SkinLibrary.h"
#include "gui/controls/SkinLook.h"
#include "gui/providers/ProviderMenuStyle.h"

#include <QAction>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace {

const char kCaptionProperty[] = "providerCaption";
const QColor kPlainBack = QColor::fromRgb(Look::kPopupBack);
const QColor kPlainHighlight = QColor::fromRgb(Look::kPopupHighlight);

// The text colour that reads on an item: its picture, over the plain colour
// where the picture does not reach, averaged.
QColor captionColour(const QImage &image, const QColor &plain)
{
    QImage item(SkinLayout::MainWindow::kMenuItemSize, QImage::Format_RGB32);
    item.fill(plain);
    if (!image.isNull()) {
        QPainter painter(&item);
        painter.drawImage(0, 0, image);
    }
    const QImage mean = item.scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return QColor::fromRgb(Look::textOn(mean.pixel(0, 0)));
}

} // namespace

ProviderMenu::ProviderMenu(QWidget *parent)
    : QMenu(parent)
{
    auto *style = new ProviderMenuStyle(*this);
    style->setParent(this);
    setStyle(style);
    setFont(SkinLook::font(Look::kTextPixels));
    setToolTipsVisible(true);
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
    m_text = captionColour(m_back, kPlainBack);
    m_highlightText = captionColour(m_highlight, kPlainHighlight);
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

void ProviderMenu::open(const QPoint &at, int width)
{
    const int frame = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
    m_itemWidth = width + 3 * frame;
    setMinimumWidth(width);
    const QFontMetrics metrics(font());
    for (QAction *action : actions()) {
        if (action->isSeparator())
            continue;
        const QString caption = captionOf(action);
        QString shown = metrics.elidedText(caption, Qt::ElideRight, width - kTextMargins);
        action->setToolTip(shown == caption ? QString() : caption);
        action->setText(shown.replace(QLatin1Char('&'), QLatin1String("&&")));
    }
    // Within the screen whole, however long the list: it scrolls instead.
    if (const QScreen *screen = QGuiApplication::screenAt(at) ? QGuiApplication::screenAt(at) : this->screen())
        setMaximumHeight(screen->availableGeometry().height() - 2 * kScreenMargin);
    popup(at);
    if (const QScreen *screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        QRect placed = geometry();
        placed.setHeight(std::min(placed.height(), available.height()));
        placed.moveTop(std::clamp(placed.top(), available.top(), available.bottom() + 1 - placed.height()));
        placed.moveLeft(std::clamp(
            placed.left(), available.left(), std::max(available.left(), available.right() + 1 - placed.width())));
        if (placed != geometry())
            setGeometry(placed);
    }
}

QString ProviderMenu::captionOf(const QAction *action)
{
    return action ? action->property(kCaptionProperty).toString() : QString();
}

int ProviderMenu::tagOf(const QAction *action) { return action ? action->data().toInt() : 0; }

QSize ProviderMenu::measureItem(bool separator, int sizingFrameWidth, int width)
{
    return { width - 3 * sizingFrameWidth, separator ? kSeparatorHeight : kItemHeight };
}

void ProviderMenu::drawItem(QPainter &painter, const QRect &rect, const QString &caption, bool selected) const
{
    painter.save();
    painter.setClipRect(rect);
    // The image covers the item from its top-left corner; a plain colour
    // fills whatever it does not reach, or stands in for a missing image.
    const QImage &image = selected ? m_highlight : m_back;
    painter.fillRect(rect, selected ? kPlainHighlight : kPlainBack);
    if (!image.isNull())
        painter.drawImage(rect.topLeft(), image);
    painter.setFont(font());
    painter.setPen(selected ? m_highlightText : m_text);
    const QRect room = rect.adjusted(kTextMargins / 2, 4, -kTextMargins / 2, 0);
    painter.drawText(room, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
        painter.fontMetrics().elidedText(caption, Qt::ElideRight, room.width()));
    painter.restore();
}
