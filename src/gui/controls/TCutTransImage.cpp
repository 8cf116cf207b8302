#include "gui/controls/TCutTransImage.h"

#include "core/skins/SkinLibrary.h"
#include "core/windowlogic/WindowOutline.h"
#include "gui/controls/WindowDragger.h"

#include <QEvent>
#include <QPainter>

TCutTransImage::TCutTransImage(QWidget *parent)
    : QWidget(parent)
    , m_dragger(new WindowDragger(this))
{
    setObjectName(QStringLiteral("CutTransImage1"));
    lower();
    parent->installEventFilter(this);
    // The window's own presses are presses on its background too.
    m_dragger->watch(parent->window());
    coverWindow();
}

void TCutTransImage::setPicture(const QImage &picture)
{
    m_picture = picture;
    m_painted = picture.convertToFormat(
        picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    update();
}

bool TCutTransImage::dragsWindow() const { return m_dragger->isEnabled(); }

void TCutTransImage::setDragsWindow(bool drags)
{
    m_dragger->setEnabled(drags);
    setAttribute(Qt::WA_TransparentForMouseEvents, !drags);
}

void TCutTransImage::RebuildOutline()
{
    QWidget *form = window();
    if (!(form->windowFlags() & Qt::FramelessWindowHint)) {
        // Changing the flags hides a shown window.
        const bool wasVisible = form->isVisible();
        form->setWindowFlag(Qt::FramelessWindowHint, true);
        if (wasVisible)
            form->show();
    }
    if (m_adjustFormSize) {
        if (!m_picture.isNull())
            form->setFixedSize(m_picture.size());
        coverWindow();
    }
    const QRegion outline = outlineRegion(m_picture, m_transColor);
    if (outline.isEmpty())
        form->clearMask();
    else
        form->setMask(outline.translated(mapTo(form, QPoint(0, 0))));
    update();
}

bool TCutTransImage::loadSkin(const QString &name)
{
    QImage picture;
    const bool found = SkinLibrary::LoadSkinImage(picture, name);
    if (found)
        setPicture(picture);
    RebuildOutline();
    return found;
}

void TCutTransImage::coverWindow()
{
    if (m_adjustFormSize && parentWidget())
        setGeometry(parentWidget()->rect());
}

bool TCutTransImage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        coverWindow();
    return QWidget::eventFilter(watched, event);
}

void TCutTransImage::paintEvent(QPaintEvent *)
{
    if (m_painted.isNull())
        return;
    // At its own size and without smoothing: at an integer device pixel
    // ratio each picture pixel becomes a sharp square, exactly where the
    // outline expects it.
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_painted);
}
