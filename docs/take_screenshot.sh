#!/usr/bin/env bash
# Takes docs/screenshot.png from the real program with the sample chart: starts
# it on a private Xvfb, selects the first program's "Interception" result so
# the details panel shows it, and captures the window.
#
#   bash docs/take_screenshot.sh [BUILD_DIR]        (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
readonly client_h=380

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for ((i = 0; i < 200; i++)); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=:$(tr -d '[:space:]' <"$work/display")
export QT_QPA_PLATFORM=xcb

# The program with the sample chart (not whatever an update left in the build).
cp "$build/app/vantrel" app/sample-chart/data app/sample-chart/policy app/sample-chart/version "$work/"
"$work/vantrel" </dev/null >/dev/null 2>&1 &
app_pid=$!

window=
for ((i = 0; i < 300; i++)); do
    window=$(xdotool search --onlyvisible --name '^Vantrel$' 2>/dev/null | head -n1) && [[ -n $window ]] && break
    sleep 0.1
done
[[ -n $window ]] || { echo "take_screenshot.sh: no window" >&2; exit 1; }

# The menu bar sits above the client area inside the X window.
height=$(xwininfo -id "$window" | awk '/Height:/ {print $NF}')
menu_h=$((height - client_h))
# Grid at client (0, 54); header row 5 high, program rows 25 high; the
# "Interception" column (3) starts at x = 225 + 2 * 26.
xdotool mousemove --window "$window" 290 $((menu_h + 54 + 5 + 12)) click 1
xdotool mousemove --window "$window" 700 $((menu_h + 200))   # out of the way
sleep 1
xwd -id "$window" -silent | convert xwd:- png:docs/screenshot.png
echo "wrote docs/screenshot.png"
