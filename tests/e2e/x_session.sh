# Shared by the end-to-end scripts, the screenshot script and the start-up
# benchmark (sourced, not run): a private Xvfb and the helpers that look at the
# program's windows from the outside.
#
# Sourcing it sources checks.sh (a work folder, $work, and the clean-up at
# exit) and registers end_x_session there, which ends the program ($app_pid)
# and the X server. A script that keeps screenshots sets artifacts (the folder
# they go to) before calling start_xvfb.

source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"

# A sourcing script may set a larger screen first (a 2x screenshot).
readonly screen_w=${screen_w:-1280} screen_h=${screen_h:-1024}
readonly client_h=380   # the main window's client area, below its menu bar
# The grid within the client area (the update and package tests compare it).
readonly grid_x=0 grid_y=54 grid_w=429 grid_h=281
readonly button_x=380 button_y=348   # the Update button's centre, in client coordinates
readonly timeout_s=30   # generous: a busy 2-core machine, maybe a sanitizer build

xvfb_pid=
app_pid=

end_x_session() {
    end_process "$app_pid"
    end_process "$xvfb_pid"
}
at_exit end_x_session

# -displayfd lets the server pick a free display and tell us its number once it
# accepts connections, so parallel runs never collide. -noreset keeps the
# server up when its last client leaves: a program started just after another
# one ended would otherwise meet a server in the middle of its reset.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 "${screen_w}x${screen_h}x24" -nolisten tcp -noreset \
        3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    local i
    for ((i = 0; i < timeout_s * 10; i++)); do
        [[ -s $work/display ]] && break
        sleep 0.1
    done
    if [[ ! -s $work/display ]]; then
        echo "FAIL: Xvfb did not start"; cat "$work/xvfb.log"; exit 1
    fi
    export DISPLAY=:$(tr -d '[:space:]' <"$work/display")
    export QT_QPA_PLATFORM=xcb
    if [[ -n ${artifacts:-} ]]; then mkdir -p "$artifacts"; fi
}

# start_program FOLDER [LAUNCHER]: runs FOLDER/vantrel, or LAUNCHER if given,
# its output kept in FOLDER/output.log.
start_program() {
    "${2:-$1/vantrel}" </dev/null >"$1/output.log" 2>&1 &
    app_pid=$!
}

# stop_program LABEL FOLDER: ends the program, which should still be running
# (reported through the sourcing script's fail otherwise).
stop_program() {
    if ! kill -0 "$app_pid" 2>/dev/null; then
        fail "$1: the program ended by itself"; cat "$2/output.log"
    fi
    kill "$app_pid" 2>/dev/null
    wait "$app_pid" 2>/dev/null
    app_pid=
}

# wait_for_program_end: true once the program has ended, false after timeout_s.
wait_for_program_end() {
    local i
    for ((i = 0; i < timeout_s * 20; i++)); do
        kill -0 "$app_pid" 2>/dev/null || return 0
        sleep 0.05
    done
    return 1
}

visible_windows() { xdotool search --onlyvisible --name '^Vantrel$' 2>/dev/null; }

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
}

# wait_until COMMAND...: polls until COMMAND prints something; prints it.
wait_until() {
    local out i
    for ((i = 0; i < timeout_s * 10; i++)); do
        out=$("$@")
        if [[ -n $out ]]; then echo "$out"; return 0; fi
        sleep 0.1
    done
    return 1
}

# The program's main window, once shown.
main_window() {
    local w
    w=$(wait_until visible_main_windows) || return 1
    head -n1 <<<"$w"
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
    wait_until other_visible_windows "$1" >/dev/null
}

screenshot() { xwd -root -silent | convert xwd:- "png:$artifacts/$1.png"; }

# wait_painted WINDOW: true once the grid shows more than one colour and two
# looks in a row agree (the window has been painted), false after timeout_s.
# The chart and its start-up messages come before the window shows, so by
# then anything start-up shows is up too.
wait_painted() {
    local i previous= colours now
    for ((i = 0; i < timeout_s * 10; i++)); do
        grid_picture "$1" "$work/painted.png"
        # The pixels' count of colours and signature (the file's bytes also
        # hold the time it was made).
        read -r colours now < <(identify -format '%k %#' "$work/painted.png")
        if ((colours > 1)); then
            [[ $now == "$previous" ]] && return 0
            previous=$now
        fi
        sleep 0.1
    done
    return 1
}

# non_empty FILE: prints FILE when it has bytes (for wait_until).
non_empty() { [[ -s $1 ]] && echo "$1"; }

# grid_picture WINDOW FILE: the grid as shown, cut out of the screen.
grid_picture() {
    local x y width height menu_h
    read -r x y width height < <(geometry "$1")
    menu_h=$((height - client_h))
    xwd -root -silent |
        convert xwd:- -crop "${grid_w}x${grid_h}+$((x + grid_x))+$((y + menu_h + grid_y))" +repage "png:$2"
}

# same_picture A B: prints "same" when two pictures have no differing pixel.
same_picture() {
    local differing
    differing=$(compare -metric AE "$1" "$2" null: 2>&1)
    [[ $differing == 0 ]] && echo same
}

# program_in FOLDER PROGRAM CHART_DIR [FILE...]: the program in FOLDER with
# the chart of CHART_DIR (data, policy, version) and any FILE beside it.
program_in() {
    local folder=$1 program=$2 chart=$3
    shift 3
    mkdir -p "$folder"
    cp "$program" "$folder/vantrel"
    cp "$chart/data" "$chart/policy" "$chart/version" "$@" "$folder/"
}

# reference_grid PROGRAM CHART_DIR PICTURE [active]: the grid as the program
# shows the chart of CHART_DIR, kept in PICTURE; the script ends when it
# cannot be had. With "active", the window is made active first by a click on
# its status bar, as a click on its Update button makes it: its grid has the
# focus, and shows it.
reference_grid() {
    local reference=$work/reference w
    program_in "$reference" "$1" "$2"
    start_program "$reference"
    if ! w=$(main_window); then
        echo "FAIL: the reference window did not appear"; cat "$reference/output.log"; exit 1
    fi
    wait_painted "$w" || fail "the reference window was not painted"
    if [[ ${4:-} == active ]]; then
        grid_picture "$w" "$work/inactive-grid.png"
        xdotool mousemove --window "$w" 300 $(($(menu_height "$w") + 370)) click 1
        focus_shown() {
            grid_picture "$w" "$work/active-grid.png"
            [[ -z $(same_picture "$work/inactive-grid.png" "$work/active-grid.png") ]] && echo shown
        }
        wait_until focus_shown >/dev/null || fail "the reference window did not become active"
        wait_painted "$w"
    fi
    grid_picture "$w" "$3"
    stop_program "reference" "$reference"
    rm -rf "$reference"
}
