#!/bin/sh
# Renders the window with the bundled example offscreen.
#   tools/screenshots.sh [build folder]
#     the README's pictures in three themes, into docs/screenshots/;
#   tools/screenshots.sh --screens [build folder]
#     the window at the common screen sizes (1024x768, 1280x720, 1366x768, 1920x1080, and
#     1920x1080 at a scale factor of 2) in Chinese and English, into <build>/screenshots/, to
#     look over after changing the layout (not committed).
set -eu
cd "$(dirname "$0")/.."
screens=0
if [ "${1:-}" = "--screens" ]; then
  screens=1
  shift
fi
build="${1:-build}"
./tools/setup-debian.sh test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target tervalon-screenshot
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp examples/banner.jpg "$work/"

if [ "$screens" -eq 0 ]; then
  cp examples/config.xml "$work/"
  mkdir -p docs/screenshots
  for theme in "Windows10" "Amakrits" "Ruby Graphite"; do
    out="docs/screenshots/$(echo "$theme" | tr -d ' ' | tr 'A-Z' 'a-z').png"
    "$build/bin/tervalon-screenshot" "$work" "$theme" "$out" 1280 720
    echo "$out"
  done
  exit 0
fi

# The window's client area: the screen less a title bar and a panel (60 pixels; 30 at the
# scale factor 2, where every length counts twice).
out="$build/screenshots"
mkdir -p "$out"
for language in CN EN; do
  for screen in "1024 768 1" "1280 720 1" "1366 768 1" "1920 1080 1" "1920 1080 2"; do
    set -- $screen
    w=$(($1 / $3))
    h=$((($2 - 60) / $3))
    name="$out/$1x$2-scale$3-$language.png"
    # Each picture from the example as shipped: switching the language saves it.
    cp examples/config.xml "$work/"
    QT_SCALE_FACTOR=$3 "$build/bin/tervalon-screenshot" "$work" "Windows10" "$name" "$w" "$h" "$language"
    echo "$name"
  done
done
