#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a short while on a corpus of
# hand-made files (and the default skin's images for the skin reader).
# usage: scripts/fuzz.sh [SECONDS_PER_TARGET [TARGET...]]   (default 15, all targets)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-15}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(skin_reader lzhuf settings data_files sim_phonebook sim_state call_volume)
fi

# The core's std::expected needs a clang newer than the system's default one.
compiler=""
for candidate in clang++-19 clang++; do
    if command -v "$candidate" >/dev/null 2>&1; then compiler=$candidate; break; fi
done
if [ -z "$compiler" ]; then
    echo "fuzz.sh: clang++ not found, fuzzing skipped"
    exit 0
fi

# Line tables are all the sanitizers' reports need; -O1 keeps the build quick.
cmake -S fuzz -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" >/dev/null
cmake --build build/fuzz

# A corpus to work in, outside the source tree: the seeds, plus the default
# skin's images from whichever build drew them.
skin=""
for folder in build/release/bin/skins/default build/bin/skins/default; do
    if [ -d "$folder" ]; then skin=$folder; break; fi
done

for target in "${targets[@]}"; do
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
