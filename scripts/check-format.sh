#!/usr/bin/env bash
# Fails, naming the files, when a source is not formatted by .clang-format.
# With --fix, formats them in place instead.
# The tree is formatted by Debian's clang-format 14; other versions break lines
# differently, so the check names the one it uses.
set -euo pipefail
cd "$(dirname "$0")/.."
format=clang-format-14
command -v "$format" >/dev/null || format=clang-format

mapfile -d '' sources < <(git ls-files -z --cached --others --exclude-standard -- \
    'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'fuzz/*.cpp' 'fuzz/*.h' 'bench/*.cpp' 'bench/*.h')
if [ "${1:-}" = --fix ]; then
    printf '%s\0' "${sources[@]}" | xargs -0 "$format" -i
    exit 0
fi
if ! printf '%s\0' "${sources[@]}" | xargs -0 "$format" --dry-run -Werror; then
    echo "check-format.sh: the files above are not formatted; scripts/check-format.sh --fix formats them" >&2
    exit 1
fi
echo "check-format.sh: ${#sources[@]} sources formatted"
