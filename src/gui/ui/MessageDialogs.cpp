#include "ui/MessageDialogs.h"

#include <QMessageBox>
#include <QPushButton>

#include <array>

namespace {

constexpr std::array<MessageButtonInfo, kMessageButtonCount> kButtons = {{
    {"Yes", "&Yes", mrYes},
    {"No", "&No", mrNo},
    {"OK", "&Okay", mrOk},
    {"Cancel", "&Cancel", mrCancel},
    {"Abort", "&Abort", mrAbort},
    {"Retry", "&Retry", mrRetry},
    {"Ignore", "&Ignore", mrIgnore},
    {"All", "&All", mrAll},
    {"NoToAll", "&No To All", mrNoToAll},
    {"YesToAll", "&Yes To All", mrYesToAll},
    {"Help", "&Help Me", mrHelp},
}};

QString displayText(const QString &text)
{
    return QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

int runBox(std::uint8_t kind, std::uint16_t buttons, const QString &text, const QString &caption, QWidget *parent)
{
    if (buttons == 0)
        return mrNone;
    static constexpr std::array<QMessageBox::Icon, 4> kIcons = {QMessageBox::Warning, QMessageBox::Critical,
                                                                QMessageBox::Information, QMessageBox::Question};
    QMessageBox box(kind < kIcons.size() ? kIcons[kind] : QMessageBox::NoIcon, caption, displayText(text),
                    QMessageBox::NoButton, parent);
    for (int i = 0; i < kMessageButtonCount; ++i) {
        if (buttons & (1 << i)) {
            QPushButton *button = box.addButton(QString::fromLatin1(kButtons[std::size_t(i)].caption), QMessageBox::AcceptRole);
            button->setObjectName(QString::fromLatin1(kButtons[std::size_t(i)].name));
            button->setProperty("result", kButtons[std::size_t(i)].result);
        }
    }
    do {
        box.exec();
    } while (box.clickedButton() && box.clickedButton()->property("result").toInt() == mrHelp);
    return box.clickedButton() ? box.clickedButton()->property("result").toInt() : mrCancel;
}

} // namespace

const MessageButtonInfo &messageButtonInfo(int index)
{
    return kButtons.at(std::size_t(index));
}

int SkinMessageDlg(std::uint8_t kind, const QString &text, std::uint16_t buttons, QWidget *parent)
{
    return runBox(kind, buttons, text, QStringLiteral("Dialtally"), parent);
}

int DynaMessageBox(int width, int height, std::uint8_t kind, std::uint16_t buttons, const QString &text,
                   const QString &caption, const QString &kindWord, QWidget *parent)
{
    Q_UNUSED(width);
    Q_UNUSED(height);
    Q_UNUSED(kindWord);
    return runBox(kind, buttons, text, caption, parent);
}
