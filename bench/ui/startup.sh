#!/usr/bin/env bash
# Start-up benchmark: the program beside a bare Qt window of the same size and
# a bare window with a menu bar and a line of text.
#
#   bash bench/ui/startup.sh [BUILD_DIR] [ROUNDS]      (defaults: build 30)
#
# On a private Xvfb, with one private session bus for the whole run (so no Qt
# start spawns a bus of its own), bench_startup_timer starts the three
# programs interleaved, ROUNDS rounds after a warm-up round, and measures each
# start from the outside with no shell in the timed path: from the exec to the
# X server mapping the window, and to the first frame painted into it (X
# DAMAGE); memory (VmRSS and private dirty memory) half a second after that
# frame.
# It prints the medians and the medians of the per-round ratios; the aims,
# against the bare window with menu and text: 1.1 or less for each.
# The program runs from BUILD_DIR/app with the chart files the build put there.
set -euo pipefail
export LC_ALL=C

build=${1:-build}
rounds=${2:-30}
program=$build/app/vantrel
bare=$build/bench/ui/bench_bare_window
timer=$build/bench/ui/bench_startup_timer
for p in "$program" "$bare" "$timer"; do
    [[ -x $p ]] || { echo "startup.sh: $p is not built" >&2; exit 2; }
done

# A display and a session bus of our own, as the end-to-end tests have them.
source "$(dirname "$0")/../../tests/e2e/x_session.sh"
start_xvfb

echo "Start-up under Xvfb with a private session bus ($(nproc) cores): exec to map, to first frame"
"$timer" "$rounds" vantrel "$program" -- bare "$bare" -- bare+text "$bare" --text
echo "aims: vantrel/bare+text at most 1.10 for map, first frame, VmRSS and private dirty memory"
