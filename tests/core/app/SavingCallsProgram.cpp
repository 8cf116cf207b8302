// A stand-in for the program that does nothing but log calls through the
// real monitor and the real saving path, for the crash-safety test to kill.
// usage: saving_calls FOLDER
// Prints "loaded N" once the folder is read, then "saved N" each time a call
// has been logged and all four files written; N is the log's count. Call i
// of the log lasts i % 5 + 1 seconds, so the test can tell each one apart.
#include "core/app/AppCore.h"
#include "core/connection/CallMonitor.h"

#include "support/FakeClock.h"
#include "support/FakeDialUpService.h"
#include "support/FakeServices.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    if (argc != 2)
        return 2;
    FakeClock clock;
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    FakeDialUpService dialUp;
    dialUp.entries = { "DemoEntry" };
    AppCore core(QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("tollwise")),
        AppServices { clock, sound, startup, dialUp });
    core.setSaveFailureHandler([](const FileError &error) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(error.path));
        std::exit(3);
    });
    CallMonitor monitor(monitorParts(core), dialUp, clock);
    core.loadAll();
    monitor.startUp();
    std::printf("loaded %d\n", core.log().Count);
    std::fflush(stdout);

    auto tick = [&] {
        clock.advanceSeconds(1);
        monitor.tick();
    };
    while (core.log().Count < kMaxLogRecords) {
        const int seconds = core.log().Count % 5 + 1;
        const auto handle = dialUp.connect("DemoEntry");
        for (int s = 0; s < seconds; ++s)
            tick();
        dialUp.drop(handle);
        tick(); // the call ends: it is logged and the files are written
        std::printf("saved %d\n", core.log().Count);
        std::fflush(stdout);
        clock.advanceSeconds(60);
    }
    return 0;
}
