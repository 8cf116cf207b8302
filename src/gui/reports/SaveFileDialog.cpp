#include "gui/reports/SaveFileDialog.h"

#include "core/reports/SaveLocation.h"
#include "core/skins/Look.h"
#include "gui/controls/ElidedText.h"
#include "gui/controls/SkinLook.h"
#include "gui/messages/MessageDialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

constexpr int kFieldWidth = 380;

} // namespace

SaveFileDialog::SaveFileDialog(QWidget *owner, const QString &caption, const QString &proposed, const QString &typeText)
    : FramedDialog(caption, owner)
    , m_folder(new QLineEdit(this))
    , m_name(new QLineEdit(this))
    , m_problem(new QLabel(this))
    , m_suffix(QFileInfo(proposed).suffix())
{
    setObjectName(QStringLiteral("SaveFileDialog"));
    const QFileInfo offered(proposed);
    m_folder->setObjectName(QStringLiteral("Folder"));
    m_folder->setText(QDir::toNativeSeparators(offered.absolutePath()));
    m_name->setObjectName(QStringLiteral("FileName"));
    m_name->setText(offered.fileName());
    for (QLineEdit *field : { m_folder, m_name }) {
        SkinLook::styleFormField(field);
        field->setMinimumWidth(kFieldWidth);
    }
    auto *type = new QLabel(typeText, this);
    type->setObjectName(QStringLiteral("FileType"));
    type->setTextFormat(Qt::PlainText);
    SkinLook::styleCaption(type);
    SkinLook::styleProblem(m_problem);
    m_problem->setObjectName(QStringLiteral("Problem"));

    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (auto [label, field] :
        { std::pair<const char *, QWidget *> { "Folder", m_folder }, { "File name", m_name }, { "Type", type } }) {
        auto *name = new QLabel(QLatin1String(label), this);
        SkinLook::styleCaption(name);
        name->setBuddy(field);
        form->addRow(name, field);
    }
    bodyLayout()->addLayout(form);
    bodyLayout()->addWidget(m_problem);

    // The name is what is mostly changed, its type kept.
    m_name->setFocus();
    m_name->setSelection(0, int(offered.completeBaseName().size()));
}

void SaveFileDialog::accept()
{
    const auto path = savePathFor(m_folder->text(), m_name->text(), m_suffix);
    // A path may have no blank to wrap at.
    m_problem->setText(path ? QString() : breakableText(path.error(), m_problem->font(), width() - 2 * kMargin - 2));
    m_problem->setVisible(!path);
    if (!path)
        return;
    if (QFileInfo::exists(*path)) {
        const int answer = SkinMessageDlg(mtConfirm,
            QStringLiteral("The file\r%1\ris already there. Replace it?").arg(QDir::toNativeSeparators(*path)),
            mbYes | mbNo, this, mrNo, mrNo);
        // Without a window manager nothing hands the keyboard back.
        activateWindow();
        if (answer != mrYes)
            return;
    }
    m_chosen = *path;
    FramedDialog::accept();
}

QString SaveFileDialog::ask(QWidget *owner, const QString &caption, const QString &proposed, const QString &typeText)
{
    SaveFileDialog dialog(owner, caption, proposed, typeText);
    return dialog.exec() == QDialog::Accepted ? dialog.chosenPath() : QString();
}
