#pragma once

#include "core/services/SoundPlayer.h"
#include "core/services/StartupRegistration.h"

#include <QStringList>

#include <optional>

class RecordingSoundPlayer final : public SoundPlayer {
public:
    void play(const QString &path) override { played.append(path); }
    QStringList played;
};

class RecordingStartupRegistration final : public StartupRegistration {
public:
    std::expected<void, std::string> apply(bool runAtStartup, const std::string &programPath) override
    {
        lastRunAtStartup = runAtStartup;
        lastProgramPath = programPath;
        ++calls;
        if (failWith)
            return std::unexpected(*failWith);
        return {};
    }
    std::optional<bool> lastRunAtStartup;
    std::string lastProgramPath;
    int calls = 0;
    std::optional<std::string> failWith;
};
