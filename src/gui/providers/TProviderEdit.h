#pragma once

#include "core/app/AppCore.h"
#include "core/providers/ProviderAccountForm.h"
#include "core/providers/ProviderRegistry.h"
#include "core/services/DialUpService.h"

#include <QDialog>
#include <QImage>

#include <array>
#include <memory>

class ProviderDataPlan;
class ProviderSpending;
class QAbstractButton;
class QCalendarWidget;
class QLabel;
class QLineEdit;
class QSpinBox;
class QToolButton;

// The provider account dialog: the counters and the account of the selected
// provider (the table's `Current`), in a display mode and an edit mode.
// It works on the provider table in memory; stepping to another provider
// selects it for the main window too.
class TProviderEdit final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TProviderEdit)

public:
    TProviderEdit(AppCore &core, dialup::DialUpService &service, QWidget *parent = nullptr);
    ~TProviderEdit() override;

    bool isEditing() const;

public slots:
    // Esc and the window's own close leave edit mode first, discarding the edits.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // The counter rows: Today, This Month, Todate.
    struct CounterRow {
        QLabel *duration;
        QLabel *cost;
        QLabel *calls;
        QLineEdit *durationEdit;
        QLineEdit *costEdit;
        QLineEdit *callsEdit;
    };

    void buildControls();
    void loadSkin();
    QLabel *addLabel(const QString &name, const QString &text, const QRect &rect, Qt::Alignment alignment);
    QLineEdit *addEdit(const QString &name, const QRect &rect);
    QAbstractButton *addButton(
        const QString &name, const QString &caption, const QRect &rect, void (TProviderEdit::*handler)());

    void FormShow();
    void UpdateProviderDisplay();
    void CalcTodateProviderCost();
    void ButtonEditClick();
    void ButtonSaveClick();
    void ButtonCancelClick();
    void ButtonCloseClick();
    void onPreviousProviderClicked();
    void onNextProviderClicked();
    void ButtonEditConnectionClick();
    void onMonthlyFeeChanged();
    void onExtraPerHourChanged();
    void onHourLimitChanged();
    void onStartDateChosen(const QDate &date);

    bool hasProvider() const;
    Provider &provider();
    void setEditMode(bool editing);
    void loadEditControls(const Provider &record);
    static void loadAmount(QLineEdit *field, const QString &text);
    static void loadSpin(QSpinBox *spin, int value, int minimum, int maximum);
    void loadDisplayLabels(const Provider &record);
    AccountForm formFromControls() const;
    QWidget *editControlOf(AccountField field) const;
    void openCalendar();

    AppCore &m_core;
    dialup::DialUpService &m_service;
    ProviderRegistry m_registry;
    QImage m_background;
    // The edit fields' texts as loaded: a field still holding its text was
    // not touched, and saving keeps the live value (a running call adds to
    // the totals meanwhile).
    AccountForm m_loaded;

    QLabel *m_heading = nullptr;
    std::array<CounterRow, 3> m_rows {};
    std::array<QLabel *, 6> m_currencyLabels {};
    QLabel *m_chargesTodate = nullptr;
    QLabel *m_startedOn = nullptr;
    QLabel *m_monthlyFee = nullptr;
    QLabel *m_monthStartDay = nullptr;
    QLabel *m_hourLimit = nullptr;
    QLabel *m_extraPerHour = nullptr;
    QLineEdit *m_dateEdit = nullptr; // DateEdit1
    QToolButton *m_calendarButton = nullptr;
    QCalendarWidget *m_calendar = nullptr;
    QLineEdit *m_feeEdit = nullptr; // CurrencyEdit1
    QLineEdit *m_extraEdit = nullptr; // CurrencyEdit2
    QSpinBox *m_hourLimitSpin = nullptr; // SpinEdit1
    QSpinBox *m_startDaySpin = nullptr; // SpinEdit2
    QAbstractButton *m_save = nullptr;
    QAbstractButton *m_cancel = nullptr;
    QAbstractButton *m_edit = nullptr;
    QAbstractButton *m_editConnect = nullptr;
    QAbstractButton *m_close = nullptr;
    QAbstractButton *m_previous = nullptr;
    QAbstractButton *m_next = nullptr;
    std::unique_ptr<ProviderSpending> m_spending;
    std::unique_ptr<ProviderDataPlan> m_dataPlan;
    bool m_shownOnce = false;
};
