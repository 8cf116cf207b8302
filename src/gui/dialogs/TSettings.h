#pragma once

#include "core/app/SettingsEdit.h"

#include <QDialog>
#include <QImage>

#include <array>

class AppCore;
class OnOffSwitch;
class QLabel;
class QLineEdit;
class TGFocusButton;

// The settings dialog: eight switches and the user's currency symbol. Save
// applies the choices to the settings in memory (hints, sounds, title display
// and the currency text at once); Cancel leaves everything as it was. The
// caller refreshes its own displays after exec() returns, either way.
class TSettings final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSettings)

public:
    TSettings(AppCore &core, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void ButtonOkayClick();
    void ButtonCloseClick();
    void switchClicked(int index, bool on);
    void showChoices();

    AppCore &m_core;
    SettingsEdit m_choices;
    QImage m_background;
    std::array<OnOffSwitch *, kSettingsSwitchCount> m_switches {};
    QLineEdit *m_userSymbol;
    QLabel *m_defaultSymbol;
    TGFocusButton *m_buttonOkay;
    TGFocusButton *m_buttonClose;
};
