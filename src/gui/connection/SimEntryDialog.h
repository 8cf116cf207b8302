#pragma once

#include "gui/controls/FramedDialog.h"
#include "platform/simdialup/SimEntry.h"

#include <QStringList>

#include <optional>

class QAbstractButton;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// The simulator's own dialog for a new phonebook entry or for changing one:
// the account, and how the simulated line behaves. OK keeps the dialog open
// while a field is unusable and says why; Cancel changes nothing.
class SimEntryDialog final : public FramedDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SimEntryDialog)

public:
    // `takenNames` are refused as the name of a new entry; an edited entry
    // keeps its name.
    SimEntryDialog(QWidget *parent, const SimEntry &initial, bool creating, QStringList takenNames);

    SimEntry entry() const;

    // Runs the dialog modally; nullopt when it was cancelled.
    static std::optional<SimEntry> ask(
        QWidget *parent, const SimEntry &initial, bool creating, const QStringList &takenNames);
    // The same over the window of a native id, as the dial-up service is given it.
    static std::optional<SimEntry> askOver(
        dialup::NativeWindow owner, const SimEntry &initial, bool creating, const QStringList &takenNames);

    // An empty text when the entry can be stored, otherwise what is wrong.
    static QString problem(const SimEntry &entry, bool creating, const QStringList &takenNames);

    void accept() override;

private:
    bool m_creating;
    QStringList m_takenNames;
    QLineEdit *m_name;
    QLineEdit *m_phoneNumber;
    QLineEdit *m_userName;
    QLineEdit *m_password;
    QAbstractButton *m_savePassword;
    QDoubleSpinBox *m_stageSeconds;
    QAbstractButton *m_answers;
    QSpinBox *m_failWithError;
    QSpinBox *m_dropAfterSeconds;
    // The traffic rates are set in the phonebook file only; an edit keeps them.
    qint64 m_bytesPerSecondIn;
    qint64 m_bytesPerSecondOut;
    QLabel *m_problem;
};
