#include "gui/reports/SaveFileDialog.h"

#include "core/skins/Look.h"
#include "gui/controls/ElidedText.h"
#include "gui/controls/SkinLook.h"
#include "gui/messages/MessageDialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QVBoxLayout>

namespace {

constexpr int kFieldWidth = 380;

QString expandedHome(const QString &folder)
{
    if (folder == QLatin1String("~"))
        return QDir::homePath();
    if (folder.startsWith(QLatin1String("~/")))
        return QDir::homePath() + folder.mid(1);
    return folder;
}

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

std::expected<QString, QString> SaveFileDialog::pathFor(
    const QString &folder, const QString &name, const QString &suffix)
{
    const QString where = QDir::fromNativeSeparators(expandedHome(folder.trimmed()));
    const QString file = name.trimmed();
    if (where.isEmpty())
        return std::unexpected(QStringLiteral("Enter the folder to save the file in."));
    if (QDir::isRelativePath(where))
        return std::unexpected(
            QStringLiteral("Enter the folder's whole path, as %1.").arg(QDir::toNativeSeparators(QDir::homePath())));
    if (!QFileInfo(where).isDir())
        return std::unexpected(QStringLiteral("There is no folder %1.").arg(QDir::toNativeSeparators(where)));
    if (!plainWritableFolder(where))
        return std::unexpected(QStringLiteral("Files cannot be saved in %1.").arg(QDir::toNativeSeparators(where)));
    if (file.isEmpty())
        return std::unexpected(QStringLiteral("Enter a name for the file."));
    if (file.contains(QLatin1Char('/')) || file.contains(QDir::separator()) || file == QLatin1String(".")
        || file == QLatin1String(".."))
        return std::unexpected(QStringLiteral("Enter the file's name alone; the folder goes above it."));
    const QString named = QFileInfo(file).suffix().isEmpty() && !suffix.isEmpty() ? file + u'.' + suffix : file;
    const QString path = QDir::cleanPath(QDir(where).filePath(named));
    if (QFileInfo(path).isDir())
        return std::unexpected(QStringLiteral("%1 is a folder.").arg(QDir::toNativeSeparators(path)));
    return path;
}

void SaveFileDialog::accept()
{
    const auto path = pathFor(m_folder->text(), m_name->text(), m_suffix);
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

bool SaveFileDialog::plainWritableFolder(const QString &folder)
{
    static const QStringList kSpecial = { QStringLiteral("proc"), QStringLiteral("sysfs"), QStringLiteral("devtmpfs"),
        QStringLiteral("devpts"), QStringLiteral("debugfs"), QStringLiteral("tracefs"), QStringLiteral("securityfs"),
        QStringLiteral("cgroup"), QStringLiteral("cgroup2"), QStringLiteral("pstore"), QStringLiteral("configfs"),
        QStringLiteral("efivarfs"), QStringLiteral("bpf"), QStringLiteral("mqueue"), QStringLiteral("fusectl"),
        QStringLiteral("binfmt_misc"), QStringLiteral("hugetlbfs") };
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir() || !info.isWritable())
        return false;
    const QString canonical = info.canonicalFilePath();
    for (const char *top : { "/proc", "/sys", "/dev" })
        if (canonical == QLatin1String(top) || canonical.startsWith(QLatin1String(top) + QLatin1Char('/')))
            return false;
    return !kSpecial.contains(QString::fromLatin1(QStorageInfo(canonical).fileSystemType()));
}

QString SaveFileDialog::safeStartFolder()
{
    for (const auto location : { QStandardPaths::DocumentsLocation, QStandardPaths::HomeLocation })
        if (const QString folder = QStandardPaths::writableLocation(location); plainWritableFolder(folder))
            return folder;
    return QDir::homePath();
}
