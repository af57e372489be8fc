#!/bin/sh
# The setup program under Wine, in a fresh prefix of its own: silent installs
# with and without /RESTORE, "tessaro.exe /restore" through a recording
# subst.exe, the autostart switches, and a silent uninstall that leaves only
# the settings.   setup-under-wine.sh SETUP RECORDING_SUBST PREFIX
set -u
setup=$1
subst=$2
prefix=$3

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" sh "$0" "$@"
fi
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"

failures=0
check() {
  what=$1
  shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
# A registry value's data as "reg query" shows it, or nothing.
value() {
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
same() { [ "$1" = "$2" ] || { echo "     got '$1', want '$2'"; return 1; }; }
missing() { [ ! -e "$1" ]; }
start=$(date +%s)
version=$(basename "$setup" -win64-setup.exe)
version=${version#Tessaro-}

rm -rf "$prefix"
wineboot -i >/dev/null 2>&1
wineserver -w
# One server for the whole run: each wine call then starts in a moment.
wineserver -p
trap 'wineserver -k 2>/dev/null' EXIT
# A virtual desktop: without a window manager closing a window stalls.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
echo "prefix ready after $(($(date +%s) - start)) s"

user=$(ls -d "$prefix"/drive_c/users/*/ | grep -v /Public/ | head -n 1)
user=${user%/}
winuser="C:\\users\\$(basename "$user")"
app="$user/AppData/Local/Programs/Tessaro"
winapp="$winuser\\AppData\\Local\\Programs\\Tessaro"
menu="$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tessaro.lnk"
desktop="$user/Desktop/Tessaro.lnk"
ini="$user/AppData/Roaming/Tessaro.ini"
uninst='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessaro'
run='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

mkdir -p "$(dirname "$ini")"
printf '[Startup]\r\ntarget drive=X:\r\ntarget path=C:\\Eigene Daten\r\n' > "$ini"
cp "$ini" "$prefix/settings-before"

wine "$setup" /S
check "silent install succeeds" same "$?" 0
check "program, licence and uninstaller installed" \
  test -f "$app/tessaro.exe" -a -f "$app/LICENSE.txt" -a -f "$app/Uninstall.exe"
check "start menu shortcut" test -f "$menu"
check "no desktop shortcut" missing "$desktop"
check "no restore at logon" same "$(value "$run" Tessaro)" ""
check "DisplayName" same "$(value "$uninst" DisplayName)" "Tessaro"
check "DisplayVersion" same "$(value "$uninst" DisplayVersion)" "$version"
check "DisplayIcon" same "$(value "$uninst" DisplayIcon)" "$winapp\\tessaro.exe"
check "InstallLocation" same "$(value "$uninst" InstallLocation)" "$winapp"
check "UninstallString" same "$(value "$uninst" UninstallString)" "\"$winapp\\Uninstall.exe\""
check "QuietUninstallString" same "$(value "$uninst" QuietUninstallString)" \
  "\"$winapp\\Uninstall.exe\" /S"
check "NoModify, NoRepair" same "$(value "$uninst" NoModify) $(value "$uninst" NoRepair)" "0x1 0x1"
check "EstimatedSize" test -n "$(value "$uninst" EstimatedSize)"

wine "$setup" /S /RESTORE
check "second install over the first" same "$?" 0
restore="\"$winapp\\tessaro.exe\" /restore"
check "/RESTORE sets the Run value" same "$(value "$run" Tessaro)" "$restore"
check "settings kept" cmp -s "$ini" "$prefix/settings-before"

cp "$subst" "$app/subst.exe"
wine "$app/tessaro.exe" /restore
check "tessaro.exe /restore succeeds" same "$?" 0
check "the remembered drive mapped as Map maps it" \
  same "$(cat "$app/subst-calls.txt" 2>/dev/null)" 'subst X:  "C:\Eigene Daten"'
check "settings untouched by the restore" cmp -s "$ini" "$prefix/settings-before"
rm -f "$app/subst.exe" "$app/subst-calls.txt"

wine "$app/tessaro.exe" /restore-at-login off
check "/restore-at-login off removes the Run value" same "$?:$(value "$run" Tessaro)" "0:"
wine "$app/tessaro.exe" /restore-at-login on
check "/restore-at-login on writes the setup's value" same "$?:$(value "$run" Tessaro)" "0:$restore"
wine "$app/tessaro.exe" /restore-at-login maybe 2>/dev/null
check "a bad argument exits with 2" same "$?" 2

# A running Tessaro is closed as its close box closes it: it saves. A copy
# unpacked elsewhere (a portable one) is not the setup's and runs on.
portable="$user/Downloads/Tessaro"
mkdir -p "$portable"
cp "$app/tessaro.exe" "$portable/tessaro.exe"
wine "$portable/tessaro.exe" &
elsewhere=$!
wine "$app/tessaro.exe" &
running=$!
sleep 5
wine "$setup" /S
check "install while Tessaro runs" same "$?" 0
check "the running Tessaro was closed" sh -c "sleep 3; ! kill -0 $running 2>/dev/null"
check "and saved its settings on the way" grep -q "next path" "$ini"
check "a copy started from elsewhere runs on" kill -0 $elsewhere
check "a plain reinstall keeps the restore at logon" same "$(value "$run" Tessaro)" "$restore"
wait $running 2>/dev/null
cp "$ini" "$prefix/settings-before"

wine "$app/Uninstall.exe" /S
# The uninstaller runs on from a copy of itself: wait for its work.
for _ in $(seq 60); do
  [ -e "$app" ] || [ -n "$(value "$uninst" DisplayName)" ] || break
  sleep 0.5
done
check "uninstall removes the install folder" missing "$app"
check "uninstall removes the shortcut" missing "$menu"
check "uninstall removes the Run value" same "$(value "$run" Tessaro)" ""
check "uninstall removes the uninstall key" same "$(value "$uninst" DisplayName)" ""
check "uninstall keeps the settings" cmp -s "$ini" "$prefix/settings-before"
check "and leaves the copy from elsewhere running" kill -0 $elsewhere
wine taskkill /f /im tessaro.exe >/dev/null 2>&1
wait $elsewhere 2>/dev/null

echo "setup test: $failures failures, $(($(date +%s) - start)) s"
[ $failures -eq 0 ]
