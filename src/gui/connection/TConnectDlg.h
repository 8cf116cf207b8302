#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class QMovie;
class TCutTransImage;
class TGTabButton;

// Shows the progress of the program's own dial, one line per state. Made
// once at start-up and shown and hidden as dials start and end; cancelling
// (the button or a click on the animation) asks for a hang-up.
class TConnectDlg final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TConnectDlg)

public:
    explicit TConnectDlg(QWidget *parent = nullptr);

    // Shows the window centred on the screen for `entry`, its list emptied
    // and its animation running.
    void showProgress(const QString &entry);
    void addLine(const QString &line);
    // Hides the window and stops the animation.
    void endProgress();
    // The dial failed: the window stays, showing why, and stands still.
    void stopAnimation();

    TCutTransImage *background; // background, outline and drag
    QLabel *entryName; // the connection's name
    QLabel *animationLabel; // "connecting.gif", when the skin has it
    QListWidget *statusLines; // status lines
    TGTabButton *cancelButton; // cancel

signals:
    void cancelRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QMovie *m_movie = nullptr;
};
