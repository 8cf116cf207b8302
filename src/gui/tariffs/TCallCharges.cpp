#include "tariffs/TCallCharges.h"

#include "app/AppCore.h"
#include "skins/SkinLibrary.h"
#include "store/DateTimeValue.h"
#include "store/Money.h"
#include "store/TextHelpers.h"
#include "tariffs/TariffColourStrip.h"
#include "tariffs/TariffEditorTexts.h"
#include "tariffs/TariffGridDelegate.h"
#include "tariffs/TariffGridHeader.h"
#include "tariffs/TariffGridModel.h"
#include "tariffs/TwoDigitSpinBox.h"
#include "ui/MessageDialogs.h"

#include <QButtonGroup>
#include <QDateEdit>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableView>
#include <QWindow>

#include <cstdlib>

namespace {

// Where the controls stand in the 800 × 520 window.
constexpr int kCaptionX = 20;
constexpr int kFieldX = 140;
constexpr int kRowTop = 44;
constexpr int kRowStep = 26;
constexpr int kRowHeight = 21;
constexpr int kKindX = 315;
constexpr int kKindValueX = 540;
constexpr int kButtonX = 700;
constexpr int kButtonTop = 50;
constexpr int kButtonStep = 36;
const QRect kGridRect(20, 290, 620, 210);
const QRect kSliderRect(646, 290, 20, 210);
// A press here does not move the window.
constexpr int kNoDragWidth = 51;
constexpr int kNoDragHeight = 36;

constexpr int kStartingWidths[TariffGridModel::kColumnCount - 1] = {80, 125, 50, 50, 70, 85, 60};
constexpr int kGridRowHeight = 18;

const QColor kChosenKindColour(0, 0, 160);

constexpr std::uint32_t kDayBits[7] = {1, 2, 4, 8, 16, 32, 64}; // Monday first
const char *const kDayNames[7] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};

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

const QString kGoBackOrAbort = QStringLiteral("\r\rPress Okay to go back and edit this, or\rPress Cancel to Abort this Tariff.");

QString hint(const char *text)
{
    return QString::fromLatin1(text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

void place(QWidget *widget, int x, int y, int width, int height = kRowHeight)
{
    widget->setGeometry(x, y, width, height);
}

int rowY(int row)
{
    return kRowTop + row * kRowStep;
}

std::int32_t secondsOf(int hours, int minutes, int seconds)
{
    return hours * 3600 + minutes * 60 + seconds;
}

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
    setFixedSize(kWidth, kHeight);
    setFont(m_gridPainter.font());

    CutTransImage1 = new QLabel(this);
    CutTransImage1->setObjectName(QStringLiteral("CutTransImage1"));
    CutTransImage1->setGeometry(0, 0, kWidth, kHeight);
    CutTransImage1->setScaledContents(true);
    const QImage background = skinImage(QStringLiteral("Tariff"));
    if (!background.isNull())
        CutTransImage1->setPixmap(QPixmap::fromImage(background));
    CutTransImage1->setMouseTracking(true);
    CutTransImage1->installEventFilter(this);

    const QDate today = m_core.clock().now().date();
    buildDetailArea();
    buildKindArea();
    buildButtons();
    buildGrid();
    for (QDateEdit *picker : {DateSpecific, DateFrom, DateTo})
        picker->setDate(today);

    setDay(m_day);
    setMonth(m_month);
    setYear(m_year);
    showDaySet(m_daySet);
    LabelDate->setText(QLatin1Char(' ') + shortDateText(today));
    LabelDateFrom->setText(LabelDate->text());
    LabelDateTo->setText(LabelDate->text());
    colourKinds(m_kind);
    m_kindGroup->button(m_kind)->setChecked(true);

    HideEditFields();
    HideEditButtons();
    clearTarifDisplay();
    UpdateTarifDisplay();
    FillGridWithData();
    sizeLastColumn();
}

TCallCharges::TimeFields TCallCharges::makeTimeFields(int x, int y, const QString &name)
{
    TimeFields fields{new TwoDigitSpinBox(23, this), new TwoDigitSpinBox(59, this), new TwoDigitSpinBox(59, this)};
    const std::pair<TwoDigitSpinBox *, const char *> parts[] = {
        {fields.hours, "Hours"}, {fields.minutes, "Minutes"}, {fields.seconds, "Seconds"}};
    const char *const hints[] = {"Enter the hours", "Enter the Minutes", "Enter the seconds"};
    int i = 0;
    for (const auto &[box, part] : parts) {
        box->setObjectName(QStringLiteral("Edit") + name + QString::fromLatin1(part));
        box->setToolTip(hint(hints[i]));
        place(box, x + i * 44, y, 42);
        ++i;
    }
    return fields;
}

void TCallCharges::buildDetailArea()
{
    const char *const captions[] = {"Name of Tariff", "Start charging at", "Finish charging at", "A charging unit is",
                                    "Seconds per pulse", "Type of Charge", "Cost per Unit", "Minimum charge"};
    for (int row = 0; row < 8; ++row) {
        auto *caption = new QLabel(QString::fromLatin1(captions[row]), this);
        place(caption, kCaptionX, rowY(row), 118);
        if (row == 6) {
            LabelCostCaption = caption;
            caption->setObjectName(QStringLiteral("LabelCostCaption"));
        }
    }
    auto detail = [this](const char *name, int row, int width) {
        auto *label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(name));
        label->setAutoFillBackground(true);
        place(label, kFieldX, rowY(row), width);
        return label;
    };
    LabelName = detail("LabelName", 0, 140);
    LabelStart = detail("LabelStart", 1, 130);
    LabelFinish = detail("LabelFinish", 2, 130);
    LabelUnit = detail("LabelUnit", 3, 110);
    LabelUnit->setToolTip(hint("Your charging unit "));
    LabelSecondsPerPulse = detail("LabelSecondsPerPulse", 4, 80);
    LabelCharge = detail("LabelCharge", 5, 110);
    LabelCharge->setToolTip(hint("An Incremental charge increases the cost as you are connected.\r\n\r\nA Single "
                                 "charge is a one time charge per call, regardless of the time. "));
    LabelCost = detail("LabelCost", 6, 130);
    LabelMinCharge = detail("LabelMinCharge", 7, 130);

    ShapeColour = new QFrame(this);
    ShapeColour->setObjectName(QStringLiteral("ShapeColour"));
    ShapeColour->setFrameShape(QFrame::Box);
    ShapeColour->setAutoFillBackground(true);
    place(ShapeColour, kFieldX + 145, rowY(0), 21);

    EditName = new QLineEdit(this);
    EditName->setObjectName(QStringLiteral("EditName"));
    EditName->setMaxLength(60);
    EditName->setToolTip(hint("Enter a descriptive name for this Taiff. eg: Christmas Day or Peak Rate"));
    place(EditName, kFieldX, rowY(0), 140);

    m_start = makeTimeFields(kFieldX, rowY(1), QStringLiteral("Start"));
    m_finish = makeTimeFields(kFieldX, rowY(2), QStringLiteral("Finish"));

    ButtonUnit = makeDropDown("ButtonUnit", "Your charging unit ", 3, MenuUnit,
                              {"Per 1 Minute", "Per 1 Second", "Per Pulse/Unit"}, &TCallCharges::chooseUnit);
    MenuUnit->setObjectName(QStringLiteral("MenuUnit"));

    EditSecondsPerPulse = new QSpinBox(this);
    EditSecondsPerPulse->setObjectName(QStringLiteral("EditSecondsPerPulse"));
    EditSecondsPerPulse->setRange(1, 65534);
    EditSecondsPerPulse->setSingleStep(10);
    EditSecondsPerPulse->setToolTip(hint("Number of seconds per pulse"));
    place(EditSecondsPerPulse, kFieldX, rowY(4), 80);

    ButtonCharge = makeDropDown("ButtonCharge", "An Incremental charge increases the cost as you are connected.", 5,
                                MenuCharge, {"Increment charge per unit", "Single unit charge per call"},
                                &TCallCharges::chooseCharge);
    MenuCharge->setObjectName(QStringLiteral("MenuCharge"));

    EditUnitCost = makeMoneyField("EditUnitCost", "Enter the cost per unit or per call. ", 6);
    EditMinCharge = makeMoneyField(
        "EditMinCharge", "If your telephone company has a minimum charge per call then enter it here. ", 7);

    ColourStrip = new TariffColourStrip(this);
    ColourStrip->setObjectName(QStringLiteral("ColourStrip"));
    ColourStrip->setToolTip(
        hint("Choose a colour for this Tariff so you can identify them quickly in the lists. "));
    place(ColourStrip, kFieldX, rowY(8), 256, 16);
    connect(ColourStrip, &TariffColourStrip::colourChosen, this, &TCallCharges::setSwatch);
}

// A label's drop-down button and its menu of choices, which opens under the label.
QPushButton *TCallCharges::makeDropDown(const char *name, const char *tip, int row, QMenu *&menu,
                                        std::initializer_list<const char *> choices,
                                        void (TCallCharges::*choose)(std::uint8_t))
{
    auto *button = new QPushButton(QStringLiteral("v"), this);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint(tip));
    button->setAutoDefault(false);
    place(button, kFieldX + 112, rowY(row), 20);
    menu = new QMenu(this);
    int code = 1;
    for (const char *choice : choices) {
        menu->addAction(QString::fromLatin1(choice), this,
                        [this, choose, code] { (this->*choose)(std::uint8_t(code)); });
        ++code;
    }
    QMenu *const opened = menu;
    connect(button, &QPushButton::clicked, this, [this, opened, row] {
        opened->popup(mapToGlobal(QPoint(kFieldX, rowY(row) + kRowHeight)));
    });
    return button;
}

QLineEdit *TCallCharges::makeMoneyField(const char *name, const char *tip, int row)
{
    auto *field = new QLineEdit(this);
    field->setObjectName(QString::fromLatin1(name));
    field->setMaxLength(14);
    field->setAlignment(Qt::AlignRight);
    field->setToolTip(hint(tip));
    place(field, kFieldX, rowY(row), 130);
    return field;
}

void TCallCharges::setTimeFields(const TimeFields &fields, std::int32_t seconds)
{
    fields.hours->setValue(seconds / 3600);
    fields.minutes->setValue(seconds / 60 % 60);
    fields.seconds->setValue(seconds % 60);
}

void TCallCharges::setSwatch(std::uint32_t colour)
{
    QPalette swatch = ShapeColour->palette();
    swatch.setColor(QPalette::Window, qColourOfTariff(colour));
    ShapeColour->setPalette(swatch);
}

void TCallCharges::buildKindArea()
{
    m_kindGroup = new QButtonGroup(this);
    for (int kind = 1; kind <= 7; ++kind) {
        const int y = rowY(kind - 1);
        auto *radio = new QRadioButton(this);
        radio->setObjectName(QStringLiteral("RadioKind%1").arg(kind));
        radio->setToolTip(hint(kKindHints[kind - 1]));
        place(radio, kKindX, y, 18);
        m_kindGroup->addButton(radio, kind);
        auto *caption = new QLabel(QString::fromLatin1(kKindCaptions[kind - 1]), this);
        caption->setObjectName(QStringLiteral("LabelKind%1").arg(kind));
        caption->setToolTip(radio->toolTip());
        place(caption, kKindX + 20, y, kKindValueX - kKindX - 22);
        m_kindCaptions[std::size_t(kind - 1)] = caption;
    }
    connect(m_kindGroup, &QButtonGroup::idClicked, this, &TCallCharges::chooseKind);

    auto valueLabel = [this](const char *name, int row, int width) {
        auto *label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(name));
        label->setAutoFillBackground(true);
        place(label, kKindValueX, rowY(row), width);
        return label;
    };
    auto smallButton = [this](const char *name, const QString &caption, int x, int row) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        place(button, x, rowY(row), 20);
        return button;
    };

    LabelDays = valueLabel("LabelDays", 1, 128);
    ButtonDays = smallButton("ButtonDays", QStringLiteral("v"), kKindValueX + 130, 1);
    connect(ButtonDays, &QPushButton::clicked, this, &TCallCharges::toggleDaysList);

    PanelDays = new QFrame(this);
    PanelDays->setObjectName(QStringLiteral("PanelDays"));
    PanelDays->setFrameShape(QFrame::Box);
    PanelDays->setAutoFillBackground(true);
    PanelDays->setGeometry(kKindValueX, rowY(2), 150, 160);
    PanelDays->hide();
    CheckListDays = new QListWidget(PanelDays);
    CheckListDays->setObjectName(QStringLiteral("CheckListDays"));
    CheckListDays->setGeometry(2, 2, 146, 128);
    for (const char *day : kDayNames) {
        auto *item = new QListWidgetItem(QString::fromLatin1(day), CheckListDays);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    auto *okay = new QPushButton(QStringLiteral("Okay"), PanelDays);
    okay->setObjectName(QStringLiteral("ButtonDaysOkay"));
    okay->setAutoDefault(false);
    okay->setGeometry(45, 134, 60, 22);
    connect(okay, &QPushButton::clicked, this, &TCallCharges::hideDaysList);
    connect(CheckListDays, &QListWidget::itemChanged, this, &TCallCharges::daysChecked);

    auto picker = [&](const char *label, const char *minus, const char *plus, int row) {
        Picker p{valueLabel(label, row, 84), smallButton(minus, QStringLiteral("-"), kKindValueX + 86, row),
                 smallButton(plus, QStringLiteral("+"), kKindValueX + 108, row)};
        return p;
    };
    m_dayPicker = picker("LabelDay", "ButtonDayMinus", "ButtonDayPlus", 2);
    m_monthPicker = picker("LabelMonth", "ButtonMonthMinus", "ButtonMonthPlus", 3);
    m_yearPicker = picker("LabelYear", "ButtonYearMinus", "ButtonYearPlus", 4);
    connect(m_dayPicker.plus, &QPushButton::clicked, this, [this] { setDay(nextDayOfMonth(m_day)); });
    connect(m_dayPicker.minus, &QPushButton::clicked, this, [this] { setDay(previousDayOfMonth(m_day)); });
    connect(m_monthPicker.plus, &QPushButton::clicked, this, [this] { setMonth(nextMonth(m_month)); });
    connect(m_monthPicker.minus, &QPushButton::clicked, this, [this] { setMonth(previousMonth(m_month)); });
    connect(m_yearPicker.plus, &QPushButton::clicked, this, [this] { setYear(nextYear(m_year)); });
    connect(m_yearPicker.minus, &QPushButton::clicked, this, [this] { setYear(previousYear(m_year)); });

    auto datePicker = [this](const char *name, int row, const char *tip) {
        auto *edit = new QDateEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        edit->setToolTip(hint(tip));
        place(edit, kKindValueX, rowY(row), 110);
        return edit;
    };
    LabelDate = valueLabel("LabelDate", 5, 110);
    LabelDateFrom = valueLabel("LabelDateFrom", 6, 110);
    LabelDateTo = valueLabel("LabelDateTo", 7, 110);
    DateSpecific = datePicker("DateSpecific", 5, "Use the drop down or enter a specific date");
    DateFrom = datePicker("DateFrom", 6, "Use the drop down or enter specific dates");
    DateTo = datePicker("DateTo", 7, "Use the drop down or enter specific dates");
}

void TCallCharges::buildButtons()
{
    const std::pair<QPushButton **, const char *> buttons[] = {
        {&ButtonClose, "Close"}, {&ButtonNew, "New"},   {&ButtonEdit, "Edit"},
        {&ButtonDelete, "Delete"}, {&ButtonSave, "Save"}, {&ButtonCancel, "Cancel"},
    };
    int i = 0;
    for (const auto &[button, caption] : buttons) {
        *button = new QPushButton(QString::fromLatin1(caption), this);
        (*button)->setObjectName(QStringLiteral("Button") + QString::fromLatin1(caption));
        (*button)->setAutoDefault(false);
        place(*button, kButtonX, kButtonTop + i * kButtonStep, 85, 26);
        ++i;
    }
    ButtonClose->setToolTip(hint("Close this screen "));
    connect(ButtonClose, &QPushButton::clicked, this, &TCallCharges::ButtonCloseClick);
    connect(ButtonNew, &QPushButton::clicked, this, &TCallCharges::ButtonNewClick);
    connect(ButtonEdit, &QPushButton::clicked, this, &TCallCharges::ButtonEditClick);
    connect(ButtonDelete, &QPushButton::clicked, this, &TCallCharges::ButtonDeleteClick);
    connect(ButtonSave, &QPushButton::clicked, this, &TCallCharges::ButtonSaveClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &TCallCharges::ButtonCancelClick);

    // Tab goes through the fields in reading order, then to Save and Cancel.
    QWidget *const order[] = {EditName,
                              m_start.hours,
                              m_start.minutes,
                              m_start.seconds,
                              m_finish.hours,
                              m_finish.minutes,
                              m_finish.seconds,
                              ButtonUnit,
                              EditSecondsPerPulse,
                              ButtonCharge,
                              EditUnitCost,
                              EditMinCharge,
                              ColourStrip,
                              m_kindGroup->button(1),
                              m_kindGroup->button(2),
                              m_kindGroup->button(3),
                              m_kindGroup->button(4),
                              m_kindGroup->button(5),
                              m_kindGroup->button(6),
                              m_kindGroup->button(7),
                              ButtonDays,
                              m_dayPicker.minus,
                              m_dayPicker.plus,
                              m_monthPicker.minus,
                              m_monthPicker.plus,
                              m_yearPicker.minus,
                              m_yearPicker.plus,
                              DateSpecific,
                              DateFrom,
                              DateTo,
                              ButtonSave,
                              ButtonCancel,
                              ButtonClose,
                              ButtonNew,
                              ButtonEdit,
                              ButtonDelete};
    for (std::size_t k = 1; k < std::size(order); ++k)
        setTabOrder(order[k - 1], order[k]);
}

void TCallCharges::buildGrid()
{
    m_model = new TariffGridModel(m_core, this);
    sg = new QTableView(this);
    sg->setObjectName(QStringLiteral("sg"));
    sg->setGeometry(kGridRect);
    auto *header = new TariffGridHeader(m_gridPainter, sg);
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
    connect(sg->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    sgSelectCell(current.row());
            });

    TrackBar1 = new QSlider(Qt::Vertical, this);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setGeometry(kSliderRect);
    connect(TrackBar1, &QSlider::valueChanged, this, &TCallCharges::TrackBar1Change);
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
    EditUnitCost->setText(moneyFieldText(t.UnitCost));
    EditMinCharge->setText(moneyFieldText(t.MinCharge));
    ColourStrip->setColour(t.Colour);

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
    LabelName->setText(QLatin1Char(' ') + t.Name.text());
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
    for (QLabel *label : {LabelName, LabelStart, LabelFinish, LabelUnit, LabelSecondsPerPulse, LabelCharge, LabelCost,
                          LabelMinCharge})
        label->setText(QStringLiteral(" "));
    QPalette swatch = ShapeColour->palette();
    swatch.setColor(QPalette::Window, palette().color(QPalette::Window));
    ShapeColour->setPalette(swatch);
    colourKinds(0);
}

void TCallCharges::ShowEditFields()
{
    setEditFieldsShown(true);
}

void TCallCharges::HideEditFields()
{
    setEditFieldsShown(false);
}

// The edit controls lie over the detail labels; the grid waits meanwhile.
void TCallCharges::setEditFieldsShown(bool shown)
{
    for (QWidget *w : std::initializer_list<QWidget *>{EditName, m_start.hours, m_start.minutes, m_start.seconds,
                                                        m_finish.hours, m_finish.minutes, m_finish.seconds,
                                                        EditSecondsPerPulse, EditUnitCost, EditMinCharge,
                                                        DateSpecific, DateFrom, DateTo}) {
        w->setVisible(shown);
        if (shown)
            w->raise();
    }
    for (QAbstractButton *radio : m_kindGroup->buttons())
        radio->setVisible(shown);
    ColourStrip->setEnabled(shown);
    sg->setEnabled(!shown);
    TrackBar1->setEnabled(!shown);
}

void TCallCharges::ShowEditButtons()
{
    setEditButtonStates(true);
}

void TCallCharges::HideEditButtons()
{
    setEditButtonStates(false);
}

void TCallCharges::setEditButtonStates(bool editing)
{
    const bool anyTariff = m_core.tariffs().Count > 0;
    ButtonClose->setEnabled(!editing);
    ButtonNew->setEnabled(!editing);
    ButtonEdit->setEnabled(!editing && anyTariff);
    ButtonDelete->setEnabled(!editing && anyTariff);
    for (QPushButton *b : {ButtonSave, ButtonCancel, ButtonUnit, ButtonCharge, ButtonDays, m_dayPicker.minus,
                           m_dayPicker.plus, m_monthPicker.minus, m_monthPicker.plus, m_yearPicker.minus,
                           m_yearPicker.plus})
        b->setEnabled(editing);
}

void TCallCharges::FillGridWithData()
{
    const TariffTable &table = m_core.tariffs();
    m_model->refresh();
    if (table.Count == 0) {
        TrackBar1->hide();
        selectGridRow(0);
        return;
    }
    selectGridRow(std::min<int>(table.CurrentIndex, table.Count - 1));
    if (table.Count >= 2) {
        m_settingSlider = true;
        TrackBar1->setRange(1, table.Count);
        TrackBar1->setValue(table.Count - sg->currentIndex().row());
        m_settingSlider = false;
        TrackBar1->show();
    } else {
        TrackBar1->hide();
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
    TrackBar1->setValue(std::max<int>(table.Count, 1) - row);
    m_settingSlider = wasSetting;
    if (table.Count > 0 && !wasSetting && m_editor.select(row))
        UpdateTarifDisplay();
}

void TCallCharges::TrackBar1Change(int position)
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
    EditUnitCost->setText(moneyFieldText(0));
    EditMinCharge->setText(moneyFieldText(0));
    ColourStrip->setColourIndex(kNewTariffColourIndex);
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
                             + m_core.tariffs().records[*clash].Name.text().trimmed()
                             + QStringLiteral(") already defined for") + QLatin1Char('\r')
                             + QStringLiteral("this time/date/day you have just edited.") + QStringLiteral("\r\r")
                             + QStringLiteral("Press Okay to go back and reedit your data, or ") + QLatin1Char('\r')
                             + QStringLiteral("Press Cancel to add this new data, (but you could get undesirable results)");
        if (SkinMessageDlg(mtError, text, mbOK | mbCancel, this) != mrCancel) {
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

void TCallCharges::ButtonCloseClick()
{
    accept();
}

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
        EditUnitCost->setFocus();
        EditUnitCost->selectAll();
        break;
    case TariffEditProblem::MinChargeNotAmount:
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
    for (QAbstractSpinBox *box : std::initializer_list<QAbstractSpinBox *>{
             m_start.hours, m_start.minutes, m_start.seconds, m_finish.hours, m_finish.minutes, m_finish.seconds,
             EditSecondsPerPulse, DateSpecific, DateFrom, DateTo})
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

bool TCallCharges::editing() const
{
    return m_editor.mode() != TariffEditorMode::Viewing;
}

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
    QLabel *const values[7] = {nullptr,         LabelDays, m_dayPicker.label, m_monthPicker.label, m_yearPicker.label,
                               LabelDate, LabelDateFrom};
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
    LabelDays->setText(daysLabel(daySet));
    const QSignalBlocker blocker(CheckListDays);
    for (int day = 0; day < 7; ++day)
        CheckListDays->item(day)->setCheckState(daySet & kDayBits[day] ? Qt::Checked : Qt::Unchecked);
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
    LabelDays->setText(daysLabel(set));
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

void TCallCharges::hideDaysList()
{
    PanelDays->hide();
}

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
    if (watched != CutTransImage1)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::MouseMove) {
        const QPoint p = static_cast<QMouseEvent *>(event)->position().toPoint();
        const bool corner = p.x() < kNoDragWidth && p.y() < kNoDragHeight;
        CutTransImage1->setCursor(corner ? Qt::ArrowCursor : Qt::SizeAllCursor);
    } else if (event->type() == QEvent::MouseButtonPress) {
        auto *press = static_cast<QMouseEvent *>(event);
        const QPoint p = press->position().toPoint();
        if (press->button() == Qt::LeftButton && !(p.x() < kNoDragWidth && p.y() < kNoDragHeight)
            && windowHandle())
            windowHandle()->startSystemMove();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
