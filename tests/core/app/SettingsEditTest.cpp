#include "core/app/SettingsEdit.h"
#include "core/app/AppCore.h"

#include "support/FakeClock.h"
#include "support/FakeDialUpService.h"
#include "support/FakeServices.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QColor kWhite(255, 255, 255);
const QColor kSilver(192, 192, 192);

using S = SettingsSwitch;

// Each switch and the setting it stands for.
struct SwitchField {
    S which;
    bool Settings::*field;
};
const SwitchField kSwitchFields[] = {
    { S::ShowHint, &Settings::ShowHint },
    { S::PlayApplicationSounds, &Settings::PlayApplicationSounds },
    { S::AutoUpdateProvider, &Settings::AutoUpdateProvider },
    { S::RunAtStartup, &Settings::RunAtStartup },
    { S::ShowConnectionTimeOnTitle, &Settings::ShowConnectionTimeOnTitle },
    { S::LoadMinimised, &Settings::LoadMinimised },
    { S::UseUserCurrency, &Settings::UseUserCurrency },
};

Settings allOff()
{
    Settings settings;
    for (const auto &entry : kSwitchFields)
        settings.*entry.field = false;
    return settings;
}

class SettingsEditTest : public ::testing::Test {
protected:
    std::unique_ptr<AppCore> makeCore()
    {
        auto core = std::make_unique<AppCore>(
            QDir(dir.path()).filePath(QStringLiteral("tollwise")), AppServices { clock, sound, startup, dialUp });
        core->loadAll();
        return core;
    }

    QTemporaryDir dir;
    FakeClock clock;
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    FakeDialUpService dialUp;
};

} // namespace

TEST(SettingsEdit, EachSwitchShowsItsOwnSetting)
{
    for (const auto &entry : kSwitchFields) {
        Settings settings = allOff();
        settings.*entry.field = true;
        const SettingsEdit edit(settings, QStringLiteral("£"));
        for (const auto &other : kSwitchFields)
            EXPECT_EQ(edit.isOn(other.which), other.which == entry.which)
                << "setting " << int(entry.which) << ", switch " << int(other.which);
        EXPECT_EQ(edit.isOn(S::UseDefaultCurrency), entry.which != S::UseUserCurrency) << int(entry.which);
    }
}

TEST_F(SettingsEditTest, SavingWritesEachSwitchIntoItsOwnSetting)
{
    for (const auto &entry : kSwitchFields) {
        auto core = makeCore();
        SettingsEdit edit(allOff(), QStringLiteral("£"));
        edit.set(entry.which, true);
        edit.apply(*core);
        for (const auto &other : kSwitchFields)
            EXPECT_EQ(core->settings().*other.field, other.which == entry.which)
                << "switch " << int(entry.which) << ", setting " << int(other.which);
    }
}

TEST(SettingsEdit, CurrencySwitchesStayOppositeAndTheFieldInUseIsWhite)
{
    struct Step {
        S clicked;
        bool on;
        bool userAfter;
        QColor userColour;
        QColor defaultColour;
    };
    const Step steps[] = {
        { S::UseDefaultCurrency, true, false, kSilver, kWhite },
        { S::UseUserCurrency, true, true, kWhite, kSilver },
        { S::UseUserCurrency, false, false, kSilver, kWhite },
        { S::UseDefaultCurrency, false, true, kWhite, kSilver },
        { S::PlayApplicationSounds, true, true, kWhite, kSilver },
    };
    Settings settings = allOff();
    settings.UseUserCurrency = true;
    SettingsEdit edit(settings, QStringLiteral("£"));
    EXPECT_EQ(edit.fieldColours().userSymbol, kWhite);
    EXPECT_EQ(edit.fieldColours().defaultSymbol, kSilver);
    for (const Step &step : steps) {
        edit.set(step.clicked, step.on);
        EXPECT_EQ(edit.isOn(S::UseUserCurrency), step.userAfter) << int(step.clicked) << step.on;
        EXPECT_EQ(edit.isOn(S::UseDefaultCurrency), !step.userAfter) << int(step.clicked) << step.on;
        EXPECT_EQ(edit.fieldColours().userSymbol, step.userColour) << int(step.clicked) << step.on;
        EXPECT_EQ(edit.fieldColours().defaultSymbol, step.defaultColour) << int(step.clicked) << step.on;
    }
}

TEST_F(SettingsEditTest, SavingSetsTheCurrencyTextFromTheChosenSymbol)
{
    struct Case {
        S chosen;
        QString typed;
        QString defaultSymbol;
        QString textInForce;
        QString stored;
    };
    const Case cases[] = {
        { S::UseUserCurrency, QStringLiteral("  €"), QStringLiteral("£"), QStringLiteral("€ "), QStringLiteral("€") },
        { S::UseUserCurrency, QString(), QStringLiteral("£"), QStringLiteral(" "), QString() },
        { S::UseUserCurrency, QStringLiteral(" Fr. "), QStringLiteral("£"), QStringLiteral("Fr. "),
            QStringLiteral("Fr.") },
        // The default symbol wins whatever the user's field holds.
        { S::UseDefaultCurrency, QStringLiteral("$"), QStringLiteral("£"), QStringLiteral("£ "), QStringLiteral("$") },
        { S::UseDefaultCurrency, QStringLiteral("$"), QStringLiteral(" kr "), QStringLiteral("kr "),
            QStringLiteral("$") },
    };
    for (const Case &c : cases) {
        auto core = makeCore();
        SettingsEdit edit(allOff(), c.defaultSymbol);
        edit.setUserSymbol(c.typed);
        edit.set(c.chosen, true);
        edit.apply(*core);
        EXPECT_EQ(core->currencyText(), c.textInForce) << c.typed.toStdString();
        EXPECT_EQ(core->settings().CurrencyString, c.stored) << c.typed.toStdString();
        EXPECT_EQ(core->settings().UseUserCurrency, c.chosen == S::UseUserCurrency) << c.typed.toStdString();
    }
}

TEST_F(SettingsEditTest, RunAtStartupReachesTheRegistrationAtTheNextSettingsWrite)
{
    auto core = makeCore();
    for (const bool on : { true, false, true }) {
        const int callsBefore = startup.calls;
        SettingsEdit edit(core->settings(), core->systemCurrency());
        edit.set(S::RunAtStartup, on);
        edit.apply(*core);
        EXPECT_EQ(startup.calls, callsBefore) << "registered before the settings were written";
        core->SaveSettings();
        EXPECT_EQ(startup.calls, callsBefore + 1);
        EXPECT_EQ(startup.lastRunAtStartup, on);
        EXPECT_EQ(startup.lastProgramPath,
            QDir::toNativeSeparators(QDir(dir.path()).filePath(QStringLiteral("tollwise"))).toStdString());
    }
}

TEST_F(SettingsEditTest, SavedChoicesSurviveARestart)
{
    {
        auto core = makeCore();
        SettingsEdit edit(core->settings(), core->systemCurrency());
        edit.set(S::ShowHint, false);
        edit.set(S::LoadMinimised, true);
        edit.set(S::UseUserCurrency, true);
        edit.setUserSymbol(QStringLiteral("  €"));
        edit.apply(*core);
        core->SaveSettings();
    }
    auto core = makeCore();
    EXPECT_FALSE(core->settings().ShowHint);
    EXPECT_TRUE(core->settings().LoadMinimised);
    EXPECT_TRUE(core->settings().UseUserCurrency);
    EXPECT_EQ(core->currencyText(), QStringLiteral("€ "));
}

TEST(SettingsEdit, UserSymbolIsCutToTenCharactersAndMustFitTheSettingsFile)
{
    SettingsEdit edit(Settings {}, QStringLiteral("£"));
    edit.setUserSymbol(QStringLiteral("ABCDEFGHIJKL"));
    EXPECT_EQ(edit.userSymbol(), QStringLiteral("ABCDEFGHIJ"));

    const std::pair<QString, bool> texts[] = {
        { QStringLiteral("€"), true },
        { QStringLiteral("£ kr ¥"), true },
        { QString(), true },
        { QStringLiteral("?"), true },
        { QStringLiteral("₹"), false },
        { QStringLiteral("Rs₽"), false },
    };
    for (const auto &[text, storable] : texts)
        EXPECT_EQ(storableInSettings(text), storable) << text.toStdString();
}

TEST(SettingsEdit, DefaultSymbolFieldSaysWhenTheSystemGivesNone)
{
    const std::pair<QString, QString> cases[] = {
        { QStringLiteral("£"), QStringLiteral("£") },
        { QString(), QStringLiteral("None") },
        { QStringLiteral(" "), QStringLiteral("None") },
    };
    for (const auto &[system, shown] : cases)
        EXPECT_EQ(SettingsEdit(allOff(), system).defaultSymbolText(), shown) << system.toStdString();
}
