#include "VirtualDisplay.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cstdio>

// Each run gets its own X server; the harness joins it too, to take the
// pictures of the program's windows.
int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    VirtualDisplay display;
    const QString error = display.start();
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    qputenv("DISPLAY", display.name().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
