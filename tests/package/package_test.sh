#!/usr/bin/env bash
# The Debian package as a user meets it:
#   1. the package is built from the sources (its own build folder, with a
#      loopback data server built in: the port of a server this test started)
#      and passes lintian without errors or warnings; its metadata passes
#      appstreamcli and desktop-file-validate; Depends names libcurl at the
#      version the HTTP module needs and every dependency is met on this
#      machine; Recommends the Qt Wayland plugin and the design's fonts;
#      the publisher's tool vantrel-chart, with its manual page, passes the
#      installed sample chart;
#   2. installed into a scratch root (owned by root, so its program folder is
#      read-only to users), the program started by an ordinary user under Xvfb
#      shows the chart, copied into that user's data folder;
#   3. Update there fetches the served chart into the user's data folder and
#      the window shows it; the installed sample is left alone.
#
# Usage: package_test.sh SOURCE_DIR BUILD_DIR GENERATOR ARTIFACT_DIR [LAUNCHER]
# Exits 77 (skipped) where there is no dpkg.
set -uo pipefail

source_dir=$1
build=$2
generator=$3
artifacts=$4
launcher=${5:-}

readonly skipped=77
readonly user_id=65534   # nobody

for tool in dpkg dpkg-deb dpkg-shlibdeps lintian appstreamcli desktop-file-validate setpriv; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: no $tool here (a Debian system with scripts/setup.sh's packages is needed)"
        exit $skipped
    fi
done


source "$source_dir/tests/e2e/x_session.sh"
mkdir -p "$artifacts"
chmod 755 "$work"   # the ordinary user reaches the scratch root and its home through it

# --- the data server, on a port the system picks ------------------------------
new_chart=$work/new-chart
mkdir -p "$new_chart"
printf '10\n10\n' >"$new_chart/version"
printf 'http://www.served-monitor.example/\nServed Monitor 2.0\n1 1 1 1 1 1\n9 9 9 9 9 9 54\n' >"$new_chart/data"
cp "$source_dir/app/sample-chart/policy" "$new_chart/policy"
serve_chart "$new_chart"
port=${VANTREL_E2E_DATA_SERVER##*:}

# --- 1. the package --------------------------------------------------------------
echo "building the package with the data server http://127.0.0.1:$port"
options=(-G "$generator" -DCMAKE_BUILD_TYPE=Release -DVANTREL_BUILD_TESTS=OFF -DVANTREL_BUILD_BENCH=OFF
         "-DVANTREL_DATA_SERVER=http://127.0.0.1:$port")
[[ -n $launcher ]] && options+=("-DCMAKE_CXX_COMPILER_LAUNCHER=$launcher" "-DCMAKE_C_COMPILER_LAUNCHER=$launcher")
rm -f "$build"/vantrel_*.deb
if ! { cmake -S "$source_dir" -B "$build" "${options[@]}" && cmake --build "$build" &&
       (cd "$build" && cpack -G DEB); } >"$work/package-build.log" 2>&1; then
    echo "FAIL: the package did not build"; tail -n 40 "$work/package-build.log"; exit 1
fi
deb=$(echo "$build"/vantrel_*.deb)
[[ -f $deb ]] || { echo "FAIL: cpack wrote no vantrel_*.deb"; exit 1; }
cp "$deb" "$artifacts/"
pass "built $(basename "$deb")"

if lintian --fail-on error,warning --info "$deb" >"$work/lintian.log" 2>&1; then
    pass "lintian: no errors or warnings"
else
    fail "lintian found errors or warnings"
fi
grep -E '^[EW]:' "$work/lintian.log"   # anything it found is shown with the run

# Control fields: field | one entry it must have (an extended regular
# expression, the whole entry) | what that is.
while IFS='|' read -r field entry what; do
    value=$(dpkg-deb -f "$deb" "$field")
    entries=$(tr ',' '\n' <<<"$value" | sed 's/^ *//; s/ *$//')
    if grep -Ex "$entry" <<<"$entries" >/dev/null; then
        pass "$field: $what"
    else
        fail "$field lacks $what: $value"
    fi
done <<'FIELDS'
Depends|xdg-utils|xdg-utils (pages open with xdg-open)
Recommends|qt6-wayland|the Qt Wayland plugin
Recommends|fonts-liberation|the design's fonts
FIELDS
depends=$(dpkg-deb -f "$deb" Depends)
# The HTTP module sets options libcurl has only from 7.87.0 on.
curl_version=$(sed -nE 's/(^|.*, )libcurl[^ ,]* \(>= ([^)]+)\).*/\2/p' <<<"$depends")
if [[ -n $curl_version ]] && dpkg --compare-versions "$curl_version" ge 7.87.0; then
    pass "Depends asks for libcurl $curl_version, 7.87.0 or later"
else
    fail "Depends lacks libcurl 7.87.0 or later: $depends"
fi
control=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t)
if grep -E '/(preinst|postinst|prerm|postrm|triggers)$' <<<"$control" >/dev/null; then
    fail "the package has maintainer scripts or triggers: $(xargs <<<"$control")"
else
    pass "no maintainer scripts or triggers (the HTTP module is loaded by path)"
fi
# Every dependency (first of each set of alternatives) is met on this machine.
while read -r name relation version; do
    installed=$(dpkg-query -W -f='${Version}' "$name" 2>/dev/null)
    if [[ -z $installed ]]; then
        fail "dependency $name is not installed"
    elif [[ -n $relation ]] && ! dpkg --compare-versions "$installed" "${relation#(}" "${version%)}"; then
        fail "dependency $name $relation $version: $installed is installed"
    fi
done < <(tr ',' '\n' <<<"$depends" | sed 's/|.*//; s/^ *//')

root=$work/root
dpkg-deb -x "$deb" "$root"
chmod 755 "$root"
metainfo=$(echo "$root"/usr/share/metainfo/*.metainfo.xml)
if appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1; then
    pass "appstreamcli validate: $(basename "$metainfo")"
else
    fail "appstreamcli validate"; cat "$work/appstream.log"
fi
desktop=$(echo "$root"/usr/share/applications/*.desktop)
if out=$(desktop-file-validate "$desktop" 2>&1) && [[ -z $out ]]; then
    pass "desktop-file-validate: $(basename "$desktop")"
else
    fail "desktop-file-validate: $out"
fi

# Every manual page renders without a warning.
for page in "$root"/usr/share/man/man*/*.gz; do
    if out=$(man --warnings -l "$page" 2>&1 >/dev/null) && [[ -z $out ]]; then
        pass "man --warnings: $(basename "$page")"
    else
        fail "man --warnings: $(basename "$page"): $out"
    fi
done
[[ -f $root/usr/share/man/man5/vantrel-chart.5.gz ]] || fail "the format reference vantrel-chart(5) is not installed"

# The publisher's tool, with its manual page, finds nothing wrong in the
# installed sample chart (its summary line alone, on standard error); its
# show runs the window's program beside it.
if [[ -f $root/usr/share/man/man1/vantrel-chart.1.gz ]] &&
   out=$("$root/usr/bin/vantrel-chart" check "$root/usr/lib/vantrel" 2>/dev/null) && [[ -z $out ]]; then
    pass "vantrel-chart and its manual page: the installed sample chart passes check"
else
    fail "vantrel-chart check on the installed sample chart: $out"
fi
if out=$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/vantrel-chart" show "$root/usr/lib/vantrel" 2>&1) &&
   [[ $(head -n1 <<<"$out") == $'\tOS support'* ]]; then
    pass "vantrel-chart show through the installed window program"
else
    fail "vantrel-chart show on the installed sample chart: $out"
fi

# --- 2. started by an ordinary user -----------------------------------------------
start_xvfb
home=$work/home
mkdir -p "$home"
chown "$user_id:$user_id" "$home"
own=$home/.local/share/vantrel
program_folder=$root/usr/lib/vantrel
cat >"$work/as-user" <<LAUNCH
#!/usr/bin/env bash
exec setpriv --reuid=$user_id --regid=$user_id --clear-groups \
    env -i DISPLAY=$DISPLAY HOME=$home PATH=/usr/bin:/bin QT_QPA_PLATFORM=xcb "$root/usr/bin/vantrel"
LAUNCH
chmod 755 "$work/as-user"

differs() { [[ $(compare -metric AE "$1" "$2" null: 2>&1) != 0 ]]; }

show_program "the installed program" "$work" "$work/as-user"
w=$window
screenshot package-first-start
no_message_box "the installed program's first start"
for name in data policy version; do
    cmp -s "$program_folder/$name" "$own/$name" || fail "$name was not copied into the user's folder"
done
[[ $(stat -c %u "$own") == "$user_id" ]] && pass "the user's chart folder $own holds the sample" ||
    fail "the user's chart folder is not the user's"
grid_picture "$w" "$work/before.png"

# --- 3. an update -----------------------------------------------------------------
click_update "$w"
if wait_for "the update: the served chart in the user's folder" holds_served_chart "$own"; then
    pass "the update landed in the user's folder"
else
    cat "$work/server.log"
fi
shows_served_chart() {
    grid_picture "$w" "$work/after.png"
    differs "$work/before.png" "$work/after.png" && echo changed
}
wait_for "the update: the grid changed" shows_served_chart && pass "the window shows the served chart"
screenshot package-after-update
[[ -z $(visible_dialogs) ]] || fail "a message box is showing after the update"
for name in data policy version; do
    cmp -s "$source_dir/app/sample-chart/$name" "$program_folder/$name" ||
        fail "the installed sample $name was changed"
done
stop_program "installed program" "$work"

echo "package and screenshots in $artifacts"
finish_checks
