#!/usr/bin/env bash
# Installs the Debian packages Vantorix needs to build, run and test, when any is
# missing, on Debian 12 (bookworm) and Debian 13 (trixie).
set -euo pipefail

# The fuzz targets' clang runtime is versioned on Debian 12 only.
release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
case "$release" in
  bookworm) clang_runtime=libclang-rt-14-dev ;;
  *) clang_runtime=libclang-rt-dev ;;
esac

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev libqt6svg6 libgl-dev
  libgtest-dev libgmock-dev googletest
  ffmpeg mplayer
  xvfb xauth libgl1-mesa-dri x11-utils fonts-dejavu-core
  xdotool desktop-file-utils appstream dpkg-dev file
  dbus-daemon parallel openssh-server
  clang "$clang_runtime"
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
