#include "Desktop.h"
#include "ProgramFolder.h"
#include "RunningProgram.h"
#include "core/skins/SkinLayout.h"
#include "support/SessionBusMock.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QSet>

#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

namespace {

// A plain 24-bit bitmap of one colour, as a user's own skin picture may be.
QByteArray solidBitmap(QSize size, QRgb colour)
{
    const int rowBytes = (size.width() * 3 + 3) / 4 * 4;
    const int pixelBytes = rowBytes * size.height();
    QByteArray bytes(54 + pixelBytes, '\0');
    auto put32 = [&bytes](int at, qint32 value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = char(value >> (8 * i) & 0xFF);
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, qint32(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, size.width());
    put32(22, size.height());
    bytes[26] = 1;
    bytes[28] = 24;
    put32(34, pixelBytes);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const int at = 54 + y * rowBytes + x * 3;
            bytes[at] = char(qBlue(colour));
            bytes[at + 1] = char(qGreen(colour));
            bytes[at + 2] = char(qRed(colour));
        }
    return bytes;
}

// Which of some files are opened, by anyone, while it watches.
class OpenedFiles {
public:
    explicit OpenedFiles(const QStringList &paths)
        : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        for (const QString &path : paths)
            m_paths.insert(inotify_add_watch(m_fd, path.toLocal8Bit().constData(), IN_OPEN), path);
    }
    ~OpenedFiles() { close(m_fd); }
    OpenedFiles(const OpenedFiles &) = delete;
    OpenedFiles &operator=(const OpenedFiles &) = delete;

    [[nodiscard]] bool wasOpened(const QString &path)
    {
        alignas(inotify_event) char buffer[4096];
        ssize_t length = 0;
        while ((length = read(m_fd, buffer, sizeof buffer)) > 0)
            for (char *at = buffer; at < buffer + length;) {
                const auto *event = reinterpret_cast<const inotify_event *>(at);
                m_opened.insert(m_paths.value(event->wd));
                at += sizeof(inotify_event) + event->len;
            }
        return m_opened.contains(path);
    }

private:
    int m_fd;
    QHash<int, QString> m_paths;
    QSet<QString> m_opened;
};

} // namespace

// Installed as a package installs it, the program takes a skin picture or a
// sound from the user's data folder over the installed one, and the installed
// one where the user's is damaged (a damaged picture is told too).
TEST(InstalledFilesEndToEnd, TheUsersSkinAndSoundsComeFirstAndADamagedOneFallsBack)
{
    const QRgb installedColour = qRgb(20, 120, 40);
    const QRgb usersColour = qRgb(200, 60, 150);
    const QString welcome = QStringLiteral("sounds/default/welcome.wav");
    struct Case {
        const char *name;
        bool pictureDamaged;
        bool soundDamaged;
    };
    for (const Case &c : { Case { "damaged sound", false, true }, Case { "damaged picture", true, false } }) {
        SCOPED_TRACE(c.name);
        ProgramFolder folder(ProgramFolder::Layout::Installed);
        ASSERT_TRUE(folder.error().isEmpty()) << folder.error().toStdString();
        folder.writeFile(QStringLiteral("settings.data"), "[Application]\r\nPlayApplicationSounds=1\r\n");
        QFile installed(folder.sharedFilePath(QStringLiteral("skins/default/Handle.bmp")));
        ASSERT_TRUE(installed.open(QIODevice::WriteOnly));
        installed.write(solidBitmap(SkinLayout::Handle::kSize, installedColour));
        installed.close();
        folder.writeFile(QStringLiteral("skins/default/Handle.bmp"),
            c.pictureDamaged ? QByteArray("BM and nothing else") : solidBitmap(SkinLayout::Handle::kSize, usersColour));
        QFile shared(folder.sharedFilePath(welcome));
        ASSERT_TRUE(shared.open(QIODevice::ReadOnly));
        const QByteArray sound = shared.readAll();
        ASSERT_FALSE(sound.isEmpty());
        folder.writeFile(welcome, c.soundDamaged ? QByteArray(sound.size(), 'x') : sound);
        OpenedFiles opened({ folder.filePath(welcome), folder.sharedFilePath(welcome) });

        Desktop desktop;
        RunningProgram program(folder, desktop);
        ASSERT_TRUE(program.start());
        if (c.pictureDamaged) {
            const std::optional<Desktop::Window> message = program.window(SkinLayout::MessageDialog::kSize, 15000);
            ASSERT_TRUE(message) << "the damaged picture was not told\n" << program.output().toStdString();
            desktop.pressKey(*message, QStringLiteral("Return"));
        }
        ASSERT_TRUE(program.readyMainWindow()) << program.output().toStdString();
        const std::optional<Desktop::Window> handle = program.window(SkinLayout::Handle::kSize);
        ASSERT_TRUE(handle);
        const QImage shown = QGuiApplication::primaryScreen()->grabWindow(WId(handle->id)).toImage();
        EXPECT_EQ(shown.pixel(shown.width() / 2, shown.height() / 2), c.pictureDamaged ? installedColour : usersColour);

        // The user's is looked at first either way; the installed one only when it is damaged.
        EXPECT_TRUE(SessionBusMock::waitUntil([&] { return opened.wasOpened(folder.filePath(welcome)); }, 3000));
        if (c.soundDamaged)
            EXPECT_TRUE(
                SessionBusMock::waitUntil([&] { return opened.wasOpened(folder.sharedFilePath(welcome)); }, 3000))
                << "the installed sound was not played";
        else
            EXPECT_FALSE(opened.wasOpened(folder.sharedFilePath(welcome))) << "the user's sound was passed over";
    }
}
