// Start-up of the real windows, without the splash's wait, on a program
// folder holding a full log of 16384 calls: the time from the first window
// being made to the main window shown, and the resident memory then, beside
// the memory of Qt alone with one empty window shown.
// Prints "figure:" lines for bench/run-all.sh.

#include "BenchLog.h"

#include "core/skins/SkinImageCache.h"
#include "core/skins/SkinLibrary.h"
#include "core/store/DataFiles.h"
#include "core/store/Records.h"
#include "core/store/SettingsFile.h"
#include "gui/app/TBlind.h"
#include "gui/app/Tapp.h"
#include "gui/calllog/TCallLog.h"
#include "gui/controls/SkinLook.h"
#include "platform/PlatformServices.h"

#include "support/FakeServices.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <memory>

// Under callgrind --collect-atstart=no only the timed start-up is counted.
#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define TOGGLE_COUNTING() CALLGRIND_TOGGLE_COLLECT
#else
#define TOGGLE_COUNTING()
#endif

namespace {

double residentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// A full log of calls of the phonebook's first entry.
void prepareFolder(const QDir &folder)
{
    auto log = std::make_unique<CallLogTable>();
    fillLogWithCalls(*log, kMaxLogRecords, 1);
    writeFile(
        folder.filePath(DataFiles::kLogFile), QByteArray(reinterpret_cast<const char *>(log->records), kLogFileSize));
    writeFile(
        folder.filePath(SettingsFile::kFileName), QByteArrayLiteral("[Application]\r\nLog.NumberOfRecords=16384\r\n"));
    writeUnknownVolumes(folder.path(), log->Count);
}

} // namespace

int main(int, char *argv[])
{
    // The windows are built for real but never put on a screen.
    QByteArray platform = "-platform";
    QByteArray offscreen = "offscreen";
    char *arguments[] = { argv[0], platform.data(), offscreen.data(), nullptr };
    int count = 3;
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
    QApplication application(count, arguments);
    QApplication::setQuitOnLastWindowClosed(false);

    QWidget empty;
    empty.show();
    QApplication::processEvents();
    std::printf("figure: rss-qt %.1f MB\n", residentMegabytes());
    // The program's style, palette and font, set before its first window.
    SkinLook::applyToApplication(application);

    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    prepareFolder(QDir(dir.path()));
    SkinLibrary::setProgramFolder(QStringLiteral(TOLLWISE_PROGRAM_DIR));
    // As the program does: run-all.sh gives the runs one cache folder, so all
    // but the first start from the decoded images; alone, a first start.
    SkinLibrary::setCacheFolder(qEnvironmentVariableIsSet("XDG_CACHE_HOME")
            ? SkinImageCache::defaultFolder()
            : QDir(dir.path()).filePath(QStringLiteral("cache")));
    SystemClock clock;
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    // The simulator, so the measure never waits on a system service.
    const ChosenDialUpService dialUp = createDialUpService(dir.path(), DialUpServiceChoice::Simulator);

    TOGGLE_COUNTING();
    const auto start = std::chrono::steady_clock::now();
    TCallLog callLog;
    TBlind blind;
    Tapp app(QDir(dir.path()).filePath(QStringLiteral("tollwise")),
        AppServices { clock, sound, startup, *dialUp.service }, &callLog, &blind);
    QApplication::processEvents();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    TOGGLE_COUNTING();
    if (!app.isVisible()) {
        std::fprintf(stderr, "the main window was not shown\n");
        return 1;
    }
    std::printf("start-up to the main window shown: %.1f ms, %d calls in the log\n", ms, app.core().log().Count);
    std::printf("figure: startup %.1f ms\n", ms);
    std::printf("figure: rss-startup %.1f MB\n", residentMegabytes());
    return 0;
}
