#include "LayoutChecker.h"

#include "app/AppCore.h"
#include "app/Tapp.h"
#include "calllog/TCallLog.h"
#include "calllog/TEditCall.h"
#include "connection/TConnectDlg.h"
#include "providers/TProviderEdit.h"
#include "skins/SkinLibrary.h"
#include "tariffs/TCallCharges.h"
#include "ui/TAbout.h"
#include "ui/TBlind.h"
#include "ui/TDynaMessageBoxDlg.h"
#include "ui/TMessDlg.h"
#include "ui/TSettings.h"
#include "ui/Tsplash.h"

#include "support/FakeClock.h"
#include "support/FakeDialUpService.h"
#include "support/FakeServices.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString kLongName = QString(64, QLatin1Char('W'));
constexpr MoneyValue kLargestAmount = 999'999'999'900; // 99,999,999.99

// Lets a failing run leave its pictures for a look.
void keepPicture(QWidget &window, const QString &state)
{
    const QString folder = qEnvironmentVariable("TOLLWISE_LAYOUT_PICTURES");
    if (!folder.isEmpty())
        window.grab().save(QDir(folder).filePath(window.objectName() + QLatin1Char('-') + state + ".png"));
}

void expectReadable(QWidget &window, const LayoutChecker &checker, const QString &state)
{
    window.show();
    QCoreApplication::processEvents();
    keepPicture(window, state);
    const QStringList faults = checker.check(window);
    EXPECT_TRUE(faults.isEmpty()) << state.toStdString() << ":\n" << faults.join(QLatin1Char('\n')).toStdString();
}

// A program folder with the default skin, one per test.
class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QDir from(QStringLiteral(TOLLWISE_SKIN_FOLDER));
        QDir to(dir.path());
        to.mkpath(QStringLiteral("skins/default"));
        for (const QString &file : from.entryList(QDir::Files))
            QFile::copy(from.filePath(file), to.filePath(QStringLiteral("skins/default/") + file));
        SkinLibrary::setProgramFolder(dir.path());
        core.loadAll();
        core.setCurrencyText(QStringLiteral("EUR "));
    }

    void fillProviders()
    {
        ProviderTable &table = core.providers();
        table.Count = 2;
        for (int i = 0; i < 2; ++i) {
            Provider &p = table.records[i];
            p.Name.setText(kLongName);
            p.TodaySeconds = p.MonthSeconds = p.TotalSeconds = 99'999 * 3600 + 59 * 60 + 59;
            p.TodayCost = p.MonthCost = p.TotalCost = p.MonthlyFee = p.ExtraPerHour = kLargestAmount;
            p.TodayCalls = p.MonthCalls = p.TotalCalls = 65000;
            p.MonthlyHourLimit = 65534;
            p.MonthStartDay = 31;
        }
    }

    void fillLog(int calls)
    {
        CallLogTable &log = core.log();
        for (int i = 0; i < calls; ++i) {
            CallRecord &r = log.records[log.Count++];
            r.StartDay = r.EndDay = 28;
            r.StartMonth = r.EndMonth = 12;
            r.StartYear = r.EndYear = 26;
            r.StartHour = 8;
            r.EndHour = 23;
            r.EndMinute = r.EndSecond = 59;
            r.ProviderIndex = std::uint8_t(i % 2);
            r.DurationSeconds = 9999 * 3600;
            r.Cost = kLargestAmount;
            r.TariffId = 1;
        }
    }

    Tariff &addTariff(std::uint8_t kind, std::uint32_t value)
    {
        TariffTable &tariffs = core.tariffs();
        Tariff &t = tariffs.records[tariffs.Count++];
        t = Tariff {};
        t.IdNumber = ++tariffs.LastTariffIdNumber;
        t.Name.setText(kLongName);
        t.StartTime = 0;
        t.FinishTime = 86399;
        t.UnitKind = 3;
        t.SecondsPerPulse = 65534;
        t.ChargeKind = 1;
        t.UnitCost = t.MinCharge = kLargestAmount;
        t.AppliesTo = kind;
        t.AppliesValue = value;
        t.DateFrom = 46082;
        t.DateTo = 46091;
        t.Colour = 0x00102040;
        return t;
    }

    QTemporaryDir dir;
    FakeClock clock;
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    FakeDialUpService dialUp;
    AppCore core { QDir(dir.path()).filePath(QStringLiteral("tollwise")),
        AppServices { clock, sound, startup, dialUp } };
};

LayoutChecker providerChecker()
{
    LayoutChecker checker;
    checker.setPaintedTexts({ "Provider account", "Duration", "Dial-up Connection Cost", "Calls", "Today",
        "This Month", "Todate", "Charges Todate", "Started with Provider on", "Monthly Fee",
        "Month starts on which day", "Monthly limit of hours", "For each hour after, add" });
    return checker;
}

void click(QWidget &window, const char *name)
{
    auto *button = window.findChild<QAbstractButton *>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    button->click();
}

} // namespace

TEST_F(LayoutTest, ProviderAccountInDisplayAndEditMode)
{
    fillProviders();
    TProviderEdit dialog(core, dialUp);
    expectReadable(dialog, providerChecker(), QStringLiteral("display"));
    click(dialog, "ButtonEdit");
    expectReadable(dialog, providerChecker(), QStringLiteral("edit"));
}
