#include "core/skins/SkinLayout.h"
#include "core/skins/SkinImages.h"

#include <QSet>

#include <gtest/gtest.h>

#include <vector>

namespace {

namespace L = SkinLayout;

struct Window {
    const char *name;
    QRect area;
    std::vector<QRect> controls; // side by side: none may overlap another
};

std::vector<Window> windows()
{
    using namespace L;
    return {
        { "main", QRect(QPoint(0, 0), MainWindow::kSize),
            { MainWindow::ButtonMainMenu, MainWindow::ButtonSettings, MainWindow::ButtonNewConnection,
                MainWindow::ButtonEditTarifs, MainWindow::ButtonEditConnection, MainWindow::ButtonSkins,
                MainWindow::ButtonHelp, MainWindow::MailLink, MainWindow::HomePageLink, MainWindow::ButtonMinimise,
                MainWindow::ButtonClose, MainWindow::ButtonDial, MainWindow::ScannerLights, MainWindow::DisplayPanel,
                MainWindow::ButtonChooseProvider, MainWindow::grpSelectedEntry, MainWindow::ButtonChooseConnection,
                MainWindow::LabelTotalNumOfCalls, MainWindow::TodayPanel, MainWindow::MonthPanel,
                MainWindow::TodatePanel } },
        { "main display", MainWindow::DisplayPanel,
            { MainWindow::LabelStatus, MainWindow::LabelDateTimeNow, MainWindow::LabelCurrentDuration,
                MainWindow::LabelCurrentCost, MainWindow::LabelCallTarif, MainWindow::LabelSpending,
                MainWindow::ButtonEditTarifs2, MainWindow::ChargeIndicator } },
        { "call log top strip", QRect(0, 0, CallLogWindow::kWidth, CallLogWindow::kGridTop),
            { CallLogWindow::ButtonEdit, CallLogWindow::ButtonDelete, CallLogWindow::ButtonClear } },
        { "edit call", QRect(QPoint(0, 0), EditCallDialog::kSize),
            { EditCallDialog::ConnectionLabel, EditCallDialog::StartTimePanel, EditCallDialog::StartDatePanel,
                EditCallDialog::EndTimePanel, EditCallDialog::EndDatePanel, EditCallDialog::DurationPanel,
                EditCallDialog::CostPanel, EditCallDialog::ButtonClose, EditCallDialog::ButtonCancel } },
        { "settings", QRect(QPoint(0, 0), SettingsDialog::kSize),
            { SettingsDialog::SwitchShowHints, SettingsDialog::SwitchSounds, SettingsDialog::SwitchAutoUpdate,
                SettingsDialog::SwitchRunAtStartup, SettingsDialog::SwitchTimeInTitle,
                SettingsDialog::SwitchLoadMinimised, SettingsDialog::SwitchUserCurrency,
                SettingsDialog::SwitchDefaultCurrency, SettingsDialog::SwitchNotifyCallEnded,
                SettingsDialog::LabelDataFolder, SettingsDialog::UserCurrencySymbol,
                SettingsDialog::DefaultCurrencySymbol, SettingsDialog::ButtonOkay, SettingsDialog::ButtonClose } },
        { "provider", QRect(QPoint(0, 0), ProviderDialog::kSize),
            { ProviderDialog::ButtonPreviousProvider, ProviderDialog::Heading, ProviderDialog::ButtonNextProvider,
                ProviderDialog::ChargesCurrency, ProviderDialog::ChargesTodate, ProviderDialog::StartedOnEdit,
                ProviderDialog::FeeCurrency, ProviderDialog::MonthlyFeeEdit, ProviderDialog::MonthStartDay,
                ProviderDialog::HourLimitEdit, ProviderDialog::ExtraCurrency, ProviderDialog::ExtraPerHourEdit,
                ProviderDialog::ButtonEdit, ProviderDialog::ButtonEditConnection, ProviderDialog::ButtonSave,
                ProviderDialog::ButtonCancel, ProviderDialog::ButtonClose, ProviderDialog::BillingMonth,
                ProviderDialog::BudgetCurrency, ProviderDialog::BudgetMoney, ProviderDialog::BudgetHours,
                ProviderDialog::AutoHangUp, ProviderDialog::HangUpMargin, ProviderDialog::BillProjection,
                QRect(ProviderDialog::kDurationLeft, ProviderDialog::kTodateTop, ProviderDialog::kDurationWidth, 22),
                QRect(ProviderDialog::kCurrencyLeft, ProviderDialog::kTodateTop, ProviderDialog::kCurrencyWidth, 22),
                QRect(ProviderDialog::kCostLeft, ProviderDialog::kTodateTop, ProviderDialog::kCostWidth, 22),
                QRect(ProviderDialog::kCallsLeft, ProviderDialog::kTodateTop, ProviderDialog::kCallsWidth, 22) } },
        { "connection", QRect(QPoint(0, 0), ConnectDialog::kSize),
            { ConnectDialog::ConnectionName, ConnectDialog::GIFAnimation, ConnectDialog::ListBox1,
                ConnectDialog::GTabButton1 } },
        { "tariff editor", QRect(QPoint(0, 0), TariffEditor::kSize),
            { TariffEditor::NameField, TariffEditor::StartLabel, TariffEditor::FinishLabel, TariffEditor::UnitLabel,
                TariffEditor::UnitDropDown, TariffEditor::SecondsPerPulse, TariffEditor::ChargeLabel,
                TariffEditor::ChargeDropDown, TariffEditor::CostCaption, TariffEditor::UnitCost,
                TariffEditor::MinCharge, TariffEditor::ColourSwatch, TariffEditor::ColourStrip, TariffEditor::DaysLabel,
                TariffEditor::DaysDropDown, TariffEditor::DayLabel, TariffEditor::DayMinus, TariffEditor::DayPlus,
                TariffEditor::MonthLabel, TariffEditor::MonthMinus, TariffEditor::MonthPlus, TariffEditor::YearLabel,
                TariffEditor::YearMinus, TariffEditor::YearPlus, TariffEditor::DatePicker, TariffEditor::EraFromPicker,
                TariffEditor::EraToPicker, TariffEditor::Grid, TariffEditor::Slider,
                QRect(TariffEditor::kKindLeft, TariffEditor::kKindFirstTop + 6 * TariffEditor::kKindStep,
                    TariffEditor::kKindSize.width(), TariffEditor::kKindSize.height()),
                QRect(QPoint(TariffEditor::kButtonLeft, TariffEditor::kButtonFirstTop + 5 * TariffEditor::kButtonStep),
                    TariffEditor::kButtonSize) } },
        { "message", QRect(QPoint(0, 0), MessageDialog::kSize),
            { MessageDialog::MessageText,
                QRect(QPoint(MessageDialog::kButtonLeft,
                          MessageDialog::kFirstButtonTop
                              + (MessageDialog::kButtonsThatFit - 1) * MessageDialog::kButtonStep),
                    MessageDialog::kButtonSize) } },
    };
}

} // namespace

TEST(SkinLayout, ControlsLieInsideTheirWindowsAndApart)
{
    for (const Window &window : windows()) {
        const QRect &inside = window.area;
        for (std::size_t i = 0; i < window.controls.size(); ++i) {
            EXPECT_TRUE(inside.contains(window.controls[i])) << window.name << " control " << i;
            for (std::size_t j = i + 1; j < window.controls.size(); ++j)
                EXPECT_FALSE(window.controls[i].intersects(window.controls[j]))
                    << window.name << " controls " << i << " and " << j;
        }
    }
}

TEST(SkinLayout, CallLogPiecesLieInTheImageWhereThePaintingExpectsThem)
{
    namespace C = L::CallLogWindow;
    const QRect image(QPoint(0, 0), C::kImageSize);
    for (const QRect piece : { C::kTopStrip, C::kLeftEdge, C::kRightEdge, C::kBottomStrip, C::kHeaderLeft,
             C::kHeaderMiddle, C::kHeaderRight, C::kCellTexture })
        EXPECT_TRUE(image.contains(piece));
    EXPECT_EQ(C::kBottomStrip.height(), C::kBottomHeight);
    EXPECT_EQ(C::kBottomStrip.bottom() + 1, 272);
    EXPECT_EQ(C::kLeftEdge.bottom() + 1, 200);
    // The grid fills the room between the edges, from the header bar down.
    EXPECT_EQ(C::kGridLeft, C::kLeftEdge.right() + 1);
    EXPECT_EQ(C::kGridLeft + C::kGridWidth, C::kRightEdge.left());
    EXPECT_EQ(C::kGridTop, C::kHeaderLeft.top());
    // Statistics buttons and the provider row stay within the bottom strip.
    const int lastStatRight = C::kStatButtonFirstLeft + 7 * C::kStatButtonStep + C::kStatButtonSize.width();
    EXPECT_LE(lastStatRight, C::kRightEdge.left());
    EXPECT_GE(C::kStatButtonsFromBottom - C::kStatButtonSize.height(), C::kProviderRowFromBottom);
    EXPECT_LE(C::kStatButtonsFromBottom, C::kBottomHeight);
}

TEST(SkinLayout, EveryImageNameIsUsedOnceAndTheMainWindowOrderIsKept)
{
    QSet<QString> names;
    for (const SkinImageUse &use : SkinImages::allImages()) {
        EXPECT_FALSE(names.contains(QString::fromLatin1(use.image))) << use.image;
        names.insert(QString::fromLatin1(use.image));
        EXPECT_FALSE(use.size.isEmpty()) << use.image;
    }
    EXPECT_EQ(names.size(), 60);
    EXPECT_STREQ(SkinImages::kMainWindow.front().image, "main");
    EXPECT_STREQ(SkinImages::kMainWindow[3].image, "dial_down");
    EXPECT_STREQ(SkinImages::kMainWindow[4].image, "prov_down");
    EXPECT_STREQ(SkinImages::kMainWindow.back().image, "BallTariffs_up");
    EXPECT_STREQ(SkinImages::kCallLog.front().image, "CallLog");
    EXPECT_STREQ(SkinImages::kMessageKinds[3].image, "Confirm");
}
