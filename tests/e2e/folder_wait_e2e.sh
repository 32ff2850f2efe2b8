#!/usr/bin/env bash
# A chart folder held by someone else, from the outside: the program never
# waits for it without a bound, and the session's SIGTERM ends it normally
# while it waits.
#   1. anyone holding the folder's lock, nothing being put in place: the
#      window shows the chart as it stands after a short wait;
#   2. the same, beside a commit that was cut off (its marker and staging
#      files), with nobody updating: start-up finishes it, then the window
#      shows the new chart;
#   3. another copy putting a new chart in place slowly (its update lock, its
#      marker, the folder's lock): the program says it waits for it, then
#      shows the new chart.
# "Shows the chart" is judged from the screen, against a reference run on the
# new chart.
#
# Usage: folder_wait_e2e.sh PROGRAM NEW_CHART_DIR ARTIFACT_DIR
set -uo pipefail

program=$1
new_chart=$2
artifacts=$3
holder_script=$(dirname "$0")/folder_holder.py

source "$(dirname "$0")/x_session.sh"
holder_pid=
at_exit 'end_process "$holder_pid"'

start_xvfb

exists() { [[ -e $1 ]] && echo "$1"; }

# A folder with the program and an older chart: one program, nothing else.
old_chart_folder() {
    mkdir -p "$1"
    cp "$program" "$1/vantrel"
    printf '10\r\n10\r\n' >"$1/version"
    printf 'http://www.old-monitor.example/\r\nOld Monitor 1.0\r\n10 10 10 10 10 10\r\n1 1 1 1 1 1 6\r\n\r\n' >"$1/data"
    for t in "OS support" "Demo version" "Interception" "Log viewing" "Security" "Network options"; do
        printf '%s\r\nOld criterion\r\n\r\n' "$t"
    done >"$1/policy"
}

# The three states of a held folder, each made in FOLDER.
prepare() {
    local row=$1 folder=$2
    old_chart_folder "$folder"
    case $row in
    holder) cp "$new_chart/data" "$new_chart/policy" "$new_chart/version" "$folder/" ;;
    cut-off)
        for name in data policy version; do cp "$new_chart/$name" "$folder/.vantrel-update-$name.tmp"; done
        printf 'end\n' >"$folder/.vantrel-update-commit"
        ;;
    esac
}

# hold ROW FOLDER: starts the holder; true once it holds.
hold() {
    local row=$1 folder=$2
    # The log of the last hold goes first: its "held" is not this holder's.
    rm -f "$work/holder.log"
    if [[ $row == commit ]]; then
        python3 -u "$holder_script" commit "$folder" "$new_chart" 6 >"$work/holder.log" 2>&1 &
    else
        python3 -u "$holder_script" hold "$folder" >"$work/holder.log" 2>&1 &
    fi
    holder_pid=$!
    wait_until grep -x held "$work/holder.log" >/dev/null
}

# --- reference: the program started with the new chart --------------------------
reference_grid "$program" "$new_chart" "$artifacts/folder-wait-reference-grid.png"

for row in holder cut-off commit; do
    # --- the wait to its end: the chart shown --------------------------------------
    folder=$work/$row
    prepare "$row" "$folder"
    hold "$row" "$folder" || { fail "$row: the holder did not take the folder"; cat "$work/holder.log"; continue; }
    started=$(date +%s%N)
    start_program "$folder"
    if [[ $row == commit ]]; then
        if box=$(wait_until visible_dialogs); then
            box=$(head -n1 <<<"$box")
            screenshot "folder-wait-$row-message"
            pass "$row: the program says it waits for the other copy"
            xdotool windowfocus "$box" key Return
        else
            fail "$row: no message while waiting for the other copy"
        fi
    fi
    if w=$(main_window); then
        shows_new_chart() {
            grid_picture "$w" "$work/grid.png"
            same_picture "$work/grid.png" "$artifacts/folder-wait-reference-grid.png"
        }
        if wait_until shows_new_chart >/dev/null; then
            pass "$row: the window shows the new chart after $((($(date +%s%N) - started) / 1000000)) ms"
        else
            fail "$row: the window does not show the new chart"
        fi
        cp "$work/grid.png" "$artifacts/folder-wait-$row-grid.png"
        if [[ -n $(visible_dialogs) ]]; then fail "$row: a message box is showing"; fi
    else
        fail "$row: the window did not appear"; cat "$folder/output.log"
    fi
    [[ -n $app_pid ]] && stop_program "$row" "$folder"
    end_process "$holder_pid"; holder_pid=

    # --- SIGTERM during the wait ----------------------------------------------------
    folder=$work/$row-term
    prepare "$row" "$folder"
    hold "$row" "$folder" || { fail "$row, SIGTERM: the holder did not take the folder"; continue; }
    start_program "$folder"
    if [[ $row == commit ]]; then
        wait_until visible_dialogs >/dev/null || fail "$row, SIGTERM: no message while waiting"
    else
        # Start-up has made its update lock's file: it goes on to the folder,
        # held for two seconds or more.
        wait_until exists "$folder/.vantrel-update-$(id -u).lock" >/dev/null ||
            fail "$row, SIGTERM: start-up never reached the folder"
    fi
    if [[ -n $(visible_main_windows) ]]; then fail "$row, SIGTERM: the wait was over before the signal"; fi
    kill -TERM "$app_pid"
    sent=$(date +%s%N)
    if wait_for_program_end; then
        took=$((($(date +%s%N) - sent) / 1000000))
        wait "$app_pid"; rc=$?; app_pid=
        if ((rc == 0)); then
            pass "$row, SIGTERM: the program ended normally in $took ms"
        else
            fail "$row, SIGTERM: the program ended with status $rc after $took ms"
        fi
    else
        fail "$row, SIGTERM: the program did not end"
    fi
    end_process "$holder_pid"; holder_pid=
done

echo "screenshots in $artifacts"
finish_checks
