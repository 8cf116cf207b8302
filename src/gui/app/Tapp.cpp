#include "app/Tapp.h"

#include "calllog/TCallLog.h"
#include "ui/MessageDialogs.h"
#include "ui/TBlind.h"
#include "ui/TCutTransImage.h"
#include "ui/WindowOutline.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace {

const QString kExitQuestion = QStringLiteral("If you close Dialtally then this program\r"
                                             "cannot monitor and log your connections\r"
                                             "from other programs\r"
                                             "\r"
                                             "Are you sure you want to exit?");

const QString kInvalidProvidersText = QStringLiteral(
    "The Providers Data File (Providers.data) used for Dialtally is Invalid.\r"
    "I have renamed this file to \"MyInvalidFile.old\" so when the program exits, a new file will be created");

} // namespace

Tapp::Tapp(const QString &programPath, AppServices services, TCallLog *callLog, TBlind *blind)
    : QWidget(nullptr, Qt::FramelessWindowHint)
    , m_core(std::make_unique<AppCore>(programPath, services))
    , m_monitor(std::make_unique<CallMonitor>(*m_core, services.dialUp, services.clock))
    , m_callLog(callLog)
    , m_blind(blind)
    , CutTransImage1(new TCutTransImage(this))
    , m_labelStatus(new QLabel(QStringLiteral("Not Connected"), this))
    , m_labelDateTimeNow(new QLabel(QStringLiteral("."), this))
    , m_labelCurrentDuration(new QLabel(QStringLiteral("00:00:00"), this))
    , m_labelCurrentCost(new QLabel(QStringLiteral("-"), this))
    , m_labelCallTarif(new QLabel(this))
{
    setObjectName(QStringLiteral("Tapp"));
    setWindowTitle(QStringLiteral("Dialtally"));
    m_labelStatus->setObjectName(QStringLiteral("LabelStatus"));
    m_labelDateTimeNow->setObjectName(QStringLiteral("LabelDateTimeNow"));
    m_labelCurrentDuration->setObjectName(QStringLiteral("LabelCurrentDuration"));
    m_labelCurrentCost->setObjectName(QStringLiteral("LabelCurrentCost"));
    m_labelCallTarif->setObjectName(QStringLiteral("LabelCallTarif"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_labelStatus);
    layout->addWidget(m_labelDateTimeNow);
    layout->addWidget(m_labelCurrentDuration);
    layout->addWidget(m_labelCurrentCost);
    layout->addWidget(m_labelCallTarif);
    setFixedSize(TCallLog::kWidth, 200);
    CutTransImage1->setTransColor(QColor::fromRgb(kSkinKeyColour));

    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &Tapp::Timer1Timer);
    connect(m_blind, &TBlind::clicked, this, &Tapp::toggleCallLog);
    connect(m_blind, &TBlind::dragStarted, this,
            [this] { m_callLogHeightAtPress = m_callLog->isVisible() ? m_callLog->height() : 0; });
    connect(m_blind, &TBlind::dragMoved, this, [this](int dy) { resizeCallLog(m_callLogHeightAtPress + dy); });
    connect(m_callLog, &TCallLog::resized, this, &Tapp::dockWindows);
    m_core->setSaveFailureHandler([this](const FileError &error) { reportSaveFailure(error); });
    connect(m_monitor.get(), &CallMonitor::displayChanged, this, &Tapp::showMonitor);
    // Queued: the tick that logged the call finishes before the message waits for the user.
    connect(m_monitor.get(), &CallMonitor::oldCallsArchived, this, &Tapp::reportArchivedCalls, Qt::QueuedConnection);
    FormCreate();
}

Tapp::~Tapp()
{
    if (m_closing)
        FormDestroy();
}

void Tapp::FormCreate()
{
    const StartupReport report = m_core->loadAll();
    if (report.invalidProviderFile)
        DynaMessageBox(400, 400, mtError, mbOK, kInvalidProvidersText, QStringLiteral("Invalid Data File"),
                       QStringLiteral("error"));
    CutTransImage1->loadSkin(QStringLiteral("main"));
    m_callLog->loadSkin();
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
    m_core->PlayAppSound(AppSound::Welcome);
}

void Tapp::Timer1Timer()
{
    m_monitor->Timer1Timer();
}

void Tapp::showMonitor()
{
    const MonitorDisplay &d = m_monitor->display();
    m_labelDateTimeNow->setText(d.dateTimeText);
    m_labelStatus->setText(d.statusText);
    m_labelStatus->setToolTip(d.statusHint);
    m_labelCurrentDuration->setText(d.durationText);
    m_labelCurrentCost->setText(d.costText);
    for (QLabel *label : {m_labelCurrentDuration, m_labelCurrentCost}) {
        QFont font = label->font();
        font.setBold(d.callLabelsBold);
        label->setFont(font);
    }
    m_labelCallTarif->setText(d.rateCaption);
    m_labelCallTarif->setToolTip(d.rateHint);
    setWindowTitle(d.title);
}

void Tapp::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F2)
        m_monitor->startFakeCall();
    else if (event->key() == Qt::Key_F3)
        m_monitor->endFakeCall();
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
    dockWindows();
}

void Tapp::resizeCallLog(int height)
{
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
    settings.CallLogVisible = m_callLog->isVisible();
}

bool Tapp::FormClose()
{
    if (SkinMessageDlg(mtConfirm, kExitQuestion, mbYes | mbNo, this) != mrYes)
        return false;
    m_timer.stop();
    m_monitor->endCallForExit();
    captureGeometry();
    m_core->SaveSettings();
    return true;
}

void Tapp::closeEvent(QCloseEvent *event)
{
    if (m_closing || FormClose()) {
        m_closing = true;
        event->accept();
        m_callLog->hide();
        m_blind->hide();
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    } else {
        event->ignore();
    }
}

void Tapp::FormDestroy()
{
    m_core->SaveAppData();
    m_core->SaveLogData();
    m_core->SaveTarifData();
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

void Tapp::reportSaveFailure(const FileError &error)
{
    SkinMessageDlg(mtError,
                   QStringLiteral("Dialtally could not write the file\r%1\r\r%2\r\rYour data is kept in memory and "
                                  "will be written again at the end of the next call and when the program closes.")
                       .arg(QDir::toNativeSeparators(error.path), error.reason),
                   mbOK, this);
}
