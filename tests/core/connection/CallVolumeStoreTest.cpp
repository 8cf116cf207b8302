#include "CallMonitorTestFixture.h"

#include "core/store/AtomicFile.h"

#include <QtEndian>

#include <vector>

namespace {

// Log.volume.data decoded here by hand: 8-byte header ("TWV1", count), then
// bytes in and out of each call as little-endian 64-bit numbers.
std::vector<CallVolume> decode(const QByteArray &bytes)
{
    std::vector<CallVolume> volumes;
    if (bytes.size() < 8 || !bytes.startsWith("TWV1"))
        return volumes;
    const quint32 count = qFromLittleEndian<quint32>(bytes.constData() + 4);
    for (quint32 i = 0; i < count && 8 + 16 * qsizetype(i + 1) <= bytes.size(); ++i) {
        const char *record = bytes.constData() + 8 + 16 * i;
        volumes.push_back({ qFromLittleEndian<qint64>(record), qFromLittleEndian<qint64>(record + 8) });
    }
    return volumes;
}

QByteArray encode(const std::vector<CallVolume> &volumes)
{
    QByteArray bytes("TWV1");
    bytes.append(4, '\0');
    qToLittleEndian<quint32>(quint32(volumes.size()), bytes.data() + 4);
    for (const CallVolume &v : volumes) {
        char record[16];
        qToLittleEndian<qint64>(v.bytesIn, record);
        qToLittleEndian<qint64>(v.bytesOut, record + 8);
        bytes.append(record, 16);
    }
    return bytes;
}

constexpr CallVolume kUnknown;

class CallVolumeStoreTest : public CallMonitorTest {
protected:
    // A call of a few seconds whose line counted `volume`; unknown: a line without counters.
    void logCall(CallVolume volume)
    {
        const dialup::ConnectionHandle line = dialUp.connect("DemoEntry");
        if (volume.known())
            dialUp.bytes[line] = { 0, 0, true };
        tick();
        if (volume.known())
            dialUp.bytes[line] = { std::uint64_t(volume.bytesIn), std::uint64_t(volume.bytesOut), true };
        tick();
        dialUp.drop(line);
        tick();
    }
    std::vector<CallVolume> inFile(const QString &name) const { return decode(read(name)); }
    StartupReport reload()
    {
        core = std::make_unique<AppCore>(
            file(QStringLiteral("tollwise")), AppServices { clock, sound, startup, dialUp });
        return core->loadAll();
    }
};

} // namespace

TEST_F(CallVolumeStoreTest, LoggedAndDeletedCallsKeepTheirBytesInStepAcrossARestart)
{
    logCall({ 150000, 20000 });
    logCall(kUnknown);
    logCall({ 7, 9 });
    ASSERT_EQ(core->log().Count, 3);
    const std::vector<CallVolume> expected { { 150000, 20000 }, kUnknown, { 7, 9 } };
    EXPECT_EQ(inFile(QStringLiteral("Log.volume.data")), expected);

    // Deleting marks the slot and keeps it: the bytes stay with the calls left.
    core->log().records[1].ProviderIndex = kDeletedCall;
    core->saveChanges();
    EXPECT_EQ(inFile(QStringLiteral("Log.volume.data")), expected);

    const StartupReport report = reload();
    EXPECT_TRUE(report.callVolumeProblems.isEmpty()) << report.callVolumeProblems.join(u'\n').toStdString();
    EXPECT_EQ(core->callVolume(0), expected[0]);
    EXPECT_EQ(core->callVolume(2), expected[2]);
    EXPECT_FALSE(core->callVolume(3).known()) << "past the log";
}

TEST_F(CallVolumeStoreTest, AFullLogMovesTheBytesWithTheirCalls)
{
    logCall({ 1, 1 });
    const CallRecord sample = core->log().records[0];
    const auto fill = [&] {
        CallLogTable &log = core->log();
        for (int i = 0; i < kMaxLogRecords; ++i) {
            log.records[i] = sample;
            core->volumes().records[i] = { i, 2 * qint64(i) };
        }
        log.Count = kMaxLogRecords;
    };

    // A deleted slot is given back first: the calls after it move down with their bytes.
    fill();
    core->log().records[5].ProviderIndex = kDeletedCall;
    logCall({ 40, 50 });
    std::vector<CallVolume> log = inFile(QStringLiteral("Log.volume.data"));
    ASSERT_EQ(log.size(), std::size_t(kMaxLogRecords));
    EXPECT_EQ(log[4], (CallVolume { 4, 8 }));
    EXPECT_EQ(log[5], (CallVolume { 6, 12 }));
    EXPECT_EQ(log.back(), (CallVolume { 40, 50 }));

    // Without one, the oldest calls go to the archive, and their bytes to its companion.
    fill();
    logCall({ 60, 70 });
    const std::vector<CallVolume> archive = inFile(QStringLiteral("Log.archive.volume.data"));
    ASSERT_EQ(archive.size(), std::size_t(AppCore::kArchiveBatchRecords));
    EXPECT_EQ(archive.front(), (CallVolume { 0, 0 }));
    EXPECT_EQ(archive.back(), (CallVolume { 1023, 2046 }));
    log = inFile(QStringLiteral("Log.volume.data"));
    ASSERT_EQ(log.size(), std::size_t(kMaxLogRecords - AppCore::kArchiveBatchRecords + 1));
    EXPECT_EQ(log.front(), (CallVolume { 1024, 2048 }));
    EXPECT_EQ(log.back(), (CallVolume { 60, 70 }));

    const StartupReport report = reload();
    EXPECT_TRUE(report.callVolumeProblems.isEmpty()) << report.callVolumeProblems.join(u'\n').toStdString();
    ASSERT_EQ(core->archivedVolumes().size(), core->archivedCalls().size());
    EXPECT_EQ(core->archivedVolumes()[1023], (CallVolume { 1023, 2046 }));
}

TEST_F(CallVolumeStoreTest, AMissingShortLongOrDamagedFileCostsNoCall)
{
    logCall({ 100, 10 });
    logCall({ 200, 20 });
    struct Case {
        const char *name;
        std::optional<QByteArray> bytes; // nullopt: no file
        CallVolume first, second;
    };
    const std::vector<Case> cases {
        { "missing, as an older version leaves it", std::nullopt, kUnknown, kUnknown },
        { "one call short", encode({ { 100, 10 } }), { 100, 10 }, kUnknown },
        { "one call too many", encode({ { 100, 10 }, { 200, 20 }, { 300, 30 } }), { 100, 10 }, { 200, 20 } },
        { "a wrong header", QByteArray("XXXX") + encode({ { 1, 2 } }).mid(4), kUnknown, kUnknown },
        { "a size its count denies", encode({ { 100, 10 }, { 200, 20 } }).chopped(3), kUnknown, kUnknown },
        { "an impossible figure", encode({ { 100, 10 }, { -5, 20 } }), kUnknown, kUnknown },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = file(QStringLiteral("Log.volume.data"));
        QFile::remove(path);
        if (c.bytes) {
            ASSERT_TRUE(writeFileAtomically(path, *c.bytes));
        }
        const StartupReport report = reload();
        EXPECT_EQ(report.callVolumeProblems.size(), 1);
        EXPECT_EQ(core->log().Count, 2);
        EXPECT_EQ(core->callVolume(0), c.first);
        EXPECT_EQ(core->callVolume(1), c.second);
        // Written back in step at the next save.
        core->saveEverything();
        EXPECT_EQ(inFile(QStringLiteral("Log.volume.data")), (std::vector<CallVolume> { c.first, c.second }));
    }
}
