#!/usr/bin/env bash
# Builds the Debian package from a build folder (default build/release):
#   bash scripts/package.sh [BUILD_FOLDER [OUTPUT_FOLDER]]
# It installs the build into a staging root under /usr, works out the
# package's dependencies from the libraries the installed programs link
# (dpkg-shlibdeps), and packs the root with dpkg-deb. The .deb's path is the
# last line printed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/release}")
out=$(realpath -m "${2:-$build/package}")

version=$(sed -n 's/^project(Tollwise VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
architecture=$(dpkg --print-architecture)

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
root=$stage/root

cmake --build "$build" --target tollwise tollwise-dial tollwise-report tollwise-skin default_skin app_icons
DESTDIR=$root cmake --install "$build" --prefix /usr --strip >/dev/null

# dpkg-shlibdeps reads the package's name from a control file in debian/.
mkdir -p "$stage/debian"
printf 'Source: tollwise\n\nPackage: tollwise\nArchitecture: any\n' >"$stage/debian/control"
depends=$(cd "$stage" && dpkg-shlibdeps -O -e root/usr/bin/* 2>/dev/null | sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || { echo "package.sh: no dependencies found for the programs" >&2; exit 1; }

mkdir -p "$root/DEBIAN"
cat >"$root/DEBIAN/control" <<CONTROL
Package: tollwise
Version: $version
Architecture: $architecture
Maintainer: The Tollwise developers <support@tollwise.example.org>
Installed-Size: $(du -sk --exclude=DEBIAN "$root" | cut -f1)
Depends: $depends
Section: net
Priority: optional
Homepage: https://tollwise.example.org
Description: cost every dial-up and metered call from your own tariffs
 Tollwise watches dial-up and metered connections once a second, whichever
 program dialled them, costs the running call from the user's own tariffs,
 logs every call with statistics and keeps an account per provider. It shows
 the running cost in the panel's tray and warns before a budget runs out.
CONTROL

mkdir -p "$out"
deb=$out/tollwise_${version}_${architecture}.deb
dpkg-deb --root-owner-group --build "$root" "$deb" >/dev/null
echo "$deb"
