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
reference=$work/reference
mkdir -p "$reference"
cp "$program" "$reference/vantrel"
cp "$sample_chart/data" "$sample_chart/policy" "$sample_chart/version" "$reference/"
start_program "$reference"
if ! w=$(main_window) || ! wait_painted "$w"; then
    echo "FAIL: the reference window did not appear on X11"; cat "$reference/output.log"; exit 1
fi
xwd -root -silent >"$work/reference.xwd"
ppm "xwd:$work/reference.xwd" "$work/reference.ppm"
stop_program "reference" "$reference"

# --- weston, headless, with the screenshot interface (--debug) -------------------
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
socket=wayland-vantrel
weston --backend=headless-backend.so --use-pixman --no-config --debug --idle-time=0 \
    --width=1280 --height=1024 --socket="$socket" >"$work/weston.log" 2>&1 </dev/null &
weston_pid=$!
socket_up() { [[ -S $XDG_RUNTIME_DIR/$socket ]] && echo up; }
if ! wait_until socket_up >/dev/null; then
    echo "FAIL: weston did not start"; cat "$work/weston.log"; exit 1
fi

# --- the program on Wayland ------------------------------------------------------
folder=$work/wayland
mkdir -p "$folder"
cp "$program" "$folder/vantrel"
cp "$sample_chart/data" "$sample_chart/policy" "$sample_chart/version" "$folder/"
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
if wait_until shows_the_chart >/dev/null; then
    pass "on Wayland the window shows the chart, its client area as on X11"
else
    fail "no window with the chart on Wayland (differing pixels or banner: $(cat "$work/compare.log" 2>/dev/null))"
    cat "$folder/output.log"
fi

# --- ending ----------------------------------------------------------------------
if kill -0 "$app_pid" 2>/dev/null; then
    kill -TERM "$app_pid"
    if wait_for_program_end; then
        wait "$app_pid"
        rc=$?
        app_pid=
        ((rc == 0)) && pass "SIGTERM ended the program with status 0" ||
            fail "the program ended with status $rc"
    else
        fail "the program did not end after SIGTERM"
    fi
else
    fail "the program ended by itself"
fi
if grep -i -E 'wayland.*(error|broke)|protocol error|could not load' "$folder/output.log"; then
    fail "the program reported Wayland trouble"
fi

echo "screenshot in $artifacts/wayland.png"
finish_checks
