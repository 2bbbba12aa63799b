#!/usr/bin/env bash
# Builds the Release benchmarks when needed and prints their figures in one table.
#
#   bench/run.sh                      build in build/release, 10 repetitions
#   BUILD_DIR=build/mine bench/run.sh another Release build folder
#   REPETITIONS=3 bench/run.sh        fewer repetitions
#   bench/run.sh store_section        only the sections named
#
# Each figure comes from one section: a function that measures and calls `figure` once per
# row. To add figures, write a section function and add its name to SECTIONS.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-build/release}"
case "$BUILD_DIR" in /*) ;; *) BUILD_DIR="$ROOT/$BUILD_DIR" ;; esac
REPETITIONS="${REPETITIONS:-10}"

SECTIONS=(store_section idle_section startup_section fuzz_section)
# Only the sections named as arguments, when there are any: bench/run.sh store_section
if [ "$#" -gt 0 ]; then
    SECTIONS=("$@")
fi

ROWS=()

# figure NAME VALUE UNIT BUDGET [CPU]: one row of the table. VALUE is compared with BUDGET
# ("-" for none); CPU, when given, is the processor time of the same measurement.
figure() {
    ROWS+=("$1|$2|$3|$4|${5:--}")
}

build() {
    if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
        cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    fi
    local type
    type="$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$BUILD_DIR/CMakeCache.txt")"
    if [ "$type" != "Release" ]; then
        echo "warning: $BUILD_DIR is a '$type' build, not Release; figures are not comparable" >&2
    fi
    cmake --build "$BUILD_DIR" --target "$@" -j2 >/dev/null
}

# The median of a Google Benchmark's repetitions from its CSV output, in the unit it reports:
# wall-clock time, or with "cpu" as third argument processor time.
median_of() { # CSV NAME [cpu]
    awk -F, -v name="$2" -v column="$([ "${3:-}" = cpu ] && echo 4 || echo 3)" '
        { gsub(/"/, "", $1) }
        $1 ~ "^" name "(/real_time)?_median$" { printf "%.2f", $column; found = 1 }
        END { if (!found) print "n/a" }' <<<"$1"
}

run_benchmarks() { # BINARY FILTER
    local log
    log="$(mktemp)"
    if ! "$1" --benchmark_filter="$2" --benchmark_repetitions="$REPETITIONS" \
        --benchmark_report_aggregates_only=true --benchmark_format=csv 2>"$log"; then
        echo "$1 failed:" >&2
        cat "$log" >&2
        rm -f "$log"
        exit 1
    fi
    rm -f "$log"
}

# The store with 10,000 tasks in 20 categories and 1,000 reminders on.
store_section() {
    build taskwick_bench
    local csv
    csv="$(run_benchmarks "$BUILD_DIR/bench/taskwick_bench" '^BM_(CreateStore|GetTaskList|SetTaskState)/')"
    local name label budget
    for name in CreateStore GetTaskList SetTaskState; do
        case "$name" in
        CreateStore) label="Create the store (load 3 files)" budget=60 ;;
        GetTaskList) label="GetTaskList (10,000 tasks)" budget=15 ;;
        SetTaskState) label="SetTaskState with its save" budget=25 ;;
        esac
        figure "$label" "$(median_of "$csv" "BM_$name")" ms "$budget" "$(median_of "$csv" "BM_$name" cpu)"
    done
}

# Processor use of the running program while idle, with 10,000 tasks of which 1,000 have a
# reminder waiting (due in 30 days), measured over 30 s on Xvfb from the threads' run times.
idle_section() {
    build taskwick
    local label="Idle CPU, 1,000 reminders waiting"
    if ! command -v Xvfb >/dev/null; then
        figure "$label" n/a "%core" 1
        return
    fi
    local work display xvfb program percent wakeups
    work="$(mktemp -d)"
    cp "$BUILD_DIR/stage/bin/"* "$work/"
    python3 "$ROOT/bench/make_data.py" "$work" 10000
    Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp >"$work/display" 2>/dev/null &
    xvfb=$!
    for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
    display=":$(head -n1 "$work/display")"
    mkdir -p "$work/home"
    (cd "$work/home" && DISPLAY="$display" HOME="$work/home" XDG_RUNTIME_DIR="$work/home" \
        XDG_CONFIG_HOME="$work/home" LANG=en_US.UTF-8 QT_QPA_PLATFORM=xcb exec "$work/taskwick") \
        >/dev/null 2>&1 &
    program=$!
    sleep 8 # start-up, then the program waits
    read -r percent wakeups < <(python3 - "$program" <<'PY'
import os, sys, time
pid = int(sys.argv[1])
def run_ns():
    return sum(int(open("/proc/%d/task/%s/schedstat" % (pid, t)).read().split()[0])
               for t in os.listdir("/proc/%d/task" % pid))
def wakes():
    for line in open("/proc/%d/status" % pid):
        if line.startswith("voluntary_ctxt_switches"):
            return int(line.split()[1])
c0, w0, t0 = run_ns(), wakes(), time.monotonic()
time.sleep(30)
c1, w1, t1 = run_ns(), wakes(), time.monotonic()
print("%.3f %.1f" % ((c1 - c0) / 1e9 / (t1 - t0) * 100, (w1 - w0) / (t1 - t0)))
PY
    ) || percent=n/a
    kill "$program" "$xvfb" 2>/dev/null || true
    wait "$program" "$xvfb" 2>/dev/null || true
    rm -rf "$work"
    figure "$label" "${percent:-n/a}" "%core" 1
    figure "Idle main-thread wake-ups" "${wakeups:-n/a}" "/s" -
}

# Start-up to the main window shown and memory after start-up, beside a bare Qt Widgets
# window with the same widgets (bench/BareWindow.cpp): whole processes on their own Xvfb.
startup_section() {
    build taskwick taskwick_bare_window taskwick_sound
    if ! command -v Xvfb >/dev/null; then
        figure "Start-up (Xvfb missing)" n/a ms -
        return
    fi
    local runs=$((REPETITIONS < 5 ? 5 : REPETITIONS))
    local out bare_ms bare_cpu bare_mb empty_ms empty_cpu empty_mb big_ms big_cpu big_mb
    out="$(python3 "$ROOT/bench/startup.py" "$runs" "bare=$BUILD_DIR/bench/taskwick_bare_window" \
        "empty=$BUILD_DIR/stage/bin" "tasks=$BUILD_DIR/stage/bin:10000")"
    read -r _ bare_ms _ _ bare_cpu bare_mb < <(grep '^bare ' <<<"$out")
    read -r _ empty_ms _ _ empty_cpu empty_mb < <(grep '^empty ' <<<"$out")
    read -r _ big_ms _ _ big_cpu big_mb < <(grep '^tasks ' <<<"$out")
    figure "Start-up, bare Qt window" "$bare_ms" ms - "$bare_cpu"
    figure "Start-up, empty folder" "$empty_ms" ms - "$empty_cpu"
    figure "  ratio to the bare window" "$(awk -v a="$empty_ms" -v b="$bare_ms" 'BEGIN { printf "%.2f", a / b }')" x 1.3 \
        "$(awk -v a="$empty_cpu" -v b="$bare_cpu" 'BEGIN { printf "%.2f", a / b }')"
    figure "Start-up, 10,000 tasks" "$big_ms" ms 500 "$big_cpu"
    figure "Memory after start-up, bare window" "$bare_mb" MB -
    figure "Memory after start-up, empty" "$empty_mb" MB -
    figure "  ratio to the bare window" "$(awk -v a="$empty_mb" -v b="$bare_mb" 'BEGIN { printf "%.2f", a / b }')" x -
    figure "Memory after start-up, 10,000" "$big_mb" MB 90
}

# Fuzzing the loading of the three data files for FUZZ_SECONDS (default 60), seeded with
# the default files and the test fixtures. Needs clang; prints the executions and findings.
fuzz_section() {
    local seconds="${FUZZ_SECONDS:-60}"
    if ! command -v clang++ >/dev/null; then
        figure "Fuzzing (clang missing)" n/a runs -
        return
    fi
    local fuzz_dir="$ROOT/build/fuzz"
    [ -f "$fuzz_dir/CMakeCache.txt" ] || cmake --preset fuzz -S "$ROOT" >/dev/null
    cmake --build "$fuzz_dir" --target taskwick_store_fuzz -j2 >/dev/null
    local corpus log runs crashes
    corpus="$(mktemp -d)"
    log="$(mktemp)"
    printf '<tasklist>\r\n</tasklist>\r\n' >"$corpus/default-task"
    find "$ROOT/tests/data" -type f -name '*.qrn' -exec cp --backup=numbered -t "$corpus" {} + 2>/dev/null || true
    "$fuzz_dir/fuzz/taskwick_store_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
        -artifact_prefix="$ROOT/build/fuzz/" "$corpus" >"$log" 2>&1 || true
    runs="$(grep -oE 'Done [0-9]+ runs' "$log" | grep -oE '[0-9]+' || echo n/a)"
    crashes="$(grep -cE 'ERROR: (libFuzzer|AddressSanitizer|UndefinedBehaviorSanitizer)|deadly signal|Timeout' "$log" || true)"
    figure "Fuzz executions in ${seconds} s" "$runs" runs -
    figure "  crashes, hangs, sanitizer reports" "$crashes" found 0
    rm -rf "$corpus" "$log"
}

print_table() {
    local format='%-34s %10s %-5s %8s %8s  %s\n'
    printf "$format" "Figure (median of $REPETITIONS)" Value Unit Budget "CPU" ""
    printf "$format" "----------------------------------" "----------" "-----" "--------" "--------" ""
    local row name value unit budget cpu verdict
    for row in "${ROWS[@]}"; do
        IFS='|' read -r name value unit budget cpu <<<"$row"
        verdict=""
        if [ "$budget" != "-" ] && [ "$value" != "n/a" ]; then
            verdict="$(awk -v v="$value" -v b="$budget" 'BEGIN { print (v <= b) ? "ok" : "OVER" }')"
        fi
        printf "$format" "$name" "$value" "$unit" "$budget" "$cpu" "$verdict"
    done
    # Times are wall-clock: other work on the machine slows them down.
    printf '\nLoad average before and after measuring: %s / %s\n' "$LOAD_BEFORE" "$(cut -d' ' -f1-3 /proc/loadavg)"
}

LOAD_BEFORE="$(cut -d' ' -f1-3 /proc/loadavg)"
for section in "${SECTIONS[@]}"; do
    "$section"
done
print_table
