#!/usr/bin/env bash
# Builds Tessaro for Linux and starts it.
#   scripts/run.sh              on a desktop
#   xvfb-run -a scripts/run.sh  without one (a virtual display)
# Debian packages that are missing are installed first (apt-get, with sudo
# when not run as root); nothing is installed when everything is there.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"

packages=(cmake ninja-build g++ qt6-base-dev libpugixml-dev libgtest-dev libgmock-dev fonts-dejavu-core)

missing=()
for package in "${packages[@]}"; do
  status="$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)"
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} > 0)); then
  echo "Installing missing packages: ${missing[*]}"
  sudo_cmd=()
  ((EUID == 0)) || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake --preset native
cmake --build --preset native --target tessaro subst

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  cat >&2 <<'MESSAGE'
Tessaro is built, but there is no display to show its window on: neither
DISPLAY nor WAYLAND_DISPLAY is set (no desktop session, or an ssh login).

To run it on a virtual display instead:
  sudo apt-get install xvfb xauth
  xvfb-run -a scripts/run.sh
MESSAGE
  exit 1
fi

exec "$here/build/native/bin/tessaro"
