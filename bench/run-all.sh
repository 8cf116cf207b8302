#!/usr/bin/env bash
# Builds the release and runs every benchmark, then prints one table: each
# figure beside a baseline measured in the same run on the same machine
# (mostly `cat` of the same files), so the ratio means something anywhere.
# usage: bash bench/run-all.sh
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release --target tollwise tollwise-report default_skin make_report_folder \
    bench_tariff_selection bench_call_tick bench_skin_decode bench_call_log_refill bench_startup
bin=build/release/bin
benches=build/release/bench/bin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The real program keeps decoded skin images here, not in the user's cache.
export XDG_CACHE_HOME=$work/cache

now_ns() { date +%s%N; }
# Milliseconds per run of a shell command, over `runs` runs.
per_run_ms() {
    local runs=$1; shift
    local start end
    start=$(now_ns)
    for _ in $(seq "$runs"); do eval "$@"; done
    end=$(now_ns)
    awk -v t=$((end - start)) -v n="$runs" 'BEGIN { printf "%.2f", t / n / 1e6 }'
}
# CPU time in nanoseconds used so far by every thread of a process.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%d", s }'; }
# Percent of one core a process uses over `seconds`.
cpu_percent() {
    local pid=$1 seconds=$2 before after
    before=$(cpu_ns "$pid"); sleep "$seconds"; after=$(cpu_ns "$pid")
    awk -v d=$((after - before)) -v s="$seconds" 'BEGIN { printf "%.3f", d / (s * 1e9) * 100 }'
}

# Files of the sizes the program reads and writes.
data=$work/data
mkdir -p "$data" "$work/copy"
head -c 55306 /dev/urandom >"$data/Providers.data"
head -c 524288 /dev/urandom >"$data/Log.data"
head -c 38912 /dev/urandom >"$data/Tariffs.data"
printf '[Application]\r\nLog.NumberOfRecords=16384\r\n' >"$data/settings.data"
skins=$bin/skins/default

# Every benchmark program there is; "figure:" lines are gathered.
figures=$work/figures
for bench in "$benches"/bench_*; do
    name=$(basename "$bench")
    runs=1
    [ "$name" = bench_startup ] && runs=5 # a fresh process each time: the median is kept
    for _ in $(seq $runs); do
        echo "== $name"
        "$bench" | tee /dev/stderr | awk '/^figure: / { print $2, $3, $4 }' >>"$figures"
    done
done 2>&1 | grep -v -e '^figure: ' -e 'plugin does not support' -e 'XDG_RUNTIME_DIR'

figure() { awk -v k="$1" '$1 == k { print $2 }' "$figures" | sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)] }'; }

# The real program idle, offscreen, in a copy of the program folder holding a
# full log of calls of the provider shown (the simulator's first entry, which
# becomes provider 0) and a budget for it, so the spending line has its whole
# month to count.
"$benches/make_report_folder" "$work/one-provider" 1
cp -r "$bin" "$work/program"
cp "$work/one-provider"/{Log.data,Log.volume.data,Tariffs.data,settings.data} "$work/program/"
printf '[Budget.0]\r\nName=DemoEntry\r\nMoney=1000000000\r\n' >"$work/program/budgets.data"
QT_QPA_PLATFORM=offscreen "$work/program/tollwise" >/dev/null 2>&1 &
program=$!
sleep 4 # the splash's 2 s and the start-up
idle=$(cpu_percent "$program" 10)
kill "$program"; wait "$program" 2>/dev/null || true
sleep 12 &
idle_base=$(cpu_percent $! 10)
wait

cat_start=$(per_run_ms 10 "cat '$data'/* '$skins'/* >/dev/null")
cat_data=$(per_run_ms 20 "cat '$data'/* >/dev/null")
cat_log=$(per_run_ms 20 "cat '$data/Log.data' >/dev/null")
cat_skin=$(per_run_ms 20 "cat '$skins'/*.ubm >/dev/null")
report=$work/report
"$benches/make_report_folder" "$report"
report_days=$(per_run_ms 10 "'$bin/tollwise-report' --folder '$report' days >/dev/null")
report_reprice=$(per_run_ms 10 "'$bin/tollwise-report' --folder '$report' --reprice '$report' days >/dev/null")
cat_report=$(per_run_ms 20 "cat '$report'/* >/dev/null")
write_data=$(per_run_ms 20 "for f in '$data'/*; do cat \"\$f\" >'$work/copy/'\$(basename \"\$f\"); done")

row() { # what, measured, unit, target, baseline, baseline's description
    local ratio
    ratio=$(awk -v m="$2" -v b="$5" 'BEGIN { if (b > 0 && m != "") printf "%.1f x", m / b; else printf "-" }')
    printf '| %s | %s %s | < %s %s | %s %s (%s) | %s |\n' "$1" "${2:--}" "$3" "$4" "$3" "$5" "$3" "$6" "$ratio"
}
echo
echo "| figure | measured | target | baseline | ratio |"
echo "|---|---|---|---|---|"
row "start-up to main window shown (no splash wait)" "$(figure startup)" ms 30 "$cat_start" "cat of data files and skin"
row "resident memory after start-up, 16384-record log" "$(figure rss-startup)" MB 60 "$(figure rss-qt)" "Qt with one empty window"
row "CPU while idle, real program, full log and a budget, 10 s" "$idle" "%" 0.05 "$idle_base" "sleep"
row "call end with its four saves" "$(figure call-end)" ms 20 "$write_data" "cat writing the four files"
row "slowest tick of a 24-hour call, CPU time of the tick" "$(figure tick-worst-cpu)" ms 1 "$(figure tick-mean)" "the mean tick of that call"
row "slowest tick of a 24-hour call, wall time (waits for a core)" "$(figure tick-worst)" ms 1 "$(figure tick-mean)" "the mean tick of that call"
row "skin load (default skin, decoded-image cache filled)" "$(figure skin-load)" ms 10 "$cat_skin" "cat of the skin files"
row "skin decode (default skin, no cache: a first start)" "$(figure skin-decode)" ms 10 "$cat_skin" "cat of the skin files"
row "call log: core rebuild, 16384 records" "$(figure refill-core)" ms 5 "$cat_log" "cat of Log.data"
row "call log: whole refill, model reset and first screen painted" "$(figure refill)" ms 30 "$cat_log" "cat of Log.data"
row "tollwise-report days, 16384 calls" "$report_days" ms 30 "$cat_report" "cat of the folder's files"
row "tollwise-report --reprice days, 16384 calls" "$report_reprice" ms "$(awk -v d="$report_days" 'BEGIN { printf "%.2f", 2 * d }')" "$report_days" "days, not repriced"
echo "(cat of the four data files alone: $cat_data ms)"
