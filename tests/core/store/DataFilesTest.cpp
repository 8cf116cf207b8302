#include "core/store/DataFiles.h"
#include "core/store/TableBlanks.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <memory>
#include <sys/resource.h>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

template <typename T> void putLE(QByteArray &bytes, int offset, T value)
{
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bytes[offset + int(i)] = char((std::uint64_t(value) >> (8 * i)) & 0xFF);
}

void putDouble(QByteArray &bytes, int offset, double value)
{
    std::uint64_t raw = 0;
    std::memcpy(&raw, &value, sizeof raw);
    putLE(bytes, offset, raw);
}

struct Tables {
    std::unique_ptr<ProviderTable> providers = std::make_unique<ProviderTable>();
    std::unique_ptr<CallLogTable> log = std::make_unique<CallLogTable>();
    std::unique_ptr<TariffTable> tariffs = std::make_unique<TariffTable>();
    Tables()
    {
        blankProviderTable(*providers);
        blankCallLog(*log);
        blankTariffTable(*tariffs);
    }
};

class DataFilesTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    DataFiles files { dir.path() };
    Tables tables;
};

} // namespace

TEST_F(DataFilesTest, FirstSaveWritesExactSizesAndBlankLog)
{
    ASSERT_TRUE(files.saveAppData(*tables.providers));
    ASSERT_TRUE(files.saveLogData(*tables.log));
    ASSERT_TRUE(files.saveTarifData(*tables.tariffs));

    const QByteArray providers = readFile(files.path(DataFiles::kProvidersFile));
    const QByteArray log = readFile(files.path(DataFiles::kLogFile));
    EXPECT_EQ(providers.size(), 55306);
    EXPECT_EQ(log.size(), 524288);
    EXPECT_EQ(readFile(files.path(DataFiles::kTariffsFile)).size(), 38912);
    EXPECT_EQ(providers.left(12), QByteArray("OLS10\0\0\0\0\0\0\0", 12));
    EXPECT_EQ(log.left(524288 - 32), QByteArray(524288 - 32, char(0xFF)));
    EXPECT_EQ(log.right(32), QByteArray(32, '\0'));
}

TEST_F(DataFilesTest, RecordsAreStoredAtTheirOffsets)
{
    ProviderTable &p = *tables.providers;
    p.Count = 2;
    p.Current = 1;
    Provider &second = p.records[1];
    second.Name.setText(QStringLiteral("Dial Café"));
    second.Registered = 1;
    second.TotalSeconds = 0x01020304;
    second.TotalCost = 123456789;
    second.TotalCalls = 513;
    second.MonthStartDay = 7;
    second.TodayCost = -5;
    second.MonthlyHourLimit = 40;
    second.StartedOn = 46000.5;
    CallRecord &call = tables.log->records[3];
    call = CallRecord { 5, 3, 1, 23, 59, 58, 6, 3, 1, 0, 0, 4, 1, { 9, 9, 9 }, 6, 15000, 44, { 8, 8, 8 } };
    Tariff &tariff = tables.tariffs->records[2];
    tariff.IdNumber = 300;
    tariff.StartTime = 28800;
    tariff.UnitCost = 1000;
    tariff.Colour = 0x00008000;
    tariff.CallCount = 2;

    ASSERT_TRUE(files.saveAppData(p));
    ASSERT_TRUE(files.saveLogData(*tables.log));
    ASSERT_TRUE(files.saveTarifData(*tables.tariffs));

    QByteArray expected(55306, '\0');
    expected.replace(0, 6, QByteArray("OLS10\0", 6));
    putLE<std::uint16_t>(expected, 6, 2);
    putLE<std::uint16_t>(expected, 8, 1);
    const int base = 12 + 216;
    expected[base + 4] = 9;
    expected.replace(base + 5, 9, QByteArray("Dial Caf\xE9"));
    expected[base + 70] = 1;
    putLE<std::uint32_t>(expected, base + 84, 0x01020304);
    putLE<std::int64_t>(expected, base + 88, 123456789);
    putLE<std::uint16_t>(expected, base + 104, 513);
    expected[base + 106] = 7;
    putLE<std::int64_t>(expected, base + 136, -5);
    putLE<std::uint16_t>(expected, base + 164, 40);
    putDouble(expected, base + 184, 46000.5);
    EXPECT_EQ(readFile(files.path(DataFiles::kProvidersFile)), expected);

    const QByteArray log = readFile(files.path(DataFiles::kLogFile));
    EXPECT_EQ(log.mid(3 * 32, 32),
        QByteArray("\x05\x03\x01\x17\x3B\x3A\x06\x03\x01\x00\x00\x04\x01\x09\x09\x09"
                   "\x06\x00\x00\x00\x98\x3A\x00\x00\x00\x00\x00\x00\x2C\x08\x08\x08",
            32));

    QByteArray tariffBytes(152, '\0');
    putLE<std::uint32_t>(tariffBytes, 0, 300);
    putLE<std::int32_t>(tariffBytes, 72, 28800);
    putLE<std::int64_t>(tariffBytes, 92, 1000);
    putLE<std::uint32_t>(tariffBytes, 132, 0x8000);
    putLE<std::uint16_t>(tariffBytes, 148, 2);
    EXPECT_EQ(readFile(files.path(DataFiles::kTariffsFile)).mid(2 * 152, 152), tariffBytes);

    Tables loaded;
    EXPECT_EQ(files.loadAppData(*loaded.providers), ProviderFileState::Loaded);
    EXPECT_EQ(files.loadLogData(*loaded.log), 524288);
    EXPECT_EQ(files.loadTarifData(*loaded.tariffs), 38912);
    EXPECT_EQ(std::memcmp(loaded.providers.get(), tables.providers.get(), sizeof(ProviderTable)), 0);
    EXPECT_EQ(loaded.providers->records[1].Name.text(), QStringLiteral("Dial Café"));
    EXPECT_EQ(std::memcmp(loaded.log->records, tables.log->records, sizeof tables.log->records), 0);
    EXPECT_EQ(std::memcmp(loaded.tariffs->records, tables.tariffs->records, sizeof tables.tariffs->records), 0);
}

TEST_F(DataFilesTest, InvalidProviderFilesAreCopiedAndIgnored)
{
    QByteArray good(55306, '\0');
    good.replace(0, 6, QByteArray("OLS10\0", 6));
    good[6] = 3;
    QByteArray badSixth = good;
    badSixth[5] = '1';
    const struct {
        const char *what;
        QByteArray bytes;
    } cases[] = {
        { "one byte short", good.left(55305) },
        { "one byte long", good + QByteArray(1, '\0') },
        { "sixth byte differs", badSixth },
        { "empty", QByteArray() },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(files.path(DataFiles::kProvidersFile), c.bytes);
        Tables fresh;
        EXPECT_EQ(files.loadAppData(*fresh.providers), ProviderFileState::Invalid);
        EXPECT_EQ(fresh.providers->Count, 0);
        EXPECT_EQ(readFile(files.path(DataFiles::kInvalidCopy)), c.bytes);
        EXPECT_EQ(readFile(files.path(DataFiles::kProvidersFile)), c.bytes)
            << "the file itself stays until the next save";
    }
    writeFile(files.path(DataFiles::kProvidersFile), good);
    EXPECT_EQ(files.loadAppData(*tables.providers), ProviderFileState::Loaded);
    EXPECT_EQ(tables.providers->Count, 3);
}

TEST_F(DataFilesTest, MissingFilesLeaveTheBlankTables)
{
    EXPECT_EQ(files.loadAppData(*tables.providers), ProviderFileState::Missing);
    EXPECT_EQ(files.loadLogData(*tables.log), -1);
    EXPECT_EQ(files.loadTarifData(*tables.tariffs), -1);
    EXPECT_EQ(tables.log->records[0].ProviderIndex, kUnusedSlot);
}

TEST_F(DataFilesTest, LastProviderLosesTheTopTwoBytesOfItsLastCallDate)
{
    tables.providers->Count = 256;
    tables.providers->records[255].LastCallDate = 46000.0; // top bytes 0x40 0xE6
    ASSERT_TRUE(files.saveAppData(*tables.providers));
    Tables loaded;
    ASSERT_EQ(files.loadAppData(*loaded.providers), ProviderFileState::Loaded);
    const auto *bytes = reinterpret_cast<const unsigned char *>(&loaded.providers->records[255].LastCallDate);
    EXPECT_EQ(bytes[6], 0);
    EXPECT_EQ(bytes[7], 0);
    EXPECT_EQ(loaded.providers->Count, 256);
}

TEST_F(DataFilesTest, ShortLogFileFillsOnlyTheLeadingSlots)
{
    QByteArray twoCalls(64, '\x01');
    twoCalls[12] = 0;
    twoCalls[32 + 12] = 0;
    writeFile(files.path(DataFiles::kLogFile), twoCalls + QByteArray(5, '\x02'));
    EXPECT_EQ(files.loadLogData(*tables.log), 69);
    EXPECT_EQ(tables.log->records[1].DurationSeconds, 0x01010101u);
    EXPECT_EQ(tables.log->records[2].StartDay, 2);
    EXPECT_EQ(tables.log->records[2].ProviderIndex, kUnusedSlot);
}

TEST_F(DataFilesTest, HeaderCountsAreClamped)
{
    const struct {
        std::uint16_t count, current, wantCount, wantCurrent;
    } cases[] = { { 300, 5, 256, 5 }, { 3, 3, 3, 2 }, { 0, 7, 0, 0 }, { 4, 9000, 4, 3 }, { 2, 1, 2, 1 } };
    for (const auto &c : cases) {
        ProviderTable table {};
        table.Count = c.count;
        table.Current = c.current;
        clampProviderHeader(table);
        EXPECT_EQ(table.Count, c.wantCount);
        EXPECT_EQ(table.Current, c.wantCurrent);
    }
}

TEST_F(DataFilesTest, CountsAreDerivedFromWhatTheFilesHold)
{
    EXPECT_EQ(logCountFromSlots(*tables.log, 524288), 0) << "a blank log holds no call";
    tables.log->records[0].ProviderIndex = 0;
    tables.log->records[1].ProviderIndex = kDeletedCall;
    tables.log->records[4].ProviderIndex = 2;
    EXPECT_EQ(logCountFromSlots(*tables.log, 524288), 5) << "deleted calls inside the log still count";
    EXPECT_EQ(logCountFromSlots(*tables.log, 64), 2) << "only what was read";

    for (std::uint32_t id : { 1u, 2u, 4u, 4u })
        tables.tariffs->records[tables.tariffs->Count++].IdNumber = id;
    EXPECT_EQ(tariffCountFromSlots(*tables.tariffs, 38912), 3) << "a deletion leaves a copy of the last tariff";
    EXPECT_EQ(highestTariffId(*tables.tariffs), 4u);
}

TEST_F(DataFilesTest, AFailedSaveLeavesTheOldFileIntact)
{
    tables.log->records[0].ProviderIndex = 1;
    ASSERT_TRUE(files.saveLogData(*tables.log));
    const QByteArray before = readFile(files.path(DataFiles::kLogFile));

    // Writes past a small file-size limit fail even for root, like a full disk.
    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = old;
    tiny.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &tiny);
    tables.log->records[0].ProviderIndex = 7;
    const auto result = files.saveLogData(*tables.log);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);

    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().path, files.path(DataFiles::kLogFile));
    EXPECT_FALSE(result.error().reason.isEmpty());
    EXPECT_EQ(readFile(files.path(DataFiles::kLogFile)), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList { DataFiles::kLogFile }) << "no temporary file left";
}
