#!/usr/bin/env bash
# Where the sample chart, the program and its desktop files end up, and that a
# chart an update has replaced is never put back to the sample:
#   - the build's copy step copies only missing files;
#   - an install (staged with DESTDIR) lays out the program folder, the command
#     link, the desktop entry, the AppStream metadata and the icons the build
#     drew, and a second install keeps chart files that changed in the meantime.
#
# Usage: chart_placement.sh CMAKE BUILD_DIR SOURCE_DIR
set -uo pipefail

cmake=$1
build=$2
source=$3
sample=$source/app/sample-chart


source "$(dirname "$0")/checks.sh"

# --- the build's copy step ----------------------------------------------------
mkdir -p "$work/beside"
echo "from an update" >"$work/beside/version"
"$cmake" -DSOURCE_DIR="$sample" -DDEST_DIR="$work/beside" -P "$source/app/cmake/copy_if_missing.cmake"
if [[ $(cat "$work/beside/version") == "from an update" ]]; then
    pass "copy step keeps a chart file that is already there"
else
    fail "copy step overwrote an existing chart file"
fi
if cmp -s "$sample/data" "$work/beside/data" && cmp -s "$sample/policy" "$work/beside/policy"; then
    pass "copy step adds the missing chart files"
else
    fail "copy step did not add the missing chart files"
fi

# --- install --------------------------------------------------------------------
stage=$work/stage
prefix=/usr/local
root=$stage$prefix
stage_install() { DESTDIR=$stage "$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; }

if ! stage_install; then
    fail "install failed"; cat "$work/install.log"; exit 1
fi
program=$root/lib/vantrel/vantrel
[[ -x $program ]] && pass "program in a folder of its own" || fail "no program at lib/vantrel/vantrel"
[[ -f $root/lib/vantrel/vantrel-http.so ]] && pass "HTTP module beside the program" ||
    fail "no HTTP module at lib/vantrel/vantrel-http.so"
for name in data policy version; do
    cmp -s "$sample/$name" "$root/lib/vantrel/$name" || fail "sample $name not beside the installed program"
done
if [[ -L $root/bin/vantrel && $(readlink -f "$root/bin/vantrel") == "$(readlink -f "$program")" ]]; then
    pass "bin/vantrel links to the program"
else
    fail "bin/vantrel is not a link to the program"
fi
desktop=$(echo "$root"/share/applications/*.Vantrel.desktop)
if [[ -f $desktop && -f $root/share/metainfo/$(basename "$desktop" .desktop).metainfo.xml ]] && grep -qx 'Name=Vantrel' "$desktop" && grep -qx 'Exec=vantrel' "$desktop" &&
    grep -qx 'Icon=vantrel' "$desktop" && grep -qx 'Categories=Utility;' "$desktop"; then
    pass "desktop entry and its metadata"
else
    fail "desktop entry or metadata missing or incomplete"
fi
icons=$root/share/icons/hicolor
for size in 16 24 32 48 64 128 256; do
    drawn=$(identify -format '%wx%h' "$icons/${size}x${size}/apps/vantrel.png" 2>/dev/null)
    [[ $drawn == "${size}x${size}" ]] || fail "icon ${size}x${size}: ${drawn:-not installed}"
done
if grep -q '<svg' "$icons/scalable/apps/vantrel.svg" 2>/dev/null; then
    pass "icons at every size and scalable"
else
    fail "no scalable icon"
fi

# A reinstall after an update replaced "data" and lost "policy".
echo "from an update" >"$root/lib/vantrel/data"
rm "$root/lib/vantrel/policy"
if ! stage_install; then
    fail "second install failed"; cat "$work/install.log"; exit 1
fi
if [[ $(cat "$root/lib/vantrel/data") == "from an update" ]] &&
    cmp -s "$sample/policy" "$root/lib/vantrel/policy"; then
    pass "reinstall keeps changed chart files and restores missing ones"
else
    fail "reinstall did not keep the changed chart or restore the missing one"
fi

finish_checks
