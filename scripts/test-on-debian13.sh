#!/usr/bin/env bash
# README's test command in a fresh Debian 13 ("trixie") system, as a new user
# would meet it: the system is made with debootstrap from Debian's archive
# under /var/tmp, entered with chroot (with /proc, /sys, /dev/pts, /dev/shm and
# the host's /dev/fuse, which the FAT and stalled-disk tests need), given a
# clone of this checkout's HEAD, and there `bash scripts/test.sh` runs as root.
# Then the Debian package is built and installed with apt. Everything is
# unmounted and removed at the end, whatever happened.
#   sudo bash scripts/test-on-debian13.sh
#   VANTREL_KEEP_SYSTEM=1 ...   keeps the system (its folder is printed)
#   VANTREL_DEBIAN_MIRROR=...   another Debian archive
# Takes half an hour or more; not part of CI. Exits with the test command's
# status.
set -euo pipefail
cd "$(dirname "$0")/.."
readonly suite=trixie
# The Debian archive this machine's apt already uses (its first "URIs:" line,
# or its first "deb" line), unless one is given.
host_archive() {
    { sed -n 's/^URIs:[[:space:]]*\([^[:space:]]*\).*/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null
      sed -n 's/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]*\).*/\2/p' /etc/apt/sources.list 2>/dev/null
    } | grep -v -- '-security' | head -n 1
}
readonly mirror=${VANTREL_DEBIAN_MIRROR:-$(host_archive)}
if [[ -z $mirror ]]; then
    echo "test-on-debian13: no Debian archive in this machine's apt sources; set VANTREL_DEBIAN_MIRROR" >&2
    exit 2
fi

if [[ $(id -u) -ne 0 ]]; then
    echo "test-on-debian13: run as root (debootstrap, mount and chroot need it)" >&2
    exit 2
fi
if ! command -v debootstrap >/dev/null; then
    echo "test-on-debian13: installing debootstrap"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
fi
if [[ -n $(git status --porcelain --untracked-files=no) ]]; then
    echo "test-on-debian13: note: uncommitted changes are not tested, only HEAD $(git rev-parse --short HEAD)"
fi

root=$(mktemp -d /var/tmp/vantrel-debian13.XXXXXX)
chmod 755 "$root"
started=$SECONDS

# Every process still running inside the system, then every mount under it,
# deepest first; the folder goes only once nothing is mounted there.
mounted_under_root() { awk -v r="$root" '$2 == r || index($2, r "/") == 1 { print $2 }' /proc/self/mounts | sort -r; }
clean_up() {
    local status=$? pid m
    for pid in /proc/[0-9]*; do
        [[ $(readlink "$pid/root" 2>/dev/null) == "$root" ]] && kill -KILL "${pid#/proc/}" 2>/dev/null
    done
    sleep 1
    for m in $(mounted_under_root); do
        umount "$m" 2>/dev/null || umount -l "$m" || true
    done
    if [[ -n ${VANTREL_KEEP_SYSTEM:-} ]]; then
        echo "test-on-debian13: the system is kept in $root (unmounted)"
    elif [[ -n $(mounted_under_root) ]]; then
        echo "test-on-debian13: still mounted under $root; not removed:" >&2
        mounted_under_root >&2
    else
        rm -rf --one-file-system "$root"
    fi
    exit "$status"
}
trap clean_up EXIT
trap 'exit 130' INT TERM

phase() { echo "test-on-debian13: $(date -u +%H:%M:%S) [$((SECONDS - started)) s] $*"; }

phase "debootstrap $suite into $root"
debootstrap --include=ca-certificates "$suite" "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
    { tail -n 30 "$root.debootstrap.log"; rm -f "$root.debootstrap.log"; exit 1; }
rm -f "$root.debootstrap.log"
echo "test-on-debian13: Debian $(cat "$root/etc/debian_version")"

mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
mkdir -p "$root/dev/pts" "$root/dev/shm"
mount --bind /dev/pts "$root/dev/pts"
mount -t tmpfs -o mode=1777 shm "$root/dev/shm"
if [[ -c /dev/fuse ]]; then
    touch "$root/dev/fuse"
    mount --bind /dev/fuse "$root/dev/fuse"
else
    echo "test-on-debian13: this machine has no /dev/fuse: the FAT and stalled-disk tests will fail"
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"

phase "cloning $(git rev-parse --short HEAD) ($(git rev-parse --abbrev-ref HEAD))"
# The clone lives in the system's root home, which in_system enters as ~.
git clone --quiet --no-hardlinks "$PWD" "$root/root/vantrel"
git -C "$root/root/vantrel" checkout --quiet --detach "$(git rev-parse HEAD)"

in_system() {
    chroot "$root" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" LANG=C.UTF-8 \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        /bin/bash -c "cd ~/vantrel && $1"
}

phase "bash scripts/test.sh"
test_status=0
in_system "bash scripts/test.sh" || test_status=$?
phase "scripts/test.sh ended with status $test_status"

phase "the package, installed with apt"
package_status=0
in_system '(cd build && cpack -G DEB >/dev/null) &&
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ./build/vantrel_*.deb >/dev/null &&
    dpkg-query -W -f="installed: \${Package} \${Version}\nDepends: \${Depends}\n" vantrel &&
    test -x /usr/bin/vantrel' || package_status=$?
phase "package status $package_status"

((test_status == 0 && package_status == 0)) && phase "passed" || phase "FAILED"
exit $((test_status != 0 ? test_status : package_status))
