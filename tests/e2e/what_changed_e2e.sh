#!/usr/bin/env bash
# What changed, the way a reader who uses the keyboard and a screen reader
# meets it: the program under Xvfb with the sample chart, a real static HTTP
# server on loopback serving the same chart with one score changed; Update
# chosen from the menu bar by keys alone (F10, arrows, Enter), then Options/
# What changed… the same way; the window's lines read through the desktop's
# accessibility bus (AT-SPI, as a screen reader reads them); Down and Enter
# choose the first change, whose cell's details then show, the window beside
# the grid and details panel, not over them; Esc closes it.
#
# Usage: what_changed_e2e.sh PROGRAM SAMPLE_CHART_DIR ARTIFACT_DIR
#   PROGRAM  the loopback copy, which fetches from $VANTREL_E2E_DATA_SERVER
set -uo pipefail

# A session bus of its own, which the accessibility bus starts on.
if [[ -z ${VANTREL_E2E_SESSION:-} ]]; then
    VANTREL_E2E_SESSION=1 exec dbus-run-session -- bash "$0" "$@"
fi

program=$1
module=$(dirname "$program")/vantrel-http.so
sample=$2
artifacts=$3

source "$(dirname "$0")/x_session.sh"
server_pid=
at_exit 'end_process "$server_pid"'

# The accessibility tree, as a screen reader sees it: pyatspi from Debian's
# python3 (not whatever python3 comes first on the PATH).
atspi() { /usr/bin/python3 - "$@" 2>/dev/null; }
if ! atspi <<<'import pyatspi'; then
    echo "FAIL: python3-pyatspi is not installed (scripts/setup.sh installs it)"; exit 1
fi
# The names of the items of the list "Changes" in the window "What changed".
read_changes() {
    atspi <<'PY'
import pyatspi
def find(node, role, name):
    if node is None:
        return None
    if node.getRoleName() == role and node.name == name:
        return node
    for i in range(node.childCount):
        found = find(node.getChildAtIndex(i), role, name)
        if found:
            return found
for app in pyatspi.Registry.getDesktop(0):
    if app is None or app.name != "Vantrel":
        continue
    changes = find(app, "list", "Changes")
    if changes:
        for i in range(changes.childCount):
            print(changes.getChildAtIndex(i).name)
PY
}
# The first line of the details panel's text.
read_details() {
    atspi <<'PY'
import pyatspi
def find(node):
    if node is None:
        return None
    if node.name == "Details" and node.getRoleName() == "text":
        return node
    for i in range(node.childCount):
        found = find(node.getChildAtIndex(i))
        if found:
            return found
for app in pyatspi.Registry.getDesktop(0):
    if app is not None and app.name == "Vantrel":
        details = find(app)
        if details:
            print(details.queryText().getText(0, -1).splitlines()[0])
PY
}

# --- the data server: the sample chart with KeyWarden's Interception 4 -> 2 --
served=$work/served
mkdir -p "$served"
cp "$sample/policy" "$served/policy.dat"
cp "$sample/version" "$served/version.dat"
sed '4s/^5 5 4 4 5 5 28/5 5 2 4 5 5 26/' "$sample/data" >"$served/data.dat"
if cmp -s "$sample/data" "$served/data.dat"; then
    echo "FAIL: the sample chart's first program is not the one this test changes"; exit 1
fi
python3 -u -m http.server --bind 127.0.0.1 0 --directory "$served" >"$work/server.log" 2>&1 &
server_pid=$!
port() { sed -n 's/.* port \([0-9][0-9]*\).*/\1/p' "$work/server.log" | head -n 1; }
wait_until port >/dev/null || { echo "FAIL: the server did not start"; exit 1; }
export VANTREL_E2E_DATA_SERVER=http://127.0.0.1:$(port)

start_xvfb
atspi <<<'import pyatspi; pyatspi.Registry.getDesktop(0)'  # the accessibility bus up first
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

folder=$work/program
program_in "$folder" "$program" "$sample" "$module"
start_program "$folder"
if ! w=$(main_window); then
    echo "FAIL: the window did not appear"; cat "$folder/output.log"; exit 1
fi
wait_painted "$w" || fail "the window was not painted"
keys() { xdotool windowfocus --sync "$w" key --delay 150 "$@"; }

# Options/Update by keys: F10 (File), Right (Options), Enter (open), Enter (Update).
keys F10 Right Return Return
replaced() { cmp -s "$served/data.dat" "$folder/data" && echo replaced; }
if wait_until replaced >/dev/null; then
    pass "Update from the keyboard replaced the chart"
else
    fail "the chart was not replaced"; cat "$folder/output.log"
fi
sleep 1  # the reload follows the commit on the window's thread

# Options/What changed…: F10, Right, Enter, Down (past Update), Enter.
keys F10 Right Return Down Return
if lines=$(wait_until read_changes); then
    if grep -qx 'KeyWarden (row 1): Interception 4 -> 2' <<<"$lines" &&
        grep -qx 'KeyWarden (row 1): Total 28 -> 26' <<<"$lines"; then
        pass "a screen reader reads the changes: $(tr '\n' ';' <<<"$lines")"
    else
        fail "the changes read: $lines"
    fi
else
    fail "no What changed window reached the accessibility bus"
    screenshot what-changed-missing
fi

# Down (past the program's heading) and Enter: Interception's cell and its details.
changes=$(xdotool search --onlyvisible --name '^What changed$' | head -n1)
focused() { [[ $(xdotool getwindowfocus 2>/dev/null) == "$changes" ]] && echo focused; }
wait_until focused >/dev/null || fail "the What changed window did not take the focus"
xdotool key --delay 150 Down Return  # to the window that has the focus: What changed
interception() { [[ $(read_details) == Interception ]] && echo shown; }
if wait_until interception >/dev/null; then
    pass "Down, Enter showed the details of the line's cell"
else
    fail "the details panel reads: $(read_details)"
fi
# Its frame beside the main window's grid and details panel (client y 54 to 335).
read -r x y _ h < <(geometry "$w")
read -r cx cy cw ch < <(geometry "$changes")
kept_top=$((y + h - client_h + 54)) kept_bottom=$((y + h - client_h + 335))
if ((cx >= x + 762 || cx + cw <= x || cy >= kept_bottom || cy + ch <= kept_top)); then
    pass "the window ($cx,$cy ${cw}x$ch) leaves the grid and details panel uncovered"
else
    fail "the window ($cx,$cy ${cw}x$ch) covers the grid or details panel (${x},$kept_top to $kept_bottom)"
fi
is_dialog "$changes" && fail "the window is kept above the main window (a dialog, or transient for it)"
sleep 1  # painted
screenshot what-changed
xdotool key Escape  # to the window that has the focus: What changed
if wait_until bash -c "xdotool search --onlyvisible --name '^What changed\$' >/dev/null || echo gone" >/dev/null; then
    pass "Esc closed the window"
else
    fail "the What changed window stayed after Esc"
fi
stop_program "what changed" "$folder"

echo "screenshots in $artifacts"
finish_checks
