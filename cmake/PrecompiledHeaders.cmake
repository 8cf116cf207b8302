# Qt's, GoogleTest's and the standard library's headers take most of the time
# of compiling any one source; each kind of target parses them once, in the
# first target of its kind, and the others reuse that.
#   program: the core, the tools and the Qt Core/Gui libraries
#   widgets: the windows and the platform layers under them
#   test, widgets_test: the tests, without and with windows
# Every target of a build shares its compiler options, which reuse needs;
# -Winvalid-pch (from CMake) with -Werror stops the build if they ever differ.
# scripts/tidy.sh parses each source without them, so a missing include
# still shows.
# A build through a compiler cache goes without: the cache cannot store
# sources compiled against a precompiled header, and does better itself.
if(CMAKE_CXX_COMPILER_LAUNCHER)
    option(TOLLWISE_PRECOMPILE_HEADERS "Precompile the headers most sources include" OFF)
else()
    option(TOLLWISE_PRECOMPILE_HEADERS "Precompile the headers most sources include" ON)
endif()

set(tollwise_pch_program
    <algorithm> <array> <cstdint> <cstring> <expected> <functional> <memory> <optional> <span> <string>
    <utility> <vector>
    <QByteArray> <QColor> <QDate> <QDateTime> <QDir> <QFile> <QFileInfo> <QHash> <QImage> <QList> <QLocale>
    <QObject> <QString> <QStringList>)
set(tollwise_pch_widgets ${tollwise_pch_program}
    <QApplication> <QDialog> <QKeyEvent> <QLabel> <QLineEdit> <QMouseEvent> <QPainter> <QPointer> <QScreen>
    <QTimer> <QWidget>)
set(tollwise_pch_test ${tollwise_pch_program} <gtest/gtest.h> <QCoreApplication> <QTemporaryDir>)
set(tollwise_pch_widgets_test ${tollwise_pch_widgets} <gtest/gtest.h> <QAbstractButton> <QTemporaryDir>)

# tollwise_precompile_headers(TARGET KIND): the first target of a kind
# precompiles its headers, every later one reuses them.
function(tollwise_precompile_headers target kind)
    if(NOT TOLLWISE_PRECOMPILE_HEADERS)
        return()
    endif()
    get_property(donor GLOBAL PROPERTY tollwise_pch_${kind})
    if(donor)
        target_precompile_headers(${target} REUSE_FROM ${donor})
    else()
        target_precompile_headers(${target} PRIVATE ${tollwise_pch_${kind}})
        set_property(GLOBAL PROPERTY tollwise_pch_${kind} ${target})
    endif()
endfunction()
