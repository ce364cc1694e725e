#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Mousecfg need.
# Idempotent: only packages that are missing are installed, so a prepared machine pays nothing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config ccache
  qtbase5-dev qttools5-dev-tools qttools5-dev libqt5svg5-dev
  libhidapi-dev libudev-dev libx11-dev libxtst-dev libxi-dev libxcb1-dev libxcb-damage0-dev
  libbenchmark-dev
  xvfb xauth xdotool imagemagick fonts-dejavu-core
  libglib2.0-bin gsettings-desktop-schemas
  openbox x11-utils x11-xserver-utils
  libwayland-dev libwayland-bin qtwayland5 liblayershellqtinterface-dev layer-shell-qt libqt5dbus5
  sway xwayland grim foot jq dbus-bin
  dpkg-dev desktop-file-utils appstream lintian man-db
  qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libgl-dev qt6-wayland
  g++-mingw-w64-x86-64-posix
  clang libclang-rt-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
