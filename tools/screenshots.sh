#!/bin/sh
# Renders the window with the bundled example offscreen in three themes, into
# docs/screenshots/ (the README's pictures). Usage: tools/screenshots.sh [build folder]
set -eu
cd "$(dirname "$0")/.."
build="${1:-build}"
./tools/setup-debian.sh test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target tervalon-screenshot
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp examples/config.xml examples/banner.jpg "$work/"
mkdir -p docs/screenshots
for theme in "Windows10" "Amakrits" "Ruby Graphite"; do
  out="docs/screenshots/$(echo "$theme" | tr -d ' ' | tr 'A-Z' 'a-z').png"
  "$build/bin/tervalon-screenshot" "$work" "$theme" "$out" 1280 720
  echo "$out"
done
