#!/usr/bin/env bash
# The package's desktop entry and software-centre description pass the
# desktop's own validators, and every icon size the theme wants is there.
#   installed-metadata.sh PACKAGE_FOLDER
set -euo pipefail
deb=$(ls "$1"/tollwise_*.deb)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

id=org.example.tollwise
desktop-file-validate "$root/usr/share/applications/$id.desktop"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/$id.metainfo.xml"
for size in 16 22 24 32 48 64 128 256; do
    icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png
    python3 -c 'import struct, sys
data = open(sys.argv[1], "rb").read(24)
sys.exit(not (data[:8] == b"\x89PNG\r\n\x1a\n" and struct.unpack(">II", data[16:24]) == (int(sys.argv[2]),) * 2))' \
        "$icon" "$size" || { echo "missing or wrong icon $icon" >&2; exit 1; }
done
test -s "$root/usr/share/icons/hicolor/scalable/apps/$id.svg"
for program in tollwise tollwise-dial tollwise-report; do
    test -x "$root/usr/bin/$program"
done
for shared in skins/default/main.ubm sounds/default/welcome.wav help/index.html; do
    test -s "$root/usr/share/tollwise/$shared" || { echo "missing $shared" >&2; exit 1; }
done
# The dependencies come from the libraries the programs link.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libqt6core6 libqt6widgets6 libqt6dbus6 libstdc++6; do
    grep -q "$library" <<<"$depends" || { echo "Depends lacks $library: $depends" >&2; exit 1; }
done
echo "metadata valid; Depends: $depends"
