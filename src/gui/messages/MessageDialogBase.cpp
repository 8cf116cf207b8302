#include "gui/messages/MessageDialogBase.h"

#include "core/windowlogic/MessageTable.h"
#include "gui/controls/TGFocusButton.h"

#include <QApplication>
#include <QScreen>

#include <algorithm>

namespace {

// A stay-on-top window is up (the start-up picture): a message must stand
// above it, or the program looks hung behind it waiting for an answer.
bool stayOnTopWindowShown()
{
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    return std::ranges::any_of(windows, [](const QWidget *window) {
        return window->isVisible() && (window->windowFlags() & Qt::WindowStaysOnTopHint);
    });
}

} // namespace

MessageDialogBase::MessageDialogBase(std::uint16_t buttons, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , m_buttons(buttons)
{
    setModal(true);
    if (stayOnTopWindowShown())
        setWindowFlag(Qt::WindowStaysOnTopHint);
}

void MessageDialogBase::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The answer is expected from the keyboard too, so the message takes the focus.
    raise();
    activateWindow();
}

TGFocusButton *MessageDialogBase::addButton(int index, const QRect &geometry, const TextButtonAppearance &appearance)
{
    const MessageButtonInfo &info = messageButtonInfo(index);
    auto *button = new TGFocusButton(this);
    button->setObjectName(QString::fromLatin1(info.name));
    button->setText(QString::fromLatin1(info.caption));
    button->setTag(info.result);
    button->setGeometry(geometry);
    button->setAppearance(appearance);
    if (m_lastButton)
        setTabOrder(m_lastButton, button);
    m_lastButton = button;
    connect(button, &QAbstractButton::clicked, this, [this, button] {
        if (button->tag() == mrHelp)
            helpPressed();
        else
            done(button->tag());
    });
    return button;
}

void MessageDialogBase::setDefaultAnswer(int answer)
{
    for (TGFocusButton *button : findChildren<TGFocusButton *>()) {
        if (button->tag() == answer) {
            button->setFocus();
            return;
        }
    }
}

void MessageDialogBase::centreOnScreen()
{
    const QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
}

void MessageDialogBase::reject()
{
    if (const std::optional<int> answer = m_escapeAnswer ? m_escapeAnswer : escapeResult(m_buttons))
        done(*answer);
}

void MessageDialogBase::helpPressed() { }
