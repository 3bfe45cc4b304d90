#!/bin/sh
# Installs the built console into a scratch prefix and checks what a Debian desktop needs: the
# desktop entry and AppStream metadata validate, the installed program starts and makes the
# user's own config.xml from the installed example, and the .deb holds the expected files
# (a manual page for every program among them), names its dependencies and passes lintian
# without an error or a warning.
# Usage: tools/package-check.sh [build folder]   (default: build; built already)
set -eu
cd "$(dirname "$0")/.."
build="${1:-build}"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

prefix="$scratch/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
desktop-file-validate "$prefix/share/applications/org.tervalon.Console.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/org.tervalon.Console.metainfo.xml"

# The installed program has no config.xml beside it, so it must make the user's own.
home="$scratch/home"
# A Chinese desktop: the example says Chinese, so the made file must equal it byte for byte
# (an English desktop changes only its LANGUAGE, which the tests cover).
LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8 XDG_CONFIG_HOME="$home" QT_QPA_PLATFORM=offscreen timeout 20 "$prefix/bin/tervalon" &
pid=$!
i=0
while [ ! -f "$home/tervalon/config.xml" ] && [ $i -lt 150 ]; do sleep 0.1; i=$((i + 1)); done
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
cmp "$home/tervalon/config.xml" "$prefix/share/tervalon/config.xml"
echo "installed program made $home/tervalon/config.xml from the example"

"$prefix/bin/tervalon" --version
"$prefix/bin/tervalon-cli" --version
if "$prefix/bin/tervalon" --no-such-option 2>/dev/null; then
  echo "an unknown option was accepted" >&2
  exit 1
fi

(cd "$build" && cpack -G DEB -B "$scratch/deb" >/dev/null)
deb="$(ls "$scratch"/deb/*.deb)"
dpkg-deb -c "$deb" | awk '{print $6}' >"$scratch/files"
for f in ./usr/bin/tervalon ./usr/bin/tervalon-cli ./usr/share/doc/tervalon/copyright ./usr/share/doc/tervalon/changelog.gz \
  ./usr/share/tervalon/config.xml ./usr/share/tervalon/banner.jpg \
  ./usr/share/applications/org.tervalon.Console.desktop \
  ./usr/share/icons/hicolor/scalable/apps/org.tervalon.Console.svg \
  ./usr/share/metainfo/org.tervalon.Console.metainfo.xml; do
  grep -qx "$f" "$scratch/files" || { echo "the .deb lacks $f" >&2; exit 1; }
done
if grep -E 'tests_|bench_|tervalon-sim|tervalon-screenshot' "$scratch/files"; then
  echo "the .deb holds test or tool programs" >&2
  exit 1
fi
for program in $(grep '^\./usr/bin/.' "$scratch/files"); do
  page="./usr/share/man/man1/$(basename "$program").1.gz"
  grep -qx "$page" "$scratch/files" || { echo "the .deb lacks $page (help2man installed?)" >&2; exit 1; }
done
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
for d in libqt6widgets6 libqt6serialport6 libqt6charts6 libpugixml1v5 libjpeg62-turbo qt6-qpa-plugins libqt6svg6 \
  fonts-noto-cjk; do
  echo "$depends" | grep -q "$d" || { echo "the .deb does not depend on $d" >&2; exit 1; }
done
# Debian's checker: errors and warnings fail; pedantic and informational notes may stay.
if ! lintian --fail-on error,warning "$deb" >"$scratch/lintian" 2>&1; then
  cat "$scratch/lintian" >&2
  echo "lintian reports errors or warnings" >&2
  exit 1
fi
grep -v 'running with root privileges' "$scratch/lintian" || true
echo "package check passed: $(basename "$deb")"
