#!/usr/bin/env bash
# Installs what is missing (Debian 12), then checks the format of every C++
# file and builds and runs every test, with warnings as errors: the Linux
# build with the Qt front end, clang-tidy over the program's sources, the same
# tests under AddressSanitizer and UndefinedBehaviorSanitizer, the profile
# fuzzer for a bounded time, and the Windows build with its tests under Wine.
# Formatting, clang-tidy and the fuzzer use one pinned clang (14), so that a
# newer clang elsewhere cannot change what passes.
#
#   scripts/test.sh            everything
#   scripts/test.sh native     only the named stages
#                              (format native clang-tidy asan fuzz windows)
set -euo pipefail
cd "$(dirname "$0")/.."

stages=("$@")
[ ${#stages[@]} -eq 0 ] && stages=(format native clang-tidy asan fuzz windows)
jobs=$(nproc)
fuzz_seconds=${TESSARO_FUZZ_SECONDS:-60}

packages=(
  cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev googletest
  qt6-base-dev libgl-dev libpugixml-dev fonts-dejavu-core xvfb xauth
  clang-14 libclang-rt-14-dev clang-format-14 clang-tidy-14
  g++-mingw-w64-x86-64 wine wine64 fonts-wine
  nsis appstream desktop-file-utils lintian locales
)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return
  echo "== installing: ${missing[*]}"
  local sudo=
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

run_preset() {
  local preset=$1
  echo "== $preset: configure and build"
  cmake --preset "$preset" -DTESSARO_WERROR=ON
  cmake --build --preset "$preset" -j "$jobs"
  echo "== $preset: test"
  ctest --preset "$preset" -j "$jobs"
}

# The Turkish locale, whose dotless i catches letter case folded by the
# C library's locale instead of as ASCII.
ensure_turkish_locale() {
  locale -a 2>/dev/null | grep -qi '^tr_TR\.utf-\?8$' && return
  echo "== generating tr_TR.UTF-8"
  local sudo=
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo localedef -i tr_TR -f UTF-8 tr_TR.UTF-8
}

install_missing
ensure_turkish_locale

for stage in "${stages[@]}"; do
  case "$stage" in
    format)
      echo "== format: clang-format over every C++ file"
      git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run --Werror
      # A library is reached through its include folder, never by a path
      # that climbs out of the including file's folder.
      if git grep -n '#include "\.\./' -- '*.cpp' '*.h' '*.rc'; then
        echo "format: #include \"../\" reaches around a library's include folder" >&2
        exit 1
      fi
      ;;
    native | asan | windows) run_preset "$stage" ;;
    clang-tidy)
      # Over the native build's compile commands (configured here if the
      # native stage has not run); the program's sources only, as the tests
      # would double the time for little gain.
      echo "== clang-tidy: the program's sources"
      [ -f build/native/compile_commands.json ] || cmake --preset native -DTESSARO_WERROR=ON
      # Qt's generated sources must exist before their users are read.
      cmake --build --preset native -j "$jobs" --target tessaro_qt
      run-clang-tidy-14 -quiet -p build/native -j "$jobs" "^$PWD/(text|platform|core|ui)/"
      ;;
    fuzz)
      echo "== fuzz: build and run for ${fuzz_seconds}s"
      cmake --preset fuzz -DTESSARO_WERROR=ON
      cmake --build --preset fuzz -j "$jobs"
      corpus=$(mktemp -d)
      cp fuzz/corpus/* "$corpus"/
      build/fuzz/fuzz/profile_fuzz -max_total_time="$fuzz_seconds" -print_final_stats=1 "$corpus"
      rm -rf "$corpus"
      ;;
    *) echo "unknown stage: $stage" >&2; exit 2 ;;
  esac
done
echo "== all tests passed"
