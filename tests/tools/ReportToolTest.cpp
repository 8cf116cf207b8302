#include "tools/report/ReportTool.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

// The folders are byte images written down here, field by field at the
// offsets the files are known to have, so the readers are checked against
// the files and not against themselves.
namespace {

const QDate kToday(2026, 12, 9);

void put(QByteArray &bytes, int offset, const void *value, int size)
{
    std::memcpy(bytes.data() + offset, value, size);
}

template <typename T> void put(QByteArray &bytes, int offset, T value)
{
    put(bytes, offset, &value, int(sizeof value));
}

void putName(QByteArray &bytes, int offset, const QByteArray &cp1252Name)
{
    put(bytes, offset, std::uint8_t(cp1252Name.size()));
    put(bytes, offset + 1, cp1252Name.constData(), int(cp1252Name.size()));
}

QByteArray providersImage(const QList<QByteArray> &names)
{
    QByteArray bytes(55306, '\0');
    put(bytes, 0, "OLS10", 6);
    put(bytes, 6, std::uint16_t(names.size()));
    for (int i = 0; i < names.size(); ++i)
        putName(bytes, 12 + 216 * i + 4, names[i]);
    return bytes;
}

struct LoggedCall {
    std::uint8_t start[6]; // day, month, two-digit year, hour, minute, second
    std::uint8_t end[6];
    std::uint8_t provider;
    std::uint32_t seconds;
    std::int64_t cost;
    std::uint8_t tariffId;
};

QByteArray logImage(const QList<LoggedCall> &calls)
{
    QByteArray bytes(524288, char(0xFF));
    std::memset(bytes.data() + 524288 - 32, 0, 32);
    for (int i = 0; i < calls.size(); ++i) {
        const LoggedCall &c = calls[i];
        const int at = 32 * i;
        put(bytes, at, c.start, 6);
        put(bytes, at + 6, c.end, 6);
        put(bytes, at + 12, c.provider);
        put(bytes, at + 16, c.seconds);
        put(bytes, at + 20, c.cost);
        put(bytes, at + 28, c.tariffId);
    }
    return bytes;
}

struct TariffBytes {
    std::uint32_t id;
    QByteArray name;
    std::uint8_t unitKind = 1;
    std::int64_t unitCost = 0;
};

// Every tariff applies all day on every day, per unit, incremental.
QByteArray tariffsImage(const QList<TariffBytes> &tariffs)
{
    QByteArray bytes(38912, '\0');
    for (int i = 0; i < tariffs.size(); ++i) {
        const TariffBytes &t = tariffs[i];
        const int at = 152 * i;
        put(bytes, at, t.id);
        putName(bytes, at + 4, t.name);
        put(bytes, at + 72, std::int32_t(0));
        put(bytes, at + 76, std::int32_t(86399));
        put(bytes, at + 80, t.unitKind);
        put(bytes, at + 88, std::uint8_t(1));
        put(bytes, at + 92, t.unitCost);
        put(bytes, at + 108, std::uint8_t(1));
    }
    return bytes;
}

// Log.volume.data as the program writes it: "TWV1", the count, then bytes in and out per slot.
QByteArray volumeFile(const std::vector<std::pair<qint64, qint64>> &records)
{
    QByteArray bytes("TWV1");
    bytes.append(4, '\0');
    qToLittleEndian<quint32>(quint32(records.size()), bytes.data() + 4);
    for (const auto &[in, out] : records) {
        char record[16];
        qToLittleEndian<qint64>(in, record);
        qToLittleEndian<qint64>(out, record + 8);
        bytes.append(record, 16);
    }
    return bytes;
}

void writeFile(const QString &folder, const QString &name, const QByteArray &bytes)
{
    QFile file(QDir(folder).filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class ReportToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString folder = m_folder.path();
        writeFile(
            folder, QStringLiteral("Providers.data"), providersImage({ "Dial, \"Fast\"", "Caf\xE9 Net", "=Spare" }));
        writeFile(folder, QStringLiteral("Log.data"),
            logImage({
                { { 1, 3, 26, 10, 0, 0 }, { 1, 3, 26, 10, 1, 30 }, 0, 90, 15000, 1 },
                { { 1, 3, 26, 11, 0, 0 }, { 1, 3, 26, 11, 5, 0 }, 254, 300, 99999, 1 }, // deleted
                { { 1, 3, 26, 23, 59, 0 }, { 2, 3, 26, 0, 1, 0 }, 1, 120, 450, 2 },
                { { 15, 3, 26, 8, 0, 0 }, { 15, 3, 26, 9, 0, 0 }, 0, 3600, 120001, 7 }, // no tariff has id 7
                { { 2, 4, 26, 12, 0, 0 }, { 2, 4, 26, 12, 0, 30 }, 1, 30, 4500, 1 },
                { { 2, 4, 26, 13, 0, 0 }, { 2, 4, 26, 13, 0, 10 }, 2, 10, 0, 1 },
            }));
        writeFile(folder, QStringLiteral("Tariffs.data"),
            tariffsImage({ { 1, "Day", 1, 10000 }, { 2, "\xC9vening", 1, 1000 } }));
        writeFile(folder, QStringLiteral("settings.data"),
            "[Application]\r\nLog.NumberOfRecords=6\r\nTarifs.NumberOfRecords=2\r\nUseUserCurrency=1\r\n"
            "CurrencyString=\xA3\r\n");
    }

    struct Outcome {
        int status;
        QString out;
        QString err;
    };

    Outcome run(const QStringList &arguments)
    {
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        ReportTool tool(m_folder.path(), kToday, outStream, errStream);
        const int status = tool.run(arguments);
        return { status, out, err };
    }

    QString path(const QString &name) const { return QDir(m_folder.path()).filePath(name); }

    QTemporaryDir m_folder;
};

} // namespace

TEST_F(ReportToolTest, ReportsFilteredAndSummedAsCsvAndJson)
{
    const struct {
        QStringList arguments;
        QString expected;
    } cases[] = {
        { { "--format", "csv" },
            "start,end,duration,cost,tariff,provider,bytes_in,bytes_out\n"
            "2026-03-01 10:00:00,2026-03-01 10:01:30,90,1.50,Day,\"Dial, \"\"Fast\"\"\",,\n"
            "2026-03-01 23:59:00,2026-03-02 00:01:00,120,0.045,\u00C9vening,Caf\u00E9 Net,,\n"
            "2026-03-15 08:00:00,2026-03-15 09:00:00,3600,12.0001,7,\"Dial, \"\"Fast\"\"\",,\n"
            "2026-04-02 12:00:00,2026-04-02 12:00:30,30,0.45,Day,Caf\u00E9 Net,,\n"
            // Kept from being read as a formula.
            "2026-04-02 13:00:00,2026-04-02 13:00:10,10,0.00,Day,'=Spare,,\n" },
        // The start decides: the call begun on 1 March is left out.
        { { "--format=csv", "--from", "2026-03-02", "--to", "2026-03-31", "calls" },
            "start,end,duration,cost,tariff,provider,bytes_in,bytes_out\n"
            "2026-03-15 08:00:00,2026-03-15 09:00:00,3600,12.0001,7,\"Dial, \"\"Fast\"\"\",,\n" },
        { { "days", "--format", "csv" },
            "key,calls,seconds,cost,bytes_in,bytes_out\n2026-03-01,2,210,1.545,,\n2026-03-15,1,3600,12.0001,,\n2026-04-"
            "02,2,40,0.45,,\n" },
        { { "tariffs", "--format", "csv", "--to", "2026-03-31" },
            "key,calls,seconds,cost,bytes_in,bytes_out\n7,1,3600,12.0001,,\nDay,1,90,1.50,,\n\u00C9vening,1,120,0.045,,"
            "\n" },
        { { "months", "--format", "json", "--provider", "Caf\u00E9 Net" },
            "[\n"
            "  {\"key\": \"2026-03\", \"calls\": 1, \"seconds\": 120, \"cost\": \"0.045\", \"bytes_in\": null, "
            "\"bytes_out\": null},\n"
            "  {\"key\": \"2026-04\", \"calls\": 1, \"seconds\": 30, \"cost\": \"0.45\", \"bytes_in\": null, "
            "\"bytes_out\": null}\n"
            "]\n" },
        { { "providers", "--format", "json" },
            "[\n"
            "  {\"key\": \"=Spare\", \"calls\": 1, \"seconds\": 10, \"cost\": \"0.00\", \"bytes_in\": null, "
            "\"bytes_out\": null},\n"
            "  {\"key\": \"Caf\u00E9 Net\", \"calls\": 2, \"seconds\": 150, \"cost\": \"0.495\", \"bytes_in\": null, "
            "\"bytes_out\": null},\n"
            "  {\"key\": \"Dial, \\\"Fast\\\"\", \"calls\": 2, \"seconds\": 3690, \"cost\": \"13.5001\", \"bytes_in\": "
            "null, \"bytes_out\": null}\n"
            "]\n" },
        { { "providers", "--format", "csv", "--from", "2026-04-01" },
            "key,calls,seconds,cost,bytes_in,bytes_out\n'=Spare,1,10,0.00,,\nCaf\u00E9 Net,1,30,0.45,,\n" },
        { { "--format", "json", "--from", "2027-01-01" }, "[]\n" },
    };
    for (const auto &c : cases) {
        const Outcome outcome = run(c.arguments);
        EXPECT_EQ(outcome.status, 0) << c.arguments.join(' ').toStdString() << outcome.err.toStdString();
        EXPECT_EQ(outcome.out, c.expected) << c.arguments.join(' ').toStdString();
    }
}

TEST_F(ReportToolTest, TextFormShowsTheCurrencyBarsAndTotal)
{
    const Outcome outcome = run({ "days" });
    ASSERT_EQ(outcome.status, 0);
    const QStringList lines = outcome.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[1].startsWith("2026-03-01")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains(QString::fromUtf8("£ 1.55"))) << lines[1].toStdString();
    // The largest day has the full bar; a small one still shows a mark.
    EXPECT_TRUE(lines[2].endsWith(QString(40, '#'))) << lines[2].toStdString();
    EXPECT_TRUE(lines[1].endsWith(" #####")) << lines[1].toStdString();
    EXPECT_TRUE(lines[3].endsWith(" #")) << lines[3].toStdString();
    EXPECT_TRUE(lines[4].startsWith("Total")) << lines[4].toStdString();
    EXPECT_TRUE(lines[4].contains(QString::fromUtf8("£ 14.00"))) << lines[4].toStdString();
}

TEST_F(ReportToolTest, RepricesUnderAnotherFoldersTariffs)
{
    QTemporaryDir other;
    // 0.10 a minute, started minutes charged whole.
    writeFile(other.path(), QStringLiteral("Tariffs.data"), tariffsImage({ { 9, "Other", 1, 1000 } }));
    writeFile(other.path(), QStringLiteral("settings.data"), "[Application]\r\nTarifs.NumberOfRecords=1\r\n");
    const Outcome calls = run({ "--format", "csv", "--reprice", other.path(), "--to", "2026-03-01" });
    EXPECT_EQ(calls.status, 0) << calls.err.toStdString();
    EXPECT_EQ(calls.out,
        "start,end,duration,cost,tariff,provider,repriced,difference,bytes_in,bytes_out\n"
        "2026-03-01 10:00:00,2026-03-01 10:01:30,90,1.50,Day,\"Dial, \"\"Fast\"\"\",0.20,-1.30,,\n"
        "2026-03-01 23:59:00,2026-03-02 00:01:00,120,0.045,\u00C9vening,Caf\u00E9 Net,0.20,0.155,,\n");
    const Outcome months = run({ "months", "--format", "csv", "--reprice", other.path() });
    EXPECT_EQ(months.out,
        "key,calls,seconds,cost,repriced,difference,bytes_in,bytes_out\n"
        "2026-03,3,3810,13.5451,6.40,-7.1451,,\n"
        "2026-04,2,40,0.45,0.20,-0.25,,\n");

    // With no tariff counted the calls cost nothing, and the text says why.
    writeFile(other.path(), QStringLiteral("settings.data"), "[Application]\r\nTarifs.NumberOfRecords=0\r\n");
    const Outcome text = run({ "--reprice", other.path(), "--from", "2026-04-01" });
    EXPECT_TRUE(text.out.contains("no tariff in force")) << text.out.toStdString();
}

TEST_F(ReportToolTest, ExitStatusesNameTheProblem)
{
    const QByteArray providers = providersImage({ "Dial" });
    QByteArray damaged = providers;
    damaged[0] = 'X';
    const struct {
        const char *what;
        QStringList arguments;
        QString file; // replaced before the run
        QByteArray content; // empty: the file is removed
        int status;
        QString message;
    } cases[] = {
        { "help", { "--help" }, {}, {}, 0, {} },
        { "unknown report", { "weeks" }, {}, {}, 2, "unknown report" },
        { "two reports", { "days", "months" }, {}, {}, 2, "one report" },
        { "unknown format", { "--format", "xml" }, {}, {}, 2, "unknown format" },
        { "impossible date", { "--from", "2026-02-30" }, {}, {}, 2, "YYYY-MM-DD" },
        { "value missing", { "--to" }, {}, {}, 2, "needs a value" },
        { "unknown option", { "--verbose" }, {}, {}, 2, "unknown option" },
        { "unknown provider", { "--provider", "Dial" }, {}, {}, 2, "no provider is named" },
        { "log missing", { "days" }, "Log.data", {}, 1, "Log.data is missing" },
        { "short log", {}, "Log.data", QByteArray(1000, '\0'), 1, "Log.data is damaged" },
        { "providers damaged", {}, "Providers.data", damaged, 1, "Providers.data is damaged" },
        { "tariffs missing", {}, "Tariffs.data", {}, 1, "Tariffs.data is missing" },
        { "reprice folder empty", { "--reprice", "/nonexistent-folder" }, {}, {}, 1, "Tariffs.data is missing" },
    };
    for (const auto &c : cases) {
        SetUp();
        if (!c.file.isEmpty()) {
            QFile::remove(path(c.file));
            if (!c.content.isEmpty())
                writeFile(m_folder.path(), c.file, c.content);
        }
        const Outcome outcome = run(c.arguments);
        EXPECT_EQ(outcome.status, c.status) << c.what;
        if (!c.message.isEmpty())
            EXPECT_TRUE(outcome.err.contains(c.message)) << c.what << ": " << outcome.err.toStdString();
        else
            EXPECT_TRUE(outcome.err.isEmpty()) << c.what;
    }
    // The damaged file was left as it was and not copied aside.
    EXPECT_FALSE(QFile::exists(path("MyInvalidFile.old")));
    // The help says where the reports are read from when --folder is not given.
    SetUp();
    EXPECT_TRUE(
        run({ QStringLiteral("--help") })
            .out.endsWith(QStringLiteral("\nData folder in use: %1\n").arg(QDir::toNativeSeparators(m_folder.path()))));
}

TEST_F(ReportToolTest, ArchivedCallsCountInEveryReport)
{
    // Two older calls moved out of a full log: one on 28 February, one on 1 March.
    QByteArray archive = logImage({
        { { 28, 2, 26, 9, 0, 0 }, { 28, 2, 26, 9, 10, 0 }, 1, 600, 25000, 2 },
        { { 1, 3, 26, 9, 0, 0 }, { 1, 3, 26, 9, 0, 20 }, 0, 20, 3000, 1 },
    });
    archive.truncate(64);
    writeFile(m_folder.path(), QStringLiteral("Log.archive.data"), archive);
    const struct {
        QStringList arguments;
        QString expected;
    } cases[] = {
        // Log alone: March 3 calls 3810 s 13.5451; the archive adds 1 call 20 s 0.30 to March, and February.
        { { "months", "--format", "csv" },
            "key,calls,seconds,cost,bytes_in,bytes_out\n2026-02,1,600,2.50,,\n2026-03,4,3830,13.8451,,\n2026-04,2,40,0."
            "45,,\n" },
        { { "providers", "--format", "csv", "--to", "2026-03-01" },
            "key,calls,seconds,cost,bytes_in,bytes_out\nCaf\u00E9 Net,2,720,2.545,,\n\"Dial, "
            "\"\"Fast\"\"\",2,110,1.80,,\n" },
        { { "calls", "--format", "csv", "--to", "2026-03-01" },
            "start,end,duration,cost,tariff,provider,bytes_in,bytes_out\n"
            "2026-02-28 09:00:00,2026-02-28 09:10:00,600,2.50,\u00C9vening,Caf\u00E9 Net,,\n"
            "2026-03-01 09:00:00,2026-03-01 09:00:20,20,0.30,Day,\"Dial, \"\"Fast\"\"\",,\n"
            "2026-03-01 10:00:00,2026-03-01 10:01:30,90,1.50,Day,\"Dial, \"\"Fast\"\"\",,\n"
            "2026-03-01 23:59:00,2026-03-02 00:01:00,120,0.045,\u00C9vening,Caf\u00E9 Net,,\n" },
        { { "tariffs", "--format", "csv", "--to", "2026-02-28" },
            "key,calls,seconds,cost,bytes_in,bytes_out\n\u00C9vening,1,600,2.50,,\n" },
    };
    for (const auto &c : cases) {
        const Outcome outcome = run(c.arguments);
        EXPECT_EQ(outcome.status, 0) << c.arguments.join(' ').toStdString() << outcome.err.toStdString();
        EXPECT_EQ(outcome.out, c.expected) << c.arguments.join(' ').toStdString();
    }

    writeFile(m_folder.path(), QStringLiteral("Log.archive.data"), archive.left(40));
    const Outcome cut = run({ "days" });
    EXPECT_EQ(cut.status, 1);
    EXPECT_TRUE(cut.err.contains("Log.archive.data is damaged")) << cut.err.toStdString();
}

TEST_F(ReportToolTest, CallsAreListedByStartAndTariffsByIdNotName)
{
    writeFile(m_folder.path(), QStringLiteral("Log.data"),
        logImage({
            { { 2, 12, 26, 10, 0, 0 }, { 2, 12, 26, 10, 0, 10 }, 0, 10, 100, 1 },
            { { 2, 12, 26, 9, 0, 0 }, { 2, 12, 26, 9, 0, 20 }, 0, 20, 200, 3 },
            // Logged last, started first.
            { { 31, 12, 25, 23, 0, 0 }, { 31, 12, 25, 23, 0, 30 }, 0, 30, 300, 1 },
        }));
    // Two tariffs named "Day", ids 1 and 3.
    writeFile(m_folder.path(), QStringLiteral("Tariffs.data"),
        tariffsImage({ { 1, "Day", 1, 10000 }, { 2, "\xC9vening", 1, 1000 }, { 3, "Day", 1, 500 } }));
    writeFile(m_folder.path(), QStringLiteral("settings.data"),
        "[Application]\r\nLog.NumberOfRecords=3\r\nTarifs.NumberOfRecords=3\r\n");
    const Outcome calls = run({ "--format", "csv" });
    EXPECT_EQ(calls.out,
        "start,end,duration,cost,tariff,provider,bytes_in,bytes_out\n"
        "2025-12-31 23:00:00,2025-12-31 23:00:30,30,0.03,Day,\"Dial, \"\"Fast\"\"\",,\n"
        "2026-12-02 09:00:00,2026-12-02 09:00:20,20,0.02,Day,\"Dial, \"\"Fast\"\"\",,\n"
        "2026-12-02 10:00:00,2026-12-02 10:00:10,10,0.01,Day,\"Dial, \"\"Fast\"\"\",,\n");
    const Outcome tariffs = run({ "tariffs", "--format", "csv" });
    EXPECT_EQ(
        tariffs.out, "key,calls,seconds,cost,bytes_in,bytes_out\nDay (id 1),2,40,0.04,,\nDay (id 3),1,20,0.02,,\n");
}

TEST_F(ReportToolTest, CellsBeginningWithATabOrCarriageReturnAreGuarded)
{
    writeFile(m_folder.path(), QStringLiteral("Providers.data"), providersImage({ "\tDial", "\rNet", "Plain" }));
    const Outcome outcome = run({ "providers", "--format", "csv" });
    EXPECT_EQ(outcome.out,
        "key,calls,seconds,cost,bytes_in,bytes_out\n'\tDial,2,3690,13.5001,,\n\"'\rNet\",2,150,0.495,,\nPlain,1,10,0."
        "00,,\n");
}

TEST_F(ReportToolTest, ADamagedRecordIsNamedAndNothingIsReported)
{
    const struct {
        const char *what;
        QString file;
        int offset;
        std::uint8_t value;
        QString message;
    } cases[] = {
        { "month 13", "Log.data", 32 * 2 + 1, 13, "Log.data is damaged: record 3: its start date 2026-13-01" },
        { "hour 25", "Log.data", 32 * 4 + 9, 25, "record 5: its end time 25:00:30" },
        { "ends first", "Log.data", 32 * 0 + 9, 9, "record 1: it ends (2026-03-01 09:01:30) before" },
        { "provider 9", "Log.data", 32 * 5 + 12, 9, "record 6: its provider index 9 is not in the table of 3" },
        { "long name", "Providers.data", 12 + 216 * 1 + 4, 200,
            "Providers.data is damaged: record 2: its name's length 200" },
        { "tariff name", "Tariffs.data", 152 + 4, 65, "Tariffs.data is damaged: record 2: its name's length 65" },
    };
    for (const auto &c : cases) {
        SetUp();
        QFile file(path(c.file));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.seek(c.offset);
        file.write(reinterpret_cast<const char *>(&c.value), 1);
        file.close();
        const Outcome outcome = run({ "--format", "csv" });
        EXPECT_EQ(outcome.status, 1) << c.what;
        EXPECT_TRUE(outcome.out.isEmpty()) << c.what;
        EXPECT_TRUE(outcome.err.contains(c.message)) << c.what << ": " << outcome.err.toStdString();
    }
}

TEST_F(ReportToolTest, AnOutputThatRefusesTheReportIsAFailure)
{
    QFile full(QStringLiteral("/dev/full"));
    ASSERT_TRUE(full.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    QTextStream outStream(&full);
    QString err;
    QTextStream errStream(&err);
    ReportTool tool(m_folder.path(), kToday, outStream, errStream);
    EXPECT_EQ(tool.run({ "--format", "csv" }), 1);
    EXPECT_TRUE(err.contains("could not be written: No space left on device")) << err.toStdString();
}

namespace {

// A full log: 16384 calls of a minute, two minutes apart from New Year 2026.
void writeFullLog(const QString &folder)
{
    QList<LoggedCall> calls;
    const QDateTime first(QDate(2026, 1, 1), QTime(0, 0));
    for (int i = 0; i < 16384; ++i) {
        const QDateTime start = first.addSecs(qint64(i) * 120);
        const QDateTime end = start.addSecs(60);
        const auto bytes = [](const QDateTime &t) {
            return std::array<std::uint8_t, 6> { std::uint8_t(t.date().day()), std::uint8_t(t.date().month()),
                std::uint8_t(t.date().year() % 100), std::uint8_t(t.time().hour()), std::uint8_t(t.time().minute()),
                std::uint8_t(t.time().second()) };
        };
        LoggedCall call {};
        const auto s = bytes(start);
        const auto e = bytes(end);
        std::copy(s.begin(), s.end(), call.start);
        std::copy(e.begin(), e.end(), call.end);
        call.provider = 0;
        call.seconds = 60;
        call.cost = 100;
        call.tariffId = 1;
        calls.append(call);
    }
    writeFile(folder, QStringLiteral("Log.data"), logImage(calls));
    writeFile(folder, QStringLiteral("settings.data"), "[Application]\r\nLog.NumberOfRecords=16384\r\n");
}

struct ProcessRun {
    int exitCode = -1;
    QByteArray err;
};

// The real tool, its standard output sent where `shellRedirection` says.
ProcessRun runTool(const QString &folder, const QString &shellRedirection)
{
    QProcess process;
    process.start(QStringLiteral("/bin/sh"),
        { QStringLiteral("-c"), QStringLiteral("exec \"$0\" --folder \"$1\" calls --format csv ") + shellRedirection,
            QStringLiteral(TOLLWISE_REPORT_PATH), folder });
    if (!process.waitForFinished(60000))
        return {};
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardError() };
}

// A small file system for the test's own use, unmounted whatever happens.
class SmallFileSystem {
public:
    explicit SmallFileSystem(const QString &where)
        : m_where(where)
    {
        m_mounted = QProcess::execute(QStringLiteral("mount"),
                        { QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                            QStringLiteral("size=64k"), QStringLiteral("figures-report-test"), where })
            == 0;
    }
    ~SmallFileSystem()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), { m_where });
    }
    SmallFileSystem(const SmallFileSystem &) = delete;
    SmallFileSystem &operator=(const SmallFileSystem &) = delete;
    bool mounted() const { return m_mounted; }

private:
    QString m_where;
    bool m_mounted = false;
};

} // namespace

TEST_F(ReportToolTest, TheToolFailsWhenItsOutputIsFullOrClosed)
{
    writeFullLog(m_folder.path());
    const ProcessRun full = runTool(m_folder.path(), QStringLiteral(">/dev/full"));
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_TRUE(full.err.contains("No space left on device")) << full.err.toStdString();

    const ProcessRun closed = runTool(m_folder.path(), QStringLiteral(">&-"));
    EXPECT_EQ(closed.exitCode, 1);
    EXPECT_TRUE(closed.err.contains("standard output is closed")) << closed.err.toStdString();

    const ProcessRun fine = runTool(m_folder.path(), QStringLiteral(">/dev/null"));
    EXPECT_EQ(fine.exitCode, 0) << fine.err.toStdString();
    EXPECT_TRUE(fine.err.isEmpty());
}

TEST_F(ReportToolTest, AReportCutShortByAFullFileSystemIsAFailure)
{
    writeFullLog(m_folder.path());
    QTemporaryDir mountPoint;
    const SmallFileSystem small(mountPoint.path());
    if (!small.mounted())
        GTEST_SKIP() << "cannot mount a small file system here (needs root and mount rights)";
    const QString report = QDir(mountPoint.path()).filePath(QStringLiteral("calls.csv"));
    const ProcessRun cut = runTool(m_folder.path(), QStringLiteral(">\"%1\"").arg(report));
    EXPECT_EQ(cut.exitCode, 1);
    EXPECT_TRUE(cut.err.contains("No space left on device")) << cut.err.toStdString();
    EXPECT_LE(QFileInfo(report).size(), 65536);
}

TEST_F(ReportToolTest, BytesOfEachCallAndTheirSumsWhereKnown)
{
    writeFile(m_folder.path(), QStringLiteral("Log.volume.data"),
        volumeFile({ { 1000, 200 }, { 9, 9 }, { 3000000000, 400 }, { -1, -1 }, { 50, 5 }, { 7, 1 } }));
    const Outcome calls = run({ "--format", "csv", "--to", "2026-03-15" });
    EXPECT_EQ(calls.out,
        "start,end,duration,cost,tariff,provider,bytes_in,bytes_out\n"
        "2026-03-01 10:00:00,2026-03-01 10:01:30,90,1.50,Day,\"Dial, \"\"Fast\"\"\",1000,200\n"
        "2026-03-01 23:59:00,2026-03-02 00:01:00,120,0.045,\u00C9vening,Caf\u00E9 Net,3000000000,400\n"
        "2026-03-15 08:00:00,2026-03-15 09:00:00,3600,12.0001,7,\"Dial, \"\"Fast\"\"\",,\n");
    // 1000 + 3000000000 in and 200 + 400 out on 1 March; none known on 15 March; 50 + 7 and 5 + 1 on 2 April.
    const Outcome days = run({ "days", "--format", "csv" });
    EXPECT_EQ(days.out,
        "key,calls,seconds,cost,bytes_in,bytes_out\n2026-03-01,2,210,1.545,3000001000,600\n"
        "2026-03-15,1,3600,12.0001,,\n2026-04-02,2,40,0.45,57,6\n");
    const Outcome json
        = run({ "--format", "json", "--from", "2026-04-02", "--to", "2026-04-02", "--provider", "=Spare" });
    EXPECT_TRUE(json.out.contains("\"bytes_in\": 7, \"bytes_out\": 1")) << json.out.toStdString();

    // A file the program did not write leaves every call's bytes unknown, and the report stands.
    writeFile(m_folder.path(), QStringLiteral("Log.volume.data"), "TWV1 not a count");
    const Outcome damaged = run({ "days", "--format", "csv", "--to", "2026-03-01" });
    EXPECT_EQ(damaged.status, 0);
    EXPECT_EQ(damaged.out, "key,calls,seconds,cost,bytes_in,bytes_out\n2026-03-01,2,210,1.545,,\n");
}

// Hand-worked: Sat's month starts on the 15th, 100 MB free, then 10 MB blocks
// at 2.50; Roam has no allowance, 1 MB blocks at 0.10 from the first byte,
// counting only bytes received, its month from the 1st; Dial has no plan.
// Every call also pays 0.10 a started minute by the one tariff.
TEST_F(ReportToolTest, RepricingChargesDataThroughEachBillingMonthsAllowanceAndBlocks)
{
    const QString folder = m_folder.path();
    QByteArray providers = providersImage({ "Sat", "Dial", "Roam" });
    put(providers, 12 + 106, std::uint8_t(15));
    put(providers, 12 + 216 * 2 + 106, std::uint8_t(1));
    writeFile(folder, QStringLiteral("Providers.data"), providers);
    // Moved out of a full log, yet it still used 70 MB of Sat's allowance.
    const QList<LoggedCall> archived = { { { 20, 2, 26, 10, 0, 0 }, { 20, 2, 26, 10, 1, 0 }, 0, 60, 1000, 1 } };
    writeFile(folder, QStringLiteral("Log.archive.data"), logImage(archived).left(32));
    writeFile(folder, QStringLiteral("Log.archive.volume.data"), volumeFile({ { 60000000, 10000000 } }));
    const QList<LoggedCall> calls = {
        { { 1, 3, 26, 10, 0, 0 }, { 1, 3, 26, 10, 1, 0 }, 0, 60, 1000, 1 }, // bytes never counted
        { { 5, 3, 26, 10, 0, 0 }, { 5, 3, 26, 10, 1, 0 }, 0, 60, 51000, 1 },
        { { 10, 3, 26, 10, 0, 0 }, { 10, 3, 26, 10, 1, 0 }, 0, 60, 1000, 1 },
        { { 14, 3, 26, 23, 59, 30 }, { 15, 3, 26, 0, 0, 30 }, 0, 60, 26000, 1 }, // into the next month
        { { 16, 3, 26, 9, 0, 0 }, { 16, 3, 26, 9, 1, 0 }, 0, 60, 26000, 1 },
        { { 5, 3, 26, 12, 0, 0 }, { 5, 3, 26, 12, 1, 0 }, 1, 60, 1000, 1 },
        { { 2, 3, 26, 8, 0, 0 }, { 2, 3, 26, 8, 2, 0 }, 2, 120, 4000, 1 },
        { { 3, 3, 26, 8, 0, 0 }, { 3, 3, 26, 8, 1, 0 }, 2, 60, 1000, 1 },
        { { 1, 4, 26, 8, 0, 0 }, { 1, 4, 26, 8, 1, 0 }, 2, 60, 2000, 1 },
    };
    writeFile(folder, QStringLiteral("Log.data"), logImage(calls));
    writeFile(folder, QStringLiteral("Log.volume.data"),
        volumeFile({ { -1, -1 }, { 40000000, 1 }, { 5000000, 0 }, { 20000000, 0 }, { 95000000, 0 }, { 1000000000, 0 },
            { 1500000, 9000000 }, { 400000, 0 }, { 1, 0 } }));
    writeFile(folder, QStringLiteral("Tariffs.data"), tariffsImage({ { 1, "Day", 1, 1000 } }));
    writeFile(folder, QStringLiteral("settings.data"),
        "[Application]\r\nLog.NumberOfRecords=9\r\nTarifs.NumberOfRecords=1\r\n");
    writeFile(folder, QStringLiteral("volume.data"),
        "[Volume.0]\r\nName=Sat\r\nAllowanceBytes=100000000\r\nBlockBytes=10000000\r\nBlockPrice=25000\r\n"
        "[Volume.1]\r\nName=Roam\r\nAllowanceBytes=0\r\nBlockBytes=1000000\r\nBlockPrice=1000\r\nCounts=in\r\n");

    // The logged costs are what the live calls were charged, so re-priced
    // under the same tariff and plans each difference is nothing.
    const Outcome outcome = run({ "--format", "csv", "--reprice", folder });
    ASSERT_EQ(outcome.status, 0) << outcome.err.toStdString();
    QStringList repriced;
    for (const QString &line : outcome.out.split('\n', Qt::SkipEmptyParts).mid(1)) {
        const QStringList cells = line.split(',');
        repriced << cells[0].mid(5, 5) + ' ' + cells[5] + ' ' + cells[6] + ' ' + cells[7];
    }
    EXPECT_EQ(repriced.join('\n').toStdString(),
        QStringList({
                        "02-20 Sat 0.10 0.00", // 70 MB of the 100 free
                        "03-01 Sat 0.10 0.00", // no bytes: nothing of the allowance used
                        "03-02 Roam 0.40 0.00", // 1.5 MB received: 2 blocks begun
                        "03-03 Roam 0.10 0.00", // 0.4 MB more fits in the second block
                        "03-05 Sat 5.10 0.00", // 70 MB + 40000001 bytes: 10000001 beyond, 2 blocks
                        "03-05 Dial 0.10 0.00", // no plan: the gigabyte costs nothing
                        "03-10 Sat 0.10 0.00", // 5 MB more: 15000001 beyond, still 2 blocks
                        "03-14 Sat 2.60 0.00", // half its seconds before the 15th: 10 MB more, a 3rd block
                        "03-16 Sat 2.60 0.00", // the other 10 MB + 95 MB: 5 MB beyond the new allowance
                        "04-01 Roam 0.20 0.00", // a new month, a new block
                    })
            .join('\n')
            .toStdString());

    // A report from the 5th still counts the calls before it against the allowance.
    const Outcome fromFifth = run(
        { "--reprice", folder, "--from", "2026-03-05", "--provider", "Sat", "--to", "2026-03-05", "--format", "csv" });
    EXPECT_TRUE(fromFifth.out.contains(",5.10,0.00,40000000,1\n")) << fromFifth.out.toStdString();

    // Priced under another tariff (none in force) only the data is left, and
    // a call without bytes says so.
    QTemporaryDir other;
    writeFile(other.path(), QStringLiteral("Tariffs.data"), tariffsImage({}));
    writeFile(other.path(), QStringLiteral("settings.data"), "[Application]\r\nTarifs.NumberOfRecords=0\r\n");
    const Outcome providersReport = run({ "providers", "--format", "csv", "--reprice", other.path() });
    EXPECT_EQ(providersReport.out,
        "key,calls,seconds,cost,repriced,difference,bytes_in,bytes_out\n"
        "Dial,1,60,0.10,0.00,-0.10,1000000000,0\n"
        "Roam,3,240,0.70,0.30,-0.40,1900001,9000000\n"
        "Sat,6,360,10.60,10.00,-0.60,220000000,10000001\n");
    const Outcome text = run({ "providers", "--reprice", other.path(), "--provider", "Sat" });
    EXPECT_TRUE(text.out.contains("6 calls under no tariff; 1 call with no data counted")) << text.out.toStdString();
    const Outcome callText = run({ "--reprice", other.path(), "--to", "2026-03-01" });
    EXPECT_TRUE(callText.out.contains("no tariff in force; no data counted")) << callText.out.toStdString();

    // A plan file with a fault in it would price the data wrongly: nothing is reported.
    writeFile(folder, QStringLiteral("volume.data"), "[Volume.0]\r\nName=Sat\r\nBlockPrice=a lot\r\n");
    const Outcome damaged = run({ "--reprice", folder });
    EXPECT_EQ(damaged.status, 1);
    EXPECT_TRUE(damaged.out.isEmpty());
    EXPECT_TRUE(damaged.err.contains("volume.data is damaged: BlockPrice=a lot for Sat")) << damaged.err.toStdString();
}
