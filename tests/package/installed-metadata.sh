#!/usr/bin/env bash
# The package's desktop entry and software-centre description pass the
# desktop's own validators, every icon size the theme wants is there, and
# the screenshots it names are the ones in docs/ under the home page.
#   installed-metadata.sh PACKAGE_FOLDER APP_ID HOME_PAGE SOURCE_FOLDER
set -euo pipefail
deb=$(ls "$1"/tollwise_*.deb)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

id=$2
home=$3
source=$4
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
grep -q "^Icon=$id\$" "$root/usr/share/applications/$id.desktop"
images=$(sed -n 's|.*<image>\(.*\)</image>.*|\1|p' "$root/usr/share/metainfo/$id.metainfo.xml")
test -n "$images"
for image in $images; do
    [[ $image == "$home/docs/"* ]] || { echo "screenshot $image is not under $home/docs/" >&2; exit 1; }
    test -s "$source/docs/${image#"$home/docs/"}" || { echo "no docs/ picture for $image" >&2; exit 1; }
done
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
