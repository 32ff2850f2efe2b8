#!/usr/bin/env bash
# The HTTP module boundary: the program does not need libcurl (or the TLS and
# network libraries libcurl brings) to start; the module carries libcurl and
# libsodium and shows only its two entry points; and an update without the module fails with the
# usual message naming the missing file, leaving the chart as it was.
#
# Usage: http_module.sh PROGRAM MODULE UPDATE_DRIVER
set -uo pipefail
export LC_ALL=C

program=$1
module=$2
driver=$3

source "$(dirname "$0")/checks.sh"

# libcurl's chain: what it links that a plain Qt window does not.
readonly chain='libcurl|libsodium|libssl|libcrypto|libgnutls|libnghttp2|libssh|libldap|libgssapi|libkrb5|librtmp|libpsl'

needed=$(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
[[ -n $needed ]] || fail "readelf lists no NEEDED entries for $program"
if grep -E -q "^($chain)\." <<<"$needed"; then
    fail "the program needs $(grep -E "^($chain)\." <<<"$needed" | tr '\n' ' ')"
else
    pass "the program's NEEDED entries hold no libcurl: $(tr '\n' ' ' <<<"$needed")"
fi
if ldd "$program" | grep -E -q "^\s*($chain)\."; then
    fail "libcurl's chain is loaded with the program: $(ldd "$program" | grep -E "($chain)\." | awk '{print $1}' | tr '\n' ' ')"
else
    pass "nothing of libcurl's chain is loaded with the program"
fi

for library in libcurl libsodium; do
    readelf -d "$module" | grep -q "NEEDED.*\[$library\." && pass "the module links $library" ||
        fail "the module does not link $library"
done
exported=$(nm -D --defined-only "$module" | awk '$2 == "T" || $2 == "D" || $2 == "B" {print $3}' | sort | tr '\n' ' ')
if [[ $exported == "vantrel_http_client_create vantrel_minisign_primitives " ]]; then
    pass "the module exports its two entry points only"
else
    fail "the module exports: $(tr '\n' ' ' <<<"$exported")"
fi

# An update with no module beside the program. The address is never reached:
# the run stops before any connection.
alone=$work/alone
mkdir -p "$alone"
cp "$driver" "$alone/driver"
printf 'old chart\r\n' >"$alone/data"
"$alone/driver" http://127.0.0.1:9 "$alone" 2>"$work/stderr"
status=$?
message=$(cat "$work/stderr")
if [[ $status -eq 1 && $message == "The update failed: the connection to the data server could not be set up ("*"vantrel-http.so"*")." ]]; then
    pass "without the module the update fails naming it: $message"
else
    fail "without the module: exit $status, message: $message"
fi
[[ $(cat "$alone/data") == $'old chart\r' ]] && [[ $(ls -A "$alone" | grep -v -x -e .vantrel-update.lock -e ".vantrel-update-$(id -u).lock") == $'data\ndriver' ]] &&
    pass "the chart is left as it was" || fail "the chart folder changed: $(ls -A "$alone")"

# Without /proc the program's folder is not known: the update fails naming the
# module, and a module in the current folder is not loaded in its place. (The
# driver cannot start at all where /proc cannot be hidden, or under a
# sanitizer, whose runtime reads it: the check is skipped then.)
hidden_proc() { unshare --mount --fork sh -c 'mount -t tmpfs none /proc && cd "$1" && shift && exec "$@"' sh "$@"; }
here=$work/here
mkdir -p "$here/chart"
cp "$module" "$here/vantrel-http.so"
printf 'old chart\r\n' >"$here/chart/data"
hidden_proc "$here" "$driver" >/dev/null 2>&1
if [[ $? -ne 2 ]]; then
    echo "skip: the update driver cannot be run without /proc here"
else
    hidden_proc "$here" "$driver" http://127.0.0.1:9 "$here/chart" 2>"$work/stderr"
    status=$?
    message=$(cat "$work/stderr")
    expected="The update failed: the connection to the data server could not be set up (vantrel-http.so cannot be found: the program's own folder is not known)."
    [[ $status -eq 1 && $message == "$expected" ]] && pass "without /proc the update fails naming the module: $message" ||
        fail "without /proc: exit $status, message: $message"
    [[ $(cat "$here/chart/data") == $'old chart\r' ]] && pass "the chart is left as it was" ||
        fail "without /proc the chart changed"
fi

finish_checks
