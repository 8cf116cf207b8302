#!/usr/bin/env bash
# Installs the Debian packages the build needs (run as root). "run" needs the
# program's build packages; "test" adds what the tests use.
set -euo pipefail

packages=(build-essential cmake ninja-build qt6-base-dev qt6-multimedia-dev libgtest-dev fonts-liberation2)
if [ "${1:-run}" = test ]; then
    packages+=(clang-format clang-tidy-19 xvfb xauth xdotool x11-utils openbox faketime dbus python3-dbusmock desktop-file-utils appstream dpkg-dev network-manager iproute2 clang-19 libclang-rt-19-dev g++-mingw-w64-x86-64 mingw-w64-x86-64-dev wine64)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    apt-get update
    # network-manager is only for the tests, which run their own daemon in a
    # namespace: the machine's own is not started by installing it.
    policy=/usr/sbin/policy-rc.d
    if [[ " ${missing[*]} " == *" network-manager "* && ! -e $policy ]]; then
        printf '#!/bin/sh\nexit 101\n' > "$policy"
        chmod +x "$policy"
        trap 'rm -f "$policy"' EXIT
    fi
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
