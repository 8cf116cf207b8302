#include "gui/controls/FramedDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

class OneFieldDialog final : public FramedDialog {
public:
    explicit OneFieldDialog(QWidget *owner)
        : FramedDialog(QStringLiteral("One field"), owner)
        , field(new QLineEdit(this))
    {
        bodyLayout()->addWidget(field);
    }
    QLineEdit *field;
};

} // namespace

TEST(FramedDialog, OpensCentredOnItsOwnerAndWholeOnTheScreen)
{
    const QRect screen(0, 0, 1280, 1024);
    const QSize size(400, 300);
    struct Case {
        const char *what;
        QRect owner;
        QRect available;
        QPoint at;
    };
    const Case cases[] = {
        { "centred on the owner", { 100, 100, 600, 500 }, screen, { 200, 200 } },
        { "no owner: the middle of the screen", {}, screen, { 440, 362 } },
        { "owner at the top left", { 0, 0, 200, 100 }, screen, { 0, 0 } },
        { "owner at the bottom right", { 1100, 900, 180, 124 }, screen, { 880, 724 } },
        { "owner on a second screen", { 1400, 100, 400, 300 }, { 1280, 0, 1024, 768 }, { 1400, 100 } },
        { "screen smaller than the dialog: its title stays on it", { 0, 0, 200, 100 }, { 0, 0, 320, 240 }, { 0, 0 } },
    };
    for (const Case &c : cases)
        EXPECT_EQ(FramedDialog::placeFor(size, c.owner, c.available), c.at) << c.what;
}

TEST(FramedDialog, TitleDragMovesItAndReturnPressesOk)
{
    OneFieldDialog dialog(nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto *title = dialog.findChild<QLabel *>(QStringLiteral("Title"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), QStringLiteral("One field"));
    const QPoint before = dialog.pos();
    QTest::mousePress(title, Qt::LeftButton, {}, QPoint(20, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(60, 40), title->mapToGlobal(QPointF(60, 40)), Qt::NoButton,
        Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(title, &move);
    QTest::mouseRelease(title, Qt::LeftButton, {}, QPoint(60, 40));
    EXPECT_EQ(dialog.pos(), before + QPoint(40, 30));

    dialog.field->setFocus();
    QTest::keyClick(dialog.field, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}
