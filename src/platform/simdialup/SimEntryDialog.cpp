#include "platform/simdialup/SimEntryDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {

template <typename Widget> Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

SimEntryDialog::SimEntryDialog(QWidget *parent, const SimEntry &initial, bool creating, QStringList takenNames)
    : QDialog(parent)
    , m_creating(creating)
    , m_takenNames(std::move(takenNames))
    , m_name(named(new QLineEdit(initial.name, this), "name"))
    , m_phoneNumber(named(new QLineEdit(initial.phoneNumber, this), "phoneNumber"))
    , m_userName(named(new QLineEdit(initial.userName, this), "userName"))
    , m_password(named(new QLineEdit(initial.password, this), "password"))
    , m_savePassword(named(new QCheckBox(QStringLiteral("Save the password"), this), "savePassword"))
    , m_stageSeconds(named(new QDoubleSpinBox(this), "stageSeconds"))
    , m_answers(named(new QCheckBox(QStringLiteral("The remote end answers"), this), "answers"))
    , m_failWithError(named(new QSpinBox(this), "failWithError"))
    , m_dropAfterSeconds(named(new QSpinBox(this), "dropAfterSeconds"))
    , m_bytesPerSecondIn(initial.bytesPerSecondIn)
    , m_bytesPerSecondOut(initial.bytesPerSecondOut)
    , m_problem(named(new QLabel(this), "problem"))
{
    setWindowTitle(creating ? QStringLiteral("New dial-up entry") : QStringLiteral("Edit dial-up entry"));
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
    m_problem->setStyleSheet(QStringLiteral("color: #b00000"));
    m_problem->setWordWrap(true);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Entry name:"), m_name);
    form->addRow(QStringLiteral("Phone number:"), m_phoneNumber);
    form->addRow(QStringLiteral("User name:"), m_userName);
    form->addRow(QStringLiteral("Password:"), m_password);
    form->addRow(QString(), m_savePassword);
    form->addRow(QStringLiteral("Seconds per dial stage:"), m_stageSeconds);
    form->addRow(QString(), m_answers);
    form->addRow(QStringLiteral("Fail with error code:"), m_failWithError);
    form->addRow(QStringLiteral("Drop the line after (seconds):"), m_dropAfterSeconds);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &SimEntryDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SimEntryDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_problem);
    layout->addWidget(buttons);
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
    m_problem->setText(text);
    if (text.isEmpty())
        QDialog::accept();
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
