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

readonly min_menu_h=15 max_menu_h=40

source "$(dirname "$0")/x_session.sh"
start_xvfb

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
    wait_painted "$w" || fail "$label: the window painted: not within ${timeout_s} s"
}

# --- case 1: the sample chart beside the program --------------------------------
with=$work/with-chart
program_in "$with" "$program" "$sample_chart"
mkdir -p "$work/bin"
ln -s "$with/vantrel" "$work/bin/vantrel"
start_program "$with" "$work/bin/vantrel"
if wait_for "with chart: a window titled Vantrel" visible_windows; then
    first=${awaited%%$'\n'*}
    if is_dialog "$first"; then
        screenshot with-chart-unexpected-message
        fail "with chart: a message box appeared before the window"
    else
        check_main_window "with chart" "$first"
        no_message_box "with chart"
        screenshot with-chart
        exit_through_menu "with chart" "$with" "$first"
    fi
else
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
    if ! wait_for "without chart: message box $n" visible_dialogs; then
        screenshot "without-chart-no-message-$n"
        break
    fi
    box=${awaited%%$'\n'*}
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
    wait_for "without chart: message box $n gone after Return" gone "$box" || break
done
if wait_for "without chart: the main window after the messages" visible_main_windows; then
    check_main_window "without chart" "${awaited%%$'\n'*}"
    if [[ -n $(visible_dialogs) ]]; then
        fail "without chart: a fourth message box is showing"
    else
        pass "without chart: exactly three message boxes"
    fi
    screenshot without-chart
fi
stop_program "without chart" "$without"

echo "screenshots in $artifacts"
finish_checks
