#!/usr/bin/env bash
# What changed, the way a reader who uses the keyboard and a screen reader
# meets it: the program under Xvfb with the sample chart, a real static HTTP
# server on loopback serving the same chart with one score changed; Update
# chosen from the menu bar by keys alone (F10, arrows, Enter), then Options/
# What changed… the same way, once the reload has made it available; the
# window's lines read through the desktop's accessibility bus (AT-SPI, as a
# screen reader reads them); Down and Enter choose the first change, whose
# cell's details then show, the window beside the grid and details panel, not
# over them; Esc closes it.
#
# Usage: what_changed_e2e.sh PROGRAM SAMPLE_CHART_DIR ARTIFACT_DIR
#   PROGRAM  the loopback copy, which fetches from $VANTREL_E2E_DATA_SERVER
set -uo pipefail

program=$1
module=$(dirname "$program")/vantrel-http.so
sample=$2
artifacts=$3

source "$(dirname "$0")/x_session.sh"

chart_with_one_change "$sample" "$work/changed"
serve_chart "$work/changed"
start_xvfb
start_accessibility

folder=$work/program
program_in "$folder" "$program" "$sample" "$module"
show_program "what changed" "$folder"

# Options/Update by keys: F10 (File), Right (Options), Enter (open), Enter (Update).
keys "$window" F10 Right Return Return
wait_for "Update from the keyboard: the served chart in the folder" holds_served_chart "$folder" &&
    pass "Update from the keyboard replaced the chart"
# The reload follows the commit on the window's thread; the menu item is
# there once it found a change.
wait_for "the reload: Options/What changed… enabled" accessible enabled "menu item" "What changed…"

# Options/What changed…: F10, Right, Enter, Down (past Update), Enter.
if open_by_keys "Options/What changed…" "$window" "What changed" F10 Right Return Down Return; then
    changes=$awaited
else
    screenshot what-changed-missing
    finish_checks
fi
# The two changes among its lines, in this order, as a screen reader reads them.
changed_lines() {
    accessible items list Changes |
        grep -x -e 'KeyWarden (row 1): Interception 4 -> 2' -e 'KeyWarden (row 1): Total 28 -> 26'
}
expect_output "a screen reader reads the changes" \
    $'KeyWarden (row 1): Interception 4 -> 2\nKeyWarden (row 1): Total 28 -> 26' changed_lines ||
    echo "its lines: $(accessible items list Changes | tr '\n' ';')"

# Down (past the program's heading) and Enter: Interception's cell and its details.
wait_for "the What changed window focused" has_focus "$changes"
press Down Return   # to the window that has the focus: What changed
details_title() { accessible text text Details | head -n 1; }
expect_output "Down, Enter showed the details of the line's cell" Interception details_title
# Its frame beside the main window's grid and details panel (client y 54 to 335).
read -r x y _ h < <(geometry "$window")
read -r cx cy cw ch < <(geometry "$changes")
kept_top=$((y + h - client_h + 54)) kept_bottom=$((y + h - client_h + 335))
if ((cx >= x + 762 || cx + cw <= x || cy >= kept_bottom || cy + ch <= kept_top)); then
    pass "the window ($cx,$cy ${cw}x$ch) leaves the grid and details panel uncovered"
else
    fail "the window ($cx,$cy ${cw}x$ch) covers the grid or details panel (${x},$kept_top to $kept_bottom)"
fi
is_dialog "$changes" && fail "the window is kept above the main window (a dialog, or transient for it)"
wait_settled "What changed: its window painted" "$changes" &&
    window_picture "$changes" "$artifacts/what-changed.png"
press Escape   # to the window that has the focus: What changed
wait_for "What changed closed after Esc" untitled "What changed" && pass "Esc closed the window"
stop_program "what changed" "$folder"

echo "screenshots in $artifacts"
finish_checks
