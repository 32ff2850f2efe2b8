#!/usr/bin/env bash
# End-to-end update, the way a person does it: a copy of the program whose data
# server is a loopback address is started under Xvfb with an older chart beside
# it, while a real static HTTP server (python3 -m http.server) serves the new
# chart on that address; a click on the Update button then replaces the three
# files with the served bytes and the window shows the new chart.
#
# Then, against a server that trickles its answer, File/Exit in the middle of
# the update ends the program within a second, the files untouched; and with
# the update stuck on a stalled disk (a stopped FUSE mount), SIGTERM still
# ends it.
#
# "Shows the new chart" is judged from the screen: after the update the grid
# looks exactly as it does when the program is started with the new chart
# beside it (a reference run first), and it did not look like that before.
#
# Both servers listen on a port the system picks (so runs in parallel never
# collide); the program is told it through VANTREL_E2E_DATA_SERVER. Python
# serves: python3 -m http.server is the honest "real static server", and the
# slow one is a few lines of it.
#
# Usage: update_e2e.sh PROGRAM NEW_CHART_DIR ARTIFACT_DIR
#   PROGRAM        the loopback copy, which fetches from $VANTREL_E2E_DATA_SERVER
#   NEW_CHART_DIR  holds data, policy and version: served as data.dat etc.
set -uo pipefail

program=$1
module=$(dirname "$program")/vantrel-http.so   # the HTTP module the update loads
new_chart=$2
artifacts=$3


source "$(dirname "$0")/x_session.sh"
server_pid=
at_exit 'end_process "$server_pid"'

# serving_port LOG: the port a server started on port 0 announced in its log
# ("... port N ..."), once it listens.
serving_port() { sed -n 's/.* port \([0-9][0-9]*\).*/\1/p' "$1" | head -n 1; }
# use_server LOG: waits for the server's port and points the program at it.
use_server() {
    local log=$1 port
    wait_until serving_port "$log" >/dev/null || return 1
    port=$(serving_port "$log")
    export VANTREL_E2E_DATA_SERVER=http://127.0.0.1:$port
}

# --- the data server ---------------------------------------------------------
served=$work/served
mkdir -p "$served"
for name in data policy version; do cp "$new_chart/$name" "$served/$name.dat"; done
python3 -u -m http.server --bind 127.0.0.1 0 --directory "$served" >"$work/server.log" 2>&1 &
server_pid=$!
if ! use_server "$work/server.log"; then
    echo "FAIL: the static server did not start"; cat "$work/server.log"; exit 1
fi

start_xvfb

# --- helpers -----------------------------------------------------------------


# --- reference: the program started with the new chart -------------------------
reference_grid "$program" "$new_chart" "$artifacts/update-reference-grid.png"

# --- the update ------------------------------------------------------------------
folder=$work/program
mkdir -p "$folder"
cp "$program" "$folder/vantrel"
cp "$module" "$folder/"
# An older chart: one program, nothing else.
printf '10\r\n10\r\n' >"$folder/version"
printf 'http://www.old-monitor.example/\r\nOld Monitor 1.0\r\n10 10 10 10 10 10\r\n1 1 1 1 1 1 6\r\n\r\n' \
    >"$folder/data"
for t in "OS support" "Demo version" "Interception" "Log viewing" "Security" "Network options"; do
    printf '%s\r\nOld criterion\r\n\r\n' "$t"
done >"$folder/policy"

start_program "$folder"
if ! w=$(main_window); then
    echo "FAIL: the window did not appear"; cat "$folder/output.log"; exit 1
fi
wait_painted "$w" || fail "the window was not painted"
grid_picture "$w" "$work/before-grid.png"
screenshot update-before
if [[ -n $(same_picture "$work/before-grid.png" "$artifacts/update-reference-grid.png") ]]; then
    fail "the older chart already looks like the new one; the check would prove nothing"
fi

# Click the Update button's centre, as a person would.
xdotool mousemove --window "$w" "$button_x" $(($(menu_height "$w") + button_y)) click 1

files_replaced() {
    local name
    for name in data policy version; do
        cmp -s "$served/$name.dat" "$folder/$name" || return 0
    done
    echo replaced
}
if wait_until files_replaced >/dev/null; then
    pass "the three files hold the served bytes"
else
    for name in data policy version; do
        cmp "$served/$name.dat" "$folder/$name"
    done
    fail "the files were not replaced within ${timeout_s}s"
fi

shows_new_chart() {
    grid_picture "$w" "$work/after-grid.png"
    same_picture "$work/after-grid.png" "$artifacts/update-reference-grid.png"
}
if wait_until shows_new_chart >/dev/null; then
    pass "the window shows the new chart"
else
    fail "the grid does not look like the new chart's (see update-after-grid.png)"
fi
cp "$work/after-grid.png" "$artifacts/update-after-grid.png"
screenshot update-after

if [[ -n $(visible_dialogs) ]]; then
    fail "a message box is showing after the update"
else
    pass "no message box"
fi
if grep -q '"GET /data.dat' "$work/server.log" && grep -q '"GET /version.dat' "$work/server.log"; then
    pass "the program fetched from the loopback server"
else
    fail "the server saw no requests"; cat "$work/server.log"
fi
leftovers=$(ls -A "$folder" | grep -v -x -e vantrel -e vantrel-http.so -e data -e policy -e version -e output.log -e .vantrel-update.lock -e ".vantrel-update-$(id -u).lock")
if [[ -n $leftovers ]]; then
    fail "files left beside the program: $leftovers"
fi
stop_program "update" "$folder"

# --- closing the window in the middle of an update -------------------------------
# A server that answers slowly: headers, then one body byte every half second.
end_process "$server_pid"
python3 - >"$work/slow-server.log" 2>&1 <<'PY' &
import socket, sys, time
listener = socket.socket()
listener.bind(("127.0.0.1", 0))
listener.listen()
print("slow server on port", listener.getsockname()[1], flush=True)
while True:
    conn, _ = listener.accept()
    print(conn.recv(65536).split(b"\r\n")[0].decode(), flush=True)
    try:
        conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n")
        for _ in range(1000):
            time.sleep(0.5)
            conn.sendall(b"x")
    except OSError:
        pass
    conn.close()
PY
server_pid=$!
if ! use_server "$work/slow-server.log"; then
    fail "the slow server did not start"; cat "$work/slow-server.log"
fi
closing=$work/closing
mkdir -p "$closing/old"
cp "$program" "$closing/vantrel"
cp "$module" "$closing/"
cp "$folder/data" "$folder/policy" "$folder/version" "$closing/"
cp "$folder/data" "$folder/policy" "$folder/version" "$closing/old/"
start_program "$closing"
if w=$(main_window); then
    xdotool mousemove --window "$w" "$button_x" $(($(menu_height "$w") + button_y)) click 1
    wait_until non_empty "$closing/.vantrel-update-data.tmp" >/dev/null ||
        fail "closing mid-update: no body byte reached the staging file"
    grep -q 'GET /data.dat' "$work/slow-server.log" || fail "closing mid-update: no update was running"
    # File/Exit, as a person would.
    open_file_menu "$w" || fail "closing mid-update: the File menu did not open"
    xdotool key Down Return
    if ! wait_for_program_end; then
        fail "closing mid-update: the program did not end within ${timeout_s}s"
        stop_program "closing" "$closing"
    else
        wait "$app_pid"
        rc=$?
        app_pid=
        if ((rc == 0)); then
            pass "closing mid-update: the program ended normally"
        else
            fail "closing mid-update: status $rc"; cat "$closing/output.log"
        fi
    fi
    for name in data policy version; do
        cmp -s "$closing/old/$name" "$closing/$name" || fail "closing mid-update: \"$name\" was changed"
    done
    leftovers=$(ls -A "$closing" | grep -v -x -e vantrel -e vantrel-http.so -e data -e policy -e version -e output.log -e .vantrel-update.lock -e ".vantrel-update-$(id -u).lock" -e old)
    if [[ -n $leftovers ]]; then
        fail "closing mid-update: files left beside the program: $leftovers"
    else
        pass "closing mid-update: the files are untouched and nothing is left behind"
    fi
else
    fail "closing mid-update: the window did not appear"; cat "$closing/output.log"
fi

# --- SIGTERM while the update is stuck on a stalled disk -------------------------
# The chart folder is on a FUSE mount (bindfs) whose server the test stops in
# the middle of a download: the worker's next write to its staging file waits
# for good, as on a dead network share or a failing stick. The session's
# SIGTERM still ends the program, normally; the chart is the old one whole,
# and the next start clears what was left. The program's own folder is a
# read-only mount, so the chart lives in the user's data folder.
stalled=$work/stalled
mkdir -p "$stalled/program" "$stalled/program-ro" "$stalled/data" "$stalled/data-fuse"
cp "$program" "$stalled/program/vantrel"
cp "$module" "$stalled/program/"
mounts=()
mount_bindfs() { bindfs "$@" && mounts+=("${@: -1}"); }
unmount_all() {
    local m
    for m in "${mounts[@]}"; do fusermount -u "$m" 2>/dev/null || true; done
}
at_exit unmount_all
at_exit 'end_process "$app_pid"; app_pid='
at_exit 'if [[ -n ${fuse_pid:-} ]]; then kill -CONT "$fuse_pid" 2>/dev/null; fi'
if mount_bindfs -o ro "$stalled/program" "$stalled/program-ro" &&
    mount_bindfs "$stalled/data" "$stalled/data-fuse"; then
    mkdir -p "$stalled/data-fuse/vantrel"
    cp "$closing/old/data" "$closing/old/policy" "$closing/old/version" "$stalled/data-fuse/vantrel/"
    fuse_pid=$(pgrep -n -f "bindfs $stalled/data ")
    export XDG_DATA_HOME=$stalled/data-fuse
    start_program "$stalled" "$stalled/program-ro/vantrel"
    # A thread of the program waiting for the stopped file system.
    waits_on_fuse() { grep -lx request_wait_answer /proc/"$app_pid"/task/*/wchan 2>/dev/null | head -n 1; }
    if w=$(main_window); then
        xdotool mousemove --window "$w" "$button_x" $(($(menu_height "$w") + button_y)) click 1
        body_started() { grep -c 'GET /data.dat' "$work/slow-server.log" | grep -v '^[01]$'; }
        wait_until body_started >/dev/null || fail "stalled disk: no update was running"
        kill -STOP "$fuse_pid"
        wait_until waits_on_fuse >/dev/null || fail "stalled disk: the update never waited on the disk"
        kill -TERM "$app_pid"
        if wait_for_program_end; then
            wait "$app_pid"
            rc=$?
            app_pid=
            if ((rc == 0)); then pass "stalled disk: SIGTERM ended the program normally"; else fail "stalled disk: status $rc after SIGTERM"; fi
        else
            fail "stalled disk: SIGTERM did not end the program"
        fi
        kill -CONT "$fuse_pid"
        end_process "$app_pid"; app_pid=
        for name in data policy version; do
            cmp -s "$closing/old/$name" "$stalled/data/vantrel/$name" || fail "stalled disk: \"$name\" was changed"
        done
        start_program "$stalled" "$stalled/program-ro/vantrel"
        if main_window >/dev/null; then
            stop_program "stalled disk, next start" "$stalled"
            leftovers=$(ls -A "$stalled/data/vantrel" | grep -v -x -e data -e policy -e version -e .vantrel-update.lock -e ".vantrel-update-$(id -u).lock")
            if [[ -z $leftovers ]]; then pass "stalled disk: the next start cleared what was left"; else fail "stalled disk: left after the next start: $leftovers"; fi
        else
            fail "stalled disk: the next start showed no window"; cat "$stalled/output.log"
        fi
    else
        fail "stalled disk: the window did not appear"; cat "$stalled/output.log"
    fi
    unset XDG_DATA_HOME
else
    if [[ -r /dev/fuse && -w /dev/fuse ]]; then
        fail "stalled disk: bindfs could not mount (FUSE)"
    else
        fail "stalled disk: bindfs could not mount: fuse: device not found: /dev/fuse is missing or not usable here (in a chroot, bind the host's /dev/fuse)"
    fi
fi

echo "screenshots in $artifacts"
finish_checks
