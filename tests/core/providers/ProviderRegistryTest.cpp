#include "providers/ProviderRegistry.h"
#include "store/TableBlanks.h"

#include "support/FakeDialUpService.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

namespace {

class ProviderRegistryTest : public ::testing::Test {
protected:
    ProviderRegistryTest() { blankProviderTable(*table); }

    std::unique_ptr<ProviderTable> table = std::make_unique<ProviderTable>();
    FakeDialUpService service;
    ProviderRegistry registry{*table, service};
};

} // namespace

TEST_F(ProviderRegistryTest, SynchronisesNewEntriesAndSelectsTheLastAdded)
{
    service.entries = {"Home ISP", "home isp", "Work"};
    registry.GetSystemDailupProviders();
    ASSERT_EQ(table->Count, 3) << "names differing in case are two providers";
    EXPECT_EQ(table->Current, 2);
    EXPECT_EQ(table->records[1].Name.text(), QStringLiteral("home isp"));
    EXPECT_EQ(table->records[1].Registered, 1);

    table->records[0].TotalCalls = 9;
    service.entries = {"Work"}; // "Home ISP" deleted from the phonebook
    table->Current = 0;
    registry.GetSystemDailupProviders();
    EXPECT_EQ(table->Count, 3) << "a deleted entry keeps its record";
    EXPECT_EQ(table->records[0].TotalCalls, 9);
    EXPECT_EQ(table->Current, 0) << "nothing added, nothing moved";
}

TEST_F(ProviderRegistryTest, EmptyOrFailingPhonebookChangesNothing)
{
    registry.GetSystemDailupProviders();
    EXPECT_EQ(table->Count, 0);
    service.entries = {"A"};
    service.failEnumEntries = 603;
    registry.GetSystemDailupProviders();
    EXPECT_EQ(table->Count, 0);
}

TEST_F(ProviderRegistryTest, ManyEntriesAreAllSynchronised)
{
    for (int i = 0; i < 150; ++i)
        service.entries.push_back("Entry " + std::to_string(i));
    registry.GetSystemDailupProviders();
    EXPECT_EQ(table->Count, 150);
    EXPECT_EQ(table->records[149].Name.text(), QStringLiteral("Entry 149"));
}

TEST_F(ProviderRegistryTest, TableStopsBeforeTheLogMarkers)
{
    QStringList full;
    for (int i = 0; i < 260; ++i)
        service.entries.push_back("E" + std::to_string(i));
    registry.setTableFullHandler([&](const QString &entry) { full.append(entry); });
    registry.GetSystemDailupProviders();
    registry.GetSystemDailupProviders();
    EXPECT_EQ(table->Count, 254);
    EXPECT_EQ(full, QStringList{QStringLiteral("E254")}) << "told once";
}

TEST_F(ProviderRegistryTest, LongNamesYieldOneRecord)
{
    const std::string longName(80, 'x');
    service.entries = {longName};
    registry.GetSystemDailupProviders();
    registry.GetSystemDailupProviders();
    ASSERT_EQ(table->Count, 1);
    EXPECT_EQ(table->records[0].Name.text().size(), 64);
    table->Current = 0;
    EXPECT_TRUE(registry.ProviderDBFind(QString::fromStdString(longName)));
}

TEST_F(ProviderRegistryTest, FindSeekPrevNext)
{
    service.entries = {"A", "B", "C"};
    registry.GetSystemDailupProviders();
    EXPECT_TRUE(registry.ProviderDBFind(QStringLiteral("A")));
    EXPECT_EQ(table->Current, 0);
    EXPECT_FALSE(registry.ProviderDBFind(QStringLiteral("a")));
    EXPECT_EQ(table->Current, 0);
    EXPECT_FALSE(registry.ProviderDBPrev());
    EXPECT_TRUE(registry.ProviderDBNext());
    EXPECT_TRUE(registry.ProviderDBNext());
    EXPECT_FALSE(registry.ProviderDBNext());
    EXPECT_EQ(table->Current, 2);
    EXPECT_TRUE(registry.ProviderDBSeek(QStringLiteral("B")));
    EXPECT_EQ(table->Current, 2) << "seek does not select";
}
