#!/bin/sh
# Runs one Windows program under Wine: wine-run.sh PREFIX PROGRAM [ARGS...]
#
# The prefix belongs to the build folder and is created once. Without a
# DISPLAY a private Xvfb is started, so the tests run on a headless machine.
set -u

locked=0
if [ "${1:-}" = "--locked" ]; then
  locked=1
  shift
fi

if [ $# -lt 2 ]; then
  echo "usage: $0 PREFIX PROGRAM [ARGS...]" >&2
  exit 2
fi

prefix=$1
shift
# Wine wants an absolute prefix.
case $prefix in
  /*) ;;
  *) prefix=$(pwd)/$prefix ;;
esac

export WINEPREFIX="$prefix"
export WINEDEBUG=-all
# Else Wine offers to install Mono and Gecko and writes desktop menu entries.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64

if [ $locked -eq 0 ]; then
  # Runs in one prefix must not overlap (ctest -j): each one stops the
  # prefix's wineserver before and after, which would kill a parallel run.
  # The same lock keeps parallel callers from racing to create the prefix.
  # flock -o keeps the lock's descriptor away from Wine's own processes.
  # The lock comes first: a run waiting for it holds no X server meanwhile.
  mkdir -p "$(dirname "$prefix")"
  exec flock -o "$prefix.lock" "$0" --locked "$prefix" "$@"
fi

if [ -z "${DISPLAY:-}" ]; then
  if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "wine-run.sh: no DISPLAY and no xvfb-run" >&2
    exit 2
  fi
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" --locked "$prefix" "$@"
fi

# Creating a prefix takes a while, so it is made once and marked ready.
if [ ! -f "$prefix/.tessaro-ready" ]; then
  rm -rf "$prefix"
  wineboot -i >/dev/null 2>&1
  # A virtual desktop: in a bare X server without a window manager every
  # hide or destroy of a top-level window otherwise stalls for seconds.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
  # Wine's own fonts (fonts-wine): some builds do not find them where the
  # package puts them, and the title bars then lack their button glyphs.
  if [ -d /usr/share/wine/fonts ]; then
    cp /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
  fi
  wineserver -w
  touch "$prefix/.tessaro-ready"
fi

# A server left from an earlier run may still hold a display that is gone.
wineserver -k >/dev/null 2>&1
wine "$@"
rc=$?
wineserver -k >/dev/null 2>&1
exit $rc
