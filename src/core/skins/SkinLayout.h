#pragma once

#include "core/skins/Look.h"

#include <QColor>
#include <QRect>
#include <QSize>

// Where every skinned window puts its controls over its skin image.
//
// All values are window pixels at scale 1 (the images are pixel art; the GUI
// scales for high-DPI screens). Rectangles are QRect(left, top, width, height).
// A window's size is the size of its background image; a three-image button's
// size is the size of each of its images.
//
// What the images hold and what the widgets draw:
// - Painted in the images: each window's frame and rounded outline (pure blue
//   outside), its title, the panels and wells behind the fields, and every
//   fixed text: field names, row names, column headings, the settings
//   dialog's switch labels, the main window's "Today" / "This month" /
//   "To date" / "Calls" captions. Such texts are listed per window below as
//   "painted:" and need no widget.
// - Drawn by widgets: every value (labels that change, edit fields, date
//   pickers, spinners), every caption that changes (the tariff editor's
//   "Cost per Unit" / "Cost per Call"), the currency labels, the kind option
//   buttons of the tariff editor, every text button (TGTextButton,
//   TGFocusButton) with its own caption, the on/off switches, grids, sliders,
//   gauges, the list box and the animation. Widgets over a painted well
//   should have no background of their own unless stated.
// - Three-image buttons (TGTabButton): every image uses pure blue as its
//   transparent colour, so give every such button TransparentColor = kKey
//   (the call log's buttons included). The pictures are drawn for the
//   background under them, so they blend with it without fringes.
//
// The lists of image names per window, in the order they are loaded, are in
// SkinImages.h.
namespace SkinLayout {

// The colour outside every outline and behind every button picture.
inline constexpr QRgb kKey = qRgb(0, 0, 255);

// Text colours that read well on the painted surfaces.
inline constexpr QRgb kLightText = Look::kLightText; // on the dark frames and title strips
inline constexpr QRgb kDarkText = Look::kValueText; // on the light dialog bodies and fields
inline constexpr QRgb kMutedText = Look::kMutedText; // secondary text on dark surfaces
inline constexpr QRgb kLcdText = qRgb(120, 232, 255); // values in the main window's display
inline constexpr QRgb kLcdStrong = qRgb(250, 252, 255); // the running call's duration and cost
inline constexpr QRgb kAccent = Look::kAccent; // the hot colour of the skin
// Hints: dark text in a pale balloon with a thin border.
inline constexpr QRgb kHintText = Look::kValueText;
inline constexpr QRgb kHintBack = qRgb(255, 251, 224);
inline constexpr QRgb kHintBorder = qRgb(138, 152, 168);

// The main window (Tapp), image "main". The call log docks under its bottom
// edge, so only its top corners are rounded.
namespace MainWindow {
inline constexpr QSize kSize { 492, 232 };
inline constexpr int kTitleHeight = 38; // the title strip, a drag area like the rest

// Title strip. ButtonMainMenu has no images: it lies over the painted logo.
inline constexpr QRect ButtonMainMenu { 12, 6, 112, 26 };
inline constexpr QRect ButtonSettings { 150, 7, 28, 24 }; // "MenuSetting_*"
inline constexpr QRect ButtonNewConnection { 182, 7, 28, 24 }; // "MenuNew_*"
inline constexpr QRect ButtonEditTarifs { 214, 7, 28, 24 }; // "MenuTariffs_*"
inline constexpr QRect ButtonEditConnection { 246, 7, 28, 24 }; // "MenuProvider_*"
inline constexpr QRect ButtonSkins { 278, 7, 28, 24 }; // "MenuSkins_*" (opens the about box)
inline constexpr QRect ButtonHelp { 310, 7, 28, 24 }; // "MenuHelp_*"
inline constexpr QRect MailLink { 360, 9, 22, 20 }; // mail link; an envelope is painted there
inline constexpr QRect HomePageLink { 386, 9, 22, 20 }; // home page link; a globe is painted there
inline constexpr QRect ButtonMinimise { 428, 8, 24, 22 }; // "Minimise_*"
inline constexpr QRect ButtonClose { 456, 8, 24, 22 }; // "Close_*"

// Left column: the round dial button and, under it, the scanner lights
// (16 lights of 7 pixels, drawn by the widget on a painted dark slot).
inline constexpr QRect ButtonDial { 28, 46, 64, 64 }; // "dial_*", "dial_hangup"
inline constexpr QRect ScannerLights { 14, 118, 112, 8 };

// The display: a dark panel (painted) holding these labels and the gauge.
// Labels are transparent, kLcdText, Look::font; sizes are suggestions.
inline constexpr QRect DisplayPanel { 136, 44, 344, 84 }; // painted
inline constexpr QRect LabelStatus { 146, 48, 170, 16 }; // bold 12 px, left
inline constexpr QRect LabelDateTimeNow { 316, 48, 156, 16 }; // 11 px, right-aligned
inline constexpr QRect LabelCurrentDuration { 146, 66, 160, 28 }; // 22 px, kLcdStrong, left
inline constexpr QRect LabelCurrentCost { 306, 66, 166, 28 }; // 22 px, kLcdStrong, right-aligned
inline constexpr QRect LabelCallTarif { 146, 98, 126, 16 }; // 12 px, left
inline constexpr QRect LabelSpending { 282, 98, 166, 16 }; // 11 px, right: next unit or cheaper hour; a click area
// (its gap from LabelCallTarif keeps the two texts apart)
inline constexpr QRect ButtonEditTarifs2 { 452, 96, 20, 20 }; // "BallTariffs_*"
inline constexpr QRect ChargeIndicator { 146, 118, 300, 6 }; // 25 lights of 12 pixels: 15 low, 5 medium, 5 high

// Provider row: a white field (painted) holds the provider's name.
inline constexpr QRect ButtonChooseProvider { 14, 136, 24, 24 }; // "prov_*"
inline constexpr QRect grpSelectedEntry { 44, 136, 244, 24 }; // bold 13 px, kDarkText, left, on the painted field
inline constexpr QRect ButtonChooseConnection { 296, 138, 20, 20 }; // "BallProvider_*"
inline constexpr QRect LabelTotalNumOfCalls { 414, 136, 66, 24 }; // right-aligned, kDarkText, on a painted field
// painted: "Calls" (left of LabelTotalNumOfCalls)

// Totals: three dark panels with a painted heading each ("Today",
// "This month", "To date") and the painted captions "Time" and "Cost" at
// the left of the two value rows. Values right-aligned, kLcdText, 12 px.
inline constexpr QRect TodayPanel { 14, 168, 152, 54 };
inline constexpr QRect MonthPanel { 170, 168, 152, 54 };
inline constexpr QRect TodatePanel { 326, 168, 154, 54 };
inline constexpr QRect LabelTodaysTime { 54, 186, 106, 16 };
inline constexpr QRect LabelTodaysCost { 54, 203, 106, 16 };
inline constexpr QRect LabelMonthsTime { 210, 186, 106, 16 };
inline constexpr QRect LabelMonthsCost { 210, 203, 106, 16 };
inline constexpr QRect LabelTodateTime { 366, 186, 108, 16 };
inline constexpr QRect LabelTodateCost { 366, 203, 108, 16 };

// The owner-drawn provider menus draw "MenuBack" or "MenuHigh" at each item's
// top-left corner; items are 25 pixels high and at most 240 wide.
inline constexpr QSize kMenuItemSize { 240, 25 };
} // namespace MainWindow

// The call log window (TCallLog): width fixed, height chosen by the user.
// Its picture is composed from pieces of the image "CallLog"; the window has
// no cut outline (it is rectangular, square-cornered, between the main
// window and the handle).
namespace CallLogWindow {
inline constexpr int kWidth = 492;
inline constexpr QSize kImageSize { 492, 272 };
// Pieces of the image and where the window paints them.
inline constexpr QRect kTopStrip { 0, 0, 492, 65 }; // to (0,0), when the height is 75 or more
inline constexpr QRect kLeftEdge { 0, 65, 12, 135 }; // stretched to (0,65)-(12,h-75)
inline constexpr QRect kRightEdge { 480, 65, 12, 135 }; // stretched to (480,65)-(492,h-75)
inline constexpr QRect kBottomStrip { 0, 197, 492, 75 }; // to (0,h-75)
inline constexpr int kBottomHeight = 75;
// Grid pieces, also used by the tariff editor's grid.
inline constexpr QRect kHeaderLeft { 12, 62, 8, 15 };
inline constexpr QRect kHeaderMiddle { 20, 62, 40, 15 }; // stretched across the cell
inline constexpr QRect kHeaderRight { 60, 62, 8, 15 };
inline constexpr QRect kCellTexture { 11, 81, 65,
    15 }; // stretched over each plain cell; a light rule at its left and bottom

// Top strip (painted: the title "Call log"). The grid starts at y 62, over
// the bottom rows of the top strip, and fills the width between the edges;
// its height is h - 75 - kGridTop.
inline constexpr QRect ButtonEdit { 286, 24, 62, 26 }; // "CallLogEdit_*"
inline constexpr QRect ButtonDelete { 352, 24, 62, 26 }; // "CallLogDelete_*"
inline constexpr QRect ButtonClear { 418, 24, 62, 26 }; // "CallLogClear_*"
// Text buttons between the title and ButtonEdit, no images.
inline constexpr QRect ButtonExport { 84, 24, 62, 26 }; // "Export..."
inline constexpr QRect ButtonReport { 150, 24, 62, 26 }; // "Report..."
inline constexpr QRect ButtonChart { 216, 24, 62, 26 }; // "Chart..."
inline constexpr int kGridLeft = 12;
inline constexpr int kGridTop = 62;
inline constexpr int kGridWidth = 468;
inline constexpr int kSliderWidth = 12; // GSlider1 over the grid's right edge

// Bottom strip, counted from the window's bottom edge h. The eight
// statistics buttons sit in one row on a painted dark well; the provider
// filter label and its button on a painted white field.
inline constexpr int kStatButtonsFromBottom = 68; // top = h - 68
inline constexpr int kStatButtonFirstLeft = 14; // button i (0..7) at left 14 + 58 i
inline constexpr int kStatButtonStep = 58;
inline constexpr QSize kStatButtonSize { 56, 26 };
inline constexpr int kProviderRowFromBottom = 32; // top = h - 32
inline constexpr int kLabelProviderLeft = 98;
inline constexpr QSize kLabelProviderSize { 270, 22 };
inline constexpr int kButtonChooseProviderLeft = 372;
inline constexpr QSize kButtonChooseProviderSize { 22, 22 };
} // namespace CallLogWindow

// The usage chart window (TUsageChart), opened from the call log. It has no
// image: it paints a dark body like the frames, a title strip of
// kTitleHeight, a panel behind the chart and a well behind the figures.
namespace UsageChartWindow {
inline constexpr QSize kSize { 640, 500 };
inline constexpr int kTitleHeight = 44; // painted: the title "Usage: " and whose calls
inline constexpr QRect ButtonClose { 560, 10, 68, 24 };
inline constexpr QRect ButtonPrevious { 12, 52, 28, 24 };
inline constexpr QRect LabelPeriod { 44, 52, 200, 24 }; // bold 14 px, centred, kLightText
inline constexpr QRect ButtonNext { 248, 52, 28, 24 };
inline constexpr QRect ButtonCostTime { 300, 52, 96, 24 };
inline constexpr QRect ButtonData { 400, 52, 66, 24 };
inline constexpr QRect ButtonMonth { 492, 52, 66, 24 };
inline constexpr QRect ButtonYear { 562, 52, 66, 24 };
inline constexpr QRect ChartView { 12, 84, 616, 300 };
inline constexpr QRect LabelFigures { 12, 392, 616, 96 }; // 12 px, kLcdText, on a painted well
} // namespace UsageChartWindow

// The handle under the call log (TBlind), image "Handle": a grip bar with
// rounded bottom corners.
namespace Handle {
inline constexpr QSize kSize { 492, 12 };
}

// The call edit dialog (TEditCall), image "EditLog".
// painted: the title "Edit call" and the field names "Connection",
// "Start time", "Start date", "End time", "End date", "Duration", "Cost",
// right-aligned left of each field.
namespace EditCallDialog {
inline constexpr QSize kSize { 360, 304 };
inline constexpr QRect ConnectionLabel { 140, 48, 200, 22 }; // bold, on Look::kReadOnlyField (its own background)
inline constexpr QRect StartTimeEdit { 140, 80, 96, 22 };
inline constexpr QRect StartDateEdit { 140, 108, 120, 22 };
inline constexpr QRect EndTimeEdit { 140, 140, 96, 22 };
inline constexpr QRect EndDateEdit { 140, 168, 120, 22 };
inline constexpr QRect DurationEdit { 140, 200, 110, 22 };
inline constexpr QRect CostEdit { 140, 228, 120, 22 };
// The edged panels behind the six fields, in the order of the fields above.
inline constexpr QRect StartTimePanel { 137, 78, 102, 26 };
inline constexpr QRect StartDatePanel { 137, 106, 126, 26 };
inline constexpr QRect EndTimePanel { 137, 138, 102, 26 };
inline constexpr QRect EndDatePanel { 137, 166, 126, 26 };
inline constexpr QRect DurationPanel { 137, 198, 116, 26 };
inline constexpr QRect CostPanel { 137, 226, 126, 26 };
inline constexpr QRect ButtonClose { 160, 264, 84, 26 }; // caption "Save"
inline constexpr QRect ButtonCancel { 252, 264, 84, 26 }; // caption "Cancel"
} // namespace EditCallDialog

// The settings dialog (TSettings), image "Settings".
// painted: the title "Settings" and a light band behind every other row.
// The switches' labels are widgets (kLabelLeft, the row's top, 13 px,
// kDarkText), ending before the two currency symbol fields on their rows.
namespace SettingsDialog {
inline constexpr QSize kSize { 420, 398 };
inline constexpr QSize kSwitchSize { 44, 22 };
inline constexpr int kSwitchLeft = 24;
inline constexpr int kFirstRowTop = 50; // the nth switch at top 50 + 30 (n - 1), n = 1..9
inline constexpr int kRowStep = 30;
inline constexpr int kLabelLeft = 78; // where the labels begin
inline constexpr QRect SwitchShowHints { 24, 50, 44, 22 };
inline constexpr QRect SwitchSounds { 24, 80, 44, 22 };
inline constexpr QRect SwitchAutoUpdate { 24, 110, 44, 22 };
inline constexpr QRect SwitchRunAtStartup { 24, 140, 44, 22 };
inline constexpr QRect SwitchTimeInTitle { 24, 170, 44, 22 };
inline constexpr QRect SwitchLoadMinimised { 24, 200, 44, 22 };
inline constexpr QRect SwitchUserCurrency { 24, 230, 44, 22 };
inline constexpr QRect SwitchDefaultCurrency { 24, 260, 44, 22 };
inline constexpr QRect SwitchNotifyCallEnded { 24, 290, 44, 22 };
inline constexpr QRect UserCurrencySymbol { 300, 230, 96, 22 }; // beside SwitchUserCurrency
inline constexpr QRect DefaultCurrencySymbol { 300, 260, 96, 22 }; // beside SwitchDefaultCurrency
inline constexpr QRect LabelDataFolder { 24, 322, 372, 20 }; // the folder the files are kept in
inline constexpr QRect ButtonOkay { 218, 354, 88, 28 }; // caption "Save"
inline constexpr QRect ButtonClose { 312, 354, 88, 28 }; // caption "Cancel"
} // namespace SettingsDialog

// The provider account dialog (TProviderEdit), image "Provider".
// painted: the title "Provider account"; the column headings "Duration",
// "Dial-up Connection Cost" and "Calls" over the counter columns; the row
// names "Today", "This Month", "Todate"; the account names
// "Charges Todate", "Started with Provider on", "Monthly Fee",
// "Month starts on which day", "Monthly limit of hours",
// "For each hour after, add". A display label and its edit control share
// one rectangle (the control is shown over the label in edit mode).
namespace ProviderDialog {
inline constexpr QSize kSize { 560, 566 };
inline constexpr QRect ButtonPreviousProvider { 20, 46, 30, 26 }; // previous (left arrow)
inline constexpr QRect Heading { 56, 46, 448, 26 }; // the provider's name, bold, centred, on a painted field
inline constexpr QRect ButtonNextProvider { 510, 46, 30, 26 }; // next (right arrow)
// Counter rows: Today, This Month, Todate at these tops.
inline constexpr int kTodayTop = 102;
inline constexpr int kMonthTop = 130;
inline constexpr int kTodateTop = 158;
inline constexpr int kRowHeight = 22;
inline constexpr int kDurationLeft = 150; // duration field, 120 wide
inline constexpr int kDurationWidth = 120;
inline constexpr int kCurrencyLeft = 280; // currency label, 40 wide, right-aligned
inline constexpr int kCurrencyWidth = 40;
inline constexpr int kCostLeft = 322; // cost field, 128 wide
inline constexpr int kCostWidth = 128;
inline constexpr int kCallsLeft = 460; // calls field, 80 wide
inline constexpr int kCallsWidth = 80;
// Account rows.
inline constexpr QRect ChargesCurrency { 214, 200, 40, 22 };
inline constexpr QRect ChargesTodate { 256, 200, 130, 22 }; // display only
inline constexpr QRect StartedOnEdit { 214, 228, 172, 22 }; // started with provider on
inline constexpr QRect FeeCurrency { 214, 256, 40, 22 };
inline constexpr QRect MonthlyFeeEdit { 256, 256, 130, 22 }; // monthly fee
inline constexpr QRect MonthStartDay { 214, 284, 80, 22 }; // spinner 1..31
inline constexpr QRect HourLimitEdit { 214, 312, 80, 22 }; // monthly limit of hours
inline constexpr QRect ExtraCurrency { 214, 340, 40, 22 };
inline constexpr QRect ExtraPerHourEdit { 256, 340, 130, 22 }; // for each hour after, add
// Text buttons, a column at the right.
inline constexpr QRect ButtonEdit { 420, 200, 120, 26 };
inline constexpr QRect ButtonEditConnection { 420, 232, 120, 26 }; // caption "Edit Connect"
inline constexpr QRect ButtonSave { 420, 264, 120, 26 };
inline constexpr QRect ButtonCancel { 420, 296, 120, 26 };
inline constexpr QRect ButtonClose { 420, 336, 120, 26 };
// Billing month rows under a rule, painted names at the left: "Billing month",
// "Budget each month" (with "hours" before BudgetHours), "Hang up at 100 %"
// (with "before next unit, s" before HangUpMargin), "Projected bill".
inline constexpr int kSpendingRule = 378;
inline constexpr QRect BillingMonth { 130, 388, 410, 22 }; // display only
inline constexpr QRect BudgetCurrency { 214, 416, 40, 22 };
inline constexpr QRect BudgetMoney { 256, 416, 130, 22 };
inline constexpr QRect BudgetHours { 470, 416, 70, 22 }; // spinner; "limit": the monthly limit of hours
inline constexpr QRect AutoHangUp { 214, 444, 44, 22 }; // on/off switch
inline constexpr QRect HangUpMargin { 470, 444, 70, 22 }; // spinner 1..59
inline constexpr QRect BillProjection { 130, 472, 410, 22 }; // display only
// Data plan rows, painted names at the left: "Data each month" (with "counts"
// before DataCounts) and "Beyond it, blocks of" (with "at" before the price).
inline constexpr QRect DataAllowance { 214, 500, 70, 22 }; // spinner, in the unit beside it
inline constexpr QRect DataAllowanceUnit { 288, 500, 56, 22 }; // MB or GB
inline constexpr QRect DataCounts { 470, 500, 70, 22 }; // in and out, in, or out
inline constexpr QRect DataBlock { 214, 528, 70, 22 }; // spinner, in the unit beside it
inline constexpr QRect DataBlockUnit { 288, 528, 56, 22 };
inline constexpr QRect DataCurrency { 372, 528, 40, 22 };
inline constexpr QRect DataBlockPrice { 414, 528, 126, 22 };
} // namespace ProviderDialog

// The dialling progress window (TConnectDlg), image "connection".
// painted: the title "Dialling"; a Cancel button look under GTabButton1,
// which has no skin images of its own.
namespace ConnectDialog {
inline constexpr QSize kSize { 364, 216 };
inline constexpr QRect ConnectionName { 20, 42, 324, 22 }; // connection name, bold, centred, kDarkText
inline constexpr QRect GIFAnimation { 24, 74, 80, 80 }; // "connecting.gif" is 80 x 80
inline constexpr QRect ListBox1 { 120, 74, 224, 122 }; // white bold text on black
inline constexpr QRect GTabButton1 { 24, 164, 80, 30 }; // cancel
} // namespace ConnectDialog

// The tariff editor (TCallCharges), image "Tariff".
// painted: the title "Tariffs" and a badge in the corner that does not drag;
// the field names "Name of Tariff", "Start charging at",
// "Finish charging at", "A charging unit is", "Seconds per pulse",
// "Type of Charge", "Minimum charge", "Colour"; the heading "Applies to"
// over the kind buttons and "to" left of the era's second date.
// A detail label and its edit control share a rectangle; the cost caption
// ("Cost per Unit" / "Cost per Call") is a widget.
namespace TariffEditor {
inline constexpr QSize kSize { 800, 520 };
inline constexpr QRect kNoDragCorner { 0, 0, 51, 36 };
inline constexpr QRect NameField { 156, 48, 496, 22 };
inline constexpr QRect StartLabel { 156, 80, 116, 22 }; // " hh:mm:ss" while viewing
inline constexpr QRect StartHours { 156, 80, 36, 22 };
inline constexpr QRect StartMinutes { 196, 80, 36, 22 };
inline constexpr QRect StartSeconds { 236, 80, 36, 22 };
inline constexpr QRect FinishLabel { 156, 108, 116, 22 };
inline constexpr QRect FinishHours { 156, 108, 36, 22 };
inline constexpr QRect FinishMinutes { 196, 108, 36, 22 };
inline constexpr QRect FinishSeconds { 236, 108, 36, 22 };
inline constexpr QRect UnitLabel { 156, 136, 130, 22 };
inline constexpr QRect UnitDropDown { 288, 136, 22, 22 };
inline constexpr QRect SecondsPerPulse { 156, 164, 80, 22 };
inline constexpr QRect ChargeLabel { 156, 192, 130, 22 };
inline constexpr QRect ChargeDropDown { 288, 192, 22, 22 };
inline constexpr QRect CostCaption { 24, 220, 128, 22 }; // widget, right-aligned like the painted names
inline constexpr QRect UnitCost { 156, 220, 130, 22 };
inline constexpr QRect MinCharge { 156, 248, 130, 22 };
inline constexpr QRect ColourSwatch { 156, 280, 22, 18 };
inline constexpr QRect ColourStrip { 184, 280, 224, 18 }; // 16 colours of 14 pixels
// The painted heading "Applies to" over the kind option buttons 1..7, which
// stand at left 336, top 100 + 22 (kind - 1), 200 x 22. Kind 1 has no picker,
// so its caption may run on to the pickers' right edge (kKindOneRight).
inline constexpr QRect AppliesToHeading { 336, 78, 200, 20 };
inline constexpr int kKindLeft = 336;
inline constexpr int kKindFirstTop = 100;
inline constexpr int kKindStep = 22;
inline constexpr QSize kKindSize { 200, 22 };
inline constexpr int kKindOneRight = 652;
// Each picker on the row of its kind.
inline constexpr QRect DaysLabel { 540, 122, 88, 22 };
inline constexpr QRect DaysDropDown { 630, 122, 22, 22 };
inline constexpr QRect DaysCheckList { 520, 146, 132, 172 }; // pop-up: seven days and "Okay"
inline constexpr QRect DayLabel { 540, 144, 68, 22 };
inline constexpr QRect DayMinus { 610, 144, 20, 22 };
inline constexpr QRect DayPlus { 632, 144, 20, 22 };
inline constexpr QRect MonthLabel { 540, 166, 68, 22 };
inline constexpr QRect MonthMinus { 610, 166, 20, 22 };
inline constexpr QRect MonthPlus { 632, 166, 20, 22 };
inline constexpr QRect YearLabel { 540, 188, 68, 22 };
inline constexpr QRect YearMinus { 610, 188, 20, 22 };
inline constexpr QRect YearPlus { 632, 188, 20, 22 };
inline constexpr QRect DatePicker { 540, 210, 112, 22 };
inline constexpr QRect EraFromPicker { 540, 232, 112, 22 };
inline constexpr QRect EraToPicker { 540, 254, 112, 22 };
// The grid (620 wide, as its column sizing assumes) and its slider.
inline constexpr QRect Grid { 16, 302, 620, 202 };
inline constexpr QRect Slider { 640, 302, 16, 202 };
// Text buttons "Close", "New", "Edit", "Delete", "Save", "Cancel", top to
// bottom at left 672, top 48 + 38 i, 112 x 30.
inline constexpr int kButtonLeft = 672;
inline constexpr int kButtonFirstTop = 48;
inline constexpr int kButtonStep = 38;
inline constexpr QSize kButtonSize { 112, 30 };
} // namespace TariffEditor

// The skinned message dialog (TMessDlg), images "Warning", "Error",
// "Advice", "Confirm", all of this size and layout.
// painted: an icon and the kind's title at the top left, a white text panel
// behind the message text, a darker column behind the buttons.
namespace MessageDialog {
inline constexpr QSize kSize { 456, 232 };
inline constexpr QRect MessageText { 28, 60, 333, 125 }; // Look::font 16 px, centred, word-wrapped, kDarkText
inline constexpr int kButtonLeft = 384;
inline constexpr int kFirstButtonTop = 23; // button i at top 23 + 26 i
inline constexpr int kButtonStep = 26;
inline constexpr QSize kButtonSize { 54, 18 };
inline constexpr int kButtonsThatFit = 8; // the system uses at most two
// Each kind's colour (warning, error, information, confirmation): the strip
// down the left edge and the disc behind the kind's sign.
inline constexpr QRgb kKindColours[] = { qRgb(236, 168, 32), qRgb(210, 58, 48), qRgb(52, 124, 196), qRgb(40, 150, 86) };
} // namespace MessageDialog

// The splash picture is built into the program, not a skin image.
namespace Splash {
inline constexpr QSize kSize { 456, 366 };
}

} // namespace SkinLayout
