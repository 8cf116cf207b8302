#include "core/windowlogic/MessageTable.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<MessageButtonInfo, kMessageButtonCount> kButtons = { {
    { "Yes", "&Yes", mrYes },
    { "No", "&No", mrNo },
    { "OK", "&Okay", mrOk },
    { "Cancel", "&Cancel", mrCancel },
    { "Abort", "&Abort", mrAbort },
    { "Retry", "&Retry", mrRetry },
    { "Ignore", "&Ignore", mrIgnore },
    { "All", "&All", mrAll },
    { "NoToAll", "&No To All", mrNoToAll },
    { "YesToAll", "&Yes To All", mrYesToAll },
    { "Help", "&Help Me", mrHelp },
} };

struct KindInfo {
    const char *image;
    QRgb colour;
};

constexpr std::array<KindInfo, 4> kKinds = { {
    { "Warning", qRgb(255, 255, 0) },
    { "Error", qRgb(255, 0, 0) },
    { "Advice", qRgb(128, 128, 128) },
    { "Confirm", qRgb(0, 128, 0) },
} };

constexpr int kSkinButtonLeft = 384;
constexpr int kSkinButtonTop = 23;
constexpr int kSkinButtonStep = 26;
constexpr QSize kSkinButtonSize { 54, 18 };

constexpr int kDynaButtonStep = 75;
constexpr int kDynaRightMargin = 5;
constexpr int kDynaBottomOffset = 30;
constexpr QSize kDynaButtonSize { 70, 25 };
constexpr int kDynaMinimumHeight = 100;

} // namespace

const MessageButtonInfo &messageButtonInfo(int index) { return kButtons.at(std::size_t(index)); }

QList<int> messageButtonsIn(std::uint16_t buttons)
{
    QList<int> indexes;
    for (int i = 0; i < kMessageButtonCount; ++i) {
        if (buttons & (1u << i))
            indexes.append(i);
    }
    return indexes;
}

std::optional<int> escapeResult(std::uint16_t buttons)
{
    if (buttons & mbCancel)
        return mrCancel;
    if (buttons & mbNo)
        return mrNo;
    // A message with nothing to choose is closed by Escape as by Okay.
    if (buttons & mbOK)
        return mrOk;
    return std::nullopt;
}

QString messageKindImage(std::uint8_t kind)
{
    return kind < kKinds.size() ? QString::fromLatin1(kKinds[kind].image) : QString();
}

QColor messageKindColour(std::uint8_t kind)
{
    return QColor(kind < kKinds.size() ? kKinds[kind].colour : kKinds[mtAdvice].colour);
}

QRect skinDialogButtonRect(int position)
{
    return QRect(QPoint(kSkinButtonLeft, kSkinButtonTop + kSkinButtonStep * position), kSkinButtonSize);
}

QSize dynaBoxClientSize(int width, int height, int buttonCount)
{
    // Room for every button with the right margin on both sides.
    const int minimumWidth = 2 * kDynaRightMargin + kDynaButtonStep * buttonCount;
    return QSize(std::max(width, minimumWidth), std::max(height, kDynaMinimumHeight));
}

QRect dynaBoxButtonRect(int position, int count, QSize client)
{
    const int left = client.width() - kDynaRightMargin - kDynaButtonStep * count + kDynaButtonStep * position;
    return QRect(QPoint(left, client.height() - kDynaBottomOffset), kDynaButtonSize);
}

QString messageDisplayText(const QString &text)
{
    return QString(text)
        .replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
}
