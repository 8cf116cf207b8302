#pragma once

#include <QProxyStyle>

class ProviderMenu;

// Hands the drawing and the measuring of a provider menu's items to the menu,
// and everything else to the application's style.
class ProviderMenuStyle final : public QProxyStyle {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProviderMenuStyle)

public:
    explicit ProviderMenuStyle(const ProviderMenu &menu);

    void drawControl(
        ControlElement element, const QStyleOption *option, QPainter *painter, const QWidget *widget) const override;
    QSize sizeFromContents(
        ContentsType type, const QStyleOption *option, const QSize &contentsSize, const QWidget *widget) const override;
    int styleHint(
        StyleHint hint, const QStyleOption *option, const QWidget *widget, QStyleHintReturn *returnData) const override;

private:
    const ProviderMenu &m_menu;
};
