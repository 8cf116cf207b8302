#include "gui/connection/TConnectDlg.h"

#include <QListWidget>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

// A long reason from the dial-up service is read whole in the dialling
// window: wrapped to the list's width, never cut behind a sideways scrollbar.
TEST(TConnectDlg, ALongErrorIsWrappedWhole)
{
    TConnectDlg dialog;
    dialog.showProgress(QStringLiteral("Mobile GSM"));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QString reason = QStringLiteral(
        ">NetworkManager refused the request: No suitable device found for this connection (device eth0 not "
        "available because profile is not compatible with device (mismatching interface name)).");
    dialog.addLine(QStringLiteral("Opening port"));
    dialog.addLine(reason);
    QListWidget *list = dialog.statusLines;
    QApplication::processEvents();
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
    const QListWidgetItem *item = list->item(1);
    EXPECT_EQ(item->text(), reason) << "kept whole";
    const QRect shown = list->visualItemRect(item);
    EXPECT_LE(shown.right(), list->viewport()->width());
    QFont bold = list->font();
    bold.setBold(true);
    const QRect needed
        = QFontMetrics(bold).boundingRect(QRect(0, 0, list->viewport()->width(), 10000), Qt::TextWordWrap, reason);
    EXPECT_GT(needed.height(), 4 * list->fontMetrics().height()) << "a reason of many lines";
    EXPECT_GE(shown.height(), needed.height()) << "room for every line of it";
    // The list follows the newest line, so the end of the error is in view.
    EXPECT_LE(shown.bottom(), list->viewport()->height());
}
