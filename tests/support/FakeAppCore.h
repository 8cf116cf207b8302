#pragma once

#include "core/app/AppCore.h"

#include "support/FakeClock.h"
#include "support/FakeDialUpService.h"
#include "support/FakeServices.h"

#include <QDir>
#include <QTemporaryDir>

// An AppCore over fake services, its files in a fresh temporary folder.
struct FakeAppCore {
    QTemporaryDir dir;
    FakeClock clock;
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    FakeDialUpService dialUp;
    AppCore core { QDir(dir.path()).filePath(QStringLiteral("tollwise")),
        AppServices { clock, sound, startup, dialUp } };
};
