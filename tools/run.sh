#!/bin/sh
# Installs what is missing, builds the console and the simulated device, and starts both:
# the example's port is pointed at the simulator's pseudo-terminal.
# Usage: tools/run.sh [build folder]   (default: build)
set -eu
cd "$(dirname "$0")/.."
build="${1:-build}"
./tools/setup-debian.sh run
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target tervalon tervalon-sim
bin="$(cd "$build/bin" && pwd)"
port="$bin/ttySIM"

rm -f "$port"
"$bin/tervalon-sim" --config "$bin/config.xml" --link "$port" >/dev/null &
sim=$!
trap 'kill "$sim" 2>/dev/null || true' EXIT INT TERM
i=0
while [ ! -e "$port" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
if [ ! -e "$port" ]; then
  echo "the simulated device did not start" >&2
  exit 1
fi
sed -i "/<COMM /s| Port=\"[^\"]*\"| Port=\"$port\"|" "$bin/config.xml"
echo "simulated device on $port"
"$bin/tervalon"
