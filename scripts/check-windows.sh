#!/usr/bin/env bash
# The Windows portability check, run by the test command:
#  - compiles the Windows backends with mingw-w64 into a static library and
#    links their console check, warnings as errors;
#  - compiles every other source the Windows build selects, syntax only, against
#    the host's Qt headers set up as a Windows Qt (Debian has no Qt for mingw);
#  - with --run, runs the console check under wine, headless.
# The Linux build is not touched.
set -euo pipefail
cd "$(dirname "$0")/.."

# Qt for mingw is built with the posix thread model: use the same compiler.
cxx=x86_64-w64-mingw32-g++-posix
ar=x86_64-w64-mingw32-ar
out=build/windows-check
warnings=(-Wall -Wextra -Werror)

# Rooms the Windows build leaves out (src/platform/CMakeLists.txt), and the
# backends, compiled and linked on their own below.
not_on_windows=(src/platform/simdialup src/platform/autostart src/platform/networkmanager src/platform/signals src/platform/notifications)
backends=src/platform/windows

rm -rf "$out/obj" "$out/pch" "$out"/*.a "$out"/*.exe
mkdir -p "$out/obj" "$out/pch"

flags=(-std=c++23 "${warnings[@]}" -O2 -Isrc)
objects=()
for source in "$backends"/*.cpp; do
    object="$out/obj/$(basename "${source%.cpp}").o"
    "$cxx" "${flags[@]}" -c "$source" -o "$object"
    objects+=("$object")
done
"$ar" rcs "$out/libtollwise_windows.a" "${objects[@]}"
"$cxx" "${flags[@]}" -static tests/windows/WindowsBackendsCheck.cpp "$out/libtollwise_windows.a" \
    -lrasapi32 -ladvapi32 -o "$out/WindowsBackendsCheck.exe"
echo "Windows backends: built $out/libtollwise_windows.a and $out/WindowsBackendsCheck.exe"

# What a Windows build of the program is given: Qt's defines and headers, with
# our configuration headers first, and the source root every include names.
qt=$(qtpaths6 --query QT_INSTALL_HEADERS)
qt_flags=(-std=c++23 "${warnings[@]}" -Winvalid-pch -DUNICODE -D_UNICODE -DWIN32 -DMINGW_HAS_SECURE_API=1
          -DQT_NO_DEBUG -DQT_CORE_LIB -DQT_GUI_LIB -DQT_WIDGETS_LIB -DQT_MULTIMEDIA_LIB -DQT_NETWORK_LIB
          -isystem tests/windows/qt-config -isystem "$qt")
for module in QtCore QtGui QtWidgets QtMultimedia QtNetwork; do
    qt_flags+=(-isystem "$qt/$module")
done
# The headers CMake configures, with the defaults of the top CMakeLists.txt.
mkdir -p "$out/generated/core/windowlogic"
defaults=()
for name in TOLLWISE_HOME_PAGE TOLLWISE_SUPPORT_MAIL TOLLWISE_APP_ID; do
    value=$(sed -n "s/^set($name \"\{0,1\}\([^\" ]*\).*/\1/p" CMakeLists.txt)
    defaults+=(-e "s|@$name@|$value|")
done
sed "${defaults[@]}" src/core/windowlogic/ProjectLinks.h.in >"$out/generated/core/windowlogic/ProjectLinks.h"
qt_flags+=(-Isrc -I"$out/generated")

# The Qt headers nearly every source uses, parsed once.
printf '#include <%s>\n' QString QList QByteArray QObject QWidget QPainter QImage QDialog QDateTime >"$out/pch/QtHeaders.h"
"$cxx" "${qt_flags[@]}" -x c++-header "$out/pch/QtHeaders.h" -o "$out/pch/QtHeaders.h.gch"

exclude=()
for room in "${not_on_windows[@]}" "$backends"; do
    exclude+=(-not -path "$room/*")
done
mapfile -t sources < <(find src/core src/platform src/gui src/tools -name '*.cpp' "${exclude[@]}" | sort)
printf '%s\0' "${sources[@]}" |
    xargs -0 -n1 -P"$(nproc)" "$cxx" "${qt_flags[@]}" -include "$out/pch/QtHeaders.h" -fsyntax-only
echo "Windows build: ${#sources[@]} sources of the program compile"

if [ "${1:-}" = --run ]; then
    # A prefix of its own beside the build, no display, no add-on installers.
    wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
    export WINEPREFIX="$PWD/$out/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    unset DISPLAY WAYLAND_DISPLAY
    [ -d "$WINEPREFIX" ] || "$wine" wineboot --init
    status=0
    "$wine" "$out/WindowsBackendsCheck.exe" || status=$?
    "$(dirname "$wine")/wineserver" -k || true
    exit "$status"
fi
