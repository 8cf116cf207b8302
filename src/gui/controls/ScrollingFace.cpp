#include "gui/controls/ScrollingFace.h"

#include <QPalette>
#include <QScreen>
#include <QScrollArea>
#include <QWidget>

void scrollFaceOnSmallScreen(
    QWidget *window, const QSize &face, const QScreen *screen, const QString &name, const QImage &background)
{
    if (!screen)
        return;
    const QSize room = screen->availableGeometry().size();
    if (room.width() >= face.width() && room.height() >= face.height())
        return;
    auto *page = new QWidget;
    page->setObjectName(name + QStringLiteral("Page"));
    page->setFixedSize(face);
    QPalette colours = window->palette();
    if (!background.isNull()) {
        colours.setBrush(QPalette::Window, QBrush(background));
        page->setAutoFillBackground(true);
    }
    page->setPalette(colours);
    for (QWidget *child : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow())
            continue;
        const QRect where = child->geometry();
        const bool shown = !child->isHidden();
        child->setParent(page);
        child->setGeometry(where);
        child->setVisible(shown);
    }
    auto *scroller = new QScrollArea(window);
    scroller->setObjectName(name + QStringLiteral("Scroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidget(page);
    // The outline of the picture would cut the scroll bars off.
    window->clearMask();
    window->setFixedSize(face.boundedTo(room));
    scroller->setGeometry(window->rect());
}
