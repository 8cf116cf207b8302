#include "core/providers/ProviderRegistry.h"
#include "core/store/TableBlanks.h"

#include "support/FakeDialUpService.h"

#include <QCryptographicHash>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <memory>

namespace {

class ProviderRegistryTest : public ::testing::Test {
protected:
    ProviderRegistryTest() { blankProviderTable(*table); }

    std::unique_ptr<ProviderTable> table = std::make_unique<ProviderTable>();
    FakeDialUpService service;
    ProviderRegistry registry { *table, service };
};

} // namespace

TEST_F(ProviderRegistryTest, SynchronisesNewEntriesAndSelectsTheLastAdded)
{
    service.entries = { "Home ISP", "home isp", "Work" };
    registry.GetSystemDailupProviders();
    ASSERT_EQ(table->Count, 3) << "names differing in case are two providers";
    EXPECT_EQ(table->Current, 2);
    EXPECT_EQ(table->records[1].Name.text(), QStringLiteral("home isp"));
    EXPECT_EQ(table->records[1].Registered, 1);

    table->records[0].TotalCalls = 9;
    service.entries = { "Work" }; // "Home ISP" deleted from the phonebook
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
    service.entries = { "A" };
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
    EXPECT_EQ(full, QStringList { QStringLiteral("E254") }) << "told once";
}

TEST_F(ProviderRegistryTest, LongNamesYieldOneRecord)
{
    const std::string longName(80, 'x');
    service.entries = { longName };
    registry.GetSystemDailupProviders();
    registry.GetSystemDailupProviders();
    ASSERT_EQ(table->Count, 1);
    EXPECT_EQ(table->records[0].Name.text().size(), 64);
    table->Current = 0;
    EXPECT_TRUE(registry.ProviderDBFind(QString::fromStdString(longName)));
}

TEST_F(ProviderRegistryTest, FindSeekPrevNext)
{
    service.entries = { "A", "B", "C" };
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

TEST_F(ProviderRegistryTest, EveryNameIsKeptExactly)
{
    const QString cyrillic40 = QString(40, QChar(0x0416));
    const QByteArray longMark
        = QCryptographicHash::hash((QStringLiteral("a") + cyrillic40).toUtf8(), QCryptographicHash::Sha1)
              .toHex()
              .left(6);
    struct Case {
        const char *what;
        QString name;
        QByteArray stored;
        QString readBack;
    };
    const Case cases[] = {
        { "Windows-1252, as always", QStringLiteral("Caf\u00e9 \u20ac"), QByteArray("Caf\xe9 \x80"),
            QStringLiteral("Caf\u00e9 \u20ac") },
        { "outside Windows-1252", QStringLiteral("\u0421\u0432\u044f\u0437\u044c"),
            QByteArray("\xd0\xa1\xd0\xb2\xd1\x8f\xd0\xb7\xd1\x8c"), QStringLiteral("\u0421\u0432\u044f\u0437\u044c") },
        { "same length, another name", QStringLiteral("\u0414\u043e\u043c\u0430\u0448"),
            QByteArray("\xd0\x94\xd0\xbe\xd0\xbc\xd0\xb0\xd1\x88"), QStringLiteral("\u0414\u043e\u043c\u0430\u0448") },
        // Too long for the record: its head, cut between characters, and a mark
        // made from the whole name, so two names alike in their first bytes differ.
        { "cut between characters", QStringLiteral("a") + cyrillic40,
            QByteArray("a") + cyrillic40.left(28).toUtf8() + '~' + longMark,
            QStringLiteral("a") + cyrillic40.left(28) + QLatin1Char('~') + QString::fromLatin1(longMark) },
        { "beyond the basic plane", QStringLiteral("Net \U0001F600"), QByteArray("Net \xf0\x9f\x98\x80"),
            QStringLiteral("Net \U0001F600") },
    };
    for (const Case &c : cases)
        service.entries.push_back(c.name.toStdString());
    registry.GetSystemDailupProviders();
    ASSERT_EQ(table->Count, int(std::size(cases)));
    for (int i = 0; i < table->Count; ++i) {
        const Case &c = cases[i];
        SCOPED_TRACE(c.what);
        const Provider &record = table->records[i];
        EXPECT_EQ(QByteArray(record.Name.chars, record.Name.length), c.stored);
        EXPECT_EQ(record.Name.text(), c.readBack);
        EXPECT_TRUE(registry.ProviderDBFind(c.name));
        EXPECT_EQ(table->Current, i);
    }

    // Bytes that are not UTF-8 read as Windows-1252.
    Provider &first = table->records[0];
    first.Name.length = 3;
    std::memcpy(first.Name.chars, "\xe9t\xe9", 3);
    EXPECT_EQ(first.Name.text(), QStringLiteral("\u00e9t\u00e9"));
}
