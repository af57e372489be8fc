#!/usr/bin/env bash
# A PNG of a GTK file chooser under Xvfb whose sidebar shows a drive mapped
# with our subst, into docs/screenshots/linux-gtk-sidebar.png. Taken by hand
# once; it needs zenity and imagemagick besides the build, and runs in a
# scratch home, so the user's own bookmarks are not touched.
#   scripts/screenshot-gtk-sidebar.sh [BUILD_DIR]   (default build/native)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build/native}"
out="$here/docs/screenshots/linux-gtk-sidebar.png"

cmake --build "$build" -j2 --target subst

scratch=/tmp/tessaro-sidebar-demo
rm -rf "$scratch"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/home/Documents/Daten/Briefe" "$scratch/home/Documents/Daten/Fotos" \
  "$scratch/home/Documents/Daten/Rechnungen" "$scratch/run"
for name in Angebot.pdf Einkaufsliste.txt Notizen.md; do
  : >"$scratch/home/Documents/Daten/$name"
done
chmod 700 "$scratch/run"
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" \
  XDG_RUNTIME_DIR="$scratch/run" LANG=C.UTF-8 NO_AT_BRIDGE=1
"$build/bin/subst" X: "$scratch/home/Documents/Daten"

# The chooser opens in the drive, so its sidebar entry is the selected one.
cd "$HOME"
xvfb-run -a -s "-screen 0 760x440x24 -dpi 96" sh -c '
  zenity --file-selection --title=Tessaro --filename="$XDG_RUNTIME_DIR/tessaro/drives/X:/" \
    2>/dev/null &
  sleep 4
  import -window root "$1"
  kill $!' sh "$out"
echo "$out"
