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
# beside_main OTHER FILE: the part of the screen that holds the main window
# and OTHER (wait_settled's way to take a picture).
beside_main() {
    local x y w h cx cy cw ch
    read -r x y w h < <(geometry "$window")
    read -r cx cy cw ch < <(geometry "$1")
    local left=$((x < cx ? x : cx)) top=$((y < cy ? y : cy))
    local right=$((x + w > cx + cw ? x + w : cx + cw)) bottom=$((y + h > cy + ch ? y + h : cy + ch))
    xwd -root -silent | convert xwd:- -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "png:$2"
}

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
    open_by_keys "Options/What changed…" "$window" "What changed" F10 Right Return Down Return || finish_checks
    changes=$awaited
    # Past the program's heading to its first change, chosen: its cell is
    # selected and the details panel shows it; the window opened beside the
    # main window by itself.
    wait_for "the What changed window focused" has_focus "$changes" || finish_checks
    press Down Return
    details_title() { accessible text text Details | head -n 1; }
    expect_output "the change's cell chosen" Interception details_title || finish_checks
    wait_settled "the two windows painted" "$changes" beside_main || finish_checks
    beside_main "$changes" docs/what-changed.png
    echo "wrote docs/what-changed.png"
    exit 0
fi
if [[ $scale == compare ]]; then
    source tests/e2e/x_session.sh
    start_xvfb
    start_accessibility
    export XDG_CONFIG_HOME=$work/config   # the window's kept choices: none
    program_in "$work/program" "$build/app/vantrel" app/sample-chart
    show_program "take_screenshot.sh" "$work/program"
    open_compare "$window" || finish_checks
    compare=$awaited
    compare_sort_by_security "$compare"
    expect_output "sorted by Security" "Security: sorted descending" accessible sorted Programs || finish_checks
    compare_must_have_screenshots "$compare"
    compare_shortlist_first_three "$compare"
    shortlisted() { accessible checked Programs | wc -l; }
    expect_output "three on the shortlist" 3 shortlisted || finish_checks
    compare_differences_only "$compare"
    wait_for "differences only" side_by_side_differences || finish_checks
    wait_settled "the two windows painted" "$compare" beside_main || finish_checks
    beside_main "$compare" docs/compare.png
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
