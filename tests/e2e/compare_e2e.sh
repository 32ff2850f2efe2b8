#!/usr/bin/env bash
# Options/Compare…, the way a reader who uses the keyboard and a screen
# reader meets it: the program under Xvfb with the sample chart; the window
# opened from the menu bar by keys alone; sorted by Security, highest first;
# two sub-criteria required; three programs shortlisted and read side by side
# with "Differences only" through the desktop's accessibility bus (AT-SPI, as
# a screen reader reads them); the view saved as CSV through the file dialog
# and compared with the chart; the last program chosen shows as the grid's
# selected Total cell. Then an Update from a static HTTP server on loopback
# that renames one of the three keeps it on the shortlist.
#
# Usage: compare_e2e.sh PROGRAM SAMPLE_CHART_DIR ARTIFACT_DIR
#   PROGRAM  the loopback copy, which fetches from $VANTREL_E2E_DATA_SERVER
set -uo pipefail

program=$1
module=$(dirname "$program")/vantrel-http.so
sample=$2
artifacts=$3
expectations=$(dirname "$0")/chart_expectations.py

source "$(dirname "$0")/x_session.sh"

# --- what the chart says: the view the reader will make ------------------
python3 "$expectations" view "$sample" >"$work/expected.csv"
mapfile -t view < <(python3 -c 'import csv, sys; [print(r[0]) for r in list(csv.reader(open(sys.argv[1])))[1:]]' "$work/expected.csv")
if ((${#view[@]} < 3)); then
    fail "the sample chart keeps fewer than three programs for this test"
    finish_checks
fi
shortlisted="${view[0]}|${view[1]}|${view[2]}"
renamed="${view[1]} Next"

# --- the data server: the sample chart with the second of them renamed -----
mkdir -p "$work/renamed"
cp "$sample/policy" "$sample/version" "$work/renamed/"
python3 "$expectations" renamed "$sample" "${view[1]}" "$renamed" >"$work/renamed/data"
serve_chart "$work/renamed"

start_xvfb
start_accessibility
export XDG_CONFIG_HOME=$work/config   # the settings the window keeps, not the user's

folder=$work/program
program_in "$folder" "$program" "$sample" "$module"
show_program "compare" "$folder"
open_compare "$window" || finish_checks
compare=$awaited
wait_for "the table \"Programs\" on the accessibility bus" accessible rows Programs

compare_sort_by_security "$compare"
expect_output "sorted by Security, highest first, and the heading says so" \
    "Security: sorted descending" accessible sorted Programs

# Screenshots a must-have, then Down from there to Tamper alerts, checked too.
compare_must_have_screenshots "$compare"
# shellcheck disable=SC2046
keys "$compare" $(printf 'Down %.0s' $(seq "$(python3 "$expectations" downs "$sample")")) space
count() { accessible rows Programs | wc -l; }
expect_output "two must-haves keep ${#view[@]} programs" "${#view[@]}" count

compare_shortlist_first_three "$compare"
shortlist() { accessible checked Programs | paste -sd'|'; }
expect_output "three programs shortlisted" "$shortlisted" shortlist
expect_output "side by side, a column each" "Test|Differs|$shortlisted" accessible headers "Side by side"

compare_differences_only "$compare"
if wait_for "Differences only: every row marked \"differs\" or heading marked ones" side_by_side_differences; then
    pass "Differences only: $awaited rows, each marked or heading marked ones"
    accessible rows "Side by side" >"$artifacts/compare-side-by-side.txt"
else
    echo "the side-by-side rows: $(accessible rows "Side by side" | head -n 3)"
fi

# Save as CSV… (Tab past Side by side): the file dialog, a name, Enter.
if open_by_keys "Save as CSV…" "$compare" "Save as CSV" Tab Tab space; then
    keys "$awaited" ctrl+a
    xdotool type --delay 20 "$work/saved.csv"
    press Return
    if wait_for "the CSV saved: the chart's view" same_file "$work/saved.csv" "$work/expected.csv"; then
        pass "the CSV saved is the chart's view (${#view[@]} programs)"
    else
        diff "$work/expected.csv" "$work/saved.csv" | head -n 10
    fi
else
    screenshot compare-no-dialog
fi

# The last program chosen in "Programs" (the third): its Total selected in
# the grid, so the details panel shows every test's answers of it (its name
# would have opened a page instead).
python3 "$expectations" answers "$sample" "${view[2]}" >"$work/details.expected"
details() { accessible text text Details | grep -v '^$'; }
expect_output "the grid's Total of ${view[2]} is selected: the details panel shows all its answers" \
    "$(<"$work/details.expected")" details
screenshot compare

# --- an Update that renames one of the three --------------------------------
keys "$window" F10 Right Return Return   # Options/Update
wait_for "the Update: the served chart in the folder" holds_served_chart "$folder" || cat "$folder/output.log"
expect_output "after the Update, $renamed is still shortlisted" "${view[0]}|$renamed|${view[2]}" shortlist
screenshot compare-after-update

stop_program "compare" "$folder"
echo "screenshots in $artifacts"
finish_checks
