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

# The accessibility tree: pyatspi from Debian's python3.
atspi() { /usr/bin/python3 - "$@" 2>/dev/null; }
if ! atspi <<<'import pyatspi'; then
    echo "FAIL: python3-pyatspi is not installed (scripts/setup.sh installs it)"; exit 1
fi

# read_table NAME [headers|checked|selected|sorted]: the table of that name in
# the program, one line a row, its cells' names separated by "|"; "headers":
# the column headings; "checked": the names of the rows whose first cell is
# checked; "selected": "row,column" of each selected cell; "sorted": the
# heading that says how it is sorted, and how.
read_table() {
    atspi "$@" <<'PY'
import sys, pyatspi
name, what = sys.argv[1], (sys.argv[2] if len(sys.argv) > 2 else "rows")
def find(node):
    if node is None:
        return None
    if node.getRoleName() in ("table", "tree table") and node.name == name:
        return node
    for i in range(node.childCount):
        found = find(node.getChildAtIndex(i))
        if found:
            return found
for app in pyatspi.Registry.getDesktop(0):
    if app is None or app.name != "Vantrel":
        continue
    node = find(app)
    if not node:
        continue
    table = node.queryTable()
    if what == "headers":
        headers = [table.getColumnHeader(c) for c in range(table.nColumns)]
        print("|".join(header.name if header else "?" for header in headers))
    elif what == "sorted":
        for c in range(table.nColumns):
            header = table.getColumnHeader(c)
            if header and header.description:
                print(header.name + ": " + header.description)
    else:
        for r in range(table.nRows):
            cells = [table.getAccessibleAt(r, c) for c in range(table.nColumns)]
            if what == "checked":
                if cells[0].getState().contains(pyatspi.STATE_CHECKED):
                    print(cells[0].name)
            elif what == "selected":
                for c, cell in enumerate(cells):
                    if cell.getState().contains(pyatspi.STATE_SELECTED):
                        print(f"{cells[0].name},{c}")
            else:
                print("|".join(cell.name for cell in cells))
PY
}
# expect LABEL COMMAND...: waits for COMMAND's output to be what $expected
# holds; passes or fails with LABEL.
expect() {
    local label=$1 got
    shift
    matches() { local out; out=$("$@"); [[ $out == "$expected" ]] && echo "$out"; }
    if got=$(wait_until matches "$@"); then
        pass "$label"
    else
        fail "$label: expected [$expected], read [$("$@")]"
        screenshot "compare-$label"
    fi
}

# --- what the chart says: the view the reader will make ------------------
# The programs that answer YES to Screenshots (Interception) and Tamper alerts
# (Security), by Security, highest first (ties in the chart's order), as the
# window's CSV writes them: the name, the seven results, every answer.
expected_csv() {
    python3 - "$1" <<'PY'
import csv, sys
folder = sys.argv[1]
def records(name):
    text = open(f"{folder}/{name}", encoding="utf-8").read().replace("\r", "")
    return [r.split("\n") for r in text.split("\n\n") if r.strip()]
tests = records("policy")
headings = ["OS support", "Demo version", "Interception", "Log viewing", "Security", "Network options"]
def answer(flags, t, m):
    words = flags.split(" ")
    token = words[t - 1] if t - 1 < len(words) else ""
    return {"1": "YES", "0": "NO"}.get(token[m - 1] if m - 1 < len(token) else "", "N/A")
rows = []
for program in records("data"):
    name, flags, results = program[1], program[2], program[3].split(" ")
    answers = [answer(flags, t, m) for t, test in enumerate(tests, 1) for m in range(1, len(test))]
    if answer(flags, 3, 3) == "YES" and answer(flags, 5, 6) == "YES":
        rows.append([name] + results + answers)
rows.sort(key=lambda row: -int(row[5]))
out = csv.writer(sys.stdout, lineterminator="\r\n")
out.writerow(["Program"] + headings + ["Total"] + [f"{headings[t]}: {n}" for t, test in enumerate(tests) for n in test[1:]])
out.writerows(rows)
PY
}
expected_csv "$sample" >"$work/expected.csv"
mapfile -t view < <(python3 -c 'import csv, sys; [print(r[0]) for r in list(csv.reader(open(sys.argv[1])))[1:]]' "$work/expected.csv")
if ((${#view[@]} < 3)); then
    echo "FAIL: the sample chart keeps fewer than three programs for this test"; exit 1
fi
shortlisted="${view[0]}|${view[1]}|${view[2]}"
# From Screenshots (Interception's 3rd) down to Tamper alerts (Security's 6th)
# in the tree of tests, all open: the rest of Interception, Log viewing and
# its sub-criteria, Security and its first six.
downs=$(python3 - "$sample/policy" <<'PY'
import sys
tests = [r.split("\n") for r in open(sys.argv[1]).read().replace("\r", "").split("\n\n") if r.strip()]
print((len(tests[2]) - 1 - 3) + len(tests[3]) + 1 + 6)
PY
)
renamed="${view[1]} Next"

# --- the data server: the sample chart with the second of them renamed -----
served=$work/served
mkdir -p "$served"
cp "$sample/policy" "$served/policy.dat"
cp "$sample/version" "$served/version.dat"
python3 - "$sample/data" "${view[1]}" "$renamed" >"$served/data.dat" <<'PY'
import sys
lines = open(sys.argv[1], encoding="utf-8", newline="").read().split("\n")
lines = [sys.argv[3] + "\r" if line.rstrip("\r") == sys.argv[2] else line for line in lines]
sys.stdout.write("\n".join(lines))
PY
python3 -u -m http.server --bind 127.0.0.1 0 --directory "$served" >"$work/server.log" 2>&1 &
server_pid=$!
port() { sed -n 's/.* port \([0-9][0-9]*\).*/\1/p' "$work/server.log" | head -n 1; }
wait_until port >/dev/null || { echo "FAIL: the server did not start"; exit 1; }
export VANTREL_E2E_DATA_SERVER=http://127.0.0.1:$(port)

start_xvfb
atspi <<<'import pyatspi; pyatspi.Registry.getDesktop(0)'  # the accessibility bus up first
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export XDG_CONFIG_HOME=$work/config   # the settings the window keeps, not the user's

folder=$work/program
program_in "$folder" "$program" "$sample" "$module"
start_program "$folder"
if ! w=$(main_window); then
    echo "FAIL: the window did not appear"; cat "$folder/output.log"; exit 1
fi
wait_painted "$w" || fail "the window was not painted"

# Options/Compare…: F10, Right (Options), Enter, Up (round to its last item), Enter.
xdotool windowfocus --sync "$w" key --delay 150 F10 Right Return Up Return
if ! c=$(wait_until xdotool search --onlyvisible --name '^Compare$'); then
    echo "FAIL: Options/Compare… opened no window"; screenshot compare-missing; exit 1
fi
c=$(head -n1 <<<"$c")
keys() { xdotool windowfocus --sync "$c" key --delay 120 "$@"; }
wait_until read_table Programs >/dev/null || fail "no table \"Programs\" reached the accessibility bus"

# Sort by (Tab from Find): Down to Security, Tab, Down to Descending.
keys Tab Down Down Down Down Down Down Tab Down
expected="Security: sorted descending"
expect "sorted by Security, highest first, and the heading says so" read_table Programs sorted

# Must have (Tab past Programs): typing a name finds it, Space checks it;
# Down from there to the second.
keys Tab Tab
xdotool type --delay 80 Scr
keys space
# shellcheck disable=SC2046
keys $(printf 'Down %.0s' $(seq "$downs"))
keys space
count() { read_table Programs | wc -l; }
expected=${#view[@]}
expect "two must-haves keep $expected programs" count

# Shortlist the first three (Shift+Tab back to Programs, Ctrl+Home to the top).
keys shift+Tab ctrl+Home space Down space Down space
shortlist() { read_table Programs checked | paste -sd'|'; }
expected=$shortlisted
expect "three programs shortlisted" shortlist
expected="Test|Differs|$shortlisted"
expect "side by side, a column each" read_table "Side by side" headers

# Differences only (Tab past Must have), then every row is marked "differs"
# or heads the rows of a test that do.
keys Tab Tab space
differences() {
    read_table "Side by side" | awk -F'|' '
        { mark[NR] = $2 }
        END {
            for (i = 1; i <= NR; i++) if (mark[i] != "differs" && mark[i + 1] != "differs") exit
            if (NR > 0) print NR
        }'
}
if rows=$(wait_until differences); then
    pass "Differences only: $rows rows, each marked or heading marked ones"
    read_table "Side by side" >"$artifacts/compare-side-by-side.txt"
else
    fail "the side-by-side rows with differences only: $(read_table "Side by side" | head -n 3)"
fi

# Save as CSV… (Tab past Side by side): the file dialog, a name, Enter.
keys Tab Tab space
if d=$(wait_until xdotool search --onlyvisible --name '^Save as CSV$'); then
    xdotool windowfocus --sync "$(head -n1 <<<"$d")" key --delay 80 ctrl+a
    xdotool type --delay 20 "$work/saved.csv"
    xdotool key Return
    if wait_until non_empty "$work/saved.csv" >/dev/null && cmp -s "$work/saved.csv" "$work/expected.csv"; then
        pass "the CSV saved is the chart's view ($(($(wc -l <"$work/saved.csv") - 1)) programs)"
    else
        fail "the CSV saved differs from the chart"; diff "$work/expected.csv" "$work/saved.csv" | head -n 10
    fi
else
    fail "Save as CSV… opened no file dialog"; screenshot compare-no-dialog
fi

# The last program chosen in "Programs" (the third): its Total selected in
# the grid, so the details panel shows every test's answers of it (its name
# would have opened a page instead).
details() {
    atspi <<'PY'
import pyatspi
def find(node):
    if node is None:
        return None
    if node.getRoleName() == "text" and node.name == "Details":
        return node
    for i in range(node.childCount):
        found = find(node.getChildAtIndex(i))
        if found:
            return found
for app in pyatspi.Registry.getDesktop(0):
    if app is not None and app.name == "Vantrel" and (memo := find(app)):
        text = memo.queryText()
        print(text.getText(0, text.characterCount).replace("\r", ""))
PY
}
python3 - "$sample" "${view[2]}" >"$work/details.expected" <<'PY'
import sys
folder, name = sys.argv[1], sys.argv[2]
def records(file):
    text = open(f"{folder}/{file}", encoding="utf-8").read().replace("\r", "")
    return [r.split("\n") for r in text.split("\n\n") if r.strip()]
flags = next(p[2] for p in records("data") if p[1] == name).split(" ")
for t, test in enumerate(records("policy")):
    token = flags[t] if t < len(flags) else ""
    print(test[0])
    for m, sub in enumerate(test[1:]):
        print(sub + ": " + {"1": "YES", "0": "NO"}.get(token[m] if m < len(token) else "", "N/A"))
PY
shows_details() { details | grep -v '^$' | cmp -s - "$work/details.expected" && echo shown; }
if wait_until shows_details >/dev/null; then
    pass "the grid's Total of ${view[2]} is selected: the details panel shows all its answers"
else
    fail "the details panel does not show ${view[2]}'s answers: $(details | head -n 3 | paste -sd' ')"
fi
screenshot compare

# --- an Update that renames one of the three --------------------------------
xdotool windowfocus --sync "$w" key --delay 150 F10 Right Return Return   # Options/Update
replaced() { cmp -s "$served/data.dat" "$folder/data" && echo replaced; }
wait_until replaced >/dev/null || { fail "the chart was not replaced"; cat "$folder/output.log"; }
expected="${view[0]}|$renamed|${view[2]}"
expect "after the Update, $renamed is still shortlisted" shortlist
screenshot compare-after-update

stop_program "compare" "$folder"
echo "screenshots in $artifacts"
finish_checks
