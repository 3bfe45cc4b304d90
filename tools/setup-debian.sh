#!/bin/sh
# Installs what building, running and testing the console needs on Debian 12,
# skipping packages that are already present.
set -e
pkgs="build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools \
qt6-serialport-dev libqt6serialport6 libpugixml-dev libjpeg62-turbo-dev googletest libgtest-dev \
fonts-noto-cjk xvfb xauth libgl-dev libxkbcommon-dev"
# The trend chart of automatic reading.
# Its CMake files need the OpenGL ones, which the package does not pull in.
pkgs="$pkgs qt6-charts-dev libqt6charts6 libqt6opengl6-dev"
# Checks of the desktop entry and AppStream metadata that CI runs on the installed files.
pkgs="$pkgs desktop-file-utils appstream"
# Manual pages made from the programs' --help at build time.
pkgs="$pkgs help2man"
# A compiler cache: the sanitizer and fuzz builds compile the same sources again.
pkgs="$pkgs ccache"
# The fuzz targets: clang with libFuzzer and the sanitizer runtimes.
pkgs="$pkgs clang libclang-rt-14-dev"
missing=""
for p in $pkgs; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
fi
