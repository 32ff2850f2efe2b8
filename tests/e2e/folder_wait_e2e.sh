#!/usr/bin/env bash
# A chart folder held by someone else, from the outside: the program never
# waits for it without a bound, and the session's SIGTERM ends it normally
# while it waits.
#   1. anyone holding the folder's lock, nothing being put in place: the
#      window shows the chart as it stands after the two seconds' wait;
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

# The reader waits two seconds for a lock that is not a copy putting a chart
# in place, so the window cannot show the chart sooner; a copy that is, it
# waits for up to a minute, longer than every wait's bound (timeout_s). The
# commit rows' other copy takes six seconds, or holds the folder for good
# while SIGTERM is tried.
readonly reader_wait_ms=2000 slow_commit_s=6 held_for_good_s=600

start_xvfb
older=$work/older
older_chart "$older"

exists() { [[ -e $1 ]] && echo "$1"; }

# prepare ROW FOLDER: the program and the older chart in FOLDER, then ROW's
# state of the folder.
prepare() {
    program_in "$2" "$program" "$older"
    case $1 in
    holder) cp "$new_chart/data" "$new_chart/policy" "$new_chart/version" "$2/" ;;
    cut-off)
        for name in data policy version; do cp "$new_chart/$name" "$2/.vantrel-update-$name.tmp"; done
        printf 'end\n' >"$2/.vantrel-update-commit"
        ;;
    esac
}

# hold ROW FOLDER SECONDS: starts ROW's holder (a commit lasting SECONDS);
# true once it holds.
hold() {
    # The log of the last hold goes first: its "held" is not this holder's.
    rm -f "$work/holder.log"
    if [[ $1 == commit ]]; then
        python3 -u "$holder_script" commit "$2" "$new_chart" "$3" >"$work/holder.log" 2>&1 &
    else
        python3 -u "$holder_script" hold "$2" >"$work/holder.log" 2>&1 &
    fi
    holder_pid=$!
    wait_for "$1: the holder holding the folder" grep -x held "$work/holder.log" && return 0
    cat "$work/holder.log"
    return 1
}

# waiting_message LABEL: waits for the message that the program waits for
# the other copy, kept in $awaited.
waiting_message() {
    wait_for "$1: a message that the program waits for the other copy" visible_dialogs || return 1
    pass "$1: the program says it waits for the other copy"
    awaited=${awaited%%$'\n'*}
}

reference_grid "$program" "$new_chart" "$artifacts/folder-wait-reference-grid.png"

for row in holder cut-off commit; do
    # --- the wait to its end: the chart shown --------------------------------------
    folder=$work/$row
    prepare "$row" "$folder"
    hold "$row" "$folder" "$slow_commit_s" || continue
    started=$(now_ms)
    start_program "$folder"
    if [[ $row == commit ]] && waiting_message "$row"; then
        screenshot "folder-wait-$row-message"
        xdotool windowfocus "$awaited" key Return
    fi
    if wait_for "$row: the main window" visible_main_windows; then
        w=${awaited%%$'\n'*}
        if wait_for "$row: the window showing the new chart" shows_grid "$w" "$artifacts/folder-wait-reference-grid.png"; then
            took=$(($(now_ms) - started))
            if [[ $row == commit ]] || ((took >= reader_wait_ms)); then
                pass "$row: the window shows the new chart after $took ms"
            else
                fail "$row: the window showed the chart after $took ms, without waiting for the lock"
            fi
        fi
        cp "$work/grid.png" "$artifacts/folder-wait-$row-grid.png"
        no_message_box "$row"
        stop_program "$row" "$folder"
    else
        cat "$folder/output.log"
    fi
    end_process "$holder_pid"; holder_pid=

    # --- SIGTERM during the wait ----------------------------------------------------
    # The commit's holder holds the folder for good here: only the signal can
    # end that wait within the bound.
    folder=$work/$row-term
    prepare "$row" "$folder"
    hold "$row" "$folder" "$held_for_good_s" || continue
    start_program "$folder"
    if [[ $row == commit ]]; then
        waiting_message "$row, SIGTERM"
    else
        # Start-up has made its update lock's file: it goes on to the folder,
        # held for two seconds or more.
        wait_for "$row, SIGTERM: start-up reaching the folder" exists "$folder/.vantrel-update-$(id -u).lock"
    fi
    if [[ -n $(visible_main_windows) ]]; then fail "$row, SIGTERM: the wait was over before the signal"; fi
    kill -TERM "$app_pid"
    ended_cleanly "$row, SIGTERM" "$folder"
    end_process "$holder_pid"; holder_pid=
done

echo "screenshots in $artifacts"
finish_checks
