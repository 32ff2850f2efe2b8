#!/usr/bin/env bash
# The window as a reader who uses the keyboard and a screen reader meets it:
# the program under Xvfb with the sample chart, read through the desktop's
# accessibility bus (AT-SPI, as a screen reader reads it). A cell of the grid
# reads as its program, its test and its value; Help/About by keys alone
# (F10, arrows, Enter) makes the about box the active window, Tab reaches its
# two links and CLOSE (announced as links and a button), Esc hides it and
# gives the keyboard back to the main window.
#
# Usage: keyboard_a11y_e2e.sh PROGRAM SAMPLE_CHART_DIR ARTIFACT_DIR
set -uo pipefail

program=$1
sample=$2
artifacts=$3

source "$(dirname "$0")/x_session.sh"

start_xvfb
start_accessibility
folder=$work/program
program_in "$folder" "$program" "$sample"
show_program "keyboard" "$folder"

# The sample chart's first program and its Interception, its third its Total;
# the name column's heading.
for expected in "0 3 KeyWarden|Interception|4" "2 7 QuietKeys|Total|25" "1 0 TypeTrace|Program|TypeTrace"; do
    read -r row col names <<<"$expected"
    expect_output "the cell at row $row, column $col reads $names" "$names" accessible cell Chart "$row" "$col"
done

# Help/About: F10 (File), Right twice, Enter opens Help, Enter chooses About.
open_by_keys "Help/About by keys" "$window" About F10 Right Right Return Return || finish_checks
about=$awaited
wait_for "the about box the active window" has_focus "$about" && pass "the about box is the active window"
# expect_focus WHAT ROLE|NAME: that object alone has the about box's focus.
expect_focus() { expect_output "$1: $2 has the focus" "$2" accessible focused dialog About; }
expect_focus "shown" "push button|CLOSE"
press Tab
expect_focus "Tab" "link|www.vantrel.example"
# The box's own pixels (it may not be on the screen's picture under Xvfb).
window_picture "$about" "$artifacts/about-box-web-link-focused.png"
press Tab
expect_focus "Tab again" "link|info@vantrel.example"
press Tab
expect_focus "Tab a third time" "push button|CLOSE"
press Escape
wait_for "the about box hidden after Esc" untitled About && pass "Esc hid the about box"
wait_for "the main window's keyboard back" has_focus "$window" && pass "the main window has the keyboard again"
stop_program "keyboard" "$folder"

echo "screenshots in $artifacts"
finish_checks
