#include "gui/providers/TProviderEdit.h"

#include "gui/controls/ScrollingFace.h"

#include "core/providers/ProviderAccount.h"
#include "core/skins/SkinLayout.h"
#include "core/skins/SkinLibrary.h"
#include "core/store/DateTimeValue.h"
#include "core/store/Money.h"
#include "core/store/TextHelpers.h"
#include "core/windowlogic/WindowOutline.h"
#include "gui/controls/DateFieldStyle.h"
#include "gui/controls/ElidedText.h"
#include "gui/controls/ReturnPresses.h"
#include "gui/controls/SkinLook.h"
#include "gui/controls/TGFocusButton.h"
#include "gui/controls/WindowDragger.h"
#include "gui/messages/MessageDialogs.h"
#include "gui/providers/ProviderDataPlan.h"
#include "gui/providers/ProviderSpending.h"

#include <QCalendarWidget>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QSpinBox>
#include <QToolButton>

namespace {

const QString kNotActiveConnection = QStringLiteral("This Provider is not an active dialup connection in your system.");
const QString kDateMask = QStringLiteral("99/99/99");

namespace Layout = SkinLayout::ProviderDialog;

// A field of a counter row.
QRect rowRect(int left, int width, int top) { return { left, top, width, Layout::kRowHeight }; }

QString withSpace(const QString &text) { return text + QLatin1Char(' '); }

QString moneyLabelText(MoneyValue amount) { return withSpace(paddedAmountText(amount, 18)); }

QString fieldCaption(AccountField field)
{
    switch (field) {
    case AccountField::TodayDuration:
        return QStringLiteral("Today: Duration");
    case AccountField::TodayCost:
        return QStringLiteral("Today: Dial-up Connection Cost");
    case AccountField::TodayCalls:
        return QStringLiteral("Today: Calls");
    case AccountField::MonthDuration:
        return QStringLiteral("This Month: Duration");
    case AccountField::MonthCost:
        return QStringLiteral("This Month: Dial-up Connection Cost");
    case AccountField::MonthCalls:
        return QStringLiteral("This Month: Calls");
    case AccountField::TotalDuration:
        return QStringLiteral("Todate: Duration");
    case AccountField::TotalCost:
        return QStringLiteral("Todate: Dial-up Connection Cost");
    case AccountField::TotalCalls:
        return QStringLiteral("Todate: Calls");
    case AccountField::StartedOn:
        return QStringLiteral("Started with Provider on");
    case AccountField::MonthlyFee:
        return QStringLiteral("Monthly Fee");
    case AccountField::MonthStartDay:
        return QStringLiteral("Month starts on which day");
    case AccountField::MonthlyHourLimit:
        return QStringLiteral("Monthly limit of hours");
    case AccountField::ExtraPerHour:
        return QStringLiteral("For each hour after, add");
    }
    return {};
}

QString rangeOf(AccountField field)
{
    using namespace AccountFieldLimits;
    switch (field) {
    case AccountField::MonthStartDay:
        return QStringLiteral("%1 to %2").arg(kMinMonthStartDay).arg(kMaxMonthStartDay);
    case AccountField::MonthlyHourLimit:
        return QStringLiteral("0 to %1").arg(kMaxHourLimit);
    default:
        return QStringLiteral("0 to %1").arg(kMaxCalls);
    }
}

QString problemText(const AccountFieldError &error)
{
    const QString quoted = QLatin1Char('\'') + error.text + QLatin1Char('\'');
    switch (error.problem) {
    case FieldProblem::NotADuration:
        return quoted + QStringLiteral(" is not a duration.\rType hours, minutes and seconds, as in 0001:30:00.");
    case FieldProblem::DurationTooLong:
        return quoted + QStringLiteral(" is longer than the program can count.");
    case FieldProblem::NotAnAmount:
        return quoted + QStringLiteral(" is not an amount of money.");
    case FieldProblem::AmountTooLarge:
        return quoted + QStringLiteral(" is too large an amount.");
    case FieldProblem::NegativeAmount:
        return quoted + QStringLiteral(" is less than nothing.");
    case FieldProblem::NotAWholeNumber:
        return quoted + QStringLiteral(" is not a whole number.");
    case FieldProblem::OutOfRange:
        return quoted + QStringLiteral(" is not from ") + rangeOf(error.field) + '.';
    case FieldProblem::NotADate:
        return quoted + QStringLiteral(" is not a valid date.\rType day, month and year, as in 25/12/03.");
    }
    return quoted;
}

// Changes that come from the user, not from loading the display.
bool changedByUser(const QWidget *control) { return control->hasFocus(); }

} // namespace

TProviderEdit::TProviderEdit(AppCore &core, dialup::DialUpService &service, QWidget *parent)
    : QDialog(parent, Qt::FramelessWindowHint)
    , m_core(core)
    , m_service(service)
    , m_registry(core.providers(), service)
{
    setObjectName(QStringLiteral("TProviderEdit"));
    setWindowTitle(QStringLiteral("Provider"));
    // No title bar: the background is where the dialog is taken to move it.
    new WindowDragger(this);
    loadSkin();
    buildControls();
    m_spending = std::make_unique<ProviderSpending>(m_core, this);
    m_dataPlan = std::make_unique<ProviderDataPlan>(m_core, this);
    setEditMode(false);
    m_previous->setEnabled(false);
    m_next->setEnabled(false);
    scrollFaceOnSmallScreen(this, size(), parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen(),
        QStringLiteral("Provider"), m_background);
}

TProviderEdit::~TProviderEdit() = default;

void TProviderEdit::loadSkin()
{
    if (SkinLibrary::LoadSkinImage(m_background, QStringLiteral("Provider"))) {
        setFixedSize(m_background.size());
        // Pure blue cuts the outline.
        setMask(outlineRegion(m_background, QColor::fromRgb(kSkinKeyColour)));
    } else {
        setFixedSize(Layout::kSize);
    }
}

QLabel *TProviderEdit::addLabel(const QString &name, const QString &text, const QRect &rect, Qt::Alignment alignment)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(name);
    label->setGeometry(rect);
    label->setAlignment(alignment | Qt::AlignVCenter);
    SkinLook::styleField(label);
    return label;
}

QLineEdit *TProviderEdit::addEdit(const QString &name, const QRect &rect)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setGeometry(rect);
    edit->setFrame(false);
    edit->setAlignment(Qt::AlignRight); // as the value it replaces
    SkinLook::styleField(edit);
    return edit;
}

QAbstractButton *TProviderEdit::addButton(
    const QString &name, const QString &caption, const QRect &rect, void (TProviderEdit::*handler)())
{
    auto *button = new TGFocusButton(this);
    button->setObjectName(name);
    button->setText(caption);
    SkinLook::styleButton(button);
    button->setGeometry(rect);
    connect(button, &QAbstractButton::clicked, this, handler);
    return button;
}

void TProviderEdit::buildControls()
{
    using namespace Layout;
    // The picture paints every fixed caption; the widgets show values only.
    m_heading = addLabel(
        QStringLiteral("LabelProviderName"), QStringLiteral("Dial-Up Connection name"), Heading, Qt::AlignHCenter);
    m_heading->setFont(SkinLook::fieldFont(true));

    const QString rowNames[3] = { QStringLiteral("Today"), QStringLiteral("Month"), QStringLiteral("Todate") };
    const int rowTops[3] = { kTodayTop, kMonthTop, kTodateTop };
    for (std::size_t i = 0; i < 3; ++i) {
        const int top = rowTops[i];
        const QString &name = rowNames[i];
        m_currencyLabels[i] = addLabel(QStringLiteral("LabelCurrency") + name, QString(),
            rowRect(kCurrencyLeft, kCurrencyWidth, top), Qt::AlignRight);
        CounterRow &row = m_rows[i];
        const QRect duration = rowRect(kDurationLeft, kDurationWidth, top).adjusted(2, 0, -4, 0);
        const QRect cost = rowRect(kCostLeft, kCostWidth, top).adjusted(2, 0, -4, 0);
        const QRect calls = rowRect(kCallsLeft, kCallsWidth, top).adjusted(2, 0, -4, 0);
        row.duration = addLabel(QStringLiteral("Label%1Duration").arg(name), QString(), duration, Qt::AlignRight);
        row.cost = addLabel(QStringLiteral("Label%1Cost").arg(name), QString(), cost, Qt::AlignRight);
        row.calls = addLabel(QStringLiteral("Label%1Calls").arg(name), QString(), calls, Qt::AlignRight);
        row.durationEdit = addEdit(QStringLiteral("Edit%1Duration").arg(name), duration);
        row.costEdit = addEdit(QStringLiteral("Edit%1Cost").arg(name), cost);
        row.costEdit->setMaxLength(AccountFieldLimits::kMaxAmountLength);
        row.callsEdit = addEdit(QStringLiteral("Edit%1Calls").arg(name), calls);
    }
    // "This Month" and the billing month count different calls; the hints say which.
    for (QWidget *field : std::initializer_list<QWidget *> { m_rows[1].duration, m_rows[1].cost, m_rows[1].calls,
             m_rows[1].durationEdit, m_rows[1].costEdit, m_rows[1].callsEdit })
        field->setToolTip(QStringLiteral(" This Month: the calls begun in the last 31 days, whatever day your "
                                         "provider's month starts on"));

    // Values stand inside their wells, clear of the rounded edges.
    const auto inWell = [](const QRect &well) { return well.adjusted(2, 0, -4, 0); };
    m_currencyLabels[3] = addLabel(QStringLiteral("LabelCurrencyCharges"), QString(), ChargesCurrency, Qt::AlignRight);
    m_chargesTodate = addLabel(QStringLiteral("LabelChargesTodate"), QString(), inWell(ChargesTodate), Qt::AlignRight);
    m_startedOn = addLabel(QStringLiteral("LabelStartedOn"), QString(), inWell(StartedOnEdit), Qt::AlignRight);
    m_currencyLabels[4] = addLabel(QStringLiteral("LabelCurrencyMonthlyFee"), QString(), FeeCurrency, Qt::AlignRight);
    m_monthlyFee = addLabel(QStringLiteral("LabelMonthlyFee"), QString(), inWell(MonthlyFeeEdit), Qt::AlignRight);
    m_monthStartDay = addLabel(QStringLiteral("LabelMonthStartDay"), QString(), inWell(MonthStartDay), Qt::AlignRight);
    m_hourLimit = addLabel(QStringLiteral("LabelHourLimit"), QString(), inWell(HourLimitEdit), Qt::AlignRight);
    m_currencyLabels[5]
        = addLabel(QStringLiteral("LabelCurrencyExtraPerHour"), QString(), ExtraCurrency, Qt::AlignRight);
    m_extraPerHour = addLabel(QStringLiteral("LabelExtraPerHour"), QString(), inWell(ExtraPerHourEdit), Qt::AlignRight);

    // The date field and its calendar button share the date's well.
    constexpr int kCalendarWidth = 22;
    m_dateEdit = addEdit(QStringLiteral("DateEdit1"), StartedOnEdit.adjusted(2, 0, -kCalendarWidth - 2, 0));
    m_dateEdit->setInputMask(kDateMask);
    m_calendarButton = new QToolButton(this);
    m_calendarButton->setObjectName(QStringLiteral("DateEdit1Calendar"));
    DateFieldStyle::applyToButton(m_calendarButton);
    m_calendarButton->setGeometry(
        QRect(StartedOnEdit.right() + 1 - kCalendarWidth, StartedOnEdit.top(), kCalendarWidth, StartedOnEdit.height()));
    connect(m_calendarButton, &QToolButton::clicked, this, &TProviderEdit::openCalendar);
    m_calendar = new QCalendarWidget(this);
    m_calendar->setObjectName(QStringLiteral("DateEdit1Popup"));
    m_calendar->setWindowFlags(Qt::Popup);
    SkinLook::styleCalendar(m_calendar);
    connect(m_calendar, &QCalendarWidget::clicked, this, &TProviderEdit::onStartDateChosen);
    connect(m_calendar, &QCalendarWidget::activated, this, &TProviderEdit::onStartDateChosen);

    m_feeEdit = addEdit(QStringLiteral("CurrencyEdit1"), inWell(MonthlyFeeEdit));
    m_feeEdit->setMaxLength(AccountFieldLimits::kMaxAmountLength);
    const auto addSpin = [this](const QString &name, const QRect &rect, int minimum, int maximum) {
        auto *spin = new QSpinBox(this);
        spin->setObjectName(name);
        spin->setRange(minimum, maximum);
        spin->setFrame(false);
        SkinLook::styleField(spin);
        spin->setGeometry(rect);
        return spin;
    };
    m_startDaySpin = addSpin(QStringLiteral("SpinEdit2"), MonthStartDay, AccountFieldLimits::kMinMonthStartDay,
        AccountFieldLimits::kMaxMonthStartDay);
    m_hourLimitSpin = addSpin(QStringLiteral("SpinEdit1"), HourLimitEdit, 0, AccountFieldLimits::kMaxHourLimit);
    m_extraEdit = addEdit(QStringLiteral("CurrencyEdit2"), inWell(ExtraPerHourEdit));
    m_extraEdit->setMaxLength(AccountFieldLimits::kMaxAmountLength);

    connect(m_feeEdit, &QLineEdit::textChanged, this, &TProviderEdit::onMonthlyFeeChanged);
    connect(m_extraEdit, &QLineEdit::textChanged, this, &TProviderEdit::onExtraPerHourChanged);
    connect(m_hourLimitSpin, &QSpinBox::valueChanged, this, &TProviderEdit::onHourLimitChanged);
    connect(m_dateEdit, &QLineEdit::textChanged, this, [this] {
        if (changedByUser(m_dateEdit))
            CalcTodateProviderCost();
    });

    m_previous = addButton(QStringLiteral("GTextButton6"), QStringLiteral("\u25C0"), ButtonPreviousProvider,
        &TProviderEdit::onPreviousProviderClicked);
    m_next = addButton(QStringLiteral("GTextButton7"), QStringLiteral("\u25B6"), ButtonNextProvider,
        &TProviderEdit::onNextProviderClicked);
    m_edit
        = addButton(QStringLiteral("ButtonEdit"), QStringLiteral("Edit"), ButtonEdit, &TProviderEdit::ButtonEditClick);
    m_editConnect = addButton(QStringLiteral("ButtonEditConnection"), QStringLiteral("Edit Connect"),
        ButtonEditConnection, &TProviderEdit::ButtonEditConnectionClick);
    m_save
        = addButton(QStringLiteral("ButtonSave"), QStringLiteral("Save"), ButtonSave, &TProviderEdit::ButtonSaveClick);
    m_cancel = addButton(
        QStringLiteral("ButtonCancel"), QStringLiteral("Cancel"), ButtonCancel, &TProviderEdit::ButtonCancelClick);
    m_close = addButton(
        QStringLiteral("ButtonClose"), QStringLiteral("Close"), ButtonClose, &TProviderEdit::ButtonCloseClick);
    pressOnReturn(this, m_save);
}

bool TProviderEdit::isEditing() const { return m_cancel->isEnabled(); }

bool TProviderEdit::hasProvider() const
{
    const ProviderTable &table = m_core.providers();
    return table.Count > 0 && table.Current < table.Count;
}

Provider &TProviderEdit::provider()
{
    ProviderTable &table = m_core.providers();
    return table.records[table.Current];
}

void TProviderEdit::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        FormShow();
    }
}

void TProviderEdit::paintEvent(QPaintEvent *event)
{
    if (m_background.isNull()) {
        QDialog::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, m_background);
}

void TProviderEdit::FormShow()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    UpdateProviderDisplay();
}

void TProviderEdit::setEditMode(bool editing)
{
    const std::array<QWidget *, 15> controls = { m_rows[0].durationEdit, m_rows[0].costEdit, m_rows[0].callsEdit,
        m_rows[1].durationEdit, m_rows[1].costEdit, m_rows[1].callsEdit, m_rows[2].durationEdit, m_rows[2].costEdit,
        m_rows[2].callsEdit, m_dateEdit, m_calendarButton, m_feeEdit, m_startDaySpin, m_hourLimitSpin, m_extraEdit };
    for (QWidget *control : controls) {
        control->setVisible(editing);
        if (auto *edit = qobject_cast<QLineEdit *>(control))
            edit->setReadOnly(!editing);
        else if (auto *spin = qobject_cast<QSpinBox *>(control))
            spin->setReadOnly(!editing);
    }
    m_spending->setEditing(editing);
    m_dataPlan->setEditing(editing);
    // Each edit control stands over its value label.
    const std::array<QLabel *, 14> values = { m_rows[0].duration, m_rows[0].cost, m_rows[0].calls, m_rows[1].duration,
        m_rows[1].cost, m_rows[1].calls, m_rows[2].duration, m_rows[2].cost, m_rows[2].calls, m_startedOn, m_monthlyFee,
        m_monthStartDay, m_hourLimit, m_extraPerHour };
    for (QLabel *value : values)
        value->setVisible(!editing);
    m_save->setEnabled(editing);
    m_cancel->setEnabled(editing);
    m_close->setEnabled(!editing);
    m_edit->setEnabled(!editing);
    m_editConnect->setEnabled(!editing);
    if (editing) {
        m_previous->setEnabled(false);
        m_next->setEnabled(false);
    }
}

void TProviderEdit::loadEditControls(const Provider &record)
{
    m_loaded = accountFormOf(record);
    const AccountForm &form = m_loaded;
    const QString *counters[3][3] = { { &form.todayDuration, &form.todayCost, &form.todayCalls },
        { &form.monthDuration, &form.monthCost, &form.monthCalls },
        { &form.totalDuration, &form.totalCost, &form.totalCalls } };
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        m_rows[i].durationEdit->setText(*counters[i][0]);
        loadAmount(m_rows[i].costEdit, *counters[i][1]);
        m_rows[i].callsEdit->setText(*counters[i][2]);
    }
    m_dateEdit->setText(form.startedOn);
    loadAmount(m_feeEdit, form.monthlyFee);
    // A stored value outside what the user may choose (a month start day 0
    // from an older file) is shown as it is, so that an untouched spinner
    // reads back unchanged and the record keeps it.
    loadSpin(m_startDaySpin, form.monthStartDay, AccountFieldLimits::kMinMonthStartDay,
        AccountFieldLimits::kMaxMonthStartDay);
    loadSpin(m_hourLimitSpin, form.monthlyHourLimit, 0, AccountFieldLimits::kMaxHourLimit);
    loadAmount(m_extraEdit, form.extraPerHour);
}

void TProviderEdit::loadAmount(QLineEdit *field, const QString &text)
{
    // Whole, however long: a cut text would read back as another amount.
    field->setMaxLength(std::max<int>(AccountFieldLimits::kMaxAmountLength, int(text.size())));
    field->setText(text);
    field->setCursorPosition(0);
}

void TProviderEdit::loadSpin(QSpinBox *spin, int value, int minimum, int maximum)
{
    spin->setRange(std::min(minimum, value), std::max(maximum, value));
    spin->setValue(value);
}

void TProviderEdit::loadDisplayLabels(const Provider &record)
{
    const std::uint32_t seconds[3] = { record.TodaySeconds, record.MonthSeconds, record.TotalSeconds };
    const MoneyValue costs[3] = { record.TodayCost, record.MonthCost, record.TotalCost };
    const std::uint16_t calls[3] = { record.TodayCalls, record.MonthCalls, record.TotalCalls };
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        m_rows[i].duration->setText(withSpace(LongDurationText(seconds[i])));
        m_rows[i].cost->setText(moneyLabelText(costs[i]));
        m_rows[i].calls->setText(withSpace(QString::number(calls[i])));
    }
    const QDate started = accountStartDate(record.StartedOn);
    m_startedOn->setText(started.isValid() ? withSpace(shortDateText(started)) : QString());
    m_monthlyFee->setText(moneyLabelText(record.MonthlyFee));
    m_monthStartDay->setText(withSpace(QString::number(record.MonthStartDay)));
    m_hourLimit->setText(withSpace(QString::number(record.MonthlyHourLimit)));
    m_extraPerHour->setText(moneyLabelText(record.ExtraPerHour));
}

void TProviderEdit::UpdateProviderDisplay()
{
    if (!hasProvider() || isEditing())
        return;
    const ProviderTable &table = m_core.providers();
    m_previous->setEnabled(table.Current != 0);
    m_next->setEnabled(table.Current + 1 < table.Count);
    const QString currency = m_core.currencyText().trimmed();
    for (QLabel *label : m_currencyLabels)
        label->setText(currency);
    const Provider &record = provider();
    setElidedText(m_heading, record.Name.text());
    loadEditControls(record);
    loadDisplayLabels(record);
    m_spending->load(table.Current);
    m_dataPlan->load(table.Current);
    CalcTodateProviderCost();
}

AccountForm TProviderEdit::formFromControls() const
{
    AccountForm form;
    form.todayDuration = m_rows[0].durationEdit->text();
    form.todayCost = m_rows[0].costEdit->text();
    form.todayCalls = m_rows[0].callsEdit->text();
    form.monthDuration = m_rows[1].durationEdit->text();
    form.monthCost = m_rows[1].costEdit->text();
    form.monthCalls = m_rows[1].callsEdit->text();
    form.totalDuration = m_rows[2].durationEdit->text();
    form.totalCost = m_rows[2].costEdit->text();
    form.totalCalls = m_rows[2].callsEdit->text();
    form.startedOn = m_dateEdit->text();
    form.monthlyFee = m_feeEdit->text();
    form.monthStartDay = m_startDaySpin->value();
    form.monthlyHourLimit = m_hourLimitSpin->value();
    form.extraPerHour = m_extraEdit->text();
    return form;
}

QWidget *TProviderEdit::editControlOf(AccountField field) const
{
    switch (field) {
    case AccountField::TodayDuration:
        return m_rows[0].durationEdit;
    case AccountField::TodayCost:
        return m_rows[0].costEdit;
    case AccountField::TodayCalls:
        return m_rows[0].callsEdit;
    case AccountField::MonthDuration:
        return m_rows[1].durationEdit;
    case AccountField::MonthCost:
        return m_rows[1].costEdit;
    case AccountField::MonthCalls:
        return m_rows[1].callsEdit;
    case AccountField::TotalDuration:
        return m_rows[2].durationEdit;
    case AccountField::TotalCost:
        return m_rows[2].costEdit;
    case AccountField::TotalCalls:
        return m_rows[2].callsEdit;
    case AccountField::StartedOn:
        return m_dateEdit;
    case AccountField::MonthlyFee:
        return m_feeEdit;
    case AccountField::MonthStartDay:
        return m_startDaySpin;
    case AccountField::MonthlyHourLimit:
        return m_hourLimitSpin;
    case AccountField::ExtraPerHour:
        return m_extraEdit;
    }
    return nullptr;
}

void TProviderEdit::CalcTodateProviderCost()
{
    if (!hasProvider())
        return;
    const QDateTime now = m_core.clock().now();
    // Half-typed fields leave the last charges standing until they read.
    const auto terms = readAccountTerms(formFromControls(), m_loaded, provider(), now.date());
    if (!terms)
        return;
    MonthlyUsage usage;
    if (terms->monthlyHourLimit > 0) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        usage = GetTotalDurationForProviderMonth(m_core.log(), m_core.providers().Current, m_core.archivedCalls());
        QGuiApplication::restoreOverrideCursor();
    }
    const MoneyValue charges = ::CalcTodateProviderCost(*terms, usage, now);
    provider().ChargesTodate = charges;
    m_chargesTodate->setText(moneyLabelText(charges));
}

void TProviderEdit::ButtonEditClick()
{
    if (!hasProvider())
        return;
    UpdateProviderDisplay();
    setEditMode(true);
    m_rows[0].durationEdit->setFocus();
}

void TProviderEdit::ButtonSaveClick()
{
    if (!hasProvider() || !isEditing())
        return;
    const auto saved = readAccountForm(formFromControls(), m_loaded, provider(), m_core.clock().now().date());
    if (!saved) {
        const AccountFieldError &error = saved.error();
        SkinMessageDlg(mtError, fieldCaption(error.field) + QStringLiteral(":\r") + problemText(error), mbOK, this);
        if (QWidget *control = editControlOf(error.field))
            control->setFocus();
        return;
    }
    const auto dataPlan = m_dataPlan->read(m_core.providers().Current);
    if (!dataPlan) {
        SkinMessageDlg(mtError, dataPlan.error(), mbOK, this);
        return;
    }
    if (const auto problem = m_spending->save(m_core.providers().Current)) {
        SkinMessageDlg(mtError, *problem, mbOK, this);
        return;
    }
    m_dataPlan->store(m_core.providers().Current, *dataPlan);
    setEditMode(false);
    provider() = *saved;
    UpdateProviderDisplay();
}

void TProviderEdit::ButtonCancelClick()
{
    if (!isEditing())
        return;
    setEditMode(false);
    UpdateProviderDisplay();
}

void TProviderEdit::ButtonCloseClick() { accept(); }

void TProviderEdit::reject()
{
    if (isEditing()) {
        ButtonCancelClick();
        return;
    }
    QDialog::reject();
}

void TProviderEdit::onPreviousProviderClicked()
{
    if (!isEditing() && m_registry.ProviderDBPrev())
        UpdateProviderDisplay();
}

void TProviderEdit::onNextProviderClicked()
{
    if (!isEditing() && m_registry.ProviderDBNext())
        UpdateProviderDisplay();
}

void TProviderEdit::ButtonEditConnectionClick()
{
    if (!hasProvider())
        return;
    const std::string entry = provider().Name.text().toStdString();
    const auto edited = m_service.editEntry(dialup::NativeWindow(winId()), entry);
    if (!edited && edited.error() != dialup::kErrorCancelled)
        SkinMessageDlg(mtError, kNotActiveConnection, mbOK | mbCancel, this);
}

void TProviderEdit::onMonthlyFeeChanged()
{
    if (changedByUser(m_feeEdit))
        CalcTodateProviderCost();
}

void TProviderEdit::onExtraPerHourChanged()
{
    if (changedByUser(m_extraEdit))
        CalcTodateProviderCost();
}

void TProviderEdit::onHourLimitChanged()
{
    if (changedByUser(m_hourLimitSpin))
        CalcTodateProviderCost();
}

void TProviderEdit::openCalendar()
{
    const QDate current = parseShortDate(m_dateEdit->text(), m_core.clock().now().date());
    m_calendar->setSelectedDate(current.isValid() ? current : m_core.clock().now().date());
    m_calendar->move(mapToGlobal(m_dateEdit->geometry().bottomLeft()));
    m_calendar->show();
}

void TProviderEdit::onStartDateChosen(const QDate &date)
{
    m_calendar->hide();
    m_dateEdit->setFocus();
    m_dateEdit->setText(shortDateText(date));
    CalcTodateProviderCost();
}
