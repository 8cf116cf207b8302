#pragma once

#include "core/windowlogic/MessageTable.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class QWidget;

// The program's questions and messages. Texts break lines with carriage
// returns; kinds, buttons and results are in core/windowlogic/MessageTable.h.

// The skinned message dialog (TMessDlg), modal; returns the result of the
// button pressed, or mrNone (−1) without showing anything for an empty set.
// `escapeAnswer` is what Escape answers where Cancel or No would be wrong;
// `defaultAnswer` the button that has the focus (Enter) instead of the first.
int SkinMessageDlg(std::uint8_t kind, const QString &text, std::uint16_t buttons, QWidget *parent = nullptr,
    std::optional<int> escapeAnswer = std::nullopt, std::optional<int> defaultAnswer = std::nullopt);

// The message box built in code (TDynaMessageBoxDlg), with a caption and a
// kind word, of the given client size; modal; mrNone for an empty set.
int DynaMessageBox(int width, int height, std::uint8_t kind, std::uint16_t buttons, const QString &text,
    const QString &caption, const QString &kindWord, QWidget *parent = nullptr);

// What the code-built box's Help button opens (the program's help); until
// set, Help does nothing but keep the box open.
void setMessageHelpHandler(std::function<void()> handler);
