#pragma once

#include "core/services/StartupRegistration.h"

#include <QString>

// Start-up registration on desktops that follow the XDG autostart rules: a
// desktop file in the user's autostart folder.
class XdgAutostart final : public StartupRegistration {
public:
    // `autostartFolder` is usually ~/.config/autostart (see defaultFolder()).
    explicit XdgAutostart(QString autostartFolder);

    static QString defaultFolder();

    std::expected<void, std::string> apply(bool runAtStartup, const std::string &programPath) override;

    QString desktopFilePath() const;

private:
    QString m_folder;
};
