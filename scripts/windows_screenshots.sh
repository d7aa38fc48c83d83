#!/usr/bin/env bash
# Screenshots of the Windows editor under Wine on a private virtual display, into docs/: the
# editor with a sample file open and its fourth record shown, at 100 %, at 200 % by Qt's scale
# factor (QT_SCALE_FACTOR=2, which Wine hands the program as WINEQT_SCALE_FACTOR), and at 200 % as
# Windows sets it (the display at 192 DPI). The programs run from
# FOLDER as the portable zip unpacks them, with nothing else on their path, so this also shows
# that the zip runs from any folder. The windows platform draws its text with the FreeType engine
# here: Wine's GDI engine under Xvfb leaves line edits blank.
#   scripts/windows_screenshots.sh FOLDER     (WINEPREFIX as scripts/windows.sh sets it)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
folder=$(realpath "$1")
docs=$root/docs
exe=$folder/corvane-objdat-editor.exe
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEQT_QPA_PLATFORM="windows:fontengine=freetype"

work=$(mktemp -d)
app_pid=""
. "$root/scripts/private_display.sh"
. "$root/scripts/x_windows.sh"
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
  wineserver -w 2>/dev/null || true
  stop_private_display
  rm -rf "$work"
}
trap cleanup EXIT
start_private_display "$work/xvfb.log" 2560x1600x24

# In a folder whose name no single Windows code page holds: the editor is given it on its command
# line and names it in its title, every character kept.
data="$work/Zé€Ω 日本"
mkdir -p "$data"
wine "$folder/cvnobj.exe" sample "Z:$data/OBJDAT.dat" >/dev/null
shoot() { # scale on screen, Qt's scale factor, file name
  (cd "$work" && WINEQT_SCALE_FACTOR=$2 exec wine "$exe" "Z:${data//\//\\}\\OBJDAT.dat") \
    >>"$work/app.log" 2>&1 &
  app_pid=$!
  local id
  id=$(find_window 'Editing .*Zé€Ω 日本.OBJDAT\.dat' 60) ||
    { echo "The editor did not appear, or not with the file's whole name" >&2; exit 1; }
  sleep 2 # let it paint
  # The fourth row of the list clicked, so that the record view shows it.
  xdotool mousemove --window "$id" $((100 * $1)) $((116 * $1)) click 1
  sleep 1
  import -window "$id" "$docs/$3"
  echo "Saved docs/$3 ($(identify -format '%wx%h' "$docs/$3"))"
  kill "$app_pid"
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
  wineserver -k 2>/dev/null || true
}
# The display's resolution as Windows keeps it for the user (96 DPI is 100 %).
desktop='HKCU\Control Panel\Desktop'
display_dpi() {
  if [ "$1" = 96 ]; then
    wine reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1 || true
  else
    wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  fi
  wineserver -w
}
mkdir -p "$docs"
shoot 1 1 windows-editor.png
shoot 2 2 windows-editor-200.png
# At 200 % as a Windows user sets it, the display at 192 DPI: the windows plugin scales by 2 and
# the style's native parts (check boxes, spin buttons) are drawn at that size too, which
# QT_SCALE_FACTOR alone does not tell the style.
display_dpi 192
shoot 2 1 windows-editor-192dpi.png
display_dpi 96
