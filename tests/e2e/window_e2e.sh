#!/usr/bin/env bash
# End-to-end check of the built program on a real X server, from the outside,
# the way a person sees it:
#   1. with the sample chart beside the program, started through a symbolic
#      link in another folder as the installed command is: the window "Vantrel"
#      appears with no message box before it, client area 762 by 380, fixed in
#      size, centred; File/Exit then ends the program normally;
#   2. with no chart files: three message boxes one after the other, each
#      dismissed with Return, the main window not shown until the third has
#      gone; then the same window.
# A screenshot of each stage is kept in ARTIFACT_DIR.
#
# Usage: window_e2e.sh PROGRAM SAMPLE_CHART_DIR ARTIFACT_DIR
#
# There is no window manager, so a top-level X window is exactly the client
# area Qt asked for. The main window's menu bar sits inside that X window but
# is not part of the 762 by 380 client area, so the window must be 762 wide and
# 380 plus a plausible menu-bar height (15 to 40 pixels) high.
set -uo pipefail

program=$1
sample_chart=$2
artifacts=$3

readonly client_w=762   # and client_h from x_session.sh
readonly min_menu_h=15 max_menu_h=40


source "$(dirname "$0")/x_session.sh"

# --- X server ---------------------------------------------------------------
start_xvfb

# --- helpers ----------------------------------------------------------------

# Checks what a person sees of the main window.
check_main_window() {
    local label=$1 w=$2 x y width height menu_h hints
    read -r x y width height < <(geometry "$w")
    menu_h=$((height - client_h))
    if [[ $width == "$client_w" ]] && ((menu_h >= min_menu_h && menu_h <= max_menu_h)); then
        pass "$label: client area ${width}x${client_h} under a ${menu_h}-pixel menu bar"
    else
        fail "$label: window is ${width}x${height}, expected ${client_w}x(${client_h} + menu bar)"
    fi
    # Fixed size: the size hints pin minimum and maximum to the window's size.
    hints=$(xprop -id "$w" WM_NORMAL_HINTS 2>/dev/null)
    if grep -q "minimum size: $width by $height" <<<"$hints" &&
        grep -q "maximum size: $width by $height" <<<"$hints"; then
        pass "$label: fixed in size"
    else
        fail "$label: not fixed in size: $hints"
    fi
    # Centred (a little slack for a frame allowance).
    local dx=$((x - (screen_w - width) / 2)) dy=$((y - (screen_h - height) / 2))
    if ((dx * dx <= 40 * 40 && dy * dy <= 40 * 40)); then
        pass "$label: centred at $x,$y"
    else
        fail "$label: placed at $x,$y, not centred"
    fi
}

# close_through_menu LABEL FOLDER WINDOW: File, then its one item Exit, as a
# person would; the program must end on its own with status 0.
close_through_menu() {
    local label=$1 folder=$2 w=$3 rc
    if ! open_file_menu "$w"; then
        fail "$label: the File menu did not open"
        return
    fi
    xdotool key Down Return
    if ! wait_for_program_end; then
        fail "$label: File/Exit did not end the program"
        return
    fi
    wait "$app_pid"
    rc=$?
    app_pid=
    if ((rc == 0)); then
        pass "$label: File/Exit ended the program"
    else
        fail "$label: the program ended with status $rc after File/Exit"
        cat "$folder/output.log"
    fi
}

# --- case 1: the sample chart beside the program --------------------------------
with=$work/with-chart
mkdir -p "$with"
cp "$program" "$with/vantrel"
cp "$sample_chart/data" "$sample_chart/policy" "$sample_chart/version" "$with/"
mkdir -p "$work/bin"
ln -s "$with/vantrel" "$work/bin/vantrel"
start_program "$with" "$work/bin/vantrel"
if first=$(wait_until visible_windows); then
    first=$(head -n1 <<<"$first")
    if is_dialog "$first"; then
        screenshot with-chart-unexpected-message
        fail "with chart: a message box appeared before the window"
    else
        check_main_window "with chart" "$first"
        wait_painted "$first" || fail "with chart: the window was not painted"
        if [[ -n $(visible_dialogs) ]]; then
            fail "with chart: a message box is showing"
        else
            pass "with chart: no message box"
        fi
        screenshot with-chart
        close_through_menu "with chart" "$with" "$first"
    fi
else
    fail "with chart: no window titled Vantrel within ${timeout_s}s"
    cat "$with/output.log"
fi
[[ -n $app_pid ]] && stop_program "with chart" "$with"

# --- case 2: no chart files --------------------------------------------------
without=$work/without-chart
mkdir -p "$without"
cp "$program" "$without/vantrel"
start_program "$without"
seen=()
for n in 1 2 3; do
    if ! box=$(wait_until visible_dialogs); then
        fail "without chart: message box $n did not appear"
        screenshot "without-chart-no-message-$n"
        break
    fi
    box=$(head -n1 <<<"$box")
    for old in "${seen[@]}"; do
        [[ $old == "$box" ]] && fail "without chart: message box $n is box $old again"
    done
    seen+=("$box")
    read -r _ _ bw bh < <(geometry "$box")
    if [[ $bw == "$client_w" ]]; then
        fail "without chart: message box $n has the main window's width"
    else
        pass "without chart: message box $n (${bw}x${bh})"
    fi
    if [[ -n $(visible_main_windows) ]]; then
        fail "without chart: the main window is showing behind message box $n"
    fi
    screenshot "without-chart-message-$n"
    xdotool windowfocus "$box" key Return
    if ! wait_until bash -c "xdotool search --onlyvisible --name '^Vantrel$' | grep -qx $box || echo gone" >/dev/null; then
        fail "without chart: message box $n stayed after Return"
        break
    fi
done
if main=$(main_window); then
    check_main_window "without chart" "$main"
    wait_painted "$main" || fail "without chart: the window was not painted"
    if [[ -n $(visible_dialogs) ]]; then
        fail "without chart: a fourth message box is showing"
    else
        pass "without chart: exactly three message boxes"
    fi
    screenshot without-chart
else
    fail "without chart: no main window after the messages"
fi
stop_program "without chart" "$without"

echo "screenshots in $artifacts"
finish_checks
