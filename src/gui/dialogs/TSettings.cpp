#include "gui/dialogs/TSettings.h"

#include "core/app/AppCore.h"
#include "core/skins/SkinLayout.h"
#include "core/skins/SkinLibrary.h"
#include "core/windowlogic/WindowOutline.h"
#include "gui/controls/ApplicationHints.h"
#include "gui/controls/OnOffSwitch.h"
#include "gui/controls/ReturnPresses.h"
#include "gui/controls/SkinLook.h"
#include "gui/controls/TGFocusButton.h"
#include "gui/controls/WindowDragger.h"
#include "gui/dialogs/DialUpServiceName.h"

#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QShowEvent>
#include <QValidator>

#include <tuple>

namespace {

const QString kSwitchHint = QStringLiteral("Click to toggle Green=On Red=Off");

#ifdef Q_OS_WIN
const QString kRunAtStartupLabel = QStringLiteral("Run Tollwise on Windows Start Up");
#else
const QString kRunAtStartupLabel = QStringLiteral("Run Tollwise on Start Up");
#endif

const std::array<QString, kSettingsSwitchCount> kSwitchLabels = {
    QStringLiteral("Show Mouse Tool Tips"),
    QStringLiteral("Play Tollwise sounds"),
    QStringLiteral("Automatically update provider totals"),
    kRunAtStartupLabel,
    QStringLiteral("Show Connection Time in Tollwise Caption Title"),
    QStringLiteral("Load Tollwise in a Minimised state"),
    QStringLiteral("Use this currency symbol"),
    QStringLiteral("Use the default currency symbol"),
    QStringLiteral("Notify me of each call's time and cost"),
};

namespace S = SkinLayout::SettingsDialog;

// Where the controls sit on the dialog's picture.
constexpr QSize kDesignedSize = S::kSize;
constexpr QRect switchRect(int index)
{
    return { QPoint(S::kSwitchLeft, S::kFirstRowTop + index * S::kRowStep), S::kSwitchSize };
}
constexpr QRect labelRect(int index)
{
    const bool besideField = index == 6 || index == 7;
    const int right = besideField ? S::Edit1.left() - 6 : S::kSize.width() - 16;
    return { S::kLabelLeft, S::kFirstRowTop + index * S::kRowStep, right - S::kLabelLeft, S::kSwitchSize.height() };
}
constexpr QRect kUserSymbolRect = S::Edit1;
constexpr QRect kDefaultSymbolRect = S::Label9;
constexpr QRect kButtonOkayRect = S::ButtonOkay;
constexpr QRect kButtonCloseRect = S::ButtonClose;
constexpr QRect kLabelDialUpServiceRect { 24, 357, 186, 22 }; // left of the buttons

// Refuses characters that settings.data cannot hold, so the symbol the user
// sees is the one that comes back at the next start.
class SymbolValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override { return storableInSettings(input) ? Acceptable : Invalid; }
};

void setPaletteColour(QWidget *widget, const QColor &colour, QPalette::ColorRole role)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

} // namespace

TSettings::TSettings(AppCore &core, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , m_core(core)
    , m_choices(core.settings(), core.systemCurrency())
    , m_userSymbol(new QLineEdit(this))
    , m_defaultSymbol(new QLabel(this))
    , m_buttonOkay(new TGFocusButton(this))
    , m_buttonClose(new TGFocusButton(this))
{
    setObjectName(QStringLiteral("TSettings"));
    setWindowTitle(QStringLiteral("Settings"));
    // No title bar: the background is where the dialog is taken to move it.
    new WindowDragger(this);

    QWidget *previous = nullptr;
    for (int i = 0; i < kSettingsSwitchCount; ++i) {
        auto *button = new OnOffSwitch(this);
        button->setObjectName(QStringLiteral("Switch%1").arg(i + 1));
        button->setToolTip(kSwitchHint);
        button->setAccessibleName(kSwitchLabels[std::size_t(i)]);
        button->setGeometry(switchRect(i));
        connect(button, &OnOffSwitch::clicked, this, [this, i](bool on) { switchClicked(i, on); });
        m_switches[std::size_t(i)] = button;

        auto *label = new QLabel(kSwitchLabels[std::size_t(i)], this);
        // "Label9" is the default symbol's field.
        label->setObjectName(i < 8 ? QStringLiteral("Label%1").arg(i + 1) : QStringLiteral("LabelNotifyCallEnded"));
        label->setGeometry(labelRect(i));
        QFont labelFont = label->font();
        labelFont.setPixelSize(13);
        label->setFont(labelFont);
        setPaletteColour(label, QColor::fromRgb(SkinLayout::kDarkText), QPalette::WindowText);
        label->setBuddy(button);

        if (previous)
            setTabOrder(previous, button);
        previous = button;
        if (i == int(SettingsSwitch::UseUserCurrency) - 1) {
            setTabOrder(button, m_userSymbol);
            previous = m_userSymbol;
        }
    }
    setTabOrder(previous, m_buttonOkay);
    setTabOrder(m_buttonOkay, m_buttonClose);

    m_userSymbol->setObjectName(QStringLiteral("Edit1"));
    m_userSymbol->setToolTip(QStringLiteral("Enter your symbol to display"));
    m_userSymbol->setMaxLength(SettingsEdit::kMaxSymbolLength);
    m_userSymbol->setValidator(new SymbolValidator(m_userSymbol));
    m_userSymbol->setGeometry(kUserSymbolRect);
    connect(
        m_userSymbol, &QLineEdit::textChanged, this, [this](const QString &text) { m_choices.setUserSymbol(text); });

    m_defaultSymbol->setObjectName(QStringLiteral("Label9"));
    m_defaultSymbol->setAutoFillBackground(true);
    m_defaultSymbol->setIndent(4);
    m_defaultSymbol->setGeometry(kDefaultSymbolRect);

    for (const auto &[button, name, caption, hint, rect] :
        { std::tuple { m_buttonOkay, "ButtonOkay", "Save", "Save this and close", kButtonOkayRect },
            std::tuple { m_buttonClose, "ButtonClose", "Cancel", "Don't save just close", kButtonCloseRect } }) {
        button->setObjectName(QString::fromLatin1(name));
        button->setText(QString::fromLatin1(caption));
        button->setToolTip(QString::fromLatin1(hint));
        SkinLook::styleButton(button);
        button->setGeometry(rect);
    }
    connect(m_buttonOkay, &TGFocusButton::clicked, this, &TSettings::ButtonOkayClick);
    pressOnReturn(this, m_buttonOkay);
    connect(m_buttonClose, &TGFocusButton::clicked, this, &TSettings::ButtonCloseClick);

    auto *service = new QLabel(QStringLiteral("Dial-up service: %1").arg(dialUpServiceName()), this);
    service->setObjectName(QStringLiteral("LabelDialUpService"));
    service->setToolTip(QStringLiteral("Chosen with DialUpService in settings.data"));
    service->setGeometry(kLabelDialUpServiceRect);
    setPaletteColour(service, QColor::fromRgb(SkinLayout::kDarkText), QPalette::WindowText);

    const QString folder = QDir::toNativeSeparators(core.folder());
    auto *files = new QLabel(this);
    files->setObjectName(QStringLiteral("LabelDataFolder"));
    files->setGeometry(S::LabelDataFolder);
    files->setText(files->fontMetrics().elidedText(
        QStringLiteral("Files kept in %1").arg(folder), Qt::ElideMiddle, S::LabelDataFolder.width()));
    files->setToolTip(folder);
    files->setTextInteractionFlags(Qt::TextSelectableByMouse);
    setPaletteColour(files, QColor::fromRgb(SkinLayout::kDarkText), QPalette::WindowText);

    FormCreate();
}

void TSettings::FormCreate()
{
    setFixedSize(kDesignedSize);
    if (SkinLibrary::LoadSkinImage(m_background, QStringLiteral("Settings"))) {
        setFixedSize(m_background.size());
        setMask(outlineRegion(m_background, QColor::fromRgb(kSkinKeyColour)));
    }
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TSettings::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Coming back from being minimised must not undo the user's changes.
    if (!event->spontaneous())
        FormShow();
}

void TSettings::FormShow()
{
    m_choices = SettingsEdit(m_core.settings(), m_core.systemCurrency());
    m_userSymbol->setText(m_choices.userSymbol());
    m_defaultSymbol->setText(m_choices.defaultSymbolText());
    showChoices();
    m_switches.front()->setFocus();
}

void TSettings::switchClicked(int index, bool on)
{
    m_choices.set(SettingsSwitch(index + 1), on);
    showChoices();
}

void TSettings::showChoices()
{
    for (int i = 0; i < kSettingsSwitchCount; ++i)
        m_switches[std::size_t(i)]->setChecked(m_choices.isOn(SettingsSwitch(i + 1)));
    const SymbolFieldColours colours = m_choices.fieldColours();
    setPaletteColour(m_userSymbol, colours.userSymbol, QPalette::Base);
    setPaletteColour(m_defaultSymbol, colours.defaultSymbol, QPalette::Window);
}

void TSettings::ButtonOkayClick()
{
    m_choices.apply(m_core);
    applyApplicationHints(m_core.settings().ShowHint);
    accept();
}

void TSettings::ButtonCloseClick() { reject(); }

void TSettings::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_background.isNull())
        painter.fillRect(rect(), QColor(212, 208, 200));
    else
        painter.drawImage(0, 0, m_background);
}
