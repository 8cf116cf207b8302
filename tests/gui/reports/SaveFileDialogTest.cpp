#include "gui/reports/SaveFileDialog.h"

#include "core/reports/SaveLocation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

template <typename Widget> Widget *child(QWidget &dialog, const char *name)
{
    auto *widget = dialog.findChild<Widget *>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

} // namespace

TEST(SaveFileDialog, PathIsTheNameInTheFolderOrSaysWhyNot)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub.csv")));
    const QString home = QDir::homePath();
    struct Case {
        QString folder;
        QString name;
        QString path; // empty when refused
        QString problem;
    };
    const Case cases[] = {
        { dir.path(), QStringLiteral("calls.csv"), dir.path() + QStringLiteral("/calls.csv"), {} },
        { dir.path(), QStringLiteral("calls"), dir.path() + QStringLiteral("/calls.csv"), {} },
        { dir.path(), QStringLiteral("calls.txt"), dir.path() + QStringLiteral("/calls.txt"), {} },
        { QStringLiteral("  ") + dir.path() + QStringLiteral("/ "), QStringLiteral(" calls.csv "),
            dir.path() + QStringLiteral("/calls.csv"), {} },
        { QStringLiteral("~"), QStringLiteral("calls.csv"), home + QStringLiteral("/calls.csv"), {} },
        { QString(), QStringLiteral("calls.csv"), {}, QStringLiteral("Enter the folder to save the file in.") },
        { QStringLiteral("docs"), QStringLiteral("calls.csv"), {},
            QStringLiteral("Enter the folder's whole path, as %1.").arg(QDir::toNativeSeparators(home)) },
        { dir.path() + QStringLiteral("/gone"), QStringLiteral("calls.csv"), {},
            QStringLiteral("There is no folder %1.")
                .arg(QDir::toNativeSeparators(dir.path() + QStringLiteral("/gone"))) },
        { QStringLiteral("/proc"), QStringLiteral("calls.csv"), {}, QStringLiteral("Files cannot be saved in /proc.") },
        { dir.path(), QStringLiteral(""), {}, QStringLiteral("Enter a name for the file.") },
        { dir.path(), QStringLiteral("../calls.csv"), {},
            QStringLiteral("Enter the file's name alone; the folder goes above it.") },
        { dir.path(), QStringLiteral(".."), {},
            QStringLiteral("Enter the file's name alone; the folder goes above it.") },
        { dir.path(), QStringLiteral("sub"), {},
            QStringLiteral("%1 is a folder.").arg(QDir::toNativeSeparators(dir.path() + QStringLiteral("/sub.csv"))) },
    };
    for (const Case &c : cases) {
        const auto path = savePathFor(c.folder, c.name, QStringLiteral("csv"));
        if (c.path.isEmpty()) {
            ASSERT_FALSE(path) << c.folder.toStdString() << " " << c.name.toStdString();
            EXPECT_EQ(path.error(), c.problem) << c.folder.toStdString() << " " << c.name.toStdString();
        } else {
            ASSERT_TRUE(path) << c.folder.toStdString() << " " << c.name.toStdString() << ": "
                              << path.error().toStdString();
            EXPECT_EQ(*path, c.path);
        }
    }
}

TEST(SaveFileDialog, ReturnSavesWhereTypedAndAReplaceIsAskedFirst)
{
    QTemporaryDir dir;
    const QString proposed = QDir(dir.path()).filePath(QStringLiteral("calls-2026-12.html"));
    {
        SaveFileDialog dialog(
            nullptr, QStringLiteral("Write the report"), proposed, QStringLiteral("Web page (*.html)"));
        dialog.show();
        QLineEdit *name = child<QLineEdit>(dialog, "FileName");
        ASSERT_EQ(dialog.focusWidget(), name);
        EXPECT_EQ(name->selectedText(), QStringLiteral("calls-2026-12")) << "typing replaces the name, not the type";
        QTest::keyClicks(name, QStringLiteral("december"));
        QTest::keyClick(name, Qt::Key_Return);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.chosenPath(), QDir(dir.path()).filePath(QStringLiteral("december.html")));
    }
    {
        // A folder that is not there keeps the dialog open and says so.
        SaveFileDialog dialog(
            nullptr, QStringLiteral("Write the report"), proposed, QStringLiteral("Web page (*.html)"));
        dialog.show();
        child<QLineEdit>(dialog, "Folder")->setText(dir.path() + QStringLiteral("/missing"));
        QTest::keyClick(child<QLineEdit>(dialog, "Folder"), Qt::Key_Enter);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(child<QLabel>(dialog, "Problem")->isVisible());
        EXPECT_TRUE(child<QLabel>(dialog, "Problem")->text().startsWith(QStringLiteral("There is no folder")));
    }
    // A file already there is replaced only on Yes.
    QFile kept(proposed);
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.close();
    for (const char *answer : { "No", "Yes" }) {
        SaveFileDialog dialog(
            nullptr, QStringLiteral("Write the report"), proposed, QStringLiteral("Web page (*.html)"));
        dialog.show();
        bool asked = false;
        QTimer::singleShot(0, [&] {
            QWidget *question = QApplication::activeModalWidget();
            asked = question && question != &dialog;
            if (asked)
                child<QAbstractButton>(*question, answer)->click();
        });
        child<QAbstractButton>(dialog, "OK")->click();
        EXPECT_TRUE(asked) << answer;
        EXPECT_EQ(dialog.isVisible(), QLatin1String(answer) == QLatin1String("No")) << answer;
        EXPECT_EQ(dialog.chosenPath(), QLatin1String(answer) == QLatin1String("Yes") ? proposed : QString()) << answer;
    }
}
