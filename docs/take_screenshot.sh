#!/usr/bin/env bash
# Takes docs/screenshot.png from the real program with the sample chart: starts
# it on a private Xvfb, selects the first program's "Interception" result so
# the details panel shows it, and captures the window. With SCALE 2 the
# program runs at QT_SCALE_FACTOR=2 and the picture is docs/screenshot-2x.png.
# With what-changed, docs/what-changed.png: the window after an Update, What
# changed below it (the program copy the tests build, a loopback server).
#
#   bash docs/take_screenshot.sh [BUILD_DIR] [SCALE | what-changed | compare]   (default: build 1)
#
# With "compare" it takes docs/compare.png: Options/Compare… by keys, sorted
# by Security, highest first, Screenshots a must-have, three programs side by
# side with differences only, beside the main window.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
scale=${2:-1}
if [[ $scale == what-changed ]]; then
    source tests/e2e/x_session.sh
    chart_with_one_change app/sample-chart "$work/changed"
    serve_chart "$work/changed"
    start_xvfb
    start_accessibility
    program_in "$work/program" "$build/tests/e2e/vantrel_e2e_update" app/sample-chart "$build/tests/e2e/vantrel-http.so"
    show_program "take_screenshot.sh" "$work/program"
    keys "$window" F10 Right Return Return   # Options/Update
    wait_for "the update" holds_served_chart "$work/program" || finish_checks
    wait_for "the reload: Options/What changed… enabled" accessible enabled "menu item" "What changed…" || finish_checks
    keys "$window" F10 Right Return Down Return   # Options/What changed…
    wait_for "the What changed window" titled "What changed" || finish_checks
    changes=${awaited%%$'\n'*}
    # Past the program's heading to its first change, chosen: its cell is
    # selected and the details panel shows it; the window opened beside the
    # main window by itself.
    xdotool key --delay 150 Down Return
    read -r x y w h < <(geometry "$window")
    read -r cx cy cw ch < <(geometry "$changes")
    left=$((x < cx ? x : cx)) top=$((y < cy ? y : cy))
    right=$((x + w > cx + cw ? x + w : cx + cw)) bottom=$((y + h > cy + ch ? y + h : cy + ch))
    both() { xwd -root -silent | convert xwd:- -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "png:$2"; }
    wait_settled "the two windows painted" "$changes" both || finish_checks
    both "$changes" docs/what-changed.png
    echo "wrote docs/what-changed.png"
    exit 0
fi
if [[ $scale == compare ]]; then
    source tests/e2e/x_session.sh
    start_xvfb
    export XDG_CONFIG_HOME=$work/config   # the window's kept choices: none
    cp "$build/app/vantrel" app/sample-chart/data app/sample-chart/policy app/sample-chart/version "$work/"
    start_program "$work"
    window=$(main_window) || { echo "take_screenshot.sh: no window" >&2; exit 1; }
    wait_painted "$window" || true
    xdotool windowfocus --sync "$window" key --delay 150 F10 Right Return Up Return   # Options/Compare…
    compare=$(wait_until xdotool search --onlyvisible --name '^Compare$') ||
        { echo "take_screenshot.sh: no Compare window" >&2; exit 1; }
    compare=$(head -n1 <<<"$compare")
    keys() { xdotool windowfocus --sync "$compare" key --delay 120 "$@"; }
    keys Tab Down Down Down Down Down Down Tab Down   # Sort by: Security, Descending
    keys Tab Tab                                      # Must have
    xdotool type --delay 80 Scr
    keys space                                        # Screenshots
    keys shift+Tab ctrl+Home space Down space Down space   # three on the shortlist
    keys Tab Tab space                                # Differences only
    sleep 1
    read -r x y w h < <(geometry "$window")
    read -r cx cy cw ch < <(geometry "$compare")
    left=$((x < cx ? x : cx)) top=$((y < cy ? y : cy))
    right=$((x + w > cx + cw ? x + w : cx + cw)) bottom=$((y + h > cy + ch ? y + h : cy + ch))
    xwd -root -silent | convert xwd:- -crop "$((right - left))x$((bottom - top))+$left+$top" +repage png:docs/compare.png
    echo "wrote docs/compare.png"
    exit 0
fi
out=docs/screenshot.png
((scale == 1)) || out=docs/screenshot-${scale}x.png
export QT_SCALE_FACTOR=$scale
screen_w=$((1280 * scale)) screen_h=$((1024 * scale))

source tests/e2e/x_session.sh
start_xvfb

# The program with the sample chart (not whatever an update left in the build).
program_in "$work/program" "$build/app/vantrel" app/sample-chart
show_program "take_screenshot.sh" "$work/program"

read -r _ _ _ height < <(geometry "$window")
menu_h=$((height / scale - client_h))   # in logical pixels
# Grid at client (0, 54); header row 5 high, program rows 25 high; the
# "Interception" column (3) starts at x = 225 + 2 * 26.
window_picture "$window" "$work/before-click.png"
xdotool mousemove --window "$window" $((290 * scale)) $(((menu_h + 54 + 5 + 12) * scale)) click 1
xdotool mousemove --window "$window" $((700 * scale)) $(((menu_h + 200) * scale))   # out of the way
clicked() {
    window_picture "$window" "$work/now.png"
    [[ -n $(same_picture "$work/before-click.png" "$work/now.png") ]] || echo clicked
}
wait_for "the selected result shown" clicked || finish_checks
wait_settled "the window painted" "$window" || finish_checks
xwd -id "$window" -silent | convert xwd:- "png:$out"
echo "wrote $out"
