#include "app/Tapp.h"
#include "calllog/TCallLog.h"
#include "connection/TConnectDlg.h"
#include "PlatformServices.h"
#include "skins/SkinLibrary.h"
#include "sound/WaveSoundPlayer.h"
#include "ui/TBlind.h"
#include "ui/Tsplash.h"

#include <QApplication>

namespace {

// Stands in until the platform's dial-up service is wired in here: it sees no
// connections and no phonebook entries, so the program runs idle.
class NoDialUpService final : public dialup::DialUpService {
public:
    std::expected<std::vector<dialup::ActiveConnection>, dialup::ErrorCode> enumConnections() override { return {}; }
    std::expected<dialup::ConnectionStatus, dialup::ErrorCode> connectionStatus(dialup::ConnectionHandle) override
    {
        return std::unexpected(kUnavailable);
    }
    std::expected<std::vector<std::string>, dialup::ErrorCode> enumEntries() override { return {}; }
    std::expected<dialup::DialParams, dialup::ErrorCode> entryDialParams(const std::string &) override
    {
        return std::unexpected(kUnavailable);
    }
    std::expected<dialup::ConnectionHandle, dialup::ErrorCode> dial(const std::string &, const std::string &,
                                                                  const std::string &, dialup::DialNotifier) override
    {
        return std::unexpected(kUnavailable);
    }
    std::expected<void, dialup::ErrorCode> hangUp(dialup::ConnectionHandle) override
    {
        return std::unexpected(kUnavailable);
    }
    std::string errorText(dialup::ErrorCode) override { return "No dial-up service is available."; }
    std::expected<void, dialup::ErrorCode> createEntry(dialup::NativeWindow) override
    {
        return std::unexpected(kUnavailable);
    }
    std::expected<void, dialup::ErrorCode> editEntry(dialup::NativeWindow, const std::string &) override
    {
        return std::unexpected(kUnavailable);
    }

private:
    static constexpr dialup::ErrorCode kUnavailable = 1;
};

} // namespace

int main(int argc, char *argv[])
{
    // Skins are pixel art: whole device pixels per picture pixel keep them crisp.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
    QApplication application(argc, argv);
    SkinLibrary::setProgramFolder(QApplication::applicationDirPath());
    auto *splash = new Tsplash;
    splash->showNow();

    QApplication::setApplicationName(QStringLiteral("Dialtally"));
    QApplication::setQuitOnLastWindowClosed(false);

    SystemClock clock;
    WaveSoundPlayer sound;
    const auto startup = createStartupRegistration();
    NoDialUpService dialUp;

    TCallLog callLog;
    TBlind blind;
    Tapp app(QApplication::applicationFilePath(), AppServices{clock, sound, *startup, dialUp}, &callLog, &blind);
    TConnectDlg connectDlg;

    splash->closeWhenDue();
    delete splash;
    if (app.core().settings().LoadMinimised)
        app.showMinimized();
    return application.exec();
}
