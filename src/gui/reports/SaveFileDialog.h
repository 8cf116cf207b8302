#pragma once

#include "gui/controls/FramedDialog.h"

#include <QString>

class QLabel;
class QLineEdit;

// Asks where a file is to be saved: the folder, the file's name (the
// proposed one, chosen for typing over) and its type. OK keeps the dialog
// open while the folder or the name cannot be used and says why, and asks
// before a file already there is replaced.
class SaveFileDialog final : public FramedDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SaveFileDialog)

public:
    // `proposed` is the whole path offered; `typeText` names the file's type,
    // as "Web page (*.html)".
    SaveFileDialog(QWidget *owner, const QString &caption, const QString &proposed, const QString &typeText);

    // The path OK was pressed for.
    [[nodiscard]] QString chosenPath() const { return m_chosen; }
    void accept() override;

    // Runs the dialog modally: the path chosen, empty when cancelled.
    static QString ask(QWidget *owner, const QString &caption, const QString &proposed, const QString &typeText);

private:
    QLineEdit *m_folder;
    QLineEdit *m_name;
    QLabel *m_problem;
    QString m_suffix;
    QString m_chosen;
};
