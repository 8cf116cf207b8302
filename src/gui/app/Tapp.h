#pragma once

#include "core/app/AppCore.h"
#include "core/connection/CallMonitor.h"
#include "core/connection/Dialler.h"
#include "core/spending/SpendingWatch.h"
#include "gui/controls/SkinButton.h"

#include <QList>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>

class ClockText;
class LedGauge;
class LightScanner;
class MinimisedTogether;
class ProviderChooser;
class QDialog;
class QLabel;
class TBlind;
class TCallLog;
class TConnectDlg;
class TCutTransImage;
class TGShape;
class TGTabButton;

// The main window. It owns the application's state (through AppCore), keeps
// the call log and its handle docked beneath itself, and runs the
// once-a-second timer. It draws what the monitor and the dialler decide and
// forwards the user's clicks to them.
class Tapp final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tapp)

public:
    // `programPath` is the executable; every file lives in its folder.
    Tapp(const QString &programPath, AppServices services, TCallLog *callLog, TBlind *blind);
    Tapp(const ProgramFolders &folders, AppServices services, TCallLog *callLog, TBlind *blind);
    ~Tapp() override;

    AppCore &core() { return *m_core; }
    QTimer &timer() { return m_timer; }
    CallMonitor &monitor() { return *m_monitor; }
    Dialler &dialler() { return *m_dialler; }
    SpendingWatch &spending() { return *m_spending; }
    // The dialling progress window, made the first time it is asked for.
    TConnectDlg &connectDlg();

    // Places the call log under the main window and the handle under the log.
    void dockWindows();

    void UpdateProviderDisplay();
    // Another start asked for this program: out of the task bar and in front,
    // with the dialog that waits for an answer, if any, in front of it.
    void bringToFront();
    // The system asks the program to end (a signal): what a confirmed exit
    // does, without the question. Ending the event loops is the caller's.
    void endSession();
    // Every skinned button of the main window and of the call log window;
    // enabling gives back those that disabling took.
    void DisableAllButtons();
    void EnableAllButtons();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildControls();
    TGTabButton *addButton(const char *name, const char *images, const QRect &rect, const char *hint);
    QLabel *addLabel(const char *name, const QString &caption, const QRect &rect, int pixelSize, QRgb colour,
        Qt::Alignment alignment, bool bold = false);
    void connectDialler();
    void FormCreate();
    void loadMainPicture();
    void FormShow();
    bool FormClose();
    void shutDown(bool askOnFailure);
    void onTick();
    void runModal(QDialog &dialog);
    void ButtonEditConnectionClick();
    void ButtonEditTarifsClick();
    void ButtonSettingsClick();
    void ButtonSkinsClick();
    void ButtonHelpClick();
    void toggleCallLog();
    void resizeCallLog(int height);
    QRect availableScreen() const;
    void keepOnScreen();
    void reportSaveFailure(const FileError &error);
    void reportProviderTableFull(const QString &entry);
    void captureGeometry();
    void showMonitor();
    void showDialButtonImage(const QString &image);
    void reportArchivedCalls(int calls, const QString &archivePath);
    void reportDamagedCalls(const QList<StartupReport::DamagedFile> &files);

    std::unique_ptr<AppCore> m_core;
    dialup::DialUpService &m_dialUp;
    std::unique_ptr<CallMonitor> m_monitor;
    std::unique_ptr<Dialler> m_dialler;
    std::unique_ptr<SpendingWatch> m_spending;
    TCallLog *m_callLog;
    TBlind *m_blind;
    TCutTransImage *m_background;
    QTimer m_timer;
    TGTabButton *ButtonDial = nullptr;
    QLabel *grpSelectedEntry = nullptr;
    QLabel *LabelStatus = nullptr;
    ClockText *LabelDateTimeNow = nullptr;
    QLabel *LabelCurrentDuration = nullptr;
    QLabel *LabelCurrentCost = nullptr;
    QLabel *LabelCallTarif = nullptr;
    QLabel *LabelTodaysTime = nullptr;
    QLabel *LabelTodaysCost = nullptr;
    QLabel *LabelMonthsTime = nullptr;
    QLabel *LabelMonthsCost = nullptr;
    QLabel *LabelTodateTime = nullptr;
    QLabel *LabelTodateCost = nullptr;
    QLabel *LabelTotalNumOfCalls = nullptr;
    LedGauge *ChargeIndicator = nullptr;
    LightScanner *ScannerLights = nullptr;
    std::unique_ptr<ProviderChooser> m_providerChooser;
    std::unique_ptr<TConnectDlg> m_connectDlg;
    MinimisedTogether *m_minimisedTogether = nullptr;
    QList<QPointer<SkinButton>> m_disabledButtons; // by DisableAllButtons, until enabled again
    QString m_dialButtonImage; // the skin image on the dial button now
    std::optional<MonitorDisplay> m_shownDisplay; // what the labels show now; none: set them all again
    // The tariff's caption as last cut to its label's width: set every second, measured only when changed.
    QString m_rateCaption;
    int m_rateCaptionRoom = -1;
    int m_callLogHeightAtPress = 0; // while the handle is dragged
    bool m_shownOnce = false;
    bool m_closing = false;
    bool m_shutDown = false; // the call is ended and the files written
    bool m_sessionEnding = false; // the desktop asked for our data: no exit question
    bool m_endRequested = false; // a signal: the program ends whatever is open
};
