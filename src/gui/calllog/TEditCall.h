#pragma once

#include <QDialog>

class AppCore;
class QDateEdit;
class QLabel;
class QLineEdit;
class TCutTransImage;
class TGFocusButton;

// The call edit dialog: times, dates, duration and cost of one logged call.
// Save writes the record in memory once the fields pass their checks (it
// reaches Log.data with the next save of the data files); Cancel changes
// nothing.
class TEditCall final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TEditCall)

public:
    // `SelectedCall` is the record's index in the log.
    TEditCall(AppCore &core, int SelectedCall, QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void onSaveClicked();
    void onCancelClicked();
    QLineEdit *makeField(const char *name, const QRect &rect, const QString &mask);
    QDateEdit *makeDateField(const char *name, const QRect &rect);

    AppCore &m_core;
    int m_selectedCall;
    TCutTransImage *m_background;
    QLabel *m_connectionLabel;
    QLineEdit *m_startTimeEdit;
    QDateEdit *m_startDateEdit;
    QLineEdit *m_endTimeEdit;
    QDateEdit *m_endDateEdit;
    QLineEdit *m_durationEdit;
    QLineEdit *m_costEdit;
    TGFocusButton *m_saveButton;
    TGFocusButton *m_cancelButton;
};
