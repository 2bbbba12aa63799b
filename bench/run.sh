#!/usr/bin/env bash
# Builds the Release benchmarks when needed and prints their figures in one table.
#
#   bench/run.sh                      build in build/release, 10 repetitions
#   BUILD_DIR=build/mine bench/run.sh another Release build folder
#   REPETITIONS=3 bench/run.sh        fewer repetitions
#
# Each figure comes from one section: a function that measures and calls `figure` once per
# row. To add figures, write a section function and add its name to SECTIONS.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-build/release}"
case "$BUILD_DIR" in /*) ;; *) BUILD_DIR="$ROOT/$BUILD_DIR" ;; esac
REPETITIONS="${REPETITIONS:-10}"

SECTIONS=(store_section)

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
