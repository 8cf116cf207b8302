#include "gui/connection/SimEntryDialog.h"

#include "gui/controls/ElidedText.h"
#include "gui/controls/OnOffSwitch.h"
#include "gui/controls/SkinLook.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kFieldWidth = 240;

template <typename Widget> Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

SimEntryDialog::SimEntryDialog(QWidget *parent, const SimEntry &initial, bool creating, QStringList takenNames)
    : FramedDialog(creating ? QStringLiteral("New dial-up entry") : QStringLiteral("Edit dial-up entry"), parent)
    , m_creating(creating)
    , m_takenNames(std::move(takenNames))
    , m_name(named(new QLineEdit(initial.name, this), "name"))
    , m_phoneNumber(named(new QLineEdit(initial.phoneNumber, this), "phoneNumber"))
    , m_userName(named(new QLineEdit(initial.userName, this), "userName"))
    , m_password(named(new QLineEdit(initial.password, this), "password"))
    , m_savePassword(named(new OnOffSwitch(this), "savePassword"))
    , m_stageSeconds(named(new QDoubleSpinBox(this), "stageSeconds"))
    , m_answers(named(new OnOffSwitch(this), "answers"))
    , m_failWithError(named(new QSpinBox(this), "failWithError"))
    , m_dropAfterSeconds(named(new QSpinBox(this), "dropAfterSeconds"))
    , m_bytesPerSecondIn(initial.bytesPerSecondIn)
    , m_bytesPerSecondOut(initial.bytesPerSecondOut)
    , m_problem(named(new QLabel(this), "problem"))
{
    setObjectName(QStringLiteral("SimEntryDialog"));
    m_name->setMaxLength(SimEntry::kMaxNameLength);
    m_name->setReadOnly(!creating);
    m_password->setEchoMode(QLineEdit::Password);
    m_savePassword->setChecked(initial.savePassword);
    m_stageSeconds->setRange(0, SimEntry::kMaxStageSeconds);
    m_stageSeconds->setDecimals(2);
    m_stageSeconds->setSingleStep(0.5);
    m_stageSeconds->setValue(initial.stageSeconds);
    m_answers->setChecked(initial.answers);
    m_failWithError->setRange(0, 99999);
    m_failWithError->setSpecialValueText(QStringLiteral("none"));
    m_failWithError->setValue(int(std::min<std::uint32_t>(initial.failWithError, 99999)));
    m_dropAfterSeconds->setRange(0, SimEntry::kMaxDropAfterSeconds);
    m_dropAfterSeconds->setSpecialValueText(QStringLiteral("never"));
    m_dropAfterSeconds->setValue(initial.dropAfterSeconds);
    SkinLook::styleProblem(m_problem);

    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    const std::pair<const char *, QWidget *> rows[] = {
        { "Entry name", m_name },
        { "Phone number", m_phoneNumber },
        { "User name", m_userName },
        { "Password", m_password },
        { "Save the password", m_savePassword },
        { "Seconds per dial stage", m_stageSeconds },
        { "The remote end answers", m_answers },
        { "Fail with error code", m_failWithError },
        { "Drop the line after (seconds)", m_dropAfterSeconds },
    };
    for (const auto &[caption, field] : rows) {
        auto *label = new QLabel(QLatin1String(caption), this);
        SkinLook::styleCaption(label);
        label->setBuddy(field);
        if (qobject_cast<OnOffSwitch *>(field)) {
            field->setFixedSize(field->sizeHint());
        } else {
            SkinLook::styleFormField(field);
            field->setFixedWidth(kFieldWidth);
        }
        form->addRow(label, field);
    }
    bodyLayout()->addLayout(form);
    bodyLayout()->addWidget(m_problem);
    (creating ? m_name : m_phoneNumber)->setFocus();
}

SimEntry SimEntryDialog::entry() const
{
    SimEntry entry;
    entry.name = m_name->text();
    entry.phoneNumber = m_phoneNumber->text().trimmed();
    entry.userName = m_userName->text().trimmed();
    entry.password = m_password->text();
    entry.savePassword = m_savePassword->isChecked();
    entry.stageSeconds = m_stageSeconds->value();
    entry.answers = m_answers->isChecked();
    entry.failWithError = std::uint32_t(m_failWithError->value());
    entry.dropAfterSeconds = m_dropAfterSeconds->value();
    entry.bytesPerSecondIn = m_bytesPerSecondIn;
    entry.bytesPerSecondOut = m_bytesPerSecondOut;
    return entry;
}

QString SimEntryDialog::problem(const SimEntry &entry, bool creating, const QStringList &takenNames)
{
    if (creating) {
        const QString nameProblem = SimEntry::nameProblem(entry.name);
        if (!nameProblem.isEmpty())
            return nameProblem;
        if (takenNames.contains(entry.name, Qt::CaseInsensitive))
            return QStringLiteral("There is already an entry called \"%1\".").arg(entry.name);
    }
    // The phonebook keeps every value on one line, without blanks around it.
    if (SimEntry::hasControlCharacter(entry.phoneNumber) || SimEntry::hasControlCharacter(entry.userName)
        || SimEntry::hasControlCharacter(entry.password))
        return QStringLiteral("The phone number, the user name and the password cannot contain line breaks or tabs.");
    if (entry.password.trimmed() != entry.password)
        return QStringLiteral("A password cannot begin or end with a blank.");
    return {};
}

void SimEntryDialog::accept()
{
    const QString text = problem(entry(), m_creating, m_takenNames);
    // A long name has no blank to wrap at.
    m_problem->setText(breakableText(text, m_problem->font(), width() - 2 * kMargin - 2));
    m_problem->setVisible(!text.isEmpty());
    if (text.isEmpty())
        FramedDialog::accept();
}

std::optional<SimEntry> SimEntryDialog::ask(
    QWidget *parent, const SimEntry &initial, bool creating, const QStringList &takenNames)
{
    SimEntryDialog dialog(parent, initial, creating, takenNames);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.entry();
}

std::optional<SimEntry> SimEntryDialog::askOver(
    dialup::NativeWindow owner, const SimEntry &initial, bool creating, const QStringList &takenNames)
{
    return ask(owner != 0 ? QWidget::find(WId(owner)) : nullptr, initial, creating, takenNames);
}
