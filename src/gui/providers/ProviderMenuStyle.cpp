#include "gui/providers/ProviderMenuStyle.h"

#include "gui/providers/ProviderMenu.h"

#include <QStyleOptionMenuItem>

namespace {

const QStyleOptionMenuItem *menuItem(const QStyleOption *option)
{
    return qstyleoption_cast<const QStyleOptionMenuItem *>(option);
}

} // namespace

ProviderMenuStyle::ProviderMenuStyle(const ProviderMenu &menu)
    : m_menu(menu)
{
}

void ProviderMenuStyle::drawControl(
    ControlElement element, const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    const QStyleOptionMenuItem *item = menuItem(option);
    if (element != CE_MenuItem || widget != &m_menu || !item) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const bool separator = item->menuItemType == QStyleOptionMenuItem::Separator;
    QString caption = separator ? QStringLiteral("-") : item->text;
    caption.replace(QLatin1String("&&"), QLatin1String("&")); // the menu's own escaping
    m_menu.drawItem(
        *painter, item->rect, separator ? QString() : caption, !separator && item->state.testFlag(State_Selected));
}

QSize ProviderMenuStyle::sizeFromContents(
    ContentsType type, const QStyleOption *option, const QSize &contentsSize, const QWidget *widget) const
{
    const QStyleOptionMenuItem *item = menuItem(option);
    if (type != CT_MenuItem || widget != &m_menu || !item)
        return QProxyStyle::sizeFromContents(type, option, contentsSize, widget);
    return ProviderMenu::measureItem(item->menuItemType == QStyleOptionMenuItem::Separator,
        pixelMetric(PM_MdiSubWindowFrameWidth, nullptr, nullptr), m_menu.itemWidth());
}

int ProviderMenuStyle::styleHint(
    StyleHint hint, const QStyleOption *option, const QWidget *widget, QStyleHintReturn *returnData) const
{
    // A long phonebook scrolls in one column on the screen, never spreads over it.
    if (hint == SH_Menu_Scrollable && widget == &m_menu)
        return 1;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}
