#pragma once

#include "core/tariffs/TariffEditor.h"
#include "gui/tariffs/TariffGridPainter.h"

#include <QDialog>

#include <array>
#include <initializer_list>

class AppCore;
class QButtonGroup;
class QDateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QRect;
class QSlider;
class QSpinBox;
class QTableView;
class TCutTransImage;
class TGFocusButton;
class TGShape;
class TariffColourStrip;
class TariffGridModel;
class TwoDigitSpinBox;

// The tariff editor: lists, creates, changes and deletes the tariffs of the
// table in memory. It writes no file; the main window saves the table at the
// end of a call and at exit. Opened modally by the main window.
class TCallCharges final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCallCharges)

public:
    explicit TCallCharges(AppCore &core, QWidget *parent = nullptr);
    ~TCallCharges() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct TimeFields {
        TwoDigitSpinBox *hours;
        TwoDigitSpinBox *minutes;
        TwoDigitSpinBox *seconds;
    };
    struct Picker {
        QLabel *label;
        TGFocusButton *minus;
        TGFocusButton *plus;
    };

    void FormCreate();
    void buildDetailArea();
    void buildKindArea();
    void buildButtons();
    void buildGrid();
    TimeFields makeTimeFields(const QString &name, const QRect &hours, const QRect &minutes, const QRect &seconds);
    QLabel *makeLabel(const char *name, const QRect &rect);
    TGFocusButton *makeButton(const char *name, const QString &caption, const QRect &rect, QWidget *parent = nullptr);
    TGFocusButton *makeDropDown(const char *name, const char *tip, const QRect &rect, QLabel *anchor, QMenu *&menu,
        std::initializer_list<const char *> choices, void (TCallCharges::*choose)(std::uint8_t));
    QLineEdit *makeMoneyField(const char *name, const char *tip, const QRect &rect);
    void loadMoneyField(QLineEdit *field, MoneyValue &loaded, MoneyValue amount);
    void setTimeFields(const TimeFields &fields, std::int32_t seconds);
    void setSwatch(std::uint32_t colour);

    void UpdateTarifDisplay();
    void clearTarifDisplay();
    void showKindDefaults();
    void ShowEditFields();
    void HideEditFields();
    void ShowEditButtons();
    void HideEditButtons();
    void setEditFieldsShown(bool shown);
    void setEditButtonStates(bool editing);
    void FillGridWithData();
    void sizeLastColumn();
    void selectGridRow(int row);

    void ButtonNewClick();
    void ButtonEditClick();
    void ButtonSaveClick();
    void ButtonCancelClick();
    void ButtonDeleteClick();
    void ButtonCloseClick();
    void sgSelectCell(int row);
    void onRowSliderMoved(int position);

    void chooseUnit(std::uint8_t unitKind);
    void chooseCharge(std::uint8_t chargeKind);
    void chooseKind(int kind);
    void colourKinds(int kind);
    void showDaySet(std::uint32_t daySet);
    void showDaysLabel();
    void daysChecked();
    void toggleDaysList();
    void hideDaysList();
    void setDay(std::uint32_t day);
    void setMonth(std::uint32_t month);
    void setYear(std::uint32_t year);

    TariffEdit editFromFields();
    bool answerProblem(TariffEditProblem problem);
    QString problemText(TariffEditProblem problem) const;
    bool editing() const;

    AppCore &m_core;
    TariffEditor m_editor;
    TariffGridPainter m_gridPainter;

    TCutTransImage *m_background = nullptr;

    QLabel *LabelName = nullptr;
    QLabel *LabelStart = nullptr;
    QLabel *LabelFinish = nullptr;
    QLabel *LabelUnit = nullptr;
    QLabel *LabelSecondsPerPulse = nullptr;
    QLabel *LabelCharge = nullptr;
    QLabel *LabelCostCaption = nullptr;
    QLabel *LabelCost = nullptr;
    QLabel *LabelMinCharge = nullptr;
    TGShape *ShapeColour = nullptr;

    QLineEdit *EditName = nullptr;
    TimeFields m_start {};
    TimeFields m_finish {};
    TGFocusButton *ButtonUnit = nullptr;
    QMenu *MenuUnit = nullptr;
    QSpinBox *EditSecondsPerPulse = nullptr;
    TGFocusButton *ButtonCharge = nullptr;
    QMenu *MenuCharge = nullptr;
    QLineEdit *EditUnitCost = nullptr;
    QLineEdit *EditMinCharge = nullptr;
    TariffColourStrip *ColourStrip = nullptr;

    QButtonGroup *m_kindGroup = nullptr;
    std::array<QLabel *, 7> m_kindCaptions {};
    QLabel *LabelDays = nullptr;
    TGFocusButton *ButtonDays = nullptr;
    QFrame *PanelDays = nullptr;
    QListWidget *CheckListDays = nullptr;
    Picker m_dayPicker {};
    Picker m_monthPicker {};
    Picker m_yearPicker {};
    QLabel *LabelDate = nullptr;
    QDateEdit *DateSpecific = nullptr;
    QLabel *LabelDateFrom = nullptr;
    QDateEdit *DateFrom = nullptr;
    QLabel *LabelDateTo = nullptr;
    QDateEdit *DateTo = nullptr;

    TGFocusButton *ButtonClose = nullptr;
    TGFocusButton *ButtonNew = nullptr;
    TGFocusButton *ButtonEdit = nullptr;
    TGFocusButton *ButtonDelete = nullptr;
    TGFocusButton *ButtonSave = nullptr;
    TGFocusButton *ButtonCancel = nullptr;

    QTableView *sg = nullptr;
    TariffGridModel *m_model = nullptr;
    QSlider *m_rowSlider = nullptr;

    std::uint8_t m_unitKind = 1; // held by the unit label
    std::uint8_t m_chargeKind = 1; // held by the charge label
    int m_kind = 1;
    std::uint32_t m_daySet = 96;
    std::uint32_t m_day = 1;
    std::uint32_t m_month = 1;
    std::uint32_t m_year = 1999;
    MoneyValue m_unitCostLoaded = 0; // what the money fields were loaded with
    MoneyValue m_minChargeLoaded = 0;
    bool m_settingSlider = false;
    bool m_sizingColumns = false;
};
