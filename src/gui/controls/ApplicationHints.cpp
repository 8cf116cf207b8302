#include "gui/controls/ApplicationHints.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QProxyStyle>
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

// The application's own style, answering only the hint delay.
class HintTimingStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(
        StyleHint hint, const QStyleOption *option, const QWidget *widget, QStyleHintReturn *returnData) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay)
            return kHintShowDelayMs;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
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
}
