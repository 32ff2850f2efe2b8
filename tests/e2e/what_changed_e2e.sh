#!/usr/bin/env bash
# What changed, the way a reader who uses the keyboard and a screen reader
# meets it: the program under Xvfb with the sample chart, a real static HTTP
# server on loopback serving the same chart with one score changed; Update
# chosen from the menu bar by keys alone (F10, arrows, Enter), then Options/
# What changed… the same way, once the reload has made it available; the
# window's lines read through the desktop's accessibility bus (AT-SPI, as a
# screen reader reads them); Esc closes it.
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
keys "$window" F10 Right Return Down Return
if wait_for "What changed: its lines on the accessibility bus" accessible items list Changes; then
    lines=$awaited
    if wait_for "What changed: its window" titled "What changed"; then
        changes=${awaited%%$'\n'*}
        wait_settled "What changed: its window painted" "$changes" &&
            window_picture "$changes" "$artifacts/what-changed.png"
    fi
    if grep -qx 'KeyWarden: Interception 4 -> 2' <<<"$lines" && grep -qx 'KeyWarden: Total 28 -> 26' <<<"$lines"; then
        pass "a screen reader reads the changes: $(tr '\n' ';' <<<"$lines")"
    else
        fail "the changes read: $lines"
    fi
else
    screenshot what-changed-missing
fi
xdotool key Escape  # to the window that has the focus: What changed
wait_for "What changed closed after Esc" untitled "What changed" && pass "Esc closed the window"
stop_program "what changed" "$folder"

echo "screenshots in $artifacts"
finish_checks
