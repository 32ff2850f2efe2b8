#!/usr/bin/env bash
# Takes docs/screenshot.png from the real program with the sample chart: starts
# it on a private Xvfb, selects the first program's "Interception" result so
# the details panel shows it, and captures the window. With SCALE 2 the
# program runs at QT_SCALE_FACTOR=2 and the picture is docs/screenshot-2x.png.
#
#   bash docs/take_screenshot.sh [BUILD_DIR] [SCALE]   (default: build 1)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
scale=${2:-1}
out=docs/screenshot.png
((scale == 1)) || out=docs/screenshot-${scale}x.png
export QT_SCALE_FACTOR=$scale
screen_w=$((1280 * scale)) screen_h=$((1024 * scale))

source tests/e2e/x_session.sh
start_xvfb

# The program with the sample chart (not whatever an update left in the build).
cp "$build/app/vantrel" app/sample-chart/data app/sample-chart/policy app/sample-chart/version "$work/"
start_program "$work"
window=$(main_window) || { echo "take_screenshot.sh: no window" >&2; exit 1; }

read -r _ _ _ height < <(geometry "$window")
menu_h=$((height / scale - client_h))   # in logical pixels
# Grid at client (0, 54); header row 5 high, program rows 25 high; the
# "Interception" column (3) starts at x = 225 + 2 * 26.
xdotool mousemove --window "$window" $((290 * scale)) $(((menu_h + 54 + 5 + 12) * scale)) click 1
xdotool mousemove --window "$window" $((700 * scale)) $(((menu_h + 200) * scale))   # out of the way
sleep 1
xwd -id "$window" -silent | convert xwd:- "png:$out"
echo "wrote $out"
