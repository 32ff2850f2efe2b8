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

# A session bus of its own, which the accessibility bus starts on.
if [[ -z ${VANTREL_E2E_SESSION:-} ]]; then
    VANTREL_E2E_SESSION=1 exec dbus-run-session -- bash "$0" "$@"
fi

program=$1
sample=$2
artifacts=$3

source "$(dirname "$0")/x_session.sh"

# pyatspi from Debian's python3 (not whatever python3 comes first on the PATH).
atspi() { /usr/bin/python3 - "$@" 2>/dev/null; }
if ! atspi <<<'import pyatspi'; then
    echo "FAIL: python3-pyatspi is not installed (scripts/setup.sh installs it)"; exit 1
fi
# The program in the accessible tree, and a node of it by role and name.
tree='
import pyatspi, sys
app = [a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == "Vantrel"][0]
def find(node, role, name):
    if node.getRoleName() == role and node.name == name:
        return node
    for child in node:
        found = find(child, role, name)
        if found:
            return found
'
# cell ROW COL: "program|test|value" of the grid's cell (0-based, programs only).
cell() {
    atspi "$@" <<PY
$tree
table = find(app, "table", "Chart").queryTable()
row, col = int(sys.argv[1]), int(sys.argv[2])
print(table.getRowHeader(row).name + "|" + table.getColumnHeader(col).name + "|" + table.getAccessibleAt(row, col).name)
PY
}
# "role|name" of what has the keyboard focus in the about box.
focus_in_about() {
    atspi <<PY
$tree
for about in (w for w in app if w.name == "About"):
    for node in pyatspi.utils.findAllDescendants(about, lambda n: n.getState().contains(pyatspi.STATE_FOCUSED)):
        print(node.getRoleName() + "|" + node.name)
PY
}
is_focused() { focus_in_about | grep -Fx "$1"; }
# expect_focus WHAT ROLE|NAME: waits until that object has the about box's focus.
expect_focus() {
    local seen
    if seen=$(wait_until is_focused "$2"); then
        pass "$1: $seen has the focus"
    else
        fail "$1: the focus is on '$(focus_in_about | tr '\n' ';')', not $2"
    fi
}

start_xvfb
atspi <<<'import pyatspi; pyatspi.Registry.getDesktop(0)'  # the accessibility bus up first
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

folder=$work/program
program_in "$folder" "$program" "$sample"
start_program "$folder"
if ! w=$(main_window); then
    echo "FAIL: the window did not appear"; cat "$folder/output.log"; exit 1
fi
wait_painted "$w" || fail "the window was not painted"

# The sample chart's first program and its Interception, its third its Total;
# the name column's heading.
for expected in "0 3 KeyWarden|Interception|4" "2 7 QuietKeys|Total|25" "1 0 TypeTrace|Program|TypeTrace"; do
    read -r row col names <<<"$expected"
    if read_names=$(wait_until cell "$row" "$col") && [[ $read_names == "$names" ]]; then
        pass "the cell at row $row, column $col reads $read_names"
    else
        fail "the cell at row $row, column $col reads '${read_names:-nothing}', not $names"
    fi
done

keys() { xdotool key --delay 150 "$@"; }
xdotool windowfocus --sync "$w"
# Help/About: F10 (File), Right twice, Enter opens Help, Enter chooses About.
keys F10 Right Right Return Return
about_window() { xdotool search --onlyvisible --name '^About$' 2>/dev/null | head -n1; }
if ! about=$(wait_until about_window); then
    fail "Help/About by keys showed no about box"; finish_checks
fi
has_x_focus() { [[ $(xdotool getwindowfocus 2>/dev/null) == "$1" ]] && echo yes; }
if wait_until has_x_focus "$about" >/dev/null; then
    pass "the about box is the active window"
else
    fail "the about box is shown but not active"
fi
expect_focus "shown" "push button|CLOSE"
keys Tab
expect_focus "Tab" "link|www.vantrel.example"
# The box's own pixels (it may not be on the screen's picture under Xvfb).
xwd -id "$about" -silent | convert xwd:- "png:$artifacts/about-box-web-link-focused.png"
keys Tab
expect_focus "Tab again" "link|info@vantrel.example"
keys Tab
expect_focus "Tab a third time" "push button|CLOSE"
keys Escape
about_gone() { [[ -z $(about_window) ]] && echo gone; }
if wait_until about_gone >/dev/null; then
    pass "Esc hid the about box"
else
    fail "the about box stayed after Esc"
fi
if wait_until has_x_focus "$w" >/dev/null; then
    pass "the main window has the keyboard again"
else
    fail "the main window did not get the keyboard back"
fi
stop_program "keyboard" "$folder"

echo "screenshots in $artifacts"
finish_checks
