#!/usr/bin/env bash
# End-to-end update, the way a person does it: a copy of the program whose data
# server is a loopback address is started under Xvfb with an older chart beside
# it, while a real static HTTP server (python3 -m http.server) serves the new
# chart on that address; a click on the Update button then replaces the three
# files with the served bytes and the window shows the new chart.
#
# Then, against a server that trickles its answer (a body of four minutes),
# File/Exit in the middle of the update ends the program normally, the files
# untouched; and with the update stuck on a stalled disk (a stopped FUSE
# mount), SIGTERM still ends it.
#
# "Shows the new chart" is judged from the screen: after the update the grid
# looks exactly as it does when the program is started with the new chart
# beside it (a reference run first), and it did not look like that before.
#
# Both servers listen on a port the system picks (so runs in parallel never
# collide); the program is told it through VANTREL_E2E_DATA_SERVER.
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

# left_in FOLDER: what FOLDER holds besides the program, its module, the
# chart, the program's output and the update lock.
left_in() {
    ls -A "$1" | grep -v -x -e vantrel -e vantrel-http.so -e data -e policy -e version -e output.log \
        -e .vantrel-update.lock -e ".vantrel-update-$(id -u).lock"
}

# unchanged LABEL FOLDER: the folder still holds the older chart.
unchanged() {
    local name
    for name in data policy version; do
        cmp -s "$older/$name" "$2/$name" || fail "$1: \"$name\" was changed"
    done
}

serve_chart "$new_chart"
start_xvfb
reference_grid "$program" "$new_chart" "$artifacts/update-reference-grid.png" active
older=$work/older
older_chart "$older"

# --- the update ------------------------------------------------------------------
folder=$work/program
program_in "$folder" "$program" "$older" "$module"
show_program "update" "$folder"
grid_picture "$window" "$work/before-grid.png"
screenshot update-before
if [[ -n $(same_picture "$work/before-grid.png" "$artifacts/update-reference-grid.png") ]]; then
    fail "the older chart already looks like the new one; the check would prove nothing"
fi

click_update "$window"
if wait_for "the update: the served bytes in the three files" holds_served_chart "$folder"; then
    pass "the three files hold the served bytes"
else
    for name in data policy version; do cmp "$served/$name.dat" "$folder/$name"; done
fi
wait_for "the update: the grid looking as the new chart's (see update-after-grid.png)" \
    shows_grid "$window" "$artifacts/update-reference-grid.png" && pass "the window shows the new chart"
cp "$work/grid.png" "$artifacts/update-after-grid.png"
screenshot update-after

no_message_box "after the update"
if grep -q '"GET /data.dat' "$work/server.log" && grep -q '"GET /version.dat' "$work/server.log"; then
    pass "the program fetched from the loopback server"
else
    fail "the server saw no requests"; cat "$work/server.log"
fi
leftovers=$(left_in "$folder")
[[ -z $leftovers ]] || fail "files left beside the program: $leftovers"
stop_program "update" "$folder"

# --- closing the window in the middle of an update -------------------------------
# A run that missed the close would go on for the body's four minutes, far
# past the wait for the program's end.
start_data_server "$work/slow-server.log" python3 -u "$(dirname "$0")/trickle_server.py"
closing=$work/closing
program_in "$closing" "$program" "$older" "$module"
start_window "closing mid-update" "$closing"
click_update "$window"
wait_for "closing mid-update: a body byte in the staging file" non_empty "$closing/.vantrel-update-data.tmp"
grep -q 'GET /data.dat' "$work/slow-server.log" || fail "closing mid-update: no update was running"
exit_through_menu "closing mid-update" "$closing" "$window"
unchanged "closing mid-update" "$closing"
leftovers=$(left_in "$closing")
if [[ -n $leftovers ]]; then
    fail "closing mid-update: files left beside the program: $leftovers"
else
    pass "closing mid-update: the files are untouched and nothing is left behind"
fi

# --- SIGTERM while the update is stuck on a stalled disk -------------------------
# The chart folder is on a FUSE mount (bindfs) whose server the test stops in
# the middle of a download: the worker's next write to its staging file (or,
# stopped, its clean-up there) waits for good, as on a dead network share or a
# failing stick. The session's SIGTERM still ends the program, normally; the
# chart is the old one whole, and the next start clears what was left. The
# program's own folder is a read-only mount, so the chart lives in the user's
# data folder.
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
# bytes_to_request N: the body bytes the slow server sent in answer to its
# Nth request, once there are any. It answers one request at a time, so its
# lines of one answer all follow that request's line.
bytes_to_request() {
    awk -v n="$1" '/^GET /{k++} /^sent/ && k == n {b++} END {if (b) print b}' "$work/slow-server.log"
}
# stuck_on_stalled_disk: the file of the stalled disk that the update's
# thread (vantrel-update) is in a system call on, once it is: the call and its
# first argument, a file descriptor, as /proc tells them.
stuck_on_stalled_disk() {
    local task fd
    for task in /proc/"$app_pid"/task/*; do
        [[ $(<"$task/comm") == vantrel-update ]] || continue
        read -r _ fd _ <"$task/syscall" && readlink "/proc/$app_pid/fd/$((fd))" | grep "^$stalled/data-fuse/"
    done
}
if mount_bindfs -o ro "$stalled/program" "$stalled/program-ro" &&
    mount_bindfs "$stalled/data" "$stalled/data-fuse"; then
    mkdir -p "$stalled/data-fuse/vantrel"
    cp "$older/data" "$older/policy" "$older/version" "$stalled/data-fuse/vantrel/"
    fuse_pid=$(pgrep -n -f "bindfs $stalled/data ")
    export XDG_DATA_HOME=$stalled/data-fuse
    start_window "stalled disk" "$stalled" "$stalled/program-ro/vantrel"
    click_update "$window"
    wait_for "stalled disk: a body byte sent to the update" bytes_to_request 2
    kill -STOP "$fuse_pid"
    # The worker takes the next byte to the stopped disk, and stays there.
    wait_for "stalled disk: the update stuck in a call on the stopped disk" stuck_on_stalled_disk &&
        pass "stalled disk: the update is stuck on $awaited"
    kill -TERM "$app_pid"
    ended_cleanly "stalled disk, SIGTERM" "$stalled"
    kill -CONT "$fuse_pid"
    unchanged "stalled disk" "$stalled/data/vantrel"
    start_window "stalled disk, next start" "$stalled" "$stalled/program-ro/vantrel"
    stop_program "stalled disk, next start" "$stalled"
    leftovers=$(left_in "$stalled/data/vantrel")
    if [[ -z $leftovers ]]; then pass "stalled disk: the next start cleared what was left"; else fail "stalled disk: left after the next start: $leftovers"; fi
    unset XDG_DATA_HOME
elif [[ -r /dev/fuse && -w /dev/fuse ]]; then
    fail "stalled disk: bindfs could not mount (FUSE)"
else
    fail "stalled disk: bindfs could not mount: fuse: device not found: /dev/fuse is missing or not usable here (in a chroot, bind the host's /dev/fuse)"
fi

echo "screenshots in $artifacts"
finish_checks
