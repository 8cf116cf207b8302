#include "platform/autostart/XdgAutostart.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(XdgAutostart, CreatesAndRemovesTheDesktopFile)
{
    QTemporaryDir dir;
    XdgAutostart autostart(dir.filePath(QStringLiteral("config/autostart")));
    ASSERT_TRUE(autostart.apply(false, "/opt/tollwise/tollwise")) << "removing what is not there is no error";
    ASSERT_TRUE(autostart.apply(true, "/opt/my tools/tollwise"));
    QFile file(autostart.desktopFilePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray entry = file.readAll();
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(entry.contains("Exec=\"/opt/my tools/tollwise\"\n"));
    file.close();
    ASSERT_TRUE(autostart.apply(false, "/opt/my tools/tollwise"));
    EXPECT_FALSE(QFile::exists(autostart.desktopFilePath()));
}
