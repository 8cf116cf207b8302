#!/usr/bin/env bash
# Compiles the Windows backends with mingw-w64 into a static library, warnings
# as errors, and links the console check against it. The Linux build is not
# touched. With --run the check is also run (needs wine).
set -euo pipefail
cd "$(dirname "$0")/.."

cxx=x86_64-w64-mingw32-g++
ar=x86_64-w64-mingw32-ar
out=build/windows-check
flags=(-std=c++23 -Wall -Wextra -Werror -O2 -Isrc/core -Isrc/platform/windows)

rm -rf "$out"
mkdir -p "$out/obj"
objects=()
for source in src/platform/windows/*.cpp; do
    object="$out/obj/$(basename "${source%.cpp}").o"
    "$cxx" "${flags[@]}" -c "$source" -o "$object"
    objects+=("$object")
done
"$ar" rcs "$out/libtollwise_windows.a" "${objects[@]}"

"$cxx" "${flags[@]}" -static tests/windows/WindowsBackendsCheck.cpp "$out/libtollwise_windows.a" \
    -lrasapi32 -ladvapi32 -o "$out/WindowsBackendsCheck.exe"
echo "Windows backends: built $out/libtollwise_windows.a and $out/WindowsBackendsCheck.exe"

if [ "${1:-}" = --run ]; then
    wine=$(command -v wine || echo /usr/lib/wine/wine64)
    WINEDEBUG=-all "$wine" "$out/WindowsBackendsCheck.exe"
fi
