#include "gui/tariffs/TCallCharges.h"

#include "gui/controls/ScrollingFace.h"

#include "core/app/AppCore.h"
#include "core/skins/SkinLayout.h"
#include "core/skins/SkinLibrary.h"
#include "core/store/DateTimeValue.h"
#include "core/store/Money.h"
#include "core/store/TextHelpers.h"
#include "core/tariffs/TariffEditorTexts.h"
#include "core/windowlogic/WindowOutline.h"
#include "gui/controls/DateFieldStyle.h"
#include "gui/controls/ElidedText.h"
#include "gui/controls/SkinGridHeader.h"
#include "gui/controls/SkinLook.h"
#include "gui/controls/TCutTransImage.h"
#include "gui/controls/TGFocusButton.h"
#include "gui/controls/TGShape.h"
#include "gui/messages/MessageDialogs.h"
#include "gui/tariffs/TariffColourStrip.h"
#include "gui/tariffs/TariffGridDelegate.h"
#include "gui/tariffs/TariffGridModel.h"
#include "gui/tariffs/TwoDigitSpinBox.h"

#include <QButtonGroup>
#include <QDateEdit>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTableView>

#include <algorithm>
#include <cstdlib>

namespace {

namespace Layout = SkinLayout::TariffEditor;

constexpr int kGridRowHeight = 18;
constexpr int kMoneyFieldLength = 14; // what may be typed
constexpr int kStartingWidths[TariffGridModel::kColumnCount - 1] = { 80, 110, 50, 50, 70, 85, 60 };

const QColor kChosenKindColour(0, 0, 160);
const QColor kText = QColor::fromRgb(SkinLayout::kDarkText);

// What the pickers show for kinds a tariff does not use.
constexpr std::uint32_t kDefaultDaySet = 96; // the weekend
constexpr std::uint32_t kDefaultDay = 1;
constexpr std::uint32_t kDefaultMonth = 1;
constexpr std::uint32_t kDefaultYear = 1999;

constexpr std::uint32_t kDayBits[7] = { 1, 2, 4, 8, 16, 32, 64 }; // Monday first
const char *const kDayNames[7] = { "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday" };

const char *const kKindCaptions[7] = {
    "Every day of the week Monday to Sunday",
    "Specific days of week",
    "Day of the month",
    "Specific month",
    "Specific year",
    "Specific date",
    "Specific era",
};
const char *const kKindHints[7] = {
    "Makes this Tariff applicable for every day.\r\nIf you set the charge times to a full day, then all other "
    "Tariffs will be ignored.",
    "Use the spinners on the right to choose a day. ",
    "Use the spinners on the right to choose a day in the month.",
    "Use the spinners on the right to choose a month.",
    "Use the spinners on the right to choose a year. ",
    "Use the drop down or enter a specific date",
    "Use the drop down or enter specific dates",
};

const QString kGoBackOrAbort
    = QStringLiteral("\r\rPress Okay to go back and edit this, or\rPress Cancel to Abort this Tariff.");

QString hint(const char *text) { return QString::fromLatin1(text).replace(QLatin1String("\r\n"), QLatin1String("\n")); }

// Narrows the font of a caption that would not fit its place.
void fitCaption(QLabel *label)
{
    QFont font = label->font();
    const int needed = QFontMetrics(font).horizontalAdvance(label->text());
    if (needed > label->width()) {
        font.setStretch(std::max(75, 100 * label->width() / needed));
        label->setFont(font);
    }
}

std::int32_t secondsOf(int hours, int minutes, int seconds) { return hours * 3600 + minutes * 60 + seconds; }

void paintLabel(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

QImage skinImage(const QString &name)
{
    QImage image;
    SkinLibrary::LoadSkinImage(image, name);
    return image;
}

} // namespace

TCallCharges::TCallCharges(AppCore &core, QWidget *parent)
    : QDialog(parent)
    , m_core(core)
    , m_editor(core.tariffs())
    , m_gridPainter(skinImage(QStringLiteral("CallLog")))
{
    FormCreate();
}

TCallCharges::~TCallCharges() = default;

void TCallCharges::FormCreate()
{
    setObjectName(QStringLiteral("TCallCharges"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(Layout::kSize);
    setFont(m_gridPainter.font());
    QPalette text = palette();
    text.setColor(QPalette::WindowText, kText);
    setPalette(text);

    m_background = new TCutTransImage(this);
    m_background->setTransColor(QColor::fromRgb(kSkinKeyColour));
    m_background->loadSkin(QStringLiteral("Tariff"));
    m_background->setMouseTracking(true);
    m_background->setCursor(Qt::SizeAllCursor);
    m_background->installEventFilter(this);

    buildDetailArea();
    buildKindArea();
    buildButtons();
    buildGrid();
    showKindDefaults();
    colourKinds(m_kind);
    m_kindGroup->button(m_kind)->setChecked(true);

    HideEditFields();
    HideEditButtons();
    clearTarifDisplay();
    UpdateTarifDisplay();
    FillGridWithData();
    sizeLastColumn();
    scrollFaceOnSmallScreen(this, Layout::kSize,
        parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen(), QStringLiteral("Tariff"));
}

TCallCharges::TimeFields TCallCharges::makeTimeFields(
    const QString &name, const QRect &hours, const QRect &minutes, const QRect &seconds)
{
    TimeFields fields { new TwoDigitSpinBox(23, this), new TwoDigitSpinBox(59, this), new TwoDigitSpinBox(59, this) };
    const std::tuple<TwoDigitSpinBox *, const char *, const char *, QRect> parts[] = {
        { fields.hours, "Hours", "Enter the hours", hours },
        { fields.minutes, "Minutes", "Enter the Minutes", minutes },
        { fields.seconds, "Seconds", "Enter the seconds", seconds },
    };
    for (const auto &[box, part, tip, rect] : parts) {
        box->setObjectName(QStringLiteral("Edit") + name + QString::fromLatin1(part));
        box->setToolTip(hint(tip));
        box->setGeometry(rect);
    }
    return fields;
}

QLabel *TCallCharges::makeLabel(const char *name, const QRect &rect)
{
    auto *label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(rect);
    return label;
}

TGFocusButton *TCallCharges::makeButton(const char *name, const QString &caption, const QRect &rect, QWidget *parent)
{
    auto *button = new TGFocusButton(parent ? parent : this);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    SkinLook::styleButton(button);
    button->setGeometry(rect);
    return button;
}

void TCallCharges::buildDetailArea()
{
    LabelName = makeLabel("LabelName", Layout::NameField);
    LabelStart = makeLabel("LabelStart", Layout::StartLabel);
    LabelFinish = makeLabel("LabelFinish", Layout::FinishLabel);
    LabelUnit = makeLabel("LabelUnit", Layout::UnitLabel);
    LabelUnit->setToolTip(hint("Your charging unit "));
    LabelSecondsPerPulse = makeLabel("LabelSecondsPerPulse", Layout::SecondsPerPulse);
    LabelCharge = makeLabel("LabelCharge", Layout::ChargeLabel);
    LabelCharge->setToolTip(hint("An Incremental charge increases the cost as you are connected.\r\n\r\nA Single "
                                 "charge is a one time charge per call, regardless of the time. "));
    LabelCostCaption = makeLabel("LabelCostCaption", Layout::CostCaption);
    LabelCostCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LabelCostCaption->setText(QStringLiteral("Cost per Unit"));
    // As the names painted beside it.
    SkinLook::styleCaption(LabelCostCaption);
    LabelCost = makeLabel("LabelCost", Layout::UnitCost);
    LabelMinCharge = makeLabel("LabelMinCharge", Layout::MinCharge);

    ShapeColour = new TGShape(this);
    ShapeColour->setObjectName(QStringLiteral("ShapeColour"));
    ShapeColour->setGeometry(Layout::ColourSwatch);
    ShapeColour->setPen(QPen(QColor(160, 172, 186)));

    EditName = new QLineEdit(this);
    EditName->setObjectName(QStringLiteral("EditName"));
    EditName->setMaxLength(60);
    EditName->setToolTip(hint("Enter a descriptive name for this Taiff. eg: Christmas Day or Peak Rate"));
    EditName->setGeometry(Layout::NameField);

    m_start = makeTimeFields(QStringLiteral("Start"), Layout::StartHours, Layout::StartMinutes, Layout::StartSeconds);
    m_finish
        = makeTimeFields(QStringLiteral("Finish"), Layout::FinishHours, Layout::FinishMinutes, Layout::FinishSeconds);

    ButtonUnit = makeDropDown("ButtonUnit", "Your charging unit ", Layout::UnitDropDown, LabelUnit, MenuUnit,
        { "Per 1 Minute", "Per 1 Second", "Per Pulse/Unit" }, &TCallCharges::chooseUnit);
    MenuUnit->setObjectName(QStringLiteral("MenuUnit"));

    EditSecondsPerPulse = new QSpinBox(this);
    EditSecondsPerPulse->setObjectName(QStringLiteral("EditSecondsPerPulse"));
    EditSecondsPerPulse->setRange(1, 65534);
    EditSecondsPerPulse->setSingleStep(10);
    EditSecondsPerPulse->setToolTip(hint("Number of seconds per pulse"));
    EditSecondsPerPulse->setGeometry(Layout::SecondsPerPulse);

    ButtonCharge = makeDropDown("ButtonCharge", "An Incremental charge increases the cost as you are connected.",
        Layout::ChargeDropDown, LabelCharge, MenuCharge, { "Increment charge per unit", "Single unit charge per call" },
        &TCallCharges::chooseCharge);
    MenuCharge->setObjectName(QStringLiteral("MenuCharge"));

    EditUnitCost = makeMoneyField("EditUnitCost", "Enter the cost per unit or per call. ", Layout::UnitCost);
    EditMinCharge = makeMoneyField("EditMinCharge",
        "If your telephone company has a minimum charge per call then enter it here. ", Layout::MinCharge);

    ColourStrip = new TariffColourStrip(this);
    ColourStrip->setObjectName(QStringLiteral("ColourStrip"));
    ColourStrip->setToolTip(hint("Choose a colour for this Tariff so you can identify them quickly in the lists. "));
    ColourStrip->setGeometry(Layout::ColourStrip);
    connect(ColourStrip, &TariffColourStrip::colourChosen, this, &TCallCharges::setSwatch);
}

// A label's drop-down button and its menu of choices, which opens under the label.
TGFocusButton *TCallCharges::makeDropDown(const char *name, const char *tip, const QRect &rect, QLabel *anchor,
    QMenu *&menu, std::initializer_list<const char *> choices, void (TCallCharges::*choose)(std::uint8_t))
{
    TGFocusButton *button = makeButton(name, QString(QChar(0x25BC)), rect);
    button->setToolTip(hint(tip));
    menu = new QMenu(this);
    int code = 1;
    for (const char *choice : choices) {
        menu->addAction(
            QString::fromLatin1(choice), this, [this, choose, code] { (this->*choose)(std::uint8_t(code)); });
        ++code;
    }
    QMenu *const opened = menu;
    connect(button, &QAbstractButton::clicked, this,
        [opened, anchor] { opened->popup(anchor->mapToGlobal(QPoint(0, anchor->height()))); });
    return button;
}

QLineEdit *TCallCharges::makeMoneyField(const char *name, const char *tip, const QRect &rect)
{
    auto *field = new QLineEdit(this);
    field->setObjectName(QString::fromLatin1(name));
    field->setMaxLength(kMoneyFieldLength);
    field->setAlignment(Qt::AlignRight);
    field->setToolTip(hint(tip));
    field->setGeometry(rect);
    return field;
}

// A stored amount is shown whole, however long: the field scrolls rather than
// cutting it, and a field left alone stores exactly what it was loaded with.
void TCallCharges::loadMoneyField(QLineEdit *field, MoneyValue &loaded, MoneyValue amount)
{
    const QString text = moneyFieldText(amount);
    field->setMaxLength(std::max<int>(kMoneyFieldLength, int(text.size())));
    field->setText(text);
    loaded = amount;
}

void TCallCharges::setTimeFields(const TimeFields &fields, std::int32_t seconds)
{
    fields.hours->setValue(seconds / 3600);
    fields.minutes->setValue(seconds / 60 % 60);
    fields.seconds->setValue(seconds % 60);
}

void TCallCharges::setSwatch(std::uint32_t colour) { ShapeColour->setBrush(qColourOfTariff(colour)); }

void TCallCharges::buildKindArea()
{
    m_kindGroup = new QButtonGroup(this);
    constexpr int kRadioWidth = 18;
    for (int kind = 1; kind <= 7; ++kind) {
        const QRect area(
            QPoint(Layout::kKindLeft, Layout::kKindFirstTop + Layout::kKindStep * (kind - 1)), Layout::kKindSize);
        auto *radio = new QRadioButton(this);
        radio->setObjectName(QStringLiteral("RadioKind%1").arg(kind));
        radio->setToolTip(hint(kKindHints[kind - 1]));
        radio->setGeometry(area.left(), area.top(), kRadioWidth, area.height());
        m_kindGroup->addButton(radio, kind);
        auto *caption = new QLabel(QString::fromLatin1(kKindCaptions[kind - 1]), this);
        caption->setObjectName(QStringLiteral("LabelKind%1").arg(kind));
        caption->setToolTip(radio->toolTip());
        QRect captionArea = area.adjusted(kRadioWidth + 2, 0, 0, 0);
        if (kind == 1) // no picker on its row
            captionArea.setRight(Layout::kKindOneRight);
        caption->setGeometry(captionArea);
        fitCaption(caption);
        m_kindCaptions[std::size_t(kind - 1)] = caption;
    }
    connect(m_kindGroup, &QButtonGroup::idClicked, this, &TCallCharges::chooseKind);

    LabelDays = makeLabel("LabelDays", Layout::DaysLabel);
    ButtonDays = makeButton("ButtonDays", QString(QChar(0x25BC)), Layout::DaysDropDown);
    connect(ButtonDays, &QAbstractButton::clicked, this, &TCallCharges::toggleDaysList);

    PanelDays = new QFrame(this);
    PanelDays->setObjectName(QStringLiteral("PanelDays"));
    // A drop-down list in the look's pop-up colours.
    PanelDays->setStyleSheet(
        QStringLiteral("#PanelDays { background: %1; border: 1px solid %2; border-radius: 3px; }")
            .arg(QColor::fromRgb(Look::kPopupBack).name(), QColor::fromRgb(Look::kPopupBorder).name()));
    PanelDays->setGeometry(Layout::DaysCheckList);
    PanelDays->hide();
    const QRect inside = QRect(QPoint(0, 0), Layout::DaysCheckList.size()).adjusted(2, 2, -2, -2);
    constexpr int kOkayHeight = 22;
    CheckListDays = new QListWidget(PanelDays);
    CheckListDays->setObjectName(QStringLiteral("CheckListDays"));
    CheckListDays->setGeometry(inside.adjusted(0, 0, 0, -(kOkayHeight + 4)));
    CheckListDays->setFrameShape(QFrame::NoFrame);
    CheckListDays->setFont(SkinLook::fieldFont());
    QPalette list = CheckListDays->palette();
    list.setColor(QPalette::Base, QColor::fromRgb(Look::kPopupBack));
    list.setColor(QPalette::Text, QColor::fromRgb(Look::kPopupText));
    list.setColor(QPalette::Highlight, QColor::fromRgb(Look::kPopupHighlight));
    list.setColor(QPalette::HighlightedText, QColor::fromRgb(Look::kPopupHighlightText));
    CheckListDays->setPalette(list);
    for (const char *day : kDayNames) {
        auto *item = new QListWidgetItem(QString::fromLatin1(day), CheckListDays);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    TGFocusButton *okay = makeButton("ButtonDaysOkay", QStringLiteral("Okay"),
        QRect(inside.center().x() - 30, inside.bottom() - kOkayHeight + 1, 60, kOkayHeight), PanelDays);
    connect(okay, &QAbstractButton::clicked, this, &TCallCharges::hideDaysList);
    connect(CheckListDays, &QListWidget::itemChanged, this, &TCallCharges::daysChecked);

    auto picker = [this](const char *label, const char *minus, const char *plus, QRect labelRect, QRect minusRect,
                      QRect plusRect) {
        return Picker { makeLabel(label, labelRect), makeButton(minus, QStringLiteral("-"), minusRect),
            makeButton(plus, QStringLiteral("+"), plusRect) };
    };
    m_dayPicker
        = picker("LabelDay", "ButtonDayMinus", "ButtonDayPlus", Layout::DayLabel, Layout::DayMinus, Layout::DayPlus);
    m_monthPicker = picker(
        "LabelMonth", "ButtonMonthMinus", "ButtonMonthPlus", Layout::MonthLabel, Layout::MonthMinus, Layout::MonthPlus);
    m_yearPicker = picker(
        "LabelYear", "ButtonYearMinus", "ButtonYearPlus", Layout::YearLabel, Layout::YearMinus, Layout::YearPlus);
    connect(m_dayPicker.plus, &QAbstractButton::clicked, this, [this] { setDay(nextDayOfMonth(m_day)); });
    connect(m_dayPicker.minus, &QAbstractButton::clicked, this, [this] { setDay(previousDayOfMonth(m_day)); });
    connect(m_monthPicker.plus, &QAbstractButton::clicked, this, [this] { setMonth(nextMonth(m_month)); });
    connect(m_monthPicker.minus, &QAbstractButton::clicked, this, [this] { setMonth(previousMonth(m_month)); });
    connect(m_yearPicker.plus, &QAbstractButton::clicked, this, [this] { setYear(nextYear(m_year)); });
    connect(m_yearPicker.minus, &QAbstractButton::clicked, this, [this] { setYear(previousYear(m_year)); });

    auto datePicker = [this](const char *name, const QRect &rect, const char *tip) {
        auto *edit = new QDateEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setCalendarPopup(true);
        DateFieldStyle::apply(edit);
        edit->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        edit->setToolTip(hint(tip));
        edit->setGeometry(rect);
        return edit;
    };
    LabelDate = makeLabel("LabelDate", Layout::DatePicker);
    LabelDateFrom = makeLabel("LabelDateFrom", Layout::EraFromPicker);
    LabelDateTo = makeLabel("LabelDateTo", Layout::EraToPicker);
    DateSpecific = datePicker("DateSpecific", Layout::DatePicker, "Use the drop down or enter a specific date");
    DateFrom = datePicker("DateFrom", Layout::EraFromPicker, "Use the drop down or enter specific dates");
    DateTo = datePicker("DateTo", Layout::EraToPicker, "Use the drop down or enter specific dates");
}

void TCallCharges::buildButtons()
{
    const std::pair<TGFocusButton **, const char *> buttons[] = {
        { &ButtonClose, "Close" },
        { &ButtonNew, "New" },
        { &ButtonEdit, "Edit" },
        { &ButtonDelete, "Delete" },
        { &ButtonSave, "Save" },
        { &ButtonCancel, "Cancel" },
    };
    int i = 0;
    for (const auto &[button, caption] : buttons) {
        const QRect rect(
            QPoint(Layout::kButtonLeft, Layout::kButtonFirstTop + Layout::kButtonStep * i), Layout::kButtonSize);
        *button = makeButton(
            qPrintable(QStringLiteral("Button") + QString::fromLatin1(caption)), QString::fromLatin1(caption), rect);
        ++i;
    }
    ButtonClose->setToolTip(hint("Close this screen "));
    connect(ButtonClose, &QAbstractButton::clicked, this, &TCallCharges::ButtonCloseClick);
    connect(ButtonNew, &QAbstractButton::clicked, this, &TCallCharges::ButtonNewClick);
    connect(ButtonEdit, &QAbstractButton::clicked, this, &TCallCharges::ButtonEditClick);
    connect(ButtonDelete, &QAbstractButton::clicked, this, &TCallCharges::ButtonDeleteClick);
    connect(ButtonSave, &QAbstractButton::clicked, this, &TCallCharges::ButtonSaveClick);
    connect(ButtonCancel, &QAbstractButton::clicked, this, &TCallCharges::ButtonCancelClick);

    // Tab goes through the fields in reading order, then to Save and Cancel.
    QWidget *const order[] = { EditName, m_start.hours, m_start.minutes, m_start.seconds, m_finish.hours,
        m_finish.minutes, m_finish.seconds, ButtonUnit, EditSecondsPerPulse, ButtonCharge, EditUnitCost, EditMinCharge,
        ColourStrip, m_kindGroup->button(1), m_kindGroup->button(2), m_kindGroup->button(3), m_kindGroup->button(4),
        m_kindGroup->button(5), m_kindGroup->button(6), m_kindGroup->button(7), ButtonDays, m_dayPicker.minus,
        m_dayPicker.plus, m_monthPicker.minus, m_monthPicker.plus, m_yearPicker.minus, m_yearPicker.plus, DateSpecific,
        DateFrom, DateTo, ButtonSave, ButtonCancel, ButtonClose, ButtonNew, ButtonEdit, ButtonDelete };
    for (std::size_t k = 1; k < std::size(order); ++k)
        setTabOrder(order[k - 1], order[k]);
}

void TCallCharges::buildGrid()
{
    m_model = new TariffGridModel(m_core, this);
    sg = new QTableView(this);
    sg->setObjectName(QStringLiteral("sg"));
    sg->setGeometry(Layout::Grid);
    auto *header = new SkinGridHeader(m_gridPainter.grid(), sg);
    header->setObjectName(QStringLiteral("sgHeader"));
    sg->setHorizontalHeader(header);
    sg->setModel(m_model);
    sg->setItemDelegate(new TariffGridDelegate(m_gridPainter, sg));
    sg->setSelectionBehavior(QAbstractItemView::SelectRows);
    sg->setSelectionMode(QAbstractItemView::SingleSelection);
    sg->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sg->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sg->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sg->verticalHeader()->hide();
    sg->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sg->verticalHeader()->setDefaultSectionSize(kGridRowHeight);
    header->setFixedHeight(kGridRowHeight);
    header->setMinimumSectionSize(1);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(false);
    for (int column = 0; column < TariffGridModel::kColumnCount - 1; ++column)
        header->resizeSection(column, kStartingWidths[column]);
    connect(header, &QHeaderView::sectionResized, this, [this] { sizeLastColumn(); });
    connect(sg->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &current) {
        if (current.isValid())
            sgSelectCell(current.row());
    });

    m_rowSlider = new QSlider(Qt::Vertical, this);
    m_rowSlider->setObjectName(QStringLiteral("TrackBar1"));
    m_rowSlider->setGeometry(Layout::Slider);
    connect(m_rowSlider, &QSlider::valueChanged, this, &TCallCharges::onRowSliderMoved);
}

// Shows the current tariff in the detail labels and loads it into the edit controls.
void TCallCharges::UpdateTarifDisplay()
{
    const TariffTable &table = m_core.tariffs();
    if (table.Count == 0 || table.CurrentIndex >= table.Count)
        return;
    const Tariff &t = table.records[table.CurrentIndex];

    EditName->setText(t.Name.text());
    setTimeFields(m_start, t.StartTime);
    setTimeFields(m_finish, t.FinishTime);
    m_unitKind = t.UnitKind;
    LabelUnit->setText(unitKindText(t.UnitKind));
    EditSecondsPerPulse->setValue(t.SecondsPerPulse);
    m_chargeKind = t.ChargeKind;
    LabelCharge->setText(chargeKindText(t.ChargeKind));
    LabelCostCaption->setText(t.ChargeKind == 1 ? QStringLiteral("Cost per Unit") : QStringLiteral("Cost per Call"));
    loadMoneyField(EditUnitCost, m_unitCostLoaded, t.UnitCost);
    loadMoneyField(EditMinCharge, m_minChargeLoaded, t.MinCharge);
    ColourStrip->setColour(t.Colour);

    // A tariff stores the value of its own kind only; the other pickers must not
    // keep what an abandoned edit or the tariff shown before left in them.
    showKindDefaults();
    m_kind = t.AppliesTo;
    colourKinds(m_kind);
    if (QAbstractButton *radio = m_kindGroup->button(m_kind))
        radio->setChecked(true);
    switch (t.AppliesTo) {
    case 2:
        showDaySet(t.AppliesValue);
        break;
    case 3:
        setDay(t.AppliesValue);
        break;
    case 4:
        setMonth(t.AppliesValue);
        break;
    case 5:
        setYear(t.AppliesValue);
        break;
    case 6:
        DateSpecific->setDate(dateOfValue(t.DateFrom));
        LabelDate->setText(QLatin1Char(' ') + shortDateText(dateOfValue(t.DateFrom)));
        break;
    case 7:
        DateFrom->setDate(dateOfValue(t.DateFrom));
        DateTo->setDate(dateOfValue(t.DateTo));
        LabelDateFrom->setText(QLatin1Char(' ') + shortDateText(dateOfValue(t.DateFrom)));
        LabelDateTo->setText(QLatin1Char(' ') + shortDateText(dateOfValue(t.DateTo)));
        break;
    default:
        break;
    }

    setSwatch(t.Colour);
    setElidedText(LabelName, QLatin1Char(' ') + t.Name.text());
    LabelStart->setText(QLatin1Char(' ') + ShortDurationText(t.StartTime));
    LabelFinish->setText(QLatin1Char(' ') + ShortDurationText(t.FinishTime));
    LabelSecondsPerPulse->setText(QString::number(t.SecondsPerPulse) + QLatin1Char(' '));
    LabelCost->setText(paddedAmountText(t.UnitCost, 18) + QLatin1Char(' '));
    LabelMinCharge->setText(paddedAmountText(t.MinCharge, 18) + QLatin1Char(' '));
}

// An empty table shows no tariff rather than the last one deleted.
void TCallCharges::clearTarifDisplay()
{
    if (m_core.tariffs().Count > 0)
        return;
    for (QLabel *label :
        { LabelName, LabelStart, LabelFinish, LabelUnit, LabelSecondsPerPulse, LabelCharge, LabelCost, LabelMinCharge })
        label->setText(QStringLiteral(" "));
    ShapeColour->setBrush(Qt::NoBrush);
    showKindDefaults();
    colourKinds(0);
    // No tariff, so no kind is chosen.
    m_kindGroup->setExclusive(false);
    for (QAbstractButton *radio : m_kindGroup->buttons())
        radio->setChecked(false);
    m_kindGroup->setExclusive(true);
}

void TCallCharges::showKindDefaults()
{
    const QDate today = m_core.clock().now().date();
    for (QDateEdit *picker : { DateSpecific, DateFrom, DateTo })
        picker->setDate(today);
    LabelDate->setText(QLatin1Char(' ') + shortDateText(today));
    LabelDateFrom->setText(LabelDate->text());
    LabelDateTo->setText(LabelDate->text());
    setDay(kDefaultDay);
    setMonth(kDefaultMonth);
    setYear(kDefaultYear);
    showDaySet(kDefaultDaySet);
}

void TCallCharges::ShowEditFields() { setEditFieldsShown(true); }

void TCallCharges::HideEditFields() { setEditFieldsShown(false); }

// The edit controls lie over the detail labels; the grid waits meanwhile.
void TCallCharges::setEditFieldsShown(bool shown)
{
    for (QWidget *w : std::initializer_list<QWidget *> { EditName, m_start.hours, m_start.minutes, m_start.seconds,
             m_finish.hours, m_finish.minutes, m_finish.seconds, EditSecondsPerPulse, EditUnitCost, EditMinCharge,
             DateSpecific, DateFrom, DateTo }) {
        w->setVisible(shown);
        if (shown)
            w->raise();
    }
    // The labels under them would show between the fields.
    for (QLabel *label : { LabelName, LabelStart, LabelFinish, LabelSecondsPerPulse, LabelCost, LabelMinCharge,
             LabelDate, LabelDateFrom, LabelDateTo })
        label->setVisible(!shown);
    // The choice marks stay in view, so the kind a tariff applies to is seen.
    for (QAbstractButton *radio : m_kindGroup->buttons())
        radio->setEnabled(shown);
    ColourStrip->setEnabled(shown);
    sg->setEnabled(!shown);
    m_rowSlider->setEnabled(!shown);
}

void TCallCharges::ShowEditButtons() { setEditButtonStates(true); }

void TCallCharges::HideEditButtons() { setEditButtonStates(false); }

void TCallCharges::setEditButtonStates(bool editing)
{
    const bool anyTariff = m_core.tariffs().Count > 0;
    ButtonClose->setEnabled(!editing);
    ButtonNew->setEnabled(!editing);
    ButtonEdit->setEnabled(!editing && anyTariff);
    ButtonDelete->setEnabled(!editing && anyTariff);
    for (TGFocusButton *b : { ButtonSave, ButtonCancel, ButtonUnit, ButtonCharge, ButtonDays, m_dayPicker.minus,
             m_dayPicker.plus, m_monthPicker.minus, m_monthPicker.plus, m_yearPicker.minus, m_yearPicker.plus })
        b->setEnabled(editing);
}

void TCallCharges::FillGridWithData()
{
    const TariffTable &table = m_core.tariffs();
    m_model->refresh();
    if (table.Count == 0) {
        m_rowSlider->hide();
        selectGridRow(0);
        return;
    }
    selectGridRow(std::min<int>(table.CurrentIndex, table.Count - 1));
    if (table.Count >= 2) {
        m_settingSlider = true;
        m_rowSlider->setRange(1, table.Count);
        m_rowSlider->setValue(table.Count - sg->currentIndex().row());
        m_settingSlider = false;
        m_rowSlider->show();
    } else {
        m_rowSlider->hide();
    }
    sg->viewport()->update();
}

// The last column takes what the others leave of the grid's width.
void TCallCharges::sizeLastColumn()
{
    if (m_sizingColumns)
        return;
    m_sizingColumns = true;
    QHeaderView *header = sg->horizontalHeader();
    int others = 0;
    for (int column = 0; column < TariffGridModel::kColumnCount - 1; ++column)
        others += header->sectionSize(column);
    header->resizeSection(TariffGridModel::kColumnCount - 1, std::abs(sg->width() - others - 9));
    m_sizingColumns = false;
}

void TCallCharges::selectGridRow(int row)
{
    const QModelIndex index = m_model->index(row, 0);
    sg->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    sg->scrollTo(index);
}

void TCallCharges::sgSelectCell(int row)
{
    const TariffTable &table = m_core.tariffs();
    const bool wasSetting = m_settingSlider;
    m_settingSlider = true;
    m_rowSlider->setValue(std::max<int>(table.Count, 1) - row);
    m_settingSlider = wasSetting;
    if (table.Count > 0 && !wasSetting && m_editor.select(row))
        UpdateTarifDisplay();
}

void TCallCharges::onRowSliderMoved(int position)
{
    if (m_settingSlider || m_model->rowCount() < 2)
        return;
    selectGridRow(m_model->rowCount() - position);
}

void TCallCharges::ButtonNewClick()
{
    auto name = m_editor.New();
    if (!name) {
        if (name.error() == TariffEditProblem::TableFull)
            SkinMessageDlg(mtError, problemText(name.error()), mbOK, this);
        return;
    }
    EditName->setText(*name);
    setTimeFields(m_start, 0);
    setTimeFields(m_finish, 86399);
    chooseUnit(1);
    chooseCharge(1);
    loadMoneyField(EditUnitCost, m_unitCostLoaded, 0);
    loadMoneyField(EditMinCharge, m_minChargeLoaded, 0);
    ColourStrip->setColourIndex(kNewTariffColourIndex);
    setSwatch(ColourStrip->colour());
    ShowEditFields();
    ShowEditButtons();
    EditName->setFocus();
}

void TCallCharges::ButtonEditClick()
{
    UpdateTarifDisplay();
    if (!m_editor.Edit())
        return;
    ShowEditFields();
    ShowEditButtons();
    EditName->setFocus();
}

void TCallCharges::ButtonCancelClick()
{
    m_editor.Cancel();
    HideEditFields();
    HideEditButtons();
    hideDaysList();
    // The shared labels (unit, charge, kinds) may still show the abandoned input.
    clearTarifDisplay();
    UpdateTarifDisplay();
}

void TCallCharges::ButtonSaveClick()
{
    if (!editing())
        return;
    const TariffEdit edit = editFromFields();
    if (const auto problem = checkTariffEdit(edit)) {
        answerProblem(*problem);
        return;
    }
    if (const auto clash = m_editor.clash(edit)) {
        const QString text = QStringLiteral("You have a tariff (")
            + m_core.tariffs().records[*clash].Name.text().trimmed() + QStringLiteral(") already defined for")
            + QLatin1Char('\r') + QStringLiteral("this time/date/day you have just edited.") + QStringLiteral("\r\r")
            + QStringLiteral("Press Okay to go back and reedit your data, or ") + QLatin1Char('\r')
            + QStringLiteral("Press Cancel to add this new data, (but you could get undesirable results)");
        // Only a deliberate Cancel stores; Escape goes back to editing like Okay.
        if (SkinMessageDlg(mtError, text, mbOK | mbCancel, this, mrOk) != mrCancel) {
            m_start.hours->setFocus();
            return;
        }
    }
    const auto stored = m_editor.Save(edit);
    if (!stored) {
        answerProblem(stored.error());
        return;
    }
    HideEditFields();
    HideEditButtons();
    FillGridWithData();
    hideDaysList();
    UpdateTarifDisplay();
}

void TCallCharges::ButtonDeleteClick()
{
    if (m_core.tariffs().Count == 0 || editing())
        return;
    const QString text = QStringLiteral(
        "This will completely romve this tariff from your Tariffs Data File.\r\rPress Okay to Delete this, or "
        "\rPress Cancel to abort the deletion.\rNOTE: If you have used this Tariff for call logging then you could "
        "get undesirable results");
    if (SkinMessageDlg(mtError, text, mbOK | mbCancel, this) != mrOk)
        return;
    if (!m_editor.Delete())
        return;
    FillGridWithData();
    HideEditButtons();
    clearTarifDisplay();
    UpdateTarifDisplay();
}

void TCallCharges::ButtonCloseClick() { accept(); }

// Shows the problem; false when the user gave up the tariff instead of going back.
bool TCallCharges::answerProblem(TariffEditProblem problem)
{
    const std::uint16_t buttons = problem == TariffEditProblem::TableFull ? mbOK : mbOK | mbCancel;
    if (SkinMessageDlg(mtError, problemText(problem), buttons, this) == mrCancel) {
        ButtonCancelClick();
        return false;
    }
    switch (problem) {
    case TariffEditProblem::EmptyName:
        EditName->setFocus();
        break;
    case TariffEditProblem::StartNotBeforeFinish:
        m_start.hours->setFocus();
        break;
    case TariffEditProblem::EraNotOrdered:
        DateFrom->setFocus();
        break;
    case TariffEditProblem::UnitCostNotAmount:
    case TariffEditProblem::UnitCostNegative:
        EditUnitCost->setFocus();
        EditUnitCost->selectAll();
        break;
    case TariffEditProblem::MinChargeNotAmount:
    case TariffEditProblem::MinChargeNegative:
        EditMinCharge->setFocus();
        EditMinCharge->selectAll();
        break;
    case TariffEditProblem::TableFull:
    case TariffEditProblem::WrongMode:
        break;
    }
    return true;
}

QString TCallCharges::problemText(TariffEditProblem problem) const
{
    const QString example = amountText(1500);
    switch (problem) {
    case TariffEditProblem::EmptyName:
        return QStringLiteral("Please enter a name for this Tariff") + kGoBackOrAbort;
    case TariffEditProblem::StartNotBeforeFinish:
        return QStringLiteral("The starting time must be less than the ending time.") + kGoBackOrAbort;
    case TariffEditProblem::EraNotOrdered:
        return QStringLiteral("The Era Start Date must be less than the End date.") + kGoBackOrAbort;
    case TariffEditProblem::UnitCostNotAmount:
        return QStringLiteral("Please enter the ") + LabelCostCaption->text().toLower()
            + QStringLiteral(" as an amount of money, such as ") + example + QLatin1Char('.') + kGoBackOrAbort;
    case TariffEditProblem::MinChargeNotAmount:
        return QStringLiteral("Please enter the minimum charge as an amount of money, such as ") + example
            + QLatin1Char('.') + kGoBackOrAbort;
    case TariffEditProblem::UnitCostNegative:
        return QStringLiteral("The ") + LabelCostCaption->text().toLower()
            + QStringLiteral(" cannot be less than nothing.") + kGoBackOrAbort;
    case TariffEditProblem::MinChargeNegative:
        return QStringLiteral("The minimum charge cannot be less than nothing.") + kGoBackOrAbort;
    case TariffEditProblem::TableFull:
        return QStringLiteral("You already have %1 tariffs, as many as can be kept.\r\rPlease delete a tariff "
                              "before you add a new one.")
            .arg(kMaxTariffs);
    case TariffEditProblem::WrongMode:
        break;
    }
    return {};
}

TariffEdit TCallCharges::editFromFields()
{
    for (QAbstractSpinBox *box :
        std::initializer_list<QAbstractSpinBox *> { m_start.hours, m_start.minutes, m_start.seconds, m_finish.hours,
            m_finish.minutes, m_finish.seconds, EditSecondsPerPulse, DateSpecific, DateFrom, DateTo })
        box->interpretText();
    TariffEdit edit;
    edit.name = EditName->text();
    edit.startTime = secondsOf(m_start.hours->value(), m_start.minutes->value(), m_start.seconds->value());
    edit.finishTime = secondsOf(m_finish.hours->value(), m_finish.minutes->value(), m_finish.seconds->value());
    edit.unitKind = m_unitKind;
    edit.secondsPerPulse = EditSecondsPerPulse->value();
    edit.chargeKind = m_chargeKind;
    edit.unitCost = EditUnitCost->text();
    edit.minCharge = EditMinCharge->text();
    edit.unitCostLoaded = m_unitCostLoaded;
    edit.minChargeLoaded = m_minChargeLoaded;
    edit.colour = ColourStrip->colour();
    edit.appliesTo = AppliesKind(m_kindGroup->checkedId() > 0 ? m_kindGroup->checkedId() : 1);
    edit.daySet = m_daySet;
    edit.dayOfMonth = m_day;
    edit.month = m_month;
    edit.year = m_year;
    edit.date = DateSpecific->date();
    edit.dateFrom = DateFrom->date();
    edit.dateTo = DateTo->date();
    return edit;
}

bool TCallCharges::editing() const { return m_editor.mode() != TariffEditorMode::Viewing; }

void TCallCharges::chooseUnit(std::uint8_t unitKind)
{
    m_unitKind = unitKind;
    LabelUnit->setText(unitKindText(unitKind));
    if (unitKind == 1)
        EditSecondsPerPulse->setValue(60);
    else if (unitKind == 2)
        EditSecondsPerPulse->setValue(1);
    EditSecondsPerPulse->setVisible(unitKind == 3);
}

void TCallCharges::chooseCharge(std::uint8_t chargeKind)
{
    m_chargeKind = chargeKind;
    LabelCharge->setText(chargeKindText(chargeKind));
    LabelCostCaption->setText(chargeKind == 1 ? QStringLiteral("Cost per Unit") : QStringLiteral("Cost per Call"));
}

void TCallCharges::chooseKind(int kind)
{
    m_kind = kind;
    colourKinds(kind);
}

void TCallCharges::colourKinds(int kind)
{
    QLabel *const values[7]
        = { nullptr, LabelDays, m_dayPicker.label, m_monthPicker.label, m_yearPicker.label, LabelDate, LabelDateFrom };
    for (int k = 1; k <= 7; ++k) {
        const QColor colour = k == kind ? kChosenKindColour : QColor(Qt::black);
        paintLabel(m_kindCaptions[std::size_t(k - 1)], colour);
        if (values[k - 1])
            paintLabel(values[k - 1], colour);
        if (k == 7)
            paintLabel(LabelDateTo, colour);
    }
}

// The day set, its label and the ticks of the check list.
void TCallCharges::showDaySet(std::uint32_t daySet)
{
    m_daySet = daySet;
    showDaysLabel();
    const QSignalBlocker blocker(CheckListDays);
    for (int day = 0; day < 7; ++day)
        CheckListDays->item(day)->setCheckState(daySet & kDayBits[day] ? Qt::Checked : Qt::Unchecked);
}

// The label may be too narrow for many days; its hint holds them all.
void TCallCharges::showDaysLabel()
{
    const QString days = daysLabel(m_daySet);
    setElidedText(LabelDays, days);
    LabelDays->setToolTip(days);
}

void TCallCharges::daysChecked()
{
    if (!ButtonCancel->isEnabled())
        return;
    std::uint32_t set = 0;
    for (int day = 0; day < 7; ++day) {
        if (CheckListDays->item(day)->checkState() == Qt::Checked)
            set += kDayBits[day];
    }
    m_daySet = set;
    showDaysLabel();
}

void TCallCharges::toggleDaysList()
{
    if (PanelDays->isVisible()) {
        hideDaysList();
        return;
    }
    PanelDays->show();
    PanelDays->raise();
    CheckListDays->setFocus();
}

void TCallCharges::hideDaysList() { PanelDays->hide(); }

void TCallCharges::setDay(std::uint32_t day)
{
    m_day = day;
    m_dayPicker.label->setText(dayWithSuffix(day));
}

void TCallCharges::setMonth(std::uint32_t month)
{
    m_month = month;
    m_monthPicker.label->setText(monthText(month));
}

void TCallCharges::setYear(std::uint32_t year)
{
    m_year = year;
    m_yearPicker.label->setText(QString::number(year));
}

void TCallCharges::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (editing())
            ButtonSaveClick();
        return;
    case Qt::Key_Escape:
        if (PanelDays->isVisible())
            hideDaysList();
        else if (editing())
            ButtonCancelClick();
        else
            ButtonCloseClick();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

// The background moves the window, except in its top-left corner.
bool TCallCharges::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_background)
        return QDialog::eventFilter(watched, event);
    const auto inCorner
        = [event] { return Layout::kNoDragCorner.contains(static_cast<QMouseEvent *>(event)->position().toPoint()); };
    if (event->type() == QEvent::MouseMove)
        m_background->setCursor(inCorner() ? Qt::ArrowCursor : Qt::SizeAllCursor);
    else if (event->type() == QEvent::MouseButtonPress && inCorner())
        return true;
    return QDialog::eventFilter(watched, event);
}
