#include "gui/messages/MessageDialogs.h"

#include "gui/messages/TDynaMessageBoxDlg.h"
#include "gui/messages/TMessDlg.h"

namespace {

std::function<void()> &helpHandler()
{
    static std::function<void()> handler;
    return handler;
}

} // namespace

int SkinMessageDlg(std::uint8_t kind, const QString &text, std::uint16_t buttons, QWidget *parent,
    std::optional<int> escapeAnswer, std::optional<int> defaultAnswer)
{
    if (messageButtonsIn(buttons).isEmpty())
        return mrNone;
    TMessDlg dialog(kind, text, buttons, parent);
    if (escapeAnswer)
        dialog.setEscapeAnswer(*escapeAnswer);
    if (defaultAnswer)
        dialog.setDefaultAnswer(*defaultAnswer);
    return dialog.exec();
}

int DynaMessageBox(int width, int height, std::uint8_t kind, std::uint16_t buttons, const QString &text,
    const QString &caption, const QString &kindWord, QWidget *parent)
{
    if (messageButtonsIn(buttons).isEmpty())
        return mrNone;
    TDynaMessageBoxDlg box(width, height, kind, buttons, text, caption, kindWord, helpHandler(), parent);
    return box.exec();
}

void setMessageHelpHandler(std::function<void()> handler) { helpHandler() = std::move(handler); }
