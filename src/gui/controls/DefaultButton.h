#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QAbstractButton;
class QWidget;

// Return (or Enter) anywhere in a window that no control takes for itself
// presses the window's default button: the first of `buttons` that can be
// pressed now (Save while editing, else Close, say).
class DefaultButton final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DefaultButton)

public:
    DefaultButton(QWidget *window, QList<QAbstractButton *> buttons);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<QPointer<QAbstractButton>> m_buttons;
};
