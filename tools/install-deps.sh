#!/bin/sh
# SPDX-License-Identifier: MIT
# Installs what building, playing and testing Tessix need on Debian 12 (as root, or
# through sudo when run as another user). Packages already present are left as they are.
set -eu
if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
PACKAGES="
  build-essential cmake ninja-build pkg-config git clang-format clang-tidy
  qt6-base-dev qt6-base-dev-tools libqt6printsupport6 qt6-wayland libqt6svg6 libgl-dev
  qt6-charts-dev libqt6opengl6-dev
  libsdl2-dev libxcb1-dev libwayland-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation fonts-liberation2 fontconfig
  xvfb xauth xdotool imagemagick openbox xfwm4 i3-wm x11-utils weston xwayland sway grim
  libxtst-dev libxdamage-dev
  poppler-utils sox valgrind time python3 procps locales
  appstream desktop-file-utils dpkg-dev file lintian help2man
  cups cups-client cups-ipp-utils libcups2-dev printer-driver-cups-pdf qt6-translations-l10n strace
"
missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
if [ -n "$missing" ]; then
  $SUDO apt-get update
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
fi
