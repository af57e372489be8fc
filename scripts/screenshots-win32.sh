#!/bin/sh
# PNG screenshots of tessaro.exe under Wine and Xvfb: the main window, its
# popup menu, the folder dialog and the About box, into docs/screenshots/.
#
#   scripts/screenshots-win32.sh [BUILD_DIR]     (default: build/windows)
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build/windows}
out=$here/docs/screenshots

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake --preset windows -S "$here" -B "$build"
fi
cmake --build "$build" --target tessaro_screenshots

mkdir -p "$out"
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT

# The Wine wrapper starts its own X server when there is no DISPLAY.
unset DISPLAY
"$here/cmake/wine-run.sh" "$build/wineprefix" \
  "$build/tools/screenshots/tessaro_screenshots.exe" "Z:$(echo "$shots" | tr / '\\')"

for name in main menu dialog about; do
  convert "$shots/win32-$name.bmp" "$out/win32-$name.png"
  echo "$out/win32-$name.png"
done
