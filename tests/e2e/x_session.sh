# The end-to-end scripts' one library (sourced, not run; the package test,
# the screenshot script and the start-up benchmark source it too): a private
# X server and session bus, the program started and ended, its windows seen
# from the outside and read as a screen reader reads them (accessible.py), a
# reader's steps by keys, a data server on loopback, and waits for what a step
# is about (a window, a title, an accessible name, a pixel state, a file),
# each with a bound and a failed check naming what it waited for.
#
# Sourcing it sources checks.sh (a work folder, $work, the checks and the
# clean-up at exit) and registers end_x_session there, which ends the program
# ($app_pid), the data server, the X server and the bus. A script that keeps
# screenshots sets artifacts (the folder they go to) before calling start_xvfb.
# Functions that set a variable the script reads ($window, $awaited, $app_pid)
# must be called directly, never inside $(...).

here_e2e=$(dirname "${BASH_SOURCE[0]}")
source "$here_e2e/checks.sh"

# A sourcing script may set a larger screen first (a 2x screenshot).
readonly screen_w=${screen_w:-1280} screen_h=${screen_h:-1024}
readonly client_w=762 client_h=380   # the main window's client area, below its menu bar
# The grid within the client area (the update and package tests compare it).
readonly grid_x=0 grid_y=54 grid_w=429 grid_h=281
readonly button_x=380 button_y=348   # the Update button's centre, in client coordinates
# Every wait's bound: generous, for a busy 2-core machine and a sanitizer
# build. Only a wait for what never comes takes it.
readonly timeout_s=30

xvfb_pid=
bus_pid=
app_pid=
server_pid=
window=    # the main window show_program waited for
awaited=   # what the last wait saw

end_x_session() {
    end_process "$app_pid"
    end_process "$server_pid"
    end_process "$xvfb_pid"
    end_process "$bus_pid"
}
at_exit end_x_session

# --- waiting -------------------------------------------------------------------

# poll COMMAND...: runs COMMAND every poll_every seconds until it prints
# something, kept in $awaited; false when timeout_s passes first. COMMAND runs
# in this shell, so it may keep what it saw for its next run.
poll_every=0.1
poll() {
    local deadline=$((SECONDS + timeout_s))
    while :; do
        "$@" >"$work/awaited" 2>/dev/null || true
        if [[ -s $work/awaited ]]; then
            awaited=$(<"$work/awaited")
            return 0
        fi
        if ((SECONDS >= deadline)); then
            awaited=
            return 1
        fi
        sleep "$poll_every"
    done
}

# wait_for WHAT COMMAND...: as poll; when the bound passes, a failed check
# naming WHAT.
wait_for() {
    local what=$1
    shift
    poll "$@" && return 0
    fail "$what: not within ${timeout_s} s"
    return 1
}

# expect_output LABEL EXPECTED COMMAND...: waits until COMMAND prints
# EXPECTED (all of it, to the letter); a check that passes with LABEL, or fails
# with what COMMAND printed last.
last_output=
prints() {
    local expected=$1
    shift
    last_output=$("$@" 2>/dev/null)
    [[ $last_output == "$expected" ]] && echo yes
}
expect_output() {
    local label=$1 expected=$2
    shift 2
    if poll prints "$expected" "$@"; then
        pass "$label"
        return 0
    fi
    fail "$label: expected [$expected], read [$last_output] for ${timeout_s} s"
    return 1
}

# now_ms: the time in milliseconds, for saying how long something took.
now_ms() { local us=${EPOCHREALTIME/[.,]/}; echo $((us / 1000)); }

# non_empty FILE: prints FILE when it has bytes.
non_empty() { [[ -s $1 ]] && echo "$1"; }
# same_file A B: prints "same" when the two files hold the same bytes.
same_file() { cmp -s "$1" "$2" && echo same; }

# --- the session -------------------------------------------------------------------

# A private X server and a private session bus (what accessibility and Qt's
# desktop services talk over), both ended at exit. -displayfd lets the server
# pick a free display and tell its number once it accepts connections, so
# parallel runs never collide. -noreset keeps the server up when its last
# client leaves: a program started just after another one ended would
# otherwise meet a server in the middle of its reset.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 "${screen_w}x${screen_h}x24" -nolisten tcp -noreset \
        3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    if ! wait_for "the X server (Xvfb)" non_empty "$work/display"; then
        cat "$work/xvfb.log"
        finish_checks
    fi
    export DISPLAY=:$(tr -d '[:space:]' <"$work/display")
    export QT_QPA_PLATFORM=xcb
    local bus
    if ! bus=$(dbus-daemon --session --fork --nosyslog --print-address=1 --print-pid=1 2>"$work/bus.log"); then
        fail "the session bus (dbus-daemon) did not start"
        cat "$work/bus.log"
        finish_checks
    fi
    export DBUS_SESSION_BUS_ADDRESS=${bus%%$'\n'*}
    bus_pid=${bus##*$'\n'}
    if [[ -n ${artifacts:-} ]]; then mkdir -p "$artifacts"; fi
}

# The desktop's accessibility bus, started through the session bus, and Qt
# told to speak on it.
start_accessibility() {
    if ! accessible ready >/dev/null; then
        fail "no accessibility bus: python3-pyatspi is not installed (scripts/setup.sh installs it)"
        finish_checks
    fi
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}

# accessible QUERY ROLE NAME: what a screen reader reads of the program (see
# accessible.py), through Debian's python3, not whatever comes first on PATH.
accessible() { /usr/bin/python3 "$here_e2e/accessible.py" "$@" 2>/dev/null; }

# --- the program -------------------------------------------------------------------

# program_in FOLDER PROGRAM CHART_DIR [FILE...]: the program in FOLDER with
# the chart of CHART_DIR (data, policy, version) and any FILE beside it.
program_in() {
    local folder=$1 program=$2 chart=$3
    shift 3
    mkdir -p "$folder"
    cp "$program" "$folder/vantrel"
    cp "$chart/data" "$chart/policy" "$chart/version" "$@" "$folder/"
}

# start_program FOLDER [LAUNCHER]: runs FOLDER/vantrel, or LAUNCHER if given,
# its output kept in FOLDER/output.log.
start_program() {
    "${2:-$1/vantrel}" </dev/null >"$1/output.log" 2>&1 &
    app_pid=$!
}

# start_window LABEL FOLDER [LAUNCHER]: starts the program and waits for its
# main window, kept in $window. The script ends there (its checks failed, the
# program's output shown) when the window does not come.
start_window() {
    start_program "$2" "${3:-}"
    if wait_for "$1: the main window" visible_main_windows; then
        window=${awaited%%$'\n'*}
        return 0
    fi
    cat "$2/output.log"
    finish_checks
}

# show_program LABEL FOLDER [LAUNCHER]: as start_window, and the window painted.
show_program() {
    start_window "$@"
    wait_painted "$window" && return 0
    fail "$1: the main window painted: not within ${timeout_s} s"
    cat "$2/output.log"
    finish_checks
}

# stop_program LABEL FOLDER: ends the program, which should still be running
# (a failed check otherwise).
stop_program() {
    if ! kill -0 "$app_pid" 2>/dev/null; then
        fail "$1: the program ended by itself"; cat "$2/output.log"
    fi
    kill "$app_pid" 2>/dev/null
    wait "$app_pid" 2>/dev/null
    app_pid=
}

program_ended() { kill -0 "$app_pid" 2>/dev/null || echo ended; }

# ended_cleanly LABEL FOLDER: the program, just told to end (File/Exit,
# SIGTERM), ends by itself with status 0; the check says how long it took.
# One still running at the bound is ended.
ended_cleanly() {
    local told status=0
    told=$(now_ms)
    if ! poll_every=0.05 wait_for "$1: the program's end" program_ended; then
        end_process "$app_pid"
        app_pid=
        return 1
    fi
    wait "$app_pid" || status=$?
    app_pid=
    if ((status == 0)); then
        pass "$1: the program ended with status 0 in $(($(now_ms) - told)) ms"
    else
        fail "$1: the program ended with status $status"; cat "$2/output.log"
    fi
}

# --- windows -----------------------------------------------------------------------

visible_windows() { xdotool search --onlyvisible --name '^Vantrel$' 2>/dev/null; }
# titled TITLE: the visible windows with that title.
titled() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null; }
# untitled TITLE: prints "gone" when no visible window has that title.
untitled() { [[ -n $(titled "$1") ]] || echo gone; }
# gone WINDOW: prints "gone" once the window is no longer shown.
gone() { xdotool search --onlyvisible --name '' 2>/dev/null | grep -qx "$1" || echo gone; }

# "x y w h" of a top-level window
geometry() {
    xwininfo -id "$1" 2>/dev/null | awk '
        /Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
}

# There is no window manager, so the main window's X window is exactly its
# client area with the menu bar above it: the menu bar's height.
menu_height() {
    local height
    read -r _ _ _ height < <(geometry "$1")
    echo $((height - client_h))
}

# A message box is a dialog (window type or transient-for), the main window is not.
is_dialog() {
    xprop -id "$1" _NET_WM_WINDOW_TYPE WM_TRANSIENT_FOR 2>/dev/null |
        grep -q -e '_NET_WM_WINDOW_TYPE_DIALOG' -e 'WM_TRANSIENT_FOR(WINDOW): window id'
}

visible_main_windows() {
    local w
    for w in $(visible_windows); do is_dialog "$w" || echo "$w"; done
}
visible_dialogs() {
    local w
    for w in $(visible_windows); do is_dialog "$w" && echo "$w"; done
    return 0
}

# no_message_box LABEL: a check that no message box is showing.
no_message_box() {
    if [[ -n $(visible_dialogs) ]]; then fail "$1: a message box is showing"; else pass "$1: no message box"; fi
}

# Visible windows other than the root and the given one (an open menu, say).
other_visible_windows() {
    local root
    root=$(xwininfo -root | awk '/Window id:/ {print $4}')
    xdotool search --onlyvisible --name '' 2>/dev/null |
        while read -r id; do
            (( id == root || id == $1 )) || echo "$id"
        done
}

# open_file_menu WINDOW: clicks File in the menu bar, as a person would; true
# once the menu shows.
open_file_menu() {
    xdotool mousemove --window "$1" 15 $(($(menu_height "$1") / 2)) click 1
    poll other_visible_windows "$1"
}

# exit_through_menu LABEL FOLDER WINDOW: File, then its one item Exit, as a
# person would; the program must end by itself with status 0.
exit_through_menu() {
    if ! open_file_menu "$3"; then
        fail "$1: the File menu: not within ${timeout_s} s"
        return 1
    fi
    xdotool key Down Return
    ended_cleanly "$1, File/Exit" "$2"
}

# click_update WINDOW: a click on the Update button's centre, as a person would.
click_update() { xdotool mousemove --window "$1" "$button_x" $(($(menu_height "$1") + button_y)) click 1; }

# keys WINDOW KEY...: keys pressed in the window, as a person types them.
keys() {
    local w=$1
    shift
    xdotool windowfocus --sync "$w" key --delay 150 "$@"
}
# press KEY...: keys pressed in whichever window has the keyboard (an open
# menu, a dialog that took it).
press() { xdotool key --delay 150 "$@"; }

# has_focus WINDOW: prints "focused" while WINDOW has the keyboard.
has_focus() { [[ $(xdotool getwindowfocus 2>/dev/null) == "$1" ]] && echo focused; }

# open_by_keys WHAT WINDOW TITLE KEY...: KEY... pressed in WINDOW (a menu
# command, a button), then a wait for the window titled TITLE it opens, kept
# in $awaited (the first, should there be two).
open_by_keys() {
    local what=$1 w=$2 title=$3
    shift 3
    keys "$w" "$@"
    wait_for "$what: a window titled $title" titled "$title" || return 1
    awaited=${awaited%%$'\n'*}
}

# --- Options/Compare… ---------------------------------------------------------------

# open_compare WINDOW: Options/Compare… by keys: F10, Right (Options), Enter,
# Up (round to its last item), Enter; $awaited keeps the Compare window.
open_compare() { open_by_keys "Options/Compare…" "$1" Compare F10 Right Return Up Return; }

# A reader's steps in the Compare window COMPARE, by keys alone, each from
# where the one before it leaves the keyboard (the first from Find).
# Sort by (Tab from Find): Down to Security, Tab, Down to Descending.
compare_sort_by_security() { keys "$1" Tab Down Down Down Down Down Down Tab Down; }
# Must have (Tab past Programs): typing a name finds it, Space checks it.
compare_must_have_screenshots() {
    keys "$1" Tab Tab
    xdotool type --delay 80 Scr
    keys "$1" space
}
# Back to Programs (Shift+Tab), to its top (Ctrl+Home): the first three checked.
compare_shortlist_first_three() { keys "$1" shift+Tab ctrl+Home space Down space Down space; }
# Differences only (Tab past Must have).
compare_differences_only() { keys "$1" Tab Tab space; }

# side_by_side_differences: prints the count of the side-by-side rows once
# each is marked "differs" or heads the rows of a test that are (Differences
# only).
side_by_side_differences() {
    accessible rows "Side by side" | awk -F'|' '
        { mark[NR] = $2 }
        END {
            for (i = 1; i <= NR; i++) if (mark[i] != "differs" && mark[i + 1] != "differs") exit
            if (NR > 0) print NR
        }'
}

# --- pictures ----------------------------------------------------------------------

screenshot() { xwd -root -silent | convert xwd:- "png:$artifacts/$1.png"; }

# grid_picture WINDOW FILE: the grid as shown, cut out of the screen.
grid_picture() {
    local x y width height menu_h
    read -r x y width height < <(geometry "$1")
    menu_h=$((height - client_h))
    xwd -root -silent |
        convert xwd:- -crop "${grid_w}x${grid_h}+$((x + grid_x))+$((y + menu_h + grid_y))" +repage "png:$2"
}

# window_picture WINDOW FILE: the whole window as shown.
window_picture() { xwd -id "$1" -silent | convert xwd:- "png:$2"; }

# same_picture A B: prints "same" when two pictures have no differing pixel.
same_picture() {
    local differing
    differing=$(compare -metric AE "$1" "$2" null: 2>&1)
    [[ $differing == 0 ]] && echo same
}

# settled TAKE WINDOW: prints "settled" once the picture `TAKE WINDOW FILE`
# makes has more than one colour and is the one its last run saw (painted,
# and no longer changing). The chart and its start-up messages come before
# the main window shows, so by then anything start-up shows is up too.
last_look=
settled() {
    local colours look
    "$1" "$2" "$work/look.png"
    # The pixels' count of colours and signature (the file's bytes also hold
    # the time it was made).
    read -r colours look < <(identify -format '%k %#' "$work/look.png")
    if ((colours > 1)) && [[ $look == "$last_look" ]]; then echo settled; fi
    last_look=$look
}

# wait_painted WINDOW: true once the main window's grid has been painted.
wait_painted() {
    last_look=
    poll settled grid_picture "$1"
}

# wait_settled WHAT WINDOW [TAKE]: waits until the window has been painted,
# as TAKE (window_picture unless given) sees it.
wait_settled() {
    last_look=
    wait_for "$1" settled "${3:-window_picture}" "$2"
}

# shows_grid WINDOW PICTURE: prints "same" when the grid looks as PICTURE
# does; its last look is kept in $work/grid.png.
shows_grid() {
    grid_picture "$1" "$work/grid.png"
    same_picture "$work/grid.png" "$2"
}

# reference_grid PROGRAM CHART_DIR PICTURE [active]: the grid as the program
# shows the chart of CHART_DIR, kept in PICTURE; the script ends when it
# cannot be had. With "active", the window is made active first by a click on
# its status bar, as a click on its Update button makes it: its grid has the
# focus, and shows it.
reference_grid() {
    local reference=$work/reference
    program_in "$reference" "$1" "$2"
    show_program "reference" "$reference"
    if [[ ${4:-} == active ]]; then
        grid_picture "$window" "$work/inactive-grid.png"
        xdotool mousemove --window "$window" 300 $(($(menu_height "$window") + 370)) click 1
        focus_shown() {
            grid_picture "$window" "$work/active-grid.png"
            [[ -z $(same_picture "$work/inactive-grid.png" "$work/active-grid.png") ]] && echo shown
        }
        wait_for "the reference window active" focus_shown
        wait_painted "$window"
    fi
    grid_picture "$window" "$3"
    stop_program "reference" "$reference"
    rm -rf "$reference"
}

# --- charts and their data server -------------------------------------------------

# older_chart DIR: a chart older than any served: one program, nothing else.
older_chart() {
    mkdir -p "$1"
    printf '10\r\n10\r\n' >"$1/version"
    printf 'http://www.old-monitor.example/\r\nOld Monitor 1.0\r\n10 10 10 10 10 10\r\n1 1 1 1 1 1 6\r\n\r\n' >"$1/data"
    local test
    for test in "OS support" "Demo version" "Interception" "Log viewing" "Security" "Network options"; do
        printf '%s\r\nOld criterion\r\n\r\n' "$test"
    done >"$1/policy"
}

# chart_with_one_change SAMPLE_DIR DIR: the sample chart with one score
# changed, KeyWarden's Interception 4 -> 2 (and so its Total 28 -> 26).
chart_with_one_change() {
    mkdir -p "$2"
    cp "$1/policy" "$1/version" "$2/"
    sed '4s/^5 5 4 4 5 5 28/5 5 2 4 5 5 26/' "$1/data" >"$2/data"
    if cmp -s "$1/data" "$2/data"; then
        fail "the sample chart's first program is not the KeyWarden this test changes"
        finish_checks
    fi
}

# serving_port LOG: the port a server started on port 0 announced in its log
# ("... port N ..."), once it listens.
serving_port() { sed -n 's/.* port \([0-9][0-9]*\).*/\1/p' "$1" | head -n 1; }

# start_data_server LOG COMMAND...: a data server on loopback, COMMAND, which
# says "... port N ..." once it listens (the previous one ended first); the
# program's loopback copy is pointed at it. The script ends when it does not
# listen.
start_data_server() {
    local log=$1
    shift
    end_process "$server_pid"
    "$@" >"$log" 2>&1 &
    server_pid=$!
    if ! wait_for "a data server listening ($*)" serving_port "$log"; then
        cat "$log"
        finish_checks
    fi
    export VANTREL_E2E_DATA_SERVER=http://127.0.0.1:$awaited
}

# serve_chart CHART_DIR: its three files served as data.dat, policy.dat and
# version.dat (in $served) by a real static HTTP server, whose log is
# $work/server.log.
served=$work/served
serve_chart() {
    local name
    mkdir -p "$served"
    for name in data policy version; do cp "$1/$name" "$served/$name.dat"; done
    start_data_server "$work/server.log" python3 -u -m http.server --bind 127.0.0.1 0 --directory "$served"
}

# holds_served_chart FOLDER: prints "yes" once FOLDER's three files hold the
# served bytes.
holds_served_chart() {
    local name
    for name in data policy version; do
        cmp -s "$served/$name.dat" "$1/$name" || return 0
    done
    echo yes
}
