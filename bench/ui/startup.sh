#!/usr/bin/env bash
# Start-up benchmark: the program against a bare Qt window of the same size.
#
#   bash bench/ui/startup.sh [BUILD_DIR] [RUNS]      (defaults: build 10)
#
# On a private Xvfb it starts each program RUNS times (after one warm-up run)
# and measures
#   - start-up: from just before exec to the X server mapping the program's
#     first top-level window (the MapNotify seen by an xev watching the root
#     window, so no polling interval blurs the figure);
#   - memory: VmRSS from /proc/PID/status half a second after that, once the
#     window has painted.
# It prints each program's medians and the ratios program / bare window (the
# aim is 1.2 or less for both). For reading the gap it also measures the bare
# window with a menu bar and a line of text (the first use of fonts is a cost
# any window with text pays). It only prints figures; it never fails on them.
# The program runs from BUILD_DIR/app with the chart files the build put there.
set -euo pipefail
export LC_ALL=C

build=${1:-build}
runs=${2:-10}
program=$build/app/vantrel
bare=$build/bench/ui/bench_bare_window
for p in "$program" "$bare"; do
    [[ -x $p ]] || { echo "startup.sh: $p is not built" >&2; exit 2; }
done

# A display of our own, as the end-to-end tests have it.
source "$(dirname "$0")/../../tests/e2e/x_session.sh"
xev_pid=
trap 'end_process "$xev_pid"; end_x_session' EXIT
start_xvfb

# Map events of top-level windows, one line at a time, as they happen.
coproc XEV { exec stdbuf -oL xev -root -event substructure; }
xev_pid=$XEV_PID
xev_out=${XEV[0]}
sleep 1   # let xev select its events before the first start

# one_run PROGRAM [ARGS...]: prints "milliseconds kibibytes", or nothing when the
# window never appeared.
one_run() {
    local line t0 t1=
    while read -r -t 0.05 -u "$xev_out" line; do :; done   # the last run's leftovers
    t0=$EPOCHREALTIME
    "$@" </dev/null >/dev/null 2>&1 &
    app_pid=$!
    while read -r -t 30 -u "$xev_out" line; do
        if [[ $line == MapNotify* ]]; then
            t1=$EPOCHREALTIME
            read -r -t 5 -u "$xev_out" line || true
            [[ $line == *"override NO"* ]] && break   # skip menus and tooltips
            t1=
        fi
    done
    if [[ -n $t1 ]]; then
        sleep 0.5
        local rss
        rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$app_pid/status" 2>/dev/null || true)
        awk -v a="$t0" -v b="$t1" -v r="${rss:-0}" 'BEGIN {printf "%.1f %d\n", (b - a) * 1000, r}'
    fi
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    app_pid=
}

median() { sort -n | awk '{v[NR] = $1} END {if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

# measure NAME PROGRAM [ARGS...]: runs it, prints a line of figures, leaves "ms kib" medians in $work/NAME
measure() {
    local name=$1 n
    shift
    one_run "$@" >/dev/null   # warm-up: disk cache, font cache
    : >"$work/$name.runs"
    for ((n = 0; n < runs; n++)); do one_run "$@" >>"$work/$name.runs"; done
    local ms kib got
    got=$(wc -l <"$work/$name.runs")
    ms=$(awk '{print $1}' "$work/$name.runs" | median)
    kib=$(awk '{print $2}' "$work/$name.runs" | median)
    echo "$ms $kib" >"$work/$name"
    printf '%-12s %5d/%d runs   start-up median %8.1f ms   memory median %8.1f MiB\n' \
        "$name" "$got" "$runs" "$ms" "$(awk -v k="$kib" 'BEGIN {print k / 1024}')"
    echo "             start-up runs (ms): $(awk '{printf "%s ", $1}' "$work/$name.runs")"
}

echo "Start-up to window shown, $runs runs each, under Xvfb ($(nproc) cores)"
measure vantrel "$program"
measure bare "$bare"
measure bare+text "$bare" --text
ratio() {   # ratio LABEL NAME BASE [NOTE]
    local a_ms a_kib b_ms b_kib
    read -r a_ms a_kib <"$work/$2"
    read -r b_ms b_kib <"$work/$3"
    awk -v l="$1" -v n="${4:-}" -v pm="$a_ms" -v bm="$b_ms" -v pk="$a_kib" -v bk="$b_kib" 'BEGIN {
        printf "ratio %-22s start-up %.2f   memory %.2f   %s\n", l, (bm > 0 ? pm / bm : 0), (bk > 0 ? pk / bk : 0), n
    }'
}
ratio "vantrel / bare:" vantrel bare "(aim: 1.20 or less)"
ratio "vantrel / bare+text:" vantrel bare+text "(for reading the gap)"
