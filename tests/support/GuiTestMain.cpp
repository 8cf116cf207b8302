#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Window tests never need a real display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Nor the desktop's session bus: a tray icon or notice of a test must not reach it.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/tollwise-test-session-bus");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
