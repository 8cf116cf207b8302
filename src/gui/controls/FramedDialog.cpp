#include "gui/controls/FramedDialog.h"

#include "core/skins/Look.h"
#include "gui/controls/ElidedText.h"
#include "gui/controls/ReturnPresses.h"
#include "gui/controls/SkinLook.h"
#include "gui/controls/TGFocusButton.h"
#include "gui/controls/WindowDragger.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr QSize kButtonSize { 92, 30 };
constexpr int kButtonGap = 8;

} // namespace

FramedDialog::FramedDialog(const QString &title, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint)
    , m_title(new QLabel(this))
    , m_body(new QVBoxLayout)
    , m_ok(new TGFocusButton(this))
    , m_cancel(new TGFocusButton(this))
{
    setModal(true);
    setWindowTitle(title);
    setFont(SkinLook::fieldFont());

    m_title->setObjectName(QStringLiteral("Title"));
    m_title->setFont(SkinLook::font(15, true));
    m_title->setTextFormat(Qt::PlainText);
    m_title->setFixedHeight(kTitleHeight);
    m_title->setContentsMargins(kMargin, 0, kMargin, 0);
    QPalette light = m_title->palette();
    light.setColor(QPalette::WindowText, QColor::fromRgb(Look::kLightText));
    m_title->setPalette(light);
    m_title->setMinimumWidth(0);
    // A long title never widens the dialog: it is cut to the width the fields give.
    m_title->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_title->setCursor(Qt::SizeAllCursor);

    // The title strip and the bare body move the window; fields and buttons
    // take their own presses.
    auto *dragger = new WindowDragger(m_title);
    dragger->watch(this);

    QPalette body = palette();
    body.setColor(QPalette::Window, QColor::fromRgb(Look::kDialogBody));
    body.setColor(QPalette::WindowText, QColor::fromRgb(Look::kLabelText));
    setPalette(body);

    for (auto [button, name, caption] :
        { std::tuple { m_ok, "OK", "OK" }, std::tuple { m_cancel, "Cancel", "Cancel" } }) {
        button->setObjectName(QLatin1String(name));
        button->setText(QLatin1String(caption));
        SkinLook::styleButton(button);
        button->setFixedSize(kButtonSize);
    }
    connect(m_ok, &QAbstractButton::clicked, this, &FramedDialog::accept);
    connect(m_cancel, &QAbstractButton::clicked, this, &FramedDialog::reject);
    pressOnReturn(this, m_ok);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(kButtonGap);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    m_body->setSpacing(8);
    m_body->setContentsMargins(kMargin, kMargin, kMargin, 0);
    auto *whole = new QVBoxLayout(this);
    whole->setContentsMargins(1, 1, 1, kMargin);
    whole->setSpacing(0);
    whole->addWidget(m_title);
    whole->addLayout(m_body);
    whole->addSpacing(kMargin);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->setContentsMargins(kMargin, 0, kMargin, 0);
    buttonRow->addLayout(buttons);
    whole->addLayout(buttonRow);
    whole->setSizeConstraint(QLayout::SetFixedSize);
}

QPoint FramedDialog::placeFor(const QSize &size, const QRect &owner, const QRect &available)
{
    const QPoint centre = owner.isEmpty() ? available.center() : owner.center();
    QRect placed(QPoint(), size);
    placed.moveCenter(centre);
    // The top-left corner wins where the screen is smaller than the dialog:
    // the title strip stays reachable.
    placed.moveLeft(std::max(available.left(), std::min(placed.left(), available.right() + 1 - size.width())));
    placed.moveTop(std::max(available.top(), std::min(placed.top(), available.bottom() + 1 - size.height())));
    return placed.topLeft();
}

void FramedDialog::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        placeBesideOwner();
    }
    QDialog::showEvent(event);
}

void FramedDialog::placeBesideOwner()
{
    adjustSize();
    layout()->activate();
    setElidedText(m_title, windowTitle());
    const QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect ownerFrame = owner && owner->isVisible() ? owner->frameGeometry() : QRect();
    move(placeFor(size(), ownerFrame, screen->availableGeometry()));
}

void FramedDialog::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(Look::kDialogBody));
    painter.fillRect(QRect(0, 0, width(), kTitleHeight + 1), QColor::fromRgb(Look::kDarkBody));
    painter.fillRect(QRect(0, kTitleHeight + 1, width(), 2), QColor::fromRgb(Look::kAccent));
    painter.setPen(QColor::fromRgb(Look::kOutline));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
