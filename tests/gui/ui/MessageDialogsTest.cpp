#include "gui/messages/MessageDialogs.h"
#include "gui/controls/ElidedText.h"
#include "gui/controls/TGFocusButton.h"
#include "gui/controls/TGText.h"
#include "gui/messages/TDynaMessageBoxDlg.h"
#include "gui/messages/TMessDlg.h"

#include "SkinTestSupport.h"

#include <QFontMetrics>
#include <QLabel>

namespace {

TGFocusButton *button(QDialog *dialog, const char *name)
{
    return dialog->findChild<TGFocusButton *>(QLatin1String(name));
}

void press(QDialog *dialog, const char *name)
{
    TGFocusButton *b = button(dialog, name);
    ASSERT_NE(b, nullptr) << name;
    QTest::mouseClick(b, Qt::LeftButton);
}

} // namespace

TEST(MessageDialogs, EmptySetShowsNothing)
{
    DialogGuard guard;
    EXPECT_EQ(SkinMessageDlg(mtWarning, QStringLiteral("x"), 0), -1);
    EXPECT_EQ(DynaMessageBox(400, 400, mtError, 0, QStringLiteral("x"), QStringLiteral("c"), QStringLiteral("k")), -1);
    EXPECT_EQ(SkinMessageDlg(mtWarning, QStringLiteral("x"), 0xF800), -1);
}

TEST(MessageDialogs, EachButtonAnswersWithItsResult)
{
    SkinFolder skins;
    const struct {
        std::uint16_t set;
        const char *press;
        int result;
    } cases[] = {
        { mbYes | mbNo, "Yes", 6 },
        { mbYes | mbNo, "No", 7 },
        { mbOK | mbCancel, "OK", 1 },
        { mbOK | mbCancel, "Cancel", 2 },
        { mbAbort | mbRetry, "Abort", 3 },
        { mbAbort | mbRetry, "Retry", 4 },
        { mbIgnore, "Ignore", 5 },
        { mbAll, "All", 8 },
        { mbNoToAll, "NoToAll", 9 },
        { mbYesToAll | mbNo, "YesToAll", 10 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.press);
        DialogGuard guard;
        whenDialogOpens([&](QDialog *dialog) { press(dialog, c.press); });
        EXPECT_EQ(SkinMessageDlg(mtConfirm, QStringLiteral("Sure?"), c.set), c.result);
        whenDialogOpens([&](QDialog *dialog) { press(dialog, c.press); });
        EXPECT_EQ(DynaMessageBox(400, 400, mtConfirm, c.set, QStringLiteral("Sure?"), QStringLiteral("Caption"),
                      QStringLiteral("confirm")),
            c.result);
    }
}

TEST(MessageDialogs, ButtonsStandInTableOrderWithTheirCaptions)
{
    SkinFolder skins;
    TMessDlg dialog(mtAdvice, QStringLiteral("text"), mbHelp | mbOK);
    TGFocusButton *ok = button(&dialog, "OK");
    TGFocusButton *help = button(&dialog, "Help");
    ASSERT_NE(ok, nullptr);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(ok->geometry(), QRect(384, 23, 54, 18));
    EXPECT_EQ(help->geometry(), QRect(384, 49, 54, 18));
    EXPECT_EQ(ok->text(), QStringLiteral("&Okay"));
    EXPECT_EQ(help->text(), QStringLiteral("&Help Me"));
    EXPECT_EQ(ok->tag(), 1);
    EXPECT_EQ(help->tag(), 0);
    EXPECT_EQ(dialog.findChildren<TGFocusButton *>().size(), 2);
    EXPECT_EQ(ok->nextInFocusChain(), help);

    TDynaMessageBoxDlg box(400, 400, mtError, mbHelp | mbCancel | mbOK, QStringLiteral("t"), QStringLiteral("Caption"),
        QStringLiteral("error"), {});
    const int top = box.height() - 30;
    EXPECT_EQ(button(&box, "OK")->geometry(), QRect(170, top, 70, 25));
    EXPECT_EQ(button(&box, "Cancel")->geometry(), QRect(245, top, 70, 25));
    EXPECT_EQ(button(&box, "Help")->geometry(), QRect(320, top, 70, 25));
}

TEST(MessageDialogs, HelpKeepsTheDialogOpen)
{
    SkinFolder skins;
    DialogGuard guard;
    bool stillOpen = false;
    whenDialogOpens([&](QDialog *dialog) {
        press(dialog, "Help");
        QTest::qWait(20);
        stillOpen = dialog->isVisible();
        press(dialog, "OK");
    });
    EXPECT_EQ(SkinMessageDlg(mtAdvice, QStringLiteral("text"), mbHelp | mbOK), mrOk);
    EXPECT_TRUE(stillOpen);

    int helpOpened = 0;
    setMessageHelpHandler([&] { ++helpOpened; });
    stillOpen = false;
    whenDialogOpens([&](QDialog *dialog) {
        press(dialog, "Help");
        QTest::qWait(20);
        stillOpen = dialog->isVisible();
        press(dialog, "OK");
    });
    EXPECT_EQ(DynaMessageBox(300, 200, mtAdvice, mbHelp | mbOK, QStringLiteral("t"), QStringLiteral("c"),
                  QStringLiteral("advice")),
        mrOk);
    setMessageHelpHandler({});
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(helpOpened, 1);
}

TEST(MessageDialogs, EscapeAnswersNoOrCancelOrOkay)
{
    SkinFolder skins;
    const struct {
        std::uint16_t set;
        int result;
    } cases[] = { { mbYes | mbNo, mrNo }, { mbOK | mbCancel, mrCancel }, { mbYes | mbNo | mbCancel, mrCancel },
        { mbOK, mrOk }, { mbOK | mbHelp, mrOk } };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.set);
        DialogGuard guard;
        whenDialogOpens([](QDialog *dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
        EXPECT_EQ(SkinMessageDlg(mtConfirm, QStringLiteral("q"), c.set), c.result);
    }

    // With none of them, Escape and a close request leave the dialog up.
    DialogGuard guard;
    bool stillOpen = false;
    whenDialogOpens([&](QDialog *dialog) {
        QTest::keyClick(dialog, Qt::Key_Escape);
        dialog->close();
        QTest::qWait(20);
        stillOpen = dialog->isVisible();
        press(dialog, "Retry");
    });
    EXPECT_EQ(SkinMessageDlg(mtWarning, QStringLiteral("q"), mbAbort | mbRetry), mrRetry);
    EXPECT_TRUE(stillOpen);
}

TEST(MessageDialogs, EnterPressesTheFocusedButton)
{
    SkinFolder skins;
    DialogGuard guard;
    whenDialogOpens([](QDialog *dialog) {
        ASSERT_TRUE(waitUntil([&] { return dialog->focusWidget() == button(dialog, "Yes"); }));
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(SkinMessageDlg(mtConfirm, QStringLiteral("q"), mbYes | mbNo), mrNo);
}

TEST(MessageDialogs, KindPictureGivesSizeAndOutline)
{
    SkinFolder skins;
    skins.add(QStringLiteral("Confirm"), solidPicture({ 460, 210 }, QColor(250, 240, 200), QRect(0, 0, 8, 8)));
    TMessDlg skinned(mtConfirm, QStringLiteral("a\rb"), mbYes | mbNo);
    EXPECT_EQ(skinned.size(), QSize(460, 210));
    EXPECT_FALSE(skinned.mask().contains(QPoint(3, 3)));
    EXPECT_TRUE(skinned.mask().contains(QPoint(100, 100)));
    EXPECT_EQ(skinned.textLabel->text(), QStringLiteral("a\nb"));
    EXPECT_EQ(skinned.textLabel->geometry(), QRect(28, 60, 333, 125));

    // Another kind has no picture in this skin: plain and rectangular.
    TMessDlg plain(mtWarning, QStringLiteral("w"), mbOK);
    EXPECT_TRUE(plain.Image_Dlg.isNull());
    EXPECT_EQ(plain.size(), QSize(TMessDlg::kPlainWidth, TMessDlg::kPlainHeight));
    EXPECT_TRUE(plain.mask().isEmpty());
    EXPECT_TRUE(plain.windowFlags() & Qt::FramelessWindowHint);
}

TEST(MessageDialogs, CodeBuiltBoxShowsCaptionAndKindWord)
{
    TDynaMessageBoxDlg box(400, 400, mtError, mbOK, QStringLiteral("line one\rline two"),
        QStringLiteral("Invalid Data File"), QStringLiteral("error"), {});
    EXPECT_EQ(box.width(), 400);
    EXPECT_LT(box.height(), 250) << "as tall as its two lines and the kind word, not the 400 asked";
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Invalid Data File"));
    EXPECT_EQ(box.LabelCaption->text(), QStringLiteral("Invalid Data File"));
    EXPECT_EQ(box.LabelText->text(), QStringLiteral("line one\nline two"));
    EXPECT_EQ(box.TextKind->caption(), QStringLiteral(" error"));
    EXPECT_EQ(box.TextKind->fontColor(), QColor(255, 0, 0));
    EXPECT_EQ(box.TextKind->angle(), 90);
    EXPECT_EQ(box.ImageIcon->geometry(), QRect(10, 6, 32, 32));
    EXPECT_EQ(button(&box, "OK")->geometry(), QRect(320, box.height() - 30, 70, 25));

    // A long text grows the box rather than being cut.
    TDynaMessageBoxDlg tall(400, 400, mtError, mbOK, QStringLiteral("line\r").repeated(40), QString(), QString(), {});
    EXPECT_GE(tall.LabelText->height(), 40 * QFontMetrics(tall.LabelText->font()).lineSpacing());

    // Too small for its buttons, it grows to show them.
    TDynaMessageBoxDlg tiny(10, 10, mtError, mbYes | mbNo, QString(), QString(), QString(), {});
    EXPECT_EQ(tiny.width(), 160);
    EXPECT_GE(tiny.height(), 100);
    EXPECT_EQ(button(&tiny, "Yes")->geometry().left(), 5);
}

TEST(MessageDialogs, OnlyWordsWiderThanTheTextBoxMayBreakBetweenLetters)
{
    const QChar zeroWidth(0x200B);
    const QString longName(64, QLatin1Char('W'));
    const QString faces = QString::fromUtf8("\xF0\x9F\x98\x80").repeated(40); // outside the basic plane
    struct Case {
        QString text;
        int breaks;
    };
    const Case cases[] = {
        { QStringLiteral("Short words\rwrap at their blanks"), 0 },
        { QStringLiteral("for ") + longName + QStringLiteral(" from\r"), 63 },
        { faces, 39 }, // never between the two halves of a character
    };
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(16);
    for (const Case &c : cases) {
        const QString shown = breakableText(c.text, font, 333);
        EXPECT_EQ(shown.count(zeroWidth), c.breaks) << c.text.toStdString();
        EXPECT_EQ(QString(shown).remove(zeroWidth), c.text) << "nothing else changes";
    }
}
