#pragma once

#include <QColor>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>

// What the two message dialogs show and answer, apart from the drawing.
// Texts break lines with carriage returns.

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
    mrHelp = 0, // never closes a dialog
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

// Button i of a set: its object name, caption (with its accelerator) and result.
struct MessageButtonInfo {
    const char *name;
    const char *caption;
    int result;
};
inline constexpr int kMessageButtonCount = 11;
// `index` 0 … kMessageButtonCount − 1.
const MessageButtonInfo &messageButtonInfo(int index);

// The indexes of the buttons in `buttons`, in table order whatever order the
// caller thought of them in; bits beyond the table are ignored.
[[nodiscard]] QList<int> messageButtonsIn(std::uint16_t buttons);

// The answer Escape (or closing the window) gives: Cancel, else No, else
// Okay; none when the set has none of them, and the dialog then stays open.
[[nodiscard]] std::optional<int> escapeResult(std::uint16_t buttons);

// The background image of the skinned dialog for a kind; empty for a kind
// outside the table, which leaves the dialog plain.
[[nodiscard]] QString messageKindImage(std::uint8_t kind);
// The kind colour of the code-built box; grey for a kind outside the table.
[[nodiscard]] QColor messageKindColour(std::uint8_t kind);

// Button `position` (0 = first shown) of the skinned dialog: one column at the right.
[[nodiscard]] QRect skinDialogButtonRect(int position);

// The code-built box's client size: the size asked for, grown where it is
// too small to show its buttons in one row along the bottom.
[[nodiscard]] QSize dynaBoxClientSize(int width, int height, int buttonCount);
// Button `position` of `count` along the bottom of a box of client size `client`.
[[nodiscard]] QRect dynaBoxButtonRect(int position, int count, QSize client);

// The text as shown: carriage returns (alone or before a line feed) become line feeds.
[[nodiscard]] QString messageDisplayText(const QString &text);
