#include "gui/providers/ProviderChooser.h"
#include "core/providers/ProviderRegistry.h"
#include "core/store/TableBlanks.h"
#include "gui/providers/ProviderMenu.h"

#include "support/FakeDialUpService.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class ProviderChooserTest : public ::testing::Test {
protected:
    ProviderChooserTest()
    {
        blankProviderTable(*table);
        window.setGeometry(100, 100, 400, 200);
        dialButton->setGeometry(10, 10, 60, 20);
        label->setGeometry(50, 60, 200, 20);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    ProviderMenu &menu() { return chooser.PopupMenu_DialUps(); }
    QStringList captions()
    {
        QStringList list;
        for (const QAction *action : menu().actions())
            list.append(
                ProviderMenu::captionOf(action) + QLatin1Char('=') + QString::number(ProviderMenu::tagOf(action)));
        return list;
    }
    void click(const QString &caption)
    {
        for (QAction *action : menu().actions()) {
            if (ProviderMenu::captionOf(action) == caption)
                QTest::mouseClick(&menu(), Qt::LeftButton, {}, menu().actionGeometry(action).center());
        }
    }

    std::unique_ptr<ProviderTable> table = std::make_unique<ProviderTable>();
    FakeDialUpService service;
    ProviderRegistry registry { *table, service };
    QWidget window;
    QPushButton *dialButton = new QPushButton(QStringLiteral("Dial"), &window);
    QLabel *label = new QLabel(&window);
    int refreshes = 0;
    ProviderChooser chooser { registry, service, dialButton, label, [this] { ++refreshes; } };
};

} // namespace

TEST_F(ProviderChooserTest, ListsThePhonebookOverTheLabel)
{
    service.entries = { "Home", "work", "Work", "A&B" };
    chooser.ButtonChooseProviderClick();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu()));
    EXPECT_EQ(captions(), (QStringList { "Home=1", "work=2", "Work=3", "A&B=4" }));
    EXPECT_EQ(menu().pos(), label->mapToGlobal(QPoint(-2, -2)));
    EXPECT_FALSE(dialButton->isEnabled()) << "no dialling while the list is open";
}

TEST_F(ProviderChooserTest, ChoosingAnEntrySelectsItsProvider)
{
    registry.ProviderDBadd(QStringLiteral("Home"));
    registry.ProviderDBadd(QStringLiteral("Work"));
    registry.ProviderDBadd(QStringLiteral("work"));
    service.entries = { "Home", "Work", "work" };
    chooser.ButtonChooseProviderClick();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu()));
    click(QStringLiteral("Work"));
    EXPECT_FALSE(menu().isVisible());
    EXPECT_EQ(label->text(), QStringLiteral("Work"));
    EXPECT_TRUE(dialButton->isEnabled());
    EXPECT_EQ(table->Current, 1) << "matched by the exact name";
    EXPECT_EQ(refreshes, 1);
}

TEST_F(ProviderChooserTest, NoChoiceLeavesTheDialButtonAsItWas)
{
    struct Case {
        const char *what;
        bool enabledBefore;
        std::vector<std::string> entries;
        std::optional<dialup::ErrorCode> failure;
    };
    const Case cases[] = {
        { "dismissed, enabled", true, { "Home" }, {} },
        { "dismissed, disabled", false, { "Home" }, {} },
        { "empty phonebook", true, {}, {} },
        { "phonebook failure", true, { "Home" }, 603 },
    };
    for (const Case &c : cases) {
        dialButton->setEnabled(c.enabledBefore);
        service.entries = c.entries;
        service.failEnumEntries = c.failure;
        label->setText(QStringLiteral("Before"));
        chooser.ButtonChooseProviderClick();
        if (menu().isVisible()) {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu())) << c.what;
            QTest::keyClick(&menu(), Qt::Key_Escape);
        }
        EXPECT_FALSE(menu().isVisible()) << c.what;
        EXPECT_EQ(dialButton->isEnabled(), c.enabledBefore) << c.what;
        EXPECT_EQ(label->text(), QStringLiteral("Before")) << c.what;
        EXPECT_EQ(refreshes, 0) << c.what;
    }
}

TEST_F(ProviderChooserTest, ClickOnTheLabelOpensTheListAndThePlaceholderChoosesNothing)
{
    EXPECT_EQ(captions(), QStringList { "MenuProvLine=0" }) << "before the list is first built";
    chooser.SelectedConnectionClick(QStringLiteral("MenuProvLine"), 0);
    EXPECT_EQ(label->text(), QString());
    EXPECT_EQ(refreshes, 0);

    service.entries = { "Home" };
    QTest::mouseClick(label, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu()));
    EXPECT_EQ(captions(), QStringList { "Home=1" });
    click(QStringLiteral("Home"));
    EXPECT_EQ(label->text(), QStringLiteral("Home"));
    EXPECT_EQ(refreshes, 1);
}
