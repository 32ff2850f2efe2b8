#!/usr/bin/env bash
# The program natively on Wayland, under a headless weston (the Qt Wayland
# plugin, no X server in reach): its window appears with the chart, its client
# area pixel for pixel as the same program shows it on X11 (a reference run
# under Xvfb first), and the session's request to end (SIGTERM) ends it
# cleanly, with status 0.
#
# Usage: wayland_e2e.sh PROGRAM SAMPLE_CHART_DIR ARTIFACT_DIR
# Exits 77 (skipped) where weston is not installed.
set -uo pipefail

program=$1
sample_chart=$2
artifacts=$3
here=$(dirname "$0")

for tool in weston weston-screenshooter; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: no $tool here (scripts/setup.sh installs weston)"
        exit 77
    fi
done

source "$here/x_session.sh"
weston_pid=
at_exit 'end_process "$weston_pid"'

# ppm PNG_OR_XWD_INPUT OUTPUT: 8-bit RGB PPM, what client_area.py reads.
ppm() { convert "$1" -strip -type TrueColor -depth 8 "ppm:$2"; }

# --- the reference: the same program on X11 --------------------------------------
start_xvfb
program_in "$work/reference" "$program" "$sample_chart"
show_program "the reference on X11" "$work/reference"
xwd -root -silent >"$work/reference.xwd"
ppm "xwd:$work/reference.xwd" "$work/reference.ppm"
stop_program "the reference on X11" "$work/reference"

# --- weston, headless, with the screenshot interface (--debug) -------------------
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
socket=wayland-vantrel
weston --backend=headless-backend.so --use-pixman --no-config --debug --idle-time=0 \
    --width=1280 --height=1024 --socket="$socket" >"$work/weston.log" 2>&1 </dev/null &
weston_pid=$!
socket_up() { [[ -S $XDG_RUNTIME_DIR/$socket ]] && echo up; }
if ! wait_for "weston's socket" socket_up; then
    cat "$work/weston.log"; finish_checks
fi

# --- the program on Wayland ------------------------------------------------------
folder=$work/wayland
program_in "$folder" "$program" "$sample_chart"
DISPLAY= QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=$socket start_program "$folder"

shots=$work/shots
mkdir -p "$shots"
# Prints "same" once the screen shows the window with the reference's client area.
shows_the_chart() {
    rm -f "$shots"/*.png
    (cd "$shots" && WAYLAND_DISPLAY=$socket timeout 10 weston-screenshooter) >/dev/null 2>&1 || return 0
    local shot
    shot=$(echo "$shots"/*.png)
    [[ -f $shot ]] || return 0
    cp "$shot" "$artifacts/wayland.png"
    ppm "$shot" "$work/shot.ppm"
    python3 "$here/client_area.py" "$work/reference.ppm" "$work/shot.ppm" >"$work/compare.log" &&
        echo same
}
if wait_for "on Wayland: the window with the chart, its client area as on X11 (differing pixels or banner in compare.log)" \
    shows_the_chart; then
    pass "on Wayland the window shows the chart, its client area as on X11"
else
    cat "$work/compare.log" "$folder/output.log" 2>/dev/null
fi

# --- ending ----------------------------------------------------------------------
if kill -0 "$app_pid" 2>/dev/null; then
    kill -TERM "$app_pid"
    ended_cleanly "on Wayland, SIGTERM" "$folder"
else
    fail "the program ended by itself"
fi
if grep -i -E 'wayland.*(error|broke)|protocol error|could not load' "$folder/output.log"; then
    fail "the program reported Wayland trouble"
fi

echo "screenshot in $artifacts/wayland.png"
finish_checks
