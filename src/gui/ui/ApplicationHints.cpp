#include "ui/ApplicationHints.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QToolTip>

namespace {

// Swallows every tool-tip request of the application while hints are off.
class HintFilter final : public QObject {
public:
    bool shown = true;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!shown && event->type() == QEvent::ToolTip)
            return true;
        return QObject::eventFilter(watched, event);
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

bool applicationHintsShown()
{
    return hintFilter()->shown;
}
