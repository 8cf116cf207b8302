#include "gui/controls/ApplicationHints.h"

#include "core/skins/SkinLayout.h"
#include "gui/controls/SkinLook.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOption>
#include <QToolTip>
#include <QWidget>

namespace {

// Swallows every tool-tip request of the application while hints are off,
// and gives each hint the program's display time.
class HintFilter final : public QObject {
public:
    bool shown = true;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A hint shows over any of the program's windows, not only the active
        // one: the call log is seldom the window last clicked.
        if (event->type() == QEvent::Show)
            if (auto *widget = qobject_cast<QWidget *>(watched); widget && widget->isWindow())
                widget->setAttribute(Qt::WA_AlwaysShowToolTips);
        if (event->type() != QEvent::ToolTip)
            return QObject::eventFilter(watched, event);
        if (!shown)
            return true;
        // Left alone, the display time grows with the text's length.
        if (auto *widget = qobject_cast<QWidget *>(watched); widget && widget->toolTipDuration() < 0)
            widget->setToolTipDuration(kHintHideDelayMs);
        return false;
    }
};

constexpr qreal kBalloonRadius = 8;

QPainterPath balloon(const QRect &rect)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), kBalloonRadius, kBalloonRadius);
    return path;
}

// The application's own style: the hint delay, and hints drawn as rounded
// balloons. (A style sheet would do the balloons too, but it takes over the
// look of every control of the windows it is set on.)
class HintTimingStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(
        StyleHint hint, const QStyleOption *option, const QWidget *widget, QStyleHintReturn *returnData) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay)
            return kHintShowDelayMs;
        if (hint == SH_ToolTip_Mask && option) {
            if (auto *mask = qstyleoption_cast<QStyleHintReturnMask *>(returnData))
                mask->region = QRegion(balloon(option->rect).toFillPolygon().toPolygon());
            return 1;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

    void drawPrimitive(
        PrimitiveElement element, const QStyleOption *option, QPainter *painter, const QWidget *widget) const override
    {
        if (element != PE_PanelTipLabel) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QColor::fromRgb(SkinLayout::kHintBorder));
        painter->setBrush(QColor::fromRgb(SkinLayout::kHintBack));
        painter->drawPath(balloon(option->rect));
        painter->restore();
    }
};

// Owned by the application object, so it goes with it.
HintFilter *hintFilter()
{
    static QPointer<HintFilter> filter;
    if (!filter) {
        filter = new HintFilter;
        filter->setParent(qApp);
        qApp->installEventFilter(filter);
    }
    return filter;
}

} // namespace

void applyApplicationHints(bool shown)
{
    hintFilter()->shown = shown;
    if (!shown)
        QToolTip::hideText();
}

bool applicationHintsShown() { return hintFilter()->shown; }

void setApplicationHintTimings()
{
    hintFilter();
    if (!dynamic_cast<HintTimingStyle *>(QApplication::style()))
        QApplication::setStyle(new HintTimingStyle(QApplication::style()->name()));
    QPalette palette = QToolTip::palette();
    palette.setColor(QPalette::ToolTipBase, QColor::fromRgb(SkinLayout::kHintBack));
    palette.setColor(QPalette::ToolTipText, QColor::fromRgb(SkinLayout::kHintText));
    QToolTip::setPalette(palette);
    QToolTip::setFont(SkinLook::font(12));
}
