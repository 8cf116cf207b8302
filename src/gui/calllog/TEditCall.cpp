#include "gui/calllog/TEditCall.h"

#include "core/app/AppCore.h"
#include "core/calllog/EditCallForm.h"
#include "core/skins/SkinLayout.h"
#include "core/windowlogic/WindowOutline.h"
#include "gui/controls/DateFieldStyle.h"
#include "gui/controls/ElidedText.h"
#include "gui/controls/ReturnPresses.h"
#include "gui/controls/SkinLook.h"
#include "gui/controls/TCutTransImage.h"
#include "gui/controls/TGFocusButton.h"
#include "gui/controls/TGShape.h"
#include "gui/messages/MessageDialogs.h"

#include <QDateEdit>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

namespace {

namespace Layout = SkinLayout::EditCallDialog;

// The panels behind the fields are the fields' own edges.
const QColor kPanel = QColor::fromRgb(Look::kField);
const QColor kPanelEdge = QColor::fromRgb(Look::kFieldBorder);
const QColor kLabelBack = QColor::fromRgb(Look::kReadOnlyField);

void colourField(QWidget *field)
{
    SkinLook::styleField(field);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Window, kPanel);
    field->setPalette(palette);
}

// Two-digit years are kept, so the pickers stay within today's century.
QDate centuryStart(const QDate &today) { return { today.year() - today.year() % 100, 1, 1 }; }

void showDate(QDateEdit *edit, const std::optional<QDate> &date, const QString &storedText, const QDate &today)
{
    const QDate first = centuryStart(today);
    edit->setMaximumDate(first.addYears(100).addDays(-1));
    if (date) {
        edit->setMinimumDate(first);
        edit->setDate(*date);
        return;
    }
    // A day the bytes cannot name: show them as they are until a date is picked.
    edit->setMinimumDate(first.addDays(-1));
    edit->setSpecialValueText(storedText);
    edit->setDate(edit->minimumDate());
}

std::optional<QDate> pickedDate(const QDateEdit *edit)
{
    if (!edit->specialValueText().isEmpty() && edit->date() == edit->minimumDate())
        return std::nullopt;
    return edit->date();
}

} // namespace

TEditCall::TEditCall(AppCore &core, int SelectedCall, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , m_core(core)
    , m_selectedCall(SelectedCall)
{
    setObjectName(QStringLiteral("TEditCall"));
    setWindowTitle(QStringLiteral("Edit call"));
    setFixedSize(Layout::kSize);
    m_background = new TCutTransImage(this);
    m_background->setObjectName(QStringLiteral("CutTransImage1"));
    m_background->setTransColor(QColor::fromRgb(kSkinKeyColour));
    m_background->setGeometry(rect());
    if (m_background->loadSkin(QStringLiteral("EditLog")))
        setFixedSize(m_background->picture().size());

    const QRect panels[]
        = { Layout::GShape1, Layout::GShape2, Layout::GShape3, Layout::GShape4, Layout::GShape5, Layout::GShape6 };
    for (int i = 0; i < 6; ++i) {
        auto *shape = new TGShape(this);
        shape->setObjectName(QStringLiteral("GShape%1").arg(i + 1));
        shape->setBrush(kPanel);
        shape->setPen(QPen(kPanelEdge));
        shape->setGeometry(panels[i]);
    }

    m_connectionLabel = new QLabel(this);
    m_connectionLabel->setObjectName(QStringLiteral("Label1"));
    m_connectionLabel->setGeometry(Layout::Label1);
    m_connectionLabel->setAutoFillBackground(true);
    QPalette labelPalette = m_connectionLabel->palette();
    labelPalette.setColor(QPalette::Window, kLabelBack);
    labelPalette.setColor(QPalette::WindowText, QColor::fromRgb(Look::kValueText));
    m_connectionLabel->setPalette(labelPalette);
    m_connectionLabel->setFont(SkinLook::fieldFont(true));

    const QString timeMask = QStringLiteral("99:99:99");
    m_startTimeEdit = makeField("StartTimeEdit", Layout::StartTimeEdit, timeMask);
    m_startDateEdit = makeDateField("DateEdit1", Layout::DateEdit1);
    m_endTimeEdit = makeField("EndTimeEdit", Layout::EndTimeEdit, timeMask);
    m_endDateEdit = makeDateField("DateEdit2", Layout::DateEdit2);
    m_durationEdit = makeField("DurationEdit", Layout::DurationEdit, QStringLiteral("0009:99:99"));
    m_costEdit = makeField("CurrencyEdit2", Layout::CurrencyEdit2, {});
    m_costEdit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto makeButton = [this](const char *name, const QString &caption, const QRect &rect) {
        auto *button = new TGFocusButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setText(caption);
        SkinLook::styleButton(button);
        button->setGeometry(rect);
        return button;
    };
    m_saveButton = makeButton("ButtonClose", QStringLiteral("Save"), Layout::ButtonClose);
    m_cancelButton = makeButton("GTextButton1", QStringLiteral("Cancel"), Layout::GTextButton1);
    connect(m_saveButton, &TGFocusButton::clicked, this, &TEditCall::onSaveClicked);
    connect(m_cancelButton, &TGFocusButton::clicked, this, &TEditCall::onCancelClicked);
    pressOnReturn(this, m_saveButton);

    FormCreate();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QLineEdit *TEditCall::makeField(const char *name, const QRect &rect, const QString &mask)
{
    auto *field = new QLineEdit(this);
    field->setObjectName(QString::fromLatin1(name));
    field->setGeometry(rect);
    field->setFrame(false);
    colourField(field);
    if (!mask.isEmpty()) {
        field->setInputMask(mask);
        field->installEventFilter(this);
    }
    return field;
}

QDateEdit *TEditCall::makeDateField(const char *name, const QRect &rect)
{
    auto *field = new QDateEdit(this);
    field->setObjectName(QString::fromLatin1(name));
    field->setGeometry(rect);
    field->setCalendarPopup(true);
    DateFieldStyle::apply(field);
    field->setDisplayFormat(QStringLiteral("dd/MM/yy"));
    field->setFrame(false);
    colourField(field);
    return field;
}

void TEditCall::FormCreate()
{
    const QDate today = m_core.clock().now().date();
    const EditCallFields fields = editCallFields(m_core.log().records[m_selectedCall], m_core.providers(), today);
    setElidedText(m_connectionLabel, fields.connection);
    m_startTimeEdit->setText(fields.startTime);
    showDate(m_startDateEdit, fields.startDate, fields.startDateText, today);
    m_endTimeEdit->setText(fields.endTime);
    showDate(m_endDateEdit, fields.endDate, fields.endDateText, today);
    m_durationEdit->setText(fields.duration);
    m_costEdit->setText(fields.cost);
}

void TEditCall::onSaveClicked()
{
    EditCallFields fields;
    fields.startTime = m_startTimeEdit->displayText();
    fields.startDate = pickedDate(m_startDateEdit);
    fields.endTime = m_endTimeEdit->displayText();
    fields.endDate = pickedDate(m_endDateEdit);
    fields.duration = m_durationEdit->displayText();
    fields.cost = m_costEdit->text();
    const auto saved = saveEditCall(m_core.log().records[m_selectedCall], fields);
    if (!saved) {
        SkinMessageDlg(mtWarning, editCallMessage(saved.error()), mbOK, this);
        return;
    }
    accept();
}

void TEditCall::onCancelClicked() { reject(); }

bool TEditCall::eventFilter(QObject *watched, QEvent *event)
{
    // The masked fields take digits typed over the ones there; nothing can
    // be removed.
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace)
            return true;
        const QString text = key->text();
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!text.isEmpty() && !enter && text.at(0).isPrint() && !text.at(0).isDigit())
            return true;
    }
    return QDialog::eventFilter(watched, event);
}
