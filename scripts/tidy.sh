#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over the program's, the tests'
# and the benchmarks' sources, as the release build compiles them; fails on any
# finding. Needs the release build (its compile_commands.json and the sources
# Qt generates).
# usage: scripts/tidy.sh [--program | SOURCE...]
#   (default: every source of the build; --program: the program's and the
#   tools' sources under src/ only)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=build/release
tidy=clang-tidy-19
jobs=${TIDY_JOBS:-$(nproc)}

if [ ! -f "$build/compile_commands.json" ]; then
    echo "tidy.sh: no $build/compile_commands.json; build the release build first" >&2
    exit 2
fi
# A source the build compiles into several targets (the mocks) is listed once
# per target; check it once. Each source is checked with only its own
# includes, not the build's precompiled headers: clang cannot read gcc's, and
# parsing them in full would only slow it down.
db=$(mktemp -d)
trap 'rm -rf "$db"' EXIT
python3 -c '
import json, re, sys
seen, unique = set(), []
for entry in json.load(open(sys.argv[1])):
    if entry["file"] not in seen:
        seen.add(entry["file"])
        entry["command"] = re.sub(r" -Winvalid-pch| -include \S*/cmake_pch\.hxx", "", entry["command"])
        unique.append(entry)
json.dump(unique, sys.stdout, indent=1)
' "$build/compile_commands.json" >"$db/compile_commands.json"

folders="src|tests|bench"
if [ "${1:-}" = --program ]; then
    folders=src
    shift
fi
if [ $# -gt 0 ]; then
    sources=("$@")
else
    mapfile -t sources < <(sed -n 's|^ *"file": "\(.*\)",\?$|\1|p' "$build/compile_commands.json" |
        grep -E "^$root/($folders)/" | sort -u)
fi

# Headers are checked where a source of ours includes them; Qt's are not ours.
# The compiler's warnings are the build's to report, with gcc's flags.
set +e
printf '%s\0' "${sources[@]}" |
    xargs -0 -n1 -P"$jobs" "$tidy" -p "$db" --quiet --extra-arg=-Wno-everything \
        --header-filter="^$root/(src|tests|bench)/" 2>&1 |
    grep -v -E '^[0-9]+ (warnings?|errors?)( and [0-9]+ errors?)? generated\.$'
status=${PIPESTATUS[1]}
set -e
if [ "$status" -ne 0 ]; then
    echo "tidy.sh: findings above (or a source clang-tidy could not read)" >&2
    exit 1
fi
echo "tidy.sh: ${#sources[@]} sources clean"
