#!/usr/bin/env bash
# PNG screenshots of the Linux program under Xvfb: the main window, its popup
# menu, the folder dialog and the About box, into docs/screenshots/linux-*.png.
# The windows run in a scratch home, so no settings of the user are touched.
#   scripts/screenshots-qt.sh [BUILD_DIR]   (default build/native)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build/native}"
out="$here/docs/screenshots"

cmake --build "$build" -j2 --target tessaro_screenshot_tour subst
mkdir -p "$out"

# A short, fixed folder, so the pictures show a path a user might map.
scratch=/tmp/tessaro-demo
rm -rf "$scratch"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/home/Documents/Daten/Briefe" "$scratch/home/Documents/Daten/Fotos" \
  "$scratch/home/Documents/Daten/Rechnungen" "$scratch/run"
for name in Angebot.pdf Einkaufsliste.txt Lebenslauf.odt Notizen.md; do
  : >"$scratch/home/Documents/Daten/$name"
done
chmod 700 "$scratch/run"
# A mapped drive, so that the dialog's drive list shows one.
HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/run" \
  "$build/bin/subst" X: "$scratch/home/Documents/Daten"

HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/run" \
  LANG=C.UTF-8 QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 800x600x24 -dpi 96" \
  "$build/tools/screenshots/tessaro_screenshot_tour" "$out" "$scratch/home/Documents/Daten"

ls -1 "$out"/linux-*.png
