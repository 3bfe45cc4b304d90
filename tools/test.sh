#!/bin/sh
# Installs what is missing, builds everything and runs the whole test suite.
# Usage: tools/test.sh [build folder]   (default: build)
set -eu
cd "$(dirname "$0")/.."
build="${1:-build}"
./tools/setup-debian.sh test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure -j2
