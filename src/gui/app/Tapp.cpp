#include "gui/app/Tapp.h"

#include "core/app/UnsavedWorkText.h"
#include "core/skins/SkinImages.h"
#include "core/skins/SkinLayout.h"
#include "core/skins/SkinLibrary.h"
#include "core/spending/BudgetWarning.h"
#include "core/windowlogic/ProjectLinks.h"
#include "gui/app/MinimisedTogether.h"
#include "gui/app/SpendingLine.h"
#include "gui/app/TBlind.h"
#include "gui/calllog/TCallLog.h"
#include "gui/connection/TConnectDlg.h"
#include "gui/controls/ApplicationHints.h"
#include "gui/controls/BuiltInPictures.h"
#include "gui/controls/ClockText.h"
#include "gui/controls/ElidedText.h"
#include "gui/controls/LedGauge.h"
#include "gui/controls/LightScanner.h"
#include "gui/controls/SkinLook.h"
#include "gui/controls/TCutTransImage.h"
#include "gui/controls/TGShape.h"
#include "gui/controls/TGTabButton.h"
#include "gui/dialogs/TAbout.h"
#include "gui/dialogs/TSettings.h"
#include "gui/messages/MessageDialogs.h"
#include "gui/providers/ProviderChooser.h"
#include "gui/providers/TProviderEdit.h"
#include "gui/tariffs/TCallCharges.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QStringList>
#include <QUrl>

#include <tuple>
#include <utility>

namespace {

namespace Layout = SkinLayout::MainWindow;

const QString kExitQuestion = QStringLiteral("If you close Dialtally then this program\r"
                                             "cannot monitor and log your connections\r"
                                             "from other programs\r"
                                             "\r"
                                             "Are you sure you want to exit?");

const QString kInvalidProvidersText = QStringLiteral(
    "The Providers Data File (Providers.data) used for Dialtally is Invalid.\r"
    "I have renamed this file to \"MyInvalidFile.old\" so when the program exits, a new file will be created");

// Tool tips break lines at "\n" only.
const QString kGaugeHint = QStringLiteral(" This gauge shows you your \n unit cost count down.\n\n"
                                          " When it go over the red area, \n your call cost is increased.");

const QString kSelectedEntryHint = QStringLiteral(" Your current active provider");

constexpr int kCallPixels = 22; // the running call's time and cost
constexpr int kTotalPixels = 12; // the totals of the three panels

constexpr int kGaugeLow = 15;
constexpr int kGaugeMedium = 5;
constexpr int kGaugeHigh = 5;
constexpr int kScannerLights = 16;

// The files a closing program could not write, what ending now would lose,
// and the choice it leaves.
QString exitSaveFailureText(const QList<FileError> &failures, const AppCore &core)
{
    QStringList names;
    QStringList reasons;
    for (const FileError &failure : failures) {
        names.append(QDir::toNativeSeparators(failure.path));
        if (!reasons.contains(failure.reason))
            reasons.append(failure.reason);
    }
    const QString lost = unsavedWorkText(core.unsavedWork(), core.providers(), core.currencyText());
    const QString consequence = lost.isEmpty()
        ? QStringLiteral("The files hold everything: nothing is lost if you exit now.")
        : QStringLiteral("If you exit now, this is lost:\r%1").arg(lost);
    return QStringLiteral("Dialtally could not write\r%1\r\r%2\r\r%3\r\rPress Retry to try again, or\rpress Abort to "
                          "exit all the same.")
        .arg(names.join(QLatin1Char('\r')), reasons.join(QLatin1Char('\r')), consequence);
}

// The look every label of the display shares.
void decorateLabel(
    QLabel *label, const QRect &rect, int pixelSize, QRgb colour, Qt::Alignment alignment, bool bold = false)
{
    label->setGeometry(rect);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setFont(SkinLook::font(pixelSize, bold));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(colour));
    label->setPalette(palette);
}

void openLink(const QString &address) { QDesktopServices::openUrl(QUrl(address)); }

} // namespace

Tapp::Tapp(const QString &programPath, AppServices services, TCallLog *callLog, TBlind *blind)
    : Tapp(ProgramFolders::beside(programPath), services, callLog, blind)
{
}

Tapp::Tapp(const ProgramFolders &folders, AppServices services, TCallLog *callLog, TBlind *blind)
    : QWidget(nullptr, Qt::FramelessWindowHint)
    , m_core(std::make_unique<AppCore>(folders, services))
    , m_dialUp(services.dialUp)
    , m_monitor(std::make_unique<CallMonitor>(monitorParts(*m_core), services.dialUp, services.clock))
    , m_dialler(std::make_unique<Dialler>(m_core->currentCall(), *m_monitor, services.dialUp))
    , m_spending(std::make_unique<SpendingWatch>(spendingParts(*m_core), services.clock))
    , m_callLog(callLog)
    , m_blind(blind)
    , m_background(new TCutTransImage(this))
{
    setObjectName(QStringLiteral("Tapp"));
    setWindowTitle(QStringLiteral("Dialtally"));
    setFixedSize(Layout::kSize);
    m_background->setTransColor(QColor::fromRgb(SkinLayout::kKey));
    buildControls();

    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &Tapp::onTick);
    connect(m_blind, &TBlind::clicked, this, &Tapp::toggleCallLog);
    connect(m_blind, &TBlind::dragStarted, this,
        [this] { m_callLogHeightAtPress = m_callLog->isVisible() ? m_callLog->height() : 0; });
    connect(m_blind, &TBlind::dragMoved, this, [this](int dy) { resizeCallLog(m_callLogHeightAtPress + dy); });
    connect(m_callLog, &TCallLog::resized, this, &Tapp::dockWindows);
    // Both messages wait for the tick or start-up step that found the fault
    // to finish: shown from inside it, they would hold the monitor still.
    m_core->setSaveFailureHandler([this](const FileError &error) {
        QMetaObject::invokeMethod(
            this, [this, error] { reportSaveFailure(error); }, Qt::QueuedConnection);
    });
    m_monitor->registry().setTableFullHandler([this](const QString &entry) {
        QMetaObject::invokeMethod(
            this, [this, entry] { reportProviderTableFull(entry); }, Qt::QueuedConnection);
    });
    connect(m_monitor.get(), &CallMonitor::displayChanged, this, &Tapp::showMonitor);
    // Queued: the tick that logged the call finishes before the message waits for the user.
    connect(m_monitor.get(), &CallMonitor::oldCallsArchived, this, &Tapp::reportArchivedCalls, Qt::QueuedConnection);
    connect(
        m_monitor.get(), &CallMonitor::secondLineUp, this,
        [this](const QString &callEntry, const QString &otherEntry) {
            SkinMessageDlg(mtAdvice,
                QStringLiteral("%1 came up while the call on %2 is running.\r\rOnly the call on %2 is costed "
                               "and logged; %1 is not.")
                    .arg(otherEntry, callEntry),
                mbOK, this);
        },
        Qt::QueuedConnection);
    m_minimisedTogether = new MinimisedTogether(this, { m_callLog, m_blind }, [this] { dockWindows(); });
    connect(m_callLog, &TCallLog::logEdited, this, [this] { m_core->saveChanges(); });
    // The desktop's log-out or shut-down: our data goes to disk now, and a
    // close that follows needs no question. Quitting by any route ends the
    // call and writes every file.
#if QT_CONFIG(sessionmanager)
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this] {
        m_sessionEnding = true;
        m_core->saveEverything();
    });
#endif
    connect(qGuiApp, &QCoreApplication::aboutToQuit, this, [this] { shutDown(false); });
    FormCreate();
    connectDialler();
}

Tapp::~Tapp()
{
    // The call log outlives this window in its owner's scope.
    m_callLog->detach();
}

TGTabButton *Tapp::addButton(const char *name, const char *images, const QRect &rect, const char *hint)
{
    auto *button = new TGTabButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(rect);
    button->setTransparentColor(QColor::fromRgb(SkinLayout::kKey));
    // The window keeps the keyboard, so F2 and F3 always reach it.
    button->setFocusPolicy(Qt::NoFocus);
    if (images)
        button->loadImages(QString::fromLatin1(images));
    if (hint)
        button->setToolTip(QString::fromLatin1(hint));
    return button;
}

QLabel *Tapp::addLabel(const char *name, const QString &caption, const QRect &rect, int pixelSize, QRgb colour,
    Qt::Alignment alignment, bool bold)
{
    auto *label = new QLabel(caption, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    decorateLabel(label, rect, pixelSize, colour, alignment, bold);
    return label;
}

void Tapp::buildControls()
{
    using SkinLayout::kDarkText;
    using SkinLayout::kLcdStrong;
    using SkinLayout::kLcdText;
    const QString dash = QStringLiteral("-");

    addButton("ButtonMainMenu", nullptr, Layout::ButtonMainMenu, nullptr);
    connect(addButton("ButtonSettings", "MenuSetting", Layout::ButtonSettings, " Change the tollwise settings"),
        &TGTabButton::clicked, this, &Tapp::ButtonSettingsClick);
    connect(
        addButton("ButtonNewConnection", "MenuNew", Layout::ButtonNewConnection, " Create a new dail-up connection"),
        &TGTabButton::clicked, this, [this] { m_dialler->ButtonNewConnectionClick(winId()); });
    for (const auto &[name, images, rect] :
        { std::tuple { "ButtonEditTarifs", "MenuTariffs", Layout::ButtonEditTarifs },
            std::tuple { "ButtonEditTarifs2", "BallTariffs", Layout::ButtonEditTarifs2 } })
        connect(addButton(name, images, rect, " Edit the Call charges and Tarifs"), &TGTabButton::clicked, this,
            &Tapp::ButtonEditTarifsClick);
    for (const auto &[name, images, rect] :
        { std::tuple { "ButtonEditConnection", "MenuProvider", Layout::ButtonEditConnection },
            std::tuple { "ButtonChooseConnection", "BallProvider", Layout::ButtonChooseConnection } })
        connect(addButton(name, images, rect, " Edit the selected connection"), &TGTabButton::clicked, this,
            &Tapp::ButtonEditConnectionClick);
    connect(addButton("ButtonSkins", "MenuSkins", Layout::ButtonSkins, " About Tollwise"), &TGTabButton::clicked, this,
        &Tapp::ButtonSkinsClick);
    connect(addButton("ButtonHelp", "MenuHelp", Layout::ButtonHelp, " If you're stuck then help is here"),
        &TGTabButton::clicked, this, &Tapp::ButtonHelpClick);
    connect(addButton("ButtonMinimise", "Minimise", Layout::ButtonMinimise, " Minimises Tollwise"),
        &TGTabButton::clicked, this, &QWidget::showMinimized);
    connect(addButton("ButtonClose", "Close", Layout::ButtonClose, " Closes Tollwise"), &TGTabButton::clicked, this,
        &QWidget::close);

    for (const auto &[name, rect, hint, address] :
        { std::tuple { "GShape2", Layout::MailLink, " Send us an email",
              QStringLiteral("mailto:") + QString::fromLatin1(kProjectSupportMail) },
            std::tuple { "GShape3", Layout::HomePageLink, " Visit our home page on the web",
                QString::fromLatin1(kProjectHomePage) } }) {
        auto *shape = new TGShape(this);
        shape->setObjectName(QString::fromLatin1(name));
        shape->setGeometry(rect);
        shape->setBrush(Qt::NoBrush);
        shape->setPen(Qt::NoPen);
        shape->setCursor(Qt::PointingHandCursor);
        shape->setToolTip(QString::fromLatin1(hint));
        connect(shape, &TGShape::mouseDown, this, [address](Qt::MouseButton) { openLink(address); });
    }

    ButtonDial = addButton("ButtonDial", "dial", Layout::ButtonDial, " Dial or Hang Up the selected connection ");
    connect(ButtonDial, &TGTabButton::clicked, m_dialler.get(), &Dialler::ButtonDialClick);
    ScannerLights = new LightScanner(kScannerLights, this);
    ScannerLights->setObjectName(QStringLiteral("ScannerLights"));
    ScannerLights->setGeometry(Layout::ScannerLights);

    LabelStatus = addLabel(
        "LabelStatus", QStringLiteral("Not Connected"), Layout::LabelStatus, 12, kLcdText, Qt::AlignLeft, true);
    // Changes every second: drawn without laying its text out again each time.
    LabelDateTimeNow = new ClockText(Qt::AlignRight | Qt::AlignVCenter, this);
    LabelDateTimeNow->setObjectName(QStringLiteral("LabelDateTimeNow"));
    LabelDateTimeNow->setGeometry(Layout::LabelDateTimeNow);
    LabelDateTimeNow->setFont(SkinLook::font(11));
    QPalette clockPalette = LabelDateTimeNow->palette();
    clockPalette.setColor(QPalette::WindowText, QColor::fromRgb(kLcdText));
    LabelDateTimeNow->setPalette(clockPalette);
    LabelDateTimeNow->setText(QStringLiteral("."));
    LabelCurrentDuration = addLabel("LabelCurrentDuration", QStringLiteral("00:00:00"), Layout::LabelCurrentDuration,
        kCallPixels, kLcdStrong, Qt::AlignLeft);
    LabelCurrentCost
        = addLabel("LabelCurrentCost", dash, Layout::LabelCurrentCost, kCallPixels, kLcdStrong, Qt::AlignRight);
    LabelCallTarif = addLabel("LabelCallTarif", QString(), Layout::LabelCallTarif, 12, kLcdText, Qt::AlignLeft);
    ChargeIndicator = new LedGauge(kGaugeLow, kGaugeMedium, kGaugeHigh, this);
    ChargeIndicator->setObjectName(QStringLiteral("ChargeIndicator"));
    ChargeIndicator->setGeometry(Layout::ChargeIndicator);
    ChargeIndicator->setToolTip(kGaugeHint);

    auto *chooseProvider
        = addButton("ButtonChooseProvider", "prov", Layout::ButtonChooseProvider, " Choose a Provider");
    grpSelectedEntry
        = addLabel("grpSelectedEntry", QString(), Layout::grpSelectedEntry, 13, kDarkText, Qt::AlignLeft, true);
    grpSelectedEntry->setToolTip(kSelectedEntryHint);
    LabelTotalNumOfCalls
        = addLabel("LabelTotalNumOfCalls", dash, Layout::LabelTotalNumOfCalls, 12, kDarkText, Qt::AlignRight);
    // Keep the text off the rounded ends of the painted fields.
    grpSelectedEntry->setIndent(4);
    LabelTotalNumOfCalls->setIndent(6);

    LabelTodaysTime = addLabel("LabelTodaysTime", dash, Layout::LabelTodaysTime, 12, kLcdText, Qt::AlignRight);
    LabelTodaysCost = addLabel("LabelTodaysCost", dash, Layout::LabelTodaysCost, 12, kLcdText, Qt::AlignRight);
    LabelMonthsTime = addLabel("LabelMonthsTime", dash, Layout::LabelMonthsTime, 12, kLcdText, Qt::AlignRight);
    LabelMonthsCost = addLabel("LabelMonthsCost", dash, Layout::LabelMonthsCost, 12, kLcdText, Qt::AlignRight);
    LabelTodateTime = addLabel("LabelTodateTime", dash, Layout::LabelTodateTime, 12, kLcdText, Qt::AlignRight);
    LabelTodateCost = addLabel("LabelTodateCost", dash, Layout::LabelTodateCost, 12, kLcdText, Qt::AlignRight);

    auto *spendingLine = new SpendingLine(*m_spending, { LabelMonthsTime, LabelMonthsCost }, this);
    decorateLabel(spendingLine, Layout::LabelSpending, 11, kLcdText, Qt::AlignRight);
    connect(m_spending.get(), &SpendingWatch::hangUpRequested, m_dialler.get(), &Dialler::HangUpEntry);
    m_monitor->setVolumeHook(
        [this](CurrentCall &call, const CallVolume &) { m_spending->dataCharge().onVolume(call); });

    m_providerChooser
        = std::make_unique<ProviderChooser>(m_monitor->registry(), m_dialUp, ButtonDial, grpSelectedEntry, [this] {
              // The chooser wrote the whole name into the label: it is cut to fit again.
              m_shownDisplay.reset();
              m_monitor->setSelectedEntry(grpSelectedEntry->text());
              UpdateProviderDisplay();
          });
    m_providerChooser->attachContextMenu(LabelCallTarif);
    connect(
        chooseProvider, &TGTabButton::clicked, m_providerChooser.get(), &ProviderChooser::ButtonChooseProviderClick);
}

void Tapp::connectDialler()
{
    // The progress window is made when a dial first needs it, not at start-up.
    connect(m_dialler.get(), &Dialler::progressStarted, this,
        [this](const QString &entry) { connectDlg().showProgress(entry); });
    connect(m_dialler.get(), &Dialler::progressLine, this, [this](const QString &line) { connectDlg().addLine(line); });
    connect(m_dialler.get(), &Dialler::progressEnded, this, [this] { connectDlg().endProgress(); });
    connect(m_dialler.get(), &Dialler::progressFailed, this, [this] { connectDlg().stopAnimation(); });
    connect(m_dialler.get(), &Dialler::errorReported, this,
        [this](const QString &text) { SkinMessageDlg(mtError, text, mbOK | mbCancel, this); });
    connect(m_dialler.get(), &Dialler::busyChanged, this, [](bool busy) {
        if (busy)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QGuiApplication::restoreOverrideCursor();
    });
}

TConnectDlg &Tapp::connectDlg()
{
    if (!m_connectDlg) {
        m_connectDlg = std::make_unique<TConnectDlg>();
        connect(m_connectDlg.get(), &TConnectDlg::cancelRequested, m_dialler.get(), &Dialler::cancelDial);
    }
    return *m_connectDlg;
}

void Tapp::FormCreate()
{
    setApplicationHintTimings();
    const StartupReport report = m_core->loadAll();
    applyApplicationHints(m_core->settings().ShowHint);
    if (report.invalidProviderFile)
        DynaMessageBox(400, 400, mtError, mbOK, kInvalidProvidersText, QStringLiteral("Invalid Data File"),
            QStringLiteral("error"));
    if (!report.budgetsProblems.isEmpty())
        SkinMessageDlg(mtWarning, damagedBudgetsText(report.budgetsProblems, report.budgetsCopyError), mbOK, this);
    if (!report.volumeProblems.isEmpty())
        SkinMessageDlg(mtWarning, damagedVolumePlansText(report.volumeProblems, report.volumeCopyError), mbOK, this);
    if (!report.callVolumeProblems.isEmpty())
        SkinMessageDlg(mtWarning, report.callVolumeProblems.join(QLatin1Char('\r')), mbOK, this);
    if (!report.damagedFiles.isEmpty())
        reportDamagedCalls(report.damagedFiles);
    loadMainPicture();
    m_callLog->loadSkin();
    m_callLog->attach(*m_core, [this] { UpdateProviderDisplay(); });
    m_monitor->setCallLogRefill([this] { m_callLog->FillGridWithLog(); });
    m_monitor->startUp();
    const Settings &settings = m_core->settings();
    if (!settings.LoadMinimised)
        move(settings.MainWindowLeft, settings.MainWindowTop);
    show();
    m_callLog->show();
    m_blind->show();
    dockWindows();
    repaint();
    m_timer.start();
}

void Tapp::loadMainPicture()
{
    if (m_background->loadSkin(QString::fromLatin1(SkinImages::kMainWindow[0].image)))
        return;
    // Missing or damaged: the labels are light, so a plain window would hide them.
    m_background->setPicture(mainWindowFallbackPicture());
    m_background->RebuildOutline();
}

void Tapp::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        FormShow();
    }
}

void Tapp::FormShow()
{
    m_callLog->resize(TCallLog::kWidth, std::max(1, m_core->settings().CallLogHeight));
    keepOnScreen();
    m_core->PlayAppSound(AppSound::Welcome);
}

QRect Tapp::availableScreen() const
{
    const QScreen *here = screen() ? screen() : QGuiApplication::primaryScreen();
    return here ? here->availableGeometry() : QRect();
}

// The position and log height come from the last session, perhaps on a
// larger screen: the main window, the log and the handle must all be
// reachable on this one.
void Tapp::keepOnScreen()
{
    const QRect available = availableScreen();
    if (available.isEmpty())
        return;
    const int fixed = frameGeometry().height() + m_blind->frameGeometry().height();
    if (m_callLog->height() > TCallLog::kHiddenHeight && fixed + m_callLog->height() > available.height())
        m_callLog->resize(TCallLog::kWidth, std::max(1, available.height() - fixed));
    const int stack
        = fixed + (m_callLog->isVisible() || m_callLog->height() > TCallLog::kHiddenHeight ? m_callLog->height() : 0);
    const QRect frame = frameGeometry();
    const int left
        = std::clamp(frame.left(), available.left(), std::max(available.left(), available.right() + 1 - frame.width()));
    const int top = std::clamp(frame.top(), available.top(), std::max(available.top(), available.bottom() + 1 - stack));
    if (left != frame.left() || top != frame.top())
        move(pos() + QPoint(left - frame.left(), top - frame.top()));
    dockWindows();
}

void Tapp::onTick()
{
    m_monitor->tick();
    m_spending->update();
}

void Tapp::UpdateProviderDisplay() { m_monitor->UpdateProviderDisplay(); }

void Tapp::bringToFront()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    if (QWidget *waiting = QApplication::activeModalWidget()) {
        waiting->raise();
        waiting->activateWindow();
    }
}

void Tapp::showMonitor()
{
    const MonitorDisplay &d = m_monitor->display();
    LabelDateTimeNow->setText(d.dateTimeText);
    // Most seconds only the clock moves: the rest is set again only when it changed.
    if (m_shownDisplay) {
        MonitorDisplay clockAside = d;
        clockAside.dateTimeText = m_shownDisplay->dateTimeText;
        if (clockAside == *m_shownDisplay)
            return;
    }
    m_shownDisplay = d;
    LabelStatus->setText(d.statusText);
    LabelStatus->setToolTip(d.statusHint);
    // The provider chooser reads the name back: only the label's look is cut.
    setElidedText(grpSelectedEntry, d.selectedEntry, kSelectedEntryHint);
    setFittedText(LabelCurrentDuration, d.durationText, SkinLook::font(kCallPixels, d.callLabelsBold));
    setFittedText(LabelCurrentCost, d.costText, SkinLook::font(kCallPixels, d.callLabelsBold));
    for (const auto &[label, text] : { std::pair { LabelTodaysTime, &d.todaysTime },
             std::pair { LabelTodaysCost, &d.todaysCost }, std::pair { LabelMonthsTime, &d.monthsTime },
             std::pair { LabelMonthsCost, &d.monthsCost }, std::pair { LabelTodateTime, &d.todateTime },
             std::pair { LabelTodateCost, &d.todateCost }, std::pair { LabelTotalNumOfCalls, &d.totalNumOfCalls } })
        setFittedText(label, *text, SkinLook::font(kTotalPixels));
    // The hint holds the name and the rate whole.
    const int rateRoom = LabelCallTarif->width() - 2;
    if (d.rateCaption != m_rateCaption || rateRoom != m_rateCaptionRoom) {
        LabelCallTarif->setText(LabelCallTarif->fontMetrics().elidedText(d.rateCaption, Qt::ElideRight, rateRoom));
        m_rateCaption = d.rateCaption;
        m_rateCaptionRoom = rateRoom;
    }
    LabelCallTarif->setToolTip(d.rateHint);
    ChargeIndicator->setRange(d.gaugeMin, d.gaugeMax);
    ChargeIndicator->setPosition(d.gaugePosition);
    ScannerLights->setRunning(d.scannerRunning);
    showDialButtonImage(d.dialButtonImage);
    setWindowTitle(d.title);
}

void Tapp::showDialButtonImage(const QString &image)
{
    if (image.isEmpty() || image == m_dialButtonImage)
        return;
    m_dialButtonImage = image;
    QImage picture;
    if (SkinLibrary::LoadSkinImage(picture, image))
        ButtonDial->setBitmapUp(picture);
}

void Tapp::DisableAllButtons()
{
    for (QWidget *owner : { static_cast<QWidget *>(this), static_cast<QWidget *>(m_callLog) })
        for (SkinButton *button : owner->findChildren<SkinButton *>()) {
            // A dialog parented to this window is a window of its own and stays usable.
            if (!button->isEnabled() || button->window() != owner)
                continue;
            button->setEnabled(false);
            m_disabledButtons.append(button);
        }
}

void Tapp::EnableAllButtons()
{
    // Only those disabled here: a button its window had disabled stays so.
    for (const QPointer<SkinButton> &button : std::exchange(m_disabledButtons, {}))
        if (button)
            button->setEnabled(true);
}

void Tapp::runModal(QDialog &dialog)
{
    // The timer runs on, so a call is costed while the dialog is open.
    DisableAllButtons();
    dialog.exec();
    EnableAllButtons();
}

void Tapp::ButtonEditConnectionClick()
{
    TProviderEdit dialog(*m_core, m_dialUp, this);
    runModal(dialog);
    m_core->saveChanges();
    UpdateProviderDisplay();
}

void Tapp::ButtonEditTarifsClick()
{
    TCallCharges dialog(*m_core, this);
    runModal(dialog);
    m_core->saveChanges();
}

void Tapp::ButtonSettingsClick()
{
    TSettings dialog(*m_core, this);
    runModal(dialog);
    m_core->saveChanges();
    m_callLog->refreshCostHeader();
    UpdateProviderDisplay();
}

void Tapp::ButtonSkinsClick()
{
    TAbout dialog(this);
    runModal(dialog);
}

void Tapp::ButtonHelpClick()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(m_core->folders().find(QStringLiteral("help/index.html"))));
}

void Tapp::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F2)
        m_monitor->startFakeCall();
    else if (event->key() == Qt::Key_F3)
        m_monitor->endFakeCall();
    else if (event->key() == Qt::Key_F4)
        m_spending->toggleArmed();
    else
        QWidget::keyPressEvent(event);
}

void Tapp::dockWindows()
{
    const QRect frame = frameGeometry();
    m_callLog->move(frame.left(), frame.top() + frame.height());
    const int below = m_callLog->isVisible() ? m_callLog->frameGeometry().height() : 0;
    m_blind->move(frame.left(), frame.top() + frame.height() + below);
}

void Tapp::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    dockWindows();
}

void Tapp::toggleCallLog()
{
    if (!m_callLog->isVisible() && m_callLog->height() <= TCallLog::kHiddenHeight)
        m_callLog->resize(TCallLog::kWidth, kDesignedCallLogHeight);
    m_callLog->setVisible(!m_callLog->isVisible());
    if (m_callLog->isVisible())
        resizeCallLog(m_callLog->height());
    dockWindows();
}

void Tapp::resizeCallLog(int height)
{
    // Dragged no further than the screen's bottom, so the handle stays in reach.
    const QRect available = availableScreen();
    if (!available.isEmpty())
        height = std::min(
            height, available.bottom() + 1 - frameGeometry().bottom() - 1 - m_blind->frameGeometry().height());
    height = std::max(1, height);
    m_callLog->resize(TCallLog::kWidth, height);
    m_callLog->setVisible(height > TCallLog::kHiddenHeight);
    dockWindows();
}

void Tapp::captureGeometry()
{
    Settings &settings = m_core->settings();
    settings.MainWindowTop = pos().y();
    settings.MainWindowLeft = pos().x();
    settings.CallLogHeight = m_callLog->height();
    settings.CallLogVisible = m_minimisedTogether->wasVisible(m_callLog);
}

bool Tapp::FormClose()
{
    if (SkinMessageDlg(mtConfirm, kExitQuestion, mbYes | mbNo, this) != mrYes)
        return false;
    shutDown(true);
    return true;
}

// However the program ends: the timer stops, a running call is ended and
// logged, and every file is written. Only a user who confirmed the exit is
// asked about a file that cannot be written.
void Tapp::shutDown(bool askOnFailure)
{
    if (std::exchange(m_shutDown, true))
        return;
    m_timer.stop();
    // The running program's message would promise a write that never comes.
    m_core->setSaveFailureHandler({});
    m_monitor->endCallForExit();
    captureGeometry();
    QList<FileError> failures = m_core->saveForExit();
    while (askOnFailure && !failures.isEmpty() && !m_endRequested) {
        const int answer = SkinMessageDlg(
            mtError, exitSaveFailureText(failures, *m_core), mbAbort | mbRetry, this, std::nullopt, mrRetry);
        // A signal ended the question: one more try, then the program ends
        // with what the files took, which agree with each other.
        if (answer != mrRetry && !m_endRequested)
            break;
        failures = m_core->saveForExit();
        if (m_endRequested)
            break;
    }
    for (const FileError &failure : failures)
        qWarning("Dialtally could not write %s: %s", qPrintable(QDir::toNativeSeparators(failure.path)),
            qPrintable(failure.reason));
}

void Tapp::endSession()
{
    m_endRequested = true;
    shutDown(false);
    m_closing = true;
}

void Tapp::closeEvent(QCloseEvent *event)
{
    // At the session's end nobody may be there to answer the question.
    if (!m_closing && m_sessionEnding)
        shutDown(false);
    else if (!m_closing && !FormClose()) {
        event->ignore();
        return;
    }
    m_closing = true;
    event->accept();
    m_callLog->hide();
    m_blind->hide();
    if (m_connectDlg)
        m_connectDlg->hide();
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void Tapp::reportDamagedCalls(const QList<StartupReport::DamagedFile> &files)
{
    QStringList lines;
    for (const StartupReport::DamagedFile &file : files) {
        const QString path = QDir::toNativeSeparators(file.path);
        if (file.records < 0)
            lines << QStringLiteral("%1 cannot be read as calls: its calls are not counted.").arg(path);
        else if (file.records == 1)
            lines << QStringLiteral("%1: 1 call is damaged.").arg(path);
        else
            lines << QStringLiteral("%1: %2 calls are damaged.").arg(path).arg(file.records);
    }
    SkinMessageDlg(mtWarning,
        lines.join(QLatin1Char('\r'))
            + QStringLiteral("\r\rDamaged calls have dates, times or costs no call can have. They are left in "
                             "the file as they are, but not shown or counted in any total."),
        mbOK, this);
}

void Tapp::reportArchivedCalls(int calls, const QString &archivePath)
{
    SkinMessageDlg(mtAdvice,
        QStringLiteral("The call log is full.\r\rThe %1 oldest calls have been moved to\r%2\rto make room "
                       "for new calls.")
            .arg(calls)
            .arg(QDir::toNativeSeparators(archivePath)),
        mbOK, this);
}

void Tapp::reportProviderTableFull(const QString &entry)
{
    if (m_shutDown)
        return;
    const ProviderTable &providers = m_core->providers();
    const QString selected = providers.Count > 0 && providers.Current < providers.Count
        ? providers.records[providers.Current].Name.text()
        : QString();
    SkinMessageDlg(mtWarning, ProviderRegistry::tableFullText(entry, selected), mbOK, this);
}

void Tapp::reportSaveFailure(const FileError &error)
{
    // The exit has its own question about the files it could not write.
    if (m_shutDown)
        return;
    SkinMessageDlg(mtError,
        QStringLiteral("Dialtally could not write the file\r%1\r\r%2\r\rYour data is kept in memory and "
                       "will be written again at the end of the next call and when the program closes.")
            .arg(QDir::toNativeSeparators(error.path), error.reason),
        mbOK, this);
}
