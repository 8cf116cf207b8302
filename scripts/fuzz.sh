#!/usr/bin/env bash
# Builds the skin reader's fuzz targets with clang (libFuzzer under
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs each for a short
# while on a corpus of hand-made files and the default skin's images.
# usage: scripts/fuzz.sh [SECONDS_PER_TARGET]     (default 25)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-25}

if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz.sh: clang++ not found, fuzzing skipped"
    exit 0
fi

cmake -S fuzz -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/fuzz

# A corpus to work in, outside the source tree: the seeds, plus the default
# skin's images from whichever build drew them.
skin=""
for folder in build/release/bin/skins/default build/bin/skins/default; do
    if [ -d "$folder" ]; then skin=$folder; break; fi
done

for target in skin_reader lzhuf; do
    corpus=build/fuzz/corpus/$target
    mkdir -p "$corpus"
    cp fuzz/corpus/$target/* "$corpus"/
    if [ "$target" = skin_reader ] && [ -n "$skin" ]; then
        cp "$skin"/*.ubm "$corpus"/
    fi
    echo "fuzz.sh: $target for $seconds s"
    ASAN_OPTIONS=abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        build/fuzz/fuzz_$target -max_total_time="$seconds" -timeout=10 -rss_limit_mb=3072 \
        -max_len=262144 -print_final_stats=1 "$corpus"
done
