# Shared by the end-to-end scripts (sourced, not run): a private Xvfb and the
# helpers that look at the program's windows from the outside.
#
# The sourcing script sets, before calling start_xvfb:
#   work       a temporary directory of its own
#   artifacts  where screenshots go
# and stops "$xvfb_pid" in its cleanup.

readonly screen_w=1280 screen_h=1024
readonly timeout_s=30   # generous: a busy 2-core machine, maybe a sanitizer build

xvfb_pid=

# -displayfd lets the server pick a free display and tell us its number once it
# accepts connections, so parallel runs never collide.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 "${screen_w}x${screen_h}x24" -nolisten tcp \
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
    mkdir -p "$artifacts"
}

visible_windows() { xdotool search --onlyvisible --name '^Vantrel$' 2>/dev/null; }

# "x y w h" of a top-level window
geometry() {
    xwininfo -id "$1" 2>/dev/null | awk '
        /Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
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

screenshot() { xwd -root -silent | convert xwd:- "png:$artifacts/$1.png"; }
