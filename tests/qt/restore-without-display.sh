#!/bin/sh
# tessaro --restore as the session runs it at logon: no display at all, the
# real subst beside it, settings in a scratch folder.   SCRIPT TESSARO
set -u
tessaro=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/config" "$scratch/run" "$scratch/Eigene Daten"
chmod 700 "$scratch/run"
printf '[Startup]\ntarget drive=X:\ntarget path=%s\n' "$scratch/Eigene Daten" \
  > "$scratch/config/Tessaro.ini"

run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
  HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" \
  XDG_RUNTIME_DIR="$scratch/run" "$tessaro" "$@"; }

run --restore || { echo "--restore failed: $?"; exit 1; }
[ "$(readlink "$scratch/run/tessaro/drives/X:")" = "$scratch/Eigene Daten" ] ||
  { echo "X: not mapped"; exit 1; }
grep -q '/tessaro/drives/X%3A Eigene Daten (X:)$' "$scratch/config/gtk-3.0/bookmarks" ||
  { echo "X: not in the sidebar"; exit 1; }
run --restore-at-login maybe 2> "$scratch/usage"
[ $? -eq 2 ] && grep -q '^Aufruf: tessaro ' "$scratch/usage" || { echo "no usage"; exit 1; }
echo ok
