#!/bin/sh
# Builds the .deb in a scratch folder and lets lintian judge it: an error
# fails, warnings are listed.  deb-lintian.sh CPACK BUILD_FOLDER
set -eu
cpack=$1
build=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
deb=$(ls "$out"/*.deb)
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes"
lintian --allow-root --fail-on error --tag-display-limit 0 "$deb"
