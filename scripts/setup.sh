#!/usr/bin/env bash
# Installs every Debian package that building, testing and benchmarking Taskwick needs.
# Safe to run again: packages already installed are skipped.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ ccache pkg-config clang
  # libraries
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-multimedia-dev qt6-qpa-plugins
  libqt6svg6 qt6-image-formats-plugins libpugixml-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # end-to-end: X server, window manager with task bar and tray, input, screenshots
  xvfb icewm xdotool x11-utils imagemagick fonts-dejavu-core python3
  # desktop integration checks
  desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
