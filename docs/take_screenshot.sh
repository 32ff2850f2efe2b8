#!/usr/bin/env bash
# Takes docs/screenshot.png from the real program with the sample chart: starts
# it on a private Xvfb, selects the first program's "Interception" result so
# the details panel shows it, and captures the window.
#
#   bash docs/take_screenshot.sh [BUILD_DIR]        (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}

source tests/e2e/x_session.sh
start_xvfb

# The program with the sample chart (not whatever an update left in the build).
cp "$build/app/vantrel" app/sample-chart/data app/sample-chart/policy app/sample-chart/version "$work/"
start_program "$work"
window=$(main_window) || { echo "take_screenshot.sh: no window" >&2; exit 1; }

menu_h=$(menu_height "$window")
# Grid at client (0, 54); header row 5 high, program rows 25 high; the
# "Interception" column (3) starts at x = 225 + 2 * 26.
xdotool mousemove --window "$window" 290 $((menu_h + 54 + 5 + 12)) click 1
xdotool mousemove --window "$window" 700 $((menu_h + 200))   # out of the way
sleep 1
xwd -id "$window" -silent | convert xwd:- png:docs/screenshot.png
echo "wrote docs/screenshot.png"
