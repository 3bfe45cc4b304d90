#!/bin/sh
# Installs what the console needs on Debian 12, skipping packages that are already present.
# Usage: tools/setup-debian.sh [run|test]
#   run   what building and running the console needs (tools/run.sh)
#   test  that, and what testing, checking and packaging need (the default; tools/test.sh, CI)
# As root it installs; as another user it uses sudo when there is one, and otherwise prints
# the command to run as root and stops.
set -e
purpose="${1:-test}"
case "$purpose" in
  run | test) ;;
  *)
    echo "usage: $0 [run|test]" >&2
    exit 2
    ;;
esac

# Building and running: the compiler, CMake, Qt with its serial port list and charts, the
# XML and JPEG libraries, SVG support for the window icon and a Chinese font.
pkgs="build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools \
qt6-serialport-dev libqt6serialport6 libpugixml-dev libjpeg62-turbo-dev fonts-noto-cjk \
libgl-dev libxkbcommon-dev libqt6svg6"
# The trend chart of automatic reading. Its CMake files need the OpenGL ones, which the
# package does not pull in.
pkgs="$pkgs qt6-charts-dev libqt6charts6 libqt6opengl6-dev"
if [ "$purpose" = test ]; then
  # The tests, and a virtual display for trying the window without one.
  pkgs="$pkgs googletest libgtest-dev xvfb xauth"
  # Checks of the desktop entry and AppStream metadata that CI runs on the installed files.
  pkgs="$pkgs desktop-file-utils appstream"
  # The package: manual pages made from --help, and Debian's own checker.
  pkgs="$pkgs help2man lintian"
  # A compiler cache: the sanitizer and fuzz builds compile the same sources again.
  pkgs="$pkgs ccache"
  # The fuzz targets: clang with libFuzzer and the sanitizer runtimes.
  pkgs="$pkgs clang libclang-rt-14-dev"
fi

missing=""
for p in $pkgs; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

install="apt-get install -y --no-install-recommends$missing"
if [ "$(id -u)" -eq 0 ]; then
  apt-get update
  DEBIAN_FRONTEND=noninteractive $install
elif command -v sudo >/dev/null 2>&1; then
  sudo apt-get update
  sudo env DEBIAN_FRONTEND=noninteractive $install
else
  cat >&2 <<MSG
These Debian packages are missing:$missing
Installing them needs root, and sudo is not available. Run this as root (for example after
"su -"), then start again:

  apt-get update && $install

MSG
  exit 1
fi
