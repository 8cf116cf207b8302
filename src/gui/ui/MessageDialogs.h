#pragma once

#include <QString>

#include <cstdint>

class QWidget;

// The program's questions and messages. Texts break lines with carriage returns.

enum MessageKind : std::uint8_t {
    mtWarning = 0,
    mtError = 1,
    mtAdvice = 2,
    mtConfirm = 3,
};

// Bit i of a button set stands for button i; the buttons appear in this order.
enum MessageButton : std::uint16_t {
    mbYes = 1 << 0,
    mbNo = 1 << 1,
    mbOK = 1 << 2,
    mbCancel = 1 << 3,
    mbAbort = 1 << 4,
    mbRetry = 1 << 5,
    mbIgnore = 1 << 6,
    mbAll = 1 << 7,
    mbNoToAll = 1 << 8,
    mbYesToAll = 1 << 9,
    mbHelp = 1 << 10,
};

// Results of the buttons.
enum MessageResult : int {
    mrNone = -1, // an empty button set: nothing was shown
    mrHelp = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10,
};

// Button i of a set: its object name, caption and result.
struct MessageButtonInfo {
    const char *name;
    const char *caption;
    int result;
};
const MessageButtonInfo &messageButtonInfo(int index);
inline constexpr int kMessageButtonCount = 11;

// The skinned message dialog, modal; returns the result of the button pressed.
int SkinMessageDlg(std::uint8_t kind, const QString &text, std::uint16_t buttons, QWidget *parent = nullptr);

// The message box built in code, with a caption and a kind word, of the
// given client size; modal.
int DynaMessageBox(int width, int height, std::uint8_t kind, std::uint16_t buttons, const QString &text,
                   const QString &caption, const QString &kindWord, QWidget *parent = nullptr);
