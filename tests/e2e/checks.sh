# Shared by the end-to-end scripts and the package test (sourced, not run;
# x_session.sh sources it too): the checks' lines and count, a work folder,
# the clean-up at exit, and the verdict.
#
# Sourcing it makes $work and sets the one EXIT trap: it runs what the script
# registered with `at_exit COMMAND` (the last registered first; COMMAND is
# evaluated then, so it sees the variables' values at exit), then removes
# $work. A script ends with `finish_checks`.

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok:   $*"; }

work=$(mktemp -d)
exit_steps=()
at_exit() { exit_steps=("$1" "${exit_steps[@]}"); }
run_exit_steps() {
    local step
    for step in "${exit_steps[@]}"; do eval "$step"; done
    rm -rf "$work"
}
trap run_exit_steps EXIT

# end_process PID: ends a process this script started, if it is still running.
# Its status (killed: 143) must not end a script that runs under set -e early,
# before the rest of the clean-up.
end_process() {
    if [[ -n $1 ]] && kill "$1" 2>/dev/null; then wait "$1" 2>/dev/null || true; fi
}

# The script's last line: the verdict, and exit status 1 when a check failed.
finish_checks() {
    if ((failures)); then
        echo "$failures check(s) failed"
        exit 1
    fi
    echo "all checks passed"
}
