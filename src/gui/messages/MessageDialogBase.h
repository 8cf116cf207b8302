#pragma once

#include "core/windowlogic/MessageTable.h"

#include <QDialog>

#include <cstdint>
#include <optional>

class TGFocusButton;
struct TextButtonAppearance;

// What both message dialogs share: borderless and modal, centred on the
// screen, one focus button per kind in the set, and the answers. A button
// closes the dialog with its result, except Help; Escape (or a request to
// close the window) answers Cancel, No or Okay when the set has one and is
// otherwise refused, so the caller always gets the result of a real button.
class MessageDialogBase : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MessageDialogBase)

public:
    void reject() override;
    // Escape answers this instead of Cancel or No.
    void setEscapeAnswer(int answer) { m_escapeAnswer = answer; }
    // The button Enter presses while the user has not moved the focus.
    void setDefaultAnswer(int answer);

protected:
    MessageDialogBase(std::uint16_t buttons, QWidget *parent);

    // Makes button `index` of the button table, its result kept in its Tag;
    // tab order follows the order of the calls.
    TGFocusButton *addButton(int index, const QRect &geometry, const TextButtonAppearance &appearance);
    void centreOnScreen();
    void showEvent(QShowEvent *event) override;
    // Help was pressed; the dialog stays open.
    virtual void helpPressed();

    [[nodiscard]] std::uint16_t buttons() const { return m_buttons; }

private:
    std::uint16_t m_buttons;
    TGFocusButton *m_lastButton = nullptr;
    std::optional<int> m_escapeAnswer;
};
