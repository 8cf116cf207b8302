#!/usr/bin/env bash
# Installs what the tests need, then builds and runs every test: a normal
# build, and a build under AddressSanitizer and UndefinedBehaviorSanitizer;
# clang-tidy over the normal build's sources; the Windows check comes last,
# so trouble with wine holds up no Linux test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
python3 scripts/check-layers.py # the core's floors: no include upwards, no loop

# Formatting first: it takes seconds.
bash scripts/check-format.sh

export QT_QPA_PLATFORM=offscreen

# Both test builds keep line tables only: enough for the sanitizers' and
# the debugger's stack traces, and much quicker to compile than full
# debugging information.
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLLWISE_WERROR=ON \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG"
cmake --build build/release

# clang-tidy reads the release build's program sources (the tests' and
# benchmarks' too would take the command past its time on two cores). It
# runs in the background at the lowest priority, on the processor time the
# tests below leave idle (the windows' tests mostly wait for real time), and
# is waited for at the end.
setsid nice -n 19 bash scripts/tidy.sh --program >build/tidy.log 2>&1 &
tidy=$!
trap 'kill -- -$tidy 2>/dev/null || true' EXIT

ctest --test-dir build/release --output-on-failure -j2

# A short fuzzing run of every file reader under the sanitizers.
bash scripts/fuzz.sh 15

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOLLWISE_SANITIZE=ON -DTOLLWISE_BUILD_BENCH=OFF -DTOLLWISE_WERROR=ON \
    -DCMAKE_CXX_FLAGS_DEBUG="-g1"
cmake --build build/asan
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build/asan --output-on-failure -j2

# Every source of the Windows build compiles with mingw-w64, and the Windows
# backends' check passes under wine.
bash scripts/check-windows.sh --run

status=0
wait "$tidy" || status=$?
trap - EXIT
cat build/tidy.log
exit "$status"
