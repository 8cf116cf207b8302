#include "gui/controls/TGTabButton.h"

#include "core/skins/Look.h"
#include "core/skins/SkinLibrary.h"
#include "core/windowlogic/KeyedImage.h"

#include <QPainter>

TGTabButton::TGTabButton(QWidget *parent)
    : SkinButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAutoRepeatInterval(kDefaultDelay);
    setAutoRepeatDelay(kDefaultInitialDelay);
    connect(this, &QAbstractButton::toggled, this, [this](bool down) {
        if (down)
            raiseGroup();
    });
}

void TGTabButton::setBitmapUp(const QImage &picture)
{
    m_up = picture;
    m_keyedUp = keyedImage(m_up, m_transparentColor);
    update();
}

void TGTabButton::setBitmapDown(const QImage &picture)
{
    m_down = picture;
    m_keyedDown = keyedImage(m_down, m_transparentColor);
    update();
}

void TGTabButton::setBitmapHigh(const QImage &picture)
{
    m_high = picture;
    m_keyedHigh = keyedImage(m_high, m_transparentColor);
    update();
}

bool TGTabButton::loadImages(const QString &base)
{
    bool all = true;
    QImage picture;
    if (SkinLibrary::LoadSkinImage(picture, base + QStringLiteral("_up")))
        setBitmapUp(picture);
    else
        all = false;
    if (SkinLibrary::LoadSkinImage(picture, base + QStringLiteral("_down")))
        setBitmapDown(picture);
    else
        all = false;
    if (SkinLibrary::LoadSkinImage(picture, base + QStringLiteral("_hot")))
        setBitmapHigh(picture);
    else
        all = false;
    return all;
}

void TGTabButton::setTransparentColor(QColor colour)
{
    m_transparentColor = colour;
    rebuildKeyed();
}

void TGTabButton::rebuildKeyed()
{
    m_keyedUp = keyedImage(m_up, m_transparentColor);
    m_keyedDown = keyedImage(m_down, m_transparentColor);
    m_keyedHigh = keyedImage(m_high, m_transparentColor);
    update();
}

void TGTabButton::setGroupIndex(int index)
{
    m_groupIndex = index;
    // Only a grouped button can stay down.
    setCheckable(index != 0);
}

void TGTabButton::nextCheckState()
{
    if (isChecked() && !m_allowAllUp)
        return;
    setChecked(!isChecked());
}

void TGTabButton::raiseGroup()
{
    if (!parentWidget())
        return;
    const auto siblings = parentWidget()->findChildren<TGTabButton *>(Qt::FindDirectChildrenOnly);
    for (TGTabButton *other : siblings) {
        if (other != this && other->m_groupIndex == m_groupIndex)
            other->setChecked(false);
    }
}

QSize TGTabButton::sizeHint() const { return m_up.isNull() ? QSize(23, 22) : m_up.size(); }

void TGTabButton::paintEvent(QPaintEvent *)
{
    // The parent's pixels beneath the button are already in place (the
    // button paints nothing opaque of its own), so only the picture is drawn.
    const QImage *picture = &m_keyedUp;
    switch (face()) {
    case ButtonFace::Down:
        picture = &m_keyedDown;
        break;
    case ButtonFace::Hot:
        picture = &m_keyedHigh;
        break;
    case ButtonFace::Disabled:
        picture = isChecked() ? &m_keyedDown : &m_keyedUp;
        break;
    case ButtonFace::Up:
        break;
    }
    if (picture->isNull())
        return;
    QPainter painter(this);
    // A picture has no disabled face of its own: it fades as every disabled control does.
    if (face() == ButtonFace::Disabled)
        painter.setOpacity(Look::kDisabledOpacity);
    painter.drawImage(QPoint(0, 0), *picture);
}
