#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;
class TCutTransImage;

// Shows the progress of the program's own dial, one line per state.
class TConnectDlg final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TConnectDlg)

public:
    explicit TConnectDlg(QWidget *parent = nullptr);

    TCutTransImage *CutTransImage1; // background, outline and drag
    QLabel *Label2;          // the connection's name
    QListWidget *ListBox1;   // status lines
    QPushButton *GTabButton1; // cancel

signals:
    void cancelRequested();
};
