#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run, test and
# benchmark. Installs only what is missing, so a second run is quick.
set -euo pipefail

packages=(
  build-essential cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  qt6-base-dev qt6-base-private-dev qt6-svg-dev libgl-dev libcurl4-openssl-dev libsodium-dev minisign openssl
  fonts-liberation xdg-utils
  xvfb xdotool x11-utils x11-apps imagemagick
  bindfs
  qt6-wayland weston
  dpkg-dev lintian appstream desktop-file-utils
  libx11-dev libxdamage-dev dbus-daemon at-spi2-core python3-pyatspi
  clang libclang-rt-dev valgrind curl python3 time man-db
  locales
  fusefat fuse dosfstools
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  if [[ $(id -u) -ne 0 ]]; then SUDO=sudo; else SUDO=; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The update's answer table runs under a Turkish locale, whose letter case
# rules are not ASCII's.
if ! locale -a 2>/dev/null | grep -qix 'tr_TR\.utf8'; then
  echo "setup: making the locale tr_TR.UTF-8"
  if [[ $(id -u) -ne 0 ]]; then SUDO=sudo; else SUDO=; fi
  $SUDO localedef -i tr_TR -f UTF-8 tr_TR.UTF-8
fi
