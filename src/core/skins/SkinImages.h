#pragma once

#include "core/skins/SkinLayout.h"

#include <QList>
#include <QRect>

#include <array>

// The skin images by window: which control takes each image and in which
// order they are loaded.

// Where a loaded image goes.
enum class SkinSlot {
    Picture, // the control's picture (a background or a menu piece)
    Up, // a three-image button's up image
    Down, // its down image
    Hot, // its hot image, while the mouse is over it
};

struct SkinImageUse {
    const char *image; // file name without ".bmp" / ".ubm"
    const char *control; // layout name of the control
    SkinSlot slot;
    QSize size; // the size the default skin draws it at
};

namespace SkinImages {

namespace Main = SkinLayout::MainWindow;

// LoadSkins: the main window's images in loading order. After "main" the
// window rebuilds its outline, whether or not the image was found.
inline constexpr std::array<SkinImageUse, 39> kMainWindow { {
    { "main", "CutTransImage1", SkinSlot::Picture, Main::kSize },
    { "dial_hot", "ButtonDial", SkinSlot::Hot, Main::ButtonDial.size() },
    { "dial_up", "ButtonDial", SkinSlot::Up, Main::ButtonDial.size() },
    { "dial_down", "ButtonDial", SkinSlot::Down, Main::ButtonDial.size() },
    { "prov_down", "ButtonChooseProvider", SkinSlot::Down, Main::ButtonChooseProvider.size() },
    { "prov_up", "ButtonChooseProvider", SkinSlot::Up, Main::ButtonChooseProvider.size() },
    { "prov_hot", "ButtonChooseProvider", SkinSlot::Hot, Main::ButtonChooseProvider.size() },
    { "MenuBack", "Image_menuback", SkinSlot::Picture, Main::kMenuItemSize },
    { "MenuHigh", "Image_menuhighlight", SkinSlot::Picture, Main::kMenuItemSize },
    { "MenuSetting_hot", "ButtonSettings", SkinSlot::Hot, Main::ButtonSettings.size() },
    { "MenuSetting_down", "ButtonSettings", SkinSlot::Down, Main::ButtonSettings.size() },
    { "MenuSetting_up", "ButtonSettings", SkinSlot::Up, Main::ButtonSettings.size() },
    { "MenuNew_hot", "ButtonNewConnection", SkinSlot::Hot, Main::ButtonNewConnection.size() },
    { "MenuNew_down", "ButtonNewConnection", SkinSlot::Down, Main::ButtonNewConnection.size() },
    { "MenuNew_up", "ButtonNewConnection", SkinSlot::Up, Main::ButtonNewConnection.size() },
    { "MenuTariffs_hot", "ButtonEditTarifs", SkinSlot::Hot, Main::ButtonEditTarifs.size() },
    { "MenuTariffs_down", "ButtonEditTarifs", SkinSlot::Down, Main::ButtonEditTarifs.size() },
    { "MenuTariffs_up", "ButtonEditTarifs", SkinSlot::Up, Main::ButtonEditTarifs.size() },
    { "MenuProvider_hot", "ButtonEditConnection", SkinSlot::Hot, Main::ButtonEditConnection.size() },
    { "MenuProvider_down", "ButtonEditConnection", SkinSlot::Down, Main::ButtonEditConnection.size() },
    { "MenuProvider_up", "ButtonEditConnection", SkinSlot::Up, Main::ButtonEditConnection.size() },
    { "MenuSkins_hot", "ButtonSkins", SkinSlot::Hot, Main::ButtonSkins.size() },
    { "MenuSkins_down", "ButtonSkins", SkinSlot::Down, Main::ButtonSkins.size() },
    { "MenuSkins_up", "ButtonSkins", SkinSlot::Up, Main::ButtonSkins.size() },
    { "MenuHelp_hot", "ButtonHelp", SkinSlot::Hot, Main::ButtonHelp.size() },
    { "MenuHelp_down", "ButtonHelp", SkinSlot::Down, Main::ButtonHelp.size() },
    { "MenuHelp_up", "ButtonHelp", SkinSlot::Up, Main::ButtonHelp.size() },
    { "Minimise_hot", "ButtonMinimise", SkinSlot::Hot, Main::ButtonMinimise.size() },
    { "Minimise_down", "ButtonMinimise", SkinSlot::Down, Main::ButtonMinimise.size() },
    { "Minimise_up", "ButtonMinimise", SkinSlot::Up, Main::ButtonMinimise.size() },
    { "Close_hot", "ButtonClose", SkinSlot::Hot, Main::ButtonClose.size() },
    { "Close_down", "ButtonClose", SkinSlot::Down, Main::ButtonClose.size() },
    { "Close_up", "ButtonClose", SkinSlot::Up, Main::ButtonClose.size() },
    { "BallProvider_hot", "ButtonChooseConnection", SkinSlot::Hot, Main::ButtonChooseConnection.size() },
    { "BallProvider_down", "ButtonChooseConnection", SkinSlot::Down, Main::ButtonChooseConnection.size() },
    { "BallProvider_up", "ButtonChooseConnection", SkinSlot::Up, Main::ButtonChooseConnection.size() },
    { "BallTariffs_hot", "ButtonEditTarifs2", SkinSlot::Hot, Main::ButtonEditTarifs2.size() },
    { "BallTariffs_down", "ButtonEditTarifs2", SkinSlot::Down, Main::ButtonEditTarifs2.size() },
    { "BallTariffs_up", "ButtonEditTarifs2", SkinSlot::Up, Main::ButtonEditTarifs2.size() },
} };

// Reloaded into ButtonDial's up image as a call is dialled, costed and ended;
// not part of LoadSkins.
inline constexpr const char *kDialling = "dial_hot";
inline constexpr const char *kHangUp = "dial_hangup";
inline constexpr const char *kDialUp = "dial_up";

namespace Log = SkinLayout::CallLogWindow;

// Loaded by the main window right after LoadSkins.
inline constexpr std::array<SkinImageUse, 10> kCallLog { {
    { "CallLog", "Image1", SkinSlot::Picture, Log::kImageSize },
    { "CallLogEdit_up", "ButtonEdit", SkinSlot::Up, Log::ButtonEdit.size() },
    { "CallLogEdit_down", "ButtonEdit", SkinSlot::Down, Log::ButtonEdit.size() },
    { "CallLogEdit_hot", "ButtonEdit", SkinSlot::Hot, Log::ButtonEdit.size() },
    { "CallLogDelete_up", "ButtonDelete", SkinSlot::Up, Log::ButtonDelete.size() },
    { "CallLogDelete_down", "ButtonDelete", SkinSlot::Down, Log::ButtonDelete.size() },
    { "CallLogDelete_hot", "ButtonDelete", SkinSlot::Hot, Log::ButtonDelete.size() },
    { "CallLogClear_up", "ButtonClear", SkinSlot::Up, Log::ButtonClear.size() },
    { "CallLogClear_down", "ButtonClear", SkinSlot::Down, Log::ButtonClear.size() },
    { "CallLogClear_hot", "ButtonClear", SkinSlot::Hot, Log::ButtonClear.size() },
} };

// One background each, loaded when the window is created.
inline constexpr SkinImageUse kHandle { "Handle", "CutTransImage1", SkinSlot::Picture, SkinLayout::Handle::kSize };
inline constexpr SkinImageUse kEditLog { "EditLog", "CutTransImage1", SkinSlot::Picture,
    SkinLayout::EditCallDialog::kSize };
inline constexpr SkinImageUse kSettings { "Settings", "CutTransImage1", SkinSlot::Picture,
    SkinLayout::SettingsDialog::kSize };
inline constexpr SkinImageUse kProvider { "Provider", "CutTransImage1", SkinSlot::Picture,
    SkinLayout::ProviderDialog::kSize };
inline constexpr SkinImageUse kConnection { "connection", "CutTransImage1", SkinSlot::Picture,
    SkinLayout::ConnectDialog::kSize };
inline constexpr SkinImageUse kTariff { "Tariff", "CutTransImage1", SkinSlot::Picture,
    SkinLayout::TariffEditor::kSize };

// The message dialog's background by message kind 0..3.
inline constexpr std::array<SkinImageUse, 4> kMessageKinds { {
    { "Warning", "Image_Dlg", SkinSlot::Picture, SkinLayout::MessageDialog::kSize },
    { "Error", "Image_Dlg", SkinSlot::Picture, SkinLayout::MessageDialog::kSize },
    { "Advice", "Image_Dlg", SkinSlot::Picture, SkinLayout::MessageDialog::kSize },
    { "Confirm", "Image_Dlg", SkinSlot::Picture, SkinLayout::MessageDialog::kSize },
} };

// The dialling animation, in the skin folder beside the images (optional).
inline constexpr const char *kConnectingAnimation = "connecting.gif";

// Every image a skin can hold, each once, "dial_hangup" included.
[[nodiscard]] QList<SkinImageUse> allImages();

} // namespace SkinImages
