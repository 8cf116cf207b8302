#include "core/store/SettingsFile.h"
#include "core/store/DialUpServiceChoice.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    QString path() const { return QDir(dir.path()).filePath(SettingsFile::kFileName); }
    QByteArray contents() const
    {
        QFile stored(path());
        return stored.open(QIODevice::ReadOnly) ? stored.readAll() : QByteArray();
    }
    void write(const QByteArray &bytes) const
    {
        QFile stored(path());
        ASSERT_TRUE(stored.open(QIODevice::WriteOnly));
        stored.write(bytes);
    }

    QTemporaryDir dir;
    SettingsFile file { path() };
};

} // namespace

TEST_F(SettingsFileTest, FirstWriteHoldsEveryKeyInOrder)
{
    Settings settings;
    settings.CurrencyString = QStringLiteral("€");
    ASSERT_TRUE(file.save(settings, 12, 3, 7));
    EXPECT_EQ(contents(),
        QByteArray("[Application]\r\n"
                   "MainWindow.Top=0\r\n"
                   "MainWindow.Left=0\r\n"
                   "CallLog.Height=272\r\n"
                   "CallLog.Visible=1\r\n"
                   "ShowHint=1\r\n"
                   "PlayApplicationSounds=0\r\n"
                   "AutoUpdateProvider=1\r\n"
                   "RunAtStartup=0\r\n"
                   "LoadMinimised=0\r\n"
                   "ShowConnectionTimeOnTitle=0\r\n"
                   "UseUserCurrency=0\r\n"
                   "CurrencyString=\x80\r\n"
                   "Tarifs.NumberOfRecords=3\r\n"
                   "Log.NumberOfRecords=12\r\n"
                   "LastTariffIdNumber=7\r\n"
                   "CallLog.Column.0.Width=48\r\n"
                   "CallLog.Column.1.Width=48\r\n"
                   "CallLog.Column.2.Width=48\r\n"
                   "CallLog.Column.3.Width=48\r\n"
                   "CallLog.Column.4.Width=58\r\n"
                   "CallLog.Column.5.Width=56\r\n"
                   "CallLog.Column.6.Width=70\r\n"
                   "CallLog.Column.7.Width=1024\r\n"
                   "DialUpService=Auto\r\n"
                   "NotifyCallEnded=0\r\n"));
}

TEST_F(SettingsFileTest, ValuesAreReadInTheirForms)
{
    write("; written by hand\r\n"
          "[Other]\r\nShowHint=0\r\n"
          "[application]\r\n"
          "showhint=0\r\n"
          "PlayApplicationSounds=2\r\n"
          "MainWindow.Top=0x10\r\n"
          "MainWindow.Left=-20\r\n"
          "CallLog.Height=tall\r\n"
          "CurrencyString=\x80\r\n"
          "UseUserCurrency=1\r\n"
          "Log.NumberOfRecords=many\r\n"
          "Tarifs.NumberOfRecords=0x0A\r\n"
          "CallLog.Column.3.Width=77\r\n"
          "Unknown.Key=kept\r\n");
    Settings settings;
    const StoredCounts counts = file.load(settings);
    EXPECT_FALSE(settings.ShowHint);
    EXPECT_TRUE(settings.PlayApplicationSounds) << "any non-zero integer is true";
    EXPECT_EQ(settings.MainWindowTop, 16);
    EXPECT_EQ(settings.MainWindowLeft, -20);
    EXPECT_EQ(settings.CallLogHeight, kDesignedCallLogHeight) << "unreadable keeps the default";
    EXPECT_EQ(settings.CurrencyString, QStringLiteral("€"));
    EXPECT_TRUE(settings.UseUserCurrency);
    EXPECT_FALSE(counts.logRecords.has_value());
    EXPECT_EQ(counts.tariffRecords, 10);
    EXPECT_FALSE(counts.lastTariffId.has_value());
    EXPECT_EQ(settings.ColumnWidths[3], 77);
    EXPECT_EQ(settings.ColumnWidths[7], 1024);

    ASSERT_TRUE(file.save(settings, 0, 10, 0));
    const QByteArray after = contents();
    EXPECT_TRUE(after.startsWith("; written by hand\r\n[Other]\r\nShowHint=0\r\n[application]\r\nshowhint=0\r\n"));
    EXPECT_TRUE(after.contains("Unknown.Key=kept\r\n"));
    EXPECT_EQ(after.toLower().count("showhint="), 2) << "the key is updated in place, not added again";
    EXPECT_TRUE(after.contains("CallLog.Height=272\r\n"));
}

TEST_F(SettingsFileTest, GeometryIsNotReadWhenStartingMinimised)
{
    write("[Application]\r\nLoadMinimised=1\r\nMainWindow.Top=300\r\nMainWindow.Left=400\r\nCallLog.Height=90\r\n");
    Settings settings;
    file.load(settings);
    EXPECT_TRUE(settings.LoadMinimised);
    EXPECT_EQ(settings.MainWindowTop, 0);
    EXPECT_EQ(settings.MainWindowLeft, 0);
    EXPECT_EQ(settings.CallLogHeight, kDesignedCallLogHeight);
}

TEST_F(SettingsFileTest, RoundTripKeepsEveryValue)
{
    Settings settings;
    settings.RunAtStartup = true;
    settings.MainWindowTop = 123;
    settings.MainWindowLeft = 45;
    settings.CallLogHeight = 300;
    settings.ShowHint = false;
    settings.PlayApplicationSounds = true;
    settings.AutoUpdateProvider = false;
    settings.ShowConnectionTimeOnTitle = true;
    settings.UseUserCurrency = true;
    settings.CurrencyString = QStringLiteral("Kč\n日");
    settings.ColumnWidths = { 1, 2, 3, 4, 5, 6, 7, 8 };
    ASSERT_TRUE(file.save(settings, 16384, 256, 4000000000u));

    Settings loaded;
    const StoredCounts counts = file.load(loaded);
    EXPECT_TRUE(loaded.RunAtStartup);
    EXPECT_EQ(loaded.MainWindowTop, 123);
    EXPECT_EQ(loaded.MainWindowLeft, 45);
    EXPECT_EQ(loaded.CallLogHeight, 300);
    EXPECT_FALSE(loaded.ShowHint);
    EXPECT_TRUE(loaded.PlayApplicationSounds);
    EXPECT_FALSE(loaded.AutoUpdateProvider);
    EXPECT_TRUE(loaded.ShowConnectionTimeOnTitle);
    EXPECT_EQ(loaded.CurrencyString, QStringLiteral("K??"))
        << "outside Windows-1252 becomes '?', line breaks are dropped";
    EXPECT_EQ(loaded.ColumnWidths, settings.ColumnWidths);
    EXPECT_EQ(counts.logRecords, 16384);
    EXPECT_EQ(counts.tariffRecords, 256);
    EXPECT_EQ(counts.lastTariffId, 4000000000LL);
}

TEST_F(SettingsFileTest, DialUpServiceChoiceReadsUnknownAsAuto)
{
    const std::vector<std::pair<QByteArray, DialUpServiceChoice>> cases = {
        { "", DialUpServiceChoice::Auto },
        { "DialUpService=NetworkManager\r\n", DialUpServiceChoice::NetworkManager },
        { "DialUpService= simulator \r\n", DialUpServiceChoice::Simulator },
        { "DialUpService=Auto\r\n", DialUpServiceChoice::Auto },
        { "DialUpService=Modem\r\n", DialUpServiceChoice::Auto },
    };
    for (const auto &[line, expected] : cases) {
        SCOPED_TRACE(line.toStdString());
        write("[Application]\r\n" + line);
        EXPECT_EQ(readDialUpServiceChoice(path()), expected);
        ASSERT_TRUE(file.save(Settings(), 0, 0, 0));
        EXPECT_TRUE(contents().contains("DialUpService=" + dialUpServiceText(expected).toLatin1() + "\r\n"));
        EXPECT_EQ(readDialUpServiceChoice(path()), expected);
    }
}
