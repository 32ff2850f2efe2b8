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
if [[ $scale == what-changed ]]; then
    source tests/e2e/x_session.sh
    served=$work/served
    mkdir -p "$served" "$work/program"
    cp app/sample-chart/policy "$served/policy.dat"
    cp app/sample-chart/version "$served/version.dat"
    sed '4s/^5 5 4 4 5 5 28/5 5 2 4 5 5 26/' app/sample-chart/data >"$served/data.dat"
    python3 -u -m http.server --bind 127.0.0.1 0 --directory "$served" >"$work/server.log" 2>&1 &
    server_pid=$!
    at_exit 'end_process "$server_pid"'
    port() { sed -n 's/.* port \([0-9][0-9]*\).*/\1/p' "$work/server.log" | head -n 1; }
    wait_until port >/dev/null || { echo "take_screenshot.sh: the server did not start" >&2; exit 1; }
    export VANTREL_E2E_DATA_SERVER=http://127.0.0.1:$(port)
    start_xvfb
    cp "$build/tests/e2e/vantrel_e2e_update" "$work/program/vantrel"
    cp "$build/tests/e2e/vantrel-http.so" app/sample-chart/data app/sample-chart/policy app/sample-chart/version \
        "$work/program/"
    start_program "$work/program"
    window=$(main_window) || { echo "take_screenshot.sh: no window" >&2; exit 1; }
    xdotool windowfocus --sync "$window" key --delay 150 F10 Right Return Return   # Options/Update
    updated() { cmp -s "$served/data.dat" "$work/program/data" && echo updated; }
    wait_until updated >/dev/null || { echo "take_screenshot.sh: the update did not land" >&2; exit 1; }
    sleep 1
    xdotool windowfocus --sync "$window" key --delay 150 F10 Right Return Down Return   # Options/What changed…
    changes=$(wait_until xdotool search --onlyvisible --name '^What changed$') ||
        { echo "take_screenshot.sh: no What changed window" >&2; exit 1; }
    changes=$(head -n1 <<<"$changes")
    # Past the program's heading to its first change, chosen: its cell is
    # selected and the details panel shows it; the window opened beside the
    # main window by itself.
    xdotool key --delay 150 Down Return
    sleep 1
    read -r x y w h < <(geometry "$window")
    read -r cx cy cw ch < <(geometry "$changes")
    left=$((x < cx ? x : cx)) top=$((y < cy ? y : cy))
    right=$((x + w > cx + cw ? x + w : cx + cw)) bottom=$((y + h > cy + ch ? y + h : cy + ch))
    xwd -root -silent | convert xwd:- -crop "$((right - left))x$((bottom - top))+$left+$top" +repage png:docs/what-changed.png
    echo "wrote docs/what-changed.png"
    exit 0
fi
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
