#!/usr/bin/env bash
# The installer under Wine, in a fresh prefix, as a user without administrator rights: a silent
# install (/S) puts the programs in the user's programs folder with a Start menu entry, the
# uninstall entry and "Open with" for .dat files in the current user's registry; the installed
# cvnobj.exe runs; the silent uninstall removes all that and leaves the user's settings, notes
# and data files.
#   scripts/windows_install_check.sh SETUP_EXE PREFIX
set -uo pipefail
[ -f "$1" ] || { echo "windows_install_check.sh: no installer $1" >&2; exit 1; }
setup=$(realpath "$1")
export WINEPREFIX=$(realpath -m "$2") WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
failures=0
check() { # what, command...
  local what=$1
  shift
  if "$@" >/dev/null 2>&1; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
rm -rf "$WINEPREFIX"
wine wineboot -i >/dev/null 2>&1
wineserver -w
users=$WINEPREFIX/drive_c/users/${USER:-$(id -un)}
[ -d "$users" ] || users=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 ! -name Public | head -1)
program="$users/AppData/Local/Programs/Corvane OBJDAT File Editor"
roaming=$users/AppData/Roaming
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\CorvaneObjdatEditor'
open_with='HKCU\Software\Classes\.dat\OpenWithList\corvane-objdat-editor.exe'
application='HKCU\Software\Classes\Applications\corvane-objdat-editor.exe\shell\open\command'

wine "$setup" /S
wineserver -w
check "installed into the user's programs folder" test -f "$program/corvane-objdat-editor.exe"
check "cvnobj.exe beside it" test -f "$program/cvnobj.exe"
check "a Start menu entry" test -f "$roaming/Microsoft/Windows/Start Menu/Programs/Corvane OBJDAT File Editor.lnk"
check "the uninstall entry in the user's registry" wine reg query "$uninstall_key" /v UninstallString
check "\"Open with\" for .dat files" wine reg query "$open_with"
check "the program's open command" wine reg query "$application"
check "the .dat extension's own program untouched" bash -c "! wine reg query 'HKCU\\Software\\Classes\\.dat' /ve 2>/dev/null | grep -q corvane"
check "the installed cvnobj.exe runs" wine "$program/cvnobj.exe" --version
check "the installed editor starts (its DLLs found)" wine "$program/corvane-objdat-editor.exe" --version

# What the user made: settings and notes, and a data file beside the program.
mkdir -p "$roaming/cvnobj"
echo "[Objects]" >"$roaming/cvnobj/cvnobj.INI"
echo "notes" >"$roaming/cvnobj/objinfo.txt"
wine "$program/cvnobj.exe" sample 'C:\OBJDAT.dat' 3 >/dev/null
cp "$WINEPREFIX/drive_c/OBJDAT.dat" "$program/MY.dat"
wine "$program/uninstall.exe" /S
wineserver -w
check "the program removed" test ! -e "$program/corvane-objdat-editor.exe"
check "the Start menu entry removed" test ! -e "$roaming/Microsoft/Windows/Start Menu/Programs/Corvane OBJDAT File Editor.lnk"
check "the uninstall entry removed" bash -c "! wine reg query '$uninstall_key'"
check "the \"Open with\" entry removed" bash -c "! wine reg query '$open_with'"
check "settings and notes kept" test -f "$roaming/cvnobj/cvnobj.INI" -a -f "$roaming/cvnobj/objinfo.txt"
check "data files kept" test -f "$program/MY.dat" -a -f "$WINEPREFIX/drive_c/OBJDAT.dat"
echo "installer under Wine: $failures failures"
exit $((failures > 0))
