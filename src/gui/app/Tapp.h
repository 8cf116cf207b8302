#pragma once

#include "app/AppCore.h"
#include "connection/CallMonitor.h"

#include <QTimer>
#include <QWidget>

#include <memory>

class QLabel;
class TBlind;
class TCallLog;
class TCutTransImage;

// The main window. It owns the application's state (through AppCore), keeps
// the call log and its handle docked beneath itself, and runs the
// once-a-second timer.
class Tapp final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tapp)

public:
    // `programPath` is the executable; every file lives in its folder.
    Tapp(const QString &programPath, AppServices services, TCallLog *callLog, TBlind *blind);
    ~Tapp() override;

    AppCore &core() { return *m_core; }
    QTimer &timer() { return m_timer; }
    CallMonitor &monitor() { return *m_monitor; }

    // Places the call log under the main window and the handle under the log.
    void dockWindows();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    bool FormClose();
    void FormDestroy();
    void Timer1Timer();
    void toggleCallLog();
    void resizeCallLog(int height);
    void reportSaveFailure(const FileError &error);
    void captureGeometry();
    void showMonitor();
    void reportArchivedCalls(int calls, const QString &archivePath);

    std::unique_ptr<AppCore> m_core;
    std::unique_ptr<CallMonitor> m_monitor;
    TCallLog *m_callLog;
    TBlind *m_blind;
    TCutTransImage *CutTransImage1;
    QTimer m_timer;
    QLabel *m_labelStatus;
    QLabel *m_labelDateTimeNow;
    QLabel *m_labelCurrentDuration;
    QLabel *m_labelCurrentCost;
    QLabel *m_labelCallTarif;
    int m_callLogHeightAtPress = 0; // while the handle is dragged
    bool m_shownOnce = false;
    bool m_closing = false;
};
