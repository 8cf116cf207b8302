#include "tools/report/ReportTool.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

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
            "start,end,duration,cost,tariff,provider\n"
            "2026-03-01 10:00:00,2026-03-01 10:01:30,90,1.50,Day,\"Dial, \"\"Fast\"\"\"\n"
            "2026-03-01 23:59:00,2026-03-02 00:01:00,120,0.045,\u00C9vening,Caf\u00E9 Net\n"
            "2026-03-15 08:00:00,2026-03-15 09:00:00,3600,12.0001,7,\"Dial, \"\"Fast\"\"\"\n"
            "2026-04-02 12:00:00,2026-04-02 12:00:30,30,0.45,Day,Caf\u00E9 Net\n"
            // Kept from being read as a formula.
            "2026-04-02 13:00:00,2026-04-02 13:00:10,10,0.00,Day,'=Spare\n" },
        // The start decides: the call begun on 1 March is left out.
        { { "--format=csv", "--from", "2026-03-02", "--to", "2026-03-31", "calls" },
            "start,end,duration,cost,tariff,provider\n"
            "2026-03-15 08:00:00,2026-03-15 09:00:00,3600,12.0001,7,\"Dial, \"\"Fast\"\"\"\n" },
        { { "days", "--format", "csv" },
            "key,calls,seconds,cost\n2026-03-01,2,210,1.545\n2026-03-15,1,3600,12.0001\n2026-04-02,2,40,0.45\n" },
        { { "tariffs", "--format", "csv", "--to", "2026-03-31" },
            "key,calls,seconds,cost\n7,1,3600,12.0001\nDay,1,90,1.50\n\u00C9vening,1,120,0.045\n" },
        { { "months", "--format", "json", "--provider", "Caf\u00E9 Net" },
            "[\n"
            "  {\"key\": \"2026-03\", \"calls\": 1, \"seconds\": 120, \"cost\": \"0.045\"},\n"
            "  {\"key\": \"2026-04\", \"calls\": 1, \"seconds\": 30, \"cost\": \"0.45\"}\n"
            "]\n" },
        { { "providers", "--format", "json" },
            "[\n"
            "  {\"key\": \"=Spare\", \"calls\": 1, \"seconds\": 10, \"cost\": \"0.00\"},\n"
            "  {\"key\": \"Caf\u00E9 Net\", \"calls\": 2, \"seconds\": 150, \"cost\": \"0.495\"},\n"
            "  {\"key\": \"Dial, \\\"Fast\\\"\", \"calls\": 2, \"seconds\": 3690, \"cost\": \"13.5001\"}\n"
            "]\n" },
        { { "providers", "--format", "csv", "--from", "2026-04-01" },
            "key,calls,seconds,cost\n'=Spare,1,10,0.00\nCaf\u00E9 Net,1,30,0.45\n" },
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
        "start,end,duration,cost,tariff,provider,repriced,difference\n"
        "2026-03-01 10:00:00,2026-03-01 10:01:30,90,1.50,Day,\"Dial, \"\"Fast\"\"\",0.20,-1.30\n"
        "2026-03-01 23:59:00,2026-03-02 00:01:00,120,0.045,\u00C9vening,Caf\u00E9 Net,0.20,0.155\n");
    const Outcome months = run({ "months", "--format", "csv", "--reprice", other.path() });
    EXPECT_EQ(months.out,
        "key,calls,seconds,cost,repriced,difference\n"
        "2026-03,3,3810,13.5451,6.40,-7.1451\n"
        "2026-04,2,40,0.45,0.20,-0.25\n");

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
}
