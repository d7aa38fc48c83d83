#!/usr/bin/env bash
# Saves screenshots of the editor's windows into docs/: the start window, the
# editor window before and after "Open", the notes window, and the editor
# window at 200 % scaling. Runs the real program on a private virtual display
# with a sample data file.
#   scripts/screenshots.sh [BUILD_DIR]     (default build/release, built when missing)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build/release}")
docs="$root/docs"
bash "$root/scripts/deps.sh" xvfb xdotool x11-utils imagemagick
exe="$build/app/corvane-objdat-editor"
[ -x "$exe" ] && [ -x "$build/cli/cvnobj" ] || bash "$root/scripts/build.sh" "$build"

work=$(mktemp -d)
app_pid=""
. "$root/scripts/private_display.sh"
. "$root/scripts/x_windows.sh"
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  stop_private_display
  rm -rf "$work"
}
trap cleanup EXIT

# Room for the editor window at 200 %.
start_private_display "$work/xvfb.log" 2560x1600x24

# A fresh settings folder whose settings file already names the data folder,
# so "Open" goes straight to the file dialog.
data="$work/data"
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$data" "$XDG_CONFIG_HOME"
"$build/cli/cvnobj" sample "$data/OBJDAT.dat" >/dev/null
printf '[settings]\nstartdir=%s/\ndamscale=100\nsizescale=100\n' "$data" \
  >"$XDG_CONFIG_HOME/cvnobj.INI"
# A private data folder with a short notes file in Rich Text Format, for the notes window.
export XDG_DATA_HOME="$work/share"
mkdir -p "$XDG_DATA_HOME/cvnobj"
cat >"$XDG_DATA_HOME/cvnobj/objinfo.txt" <<'RTF'
{\rtf1\ansi\deff0{\fonttbl{\f0 DejaVu Sans;}{\f1 DejaVu Serif;}}{\colortbl;\red128\green0\blue0;\red0\green0\blue128;}
\f1\fs28\b\cf1 Object notes\b0\cf0\f0\fs18\par
Record 12: {\b damage} raised to 40, shadow {\i eight times} the shape.\par
{\cf2\ul To do:} check the flame flag of record 190.\par
}
RTF

wait_window() { # exact title -> window id
  local id
  id=$(find_window "^$1\$") || { echo "Window \"$1\" did not appear" >&2; exit 1; }
  sleep 0.7 # let it paint
  echo "$id"
}
shoot() { # window id, file name
  import -window "$1" "$docs/$2"
  echo "Saved docs/$2"
}
click_at() { # window id, x, y (window coordinates)
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.3
}

mkdir -p "$docs"
(cd "$work" && exec env QT_QPA_PLATFORM=xcb "$exe") >"$work/app.log" 2>&1 &
app_pid=$!

start=$(wait_window 'Corvane OBJDAT File Editor 3\.0')
shoot "$start" start-window.png
click_at "$start" 180 172 # "Click to Open File Editor"

editor=$(wait_window 'Corvane Object Data Editor')
shoot "$editor" editor-initial.png
# The menu bar is what the window has above its 488-pixel client area.
height=$(xdotool getwindowgeometry --shell "$editor" | sed -n 's/^HEIGHT=//p')
menu_y=$(((height - 488) / 2))

before=$(visible_windows)
click_at "$editor" 20 "$menu_y" # "Open"
dialog=""
for _ in $(seq 100); do
  dialog=$(comm -13 <(echo "$before") <(visible_windows) | head -1)
  [ -n "$dialog" ] && break
  sleep 0.1
done
[ -n "$dialog" ] || { echo "The open dialog did not appear" >&2; exit 1; }
sleep 0.7
focus_window "$dialog"
xdotool type --delay 15 "$data/OBJDAT.dat"
xdotool key Return

editor=$(wait_window "Editing .*OBJDAT\\.dat")
click_at "$editor" 100 $((menu_y * 2 + 24 + 17 + 3 * 16 + 8)) # the fourth row of the list
shoot "$editor" editor-working.png

click_at "$editor" 138 "$menu_y" # "Notes", the fourth item of the menu bar, after "Edit"
notes=$(wait_window 'Corvane Object Editor Notebook')
shoot "$notes" notes-window.png

# At 200 %: the editor started with the data file on its command line. The window system
# counts device pixels, twice the window's own.
kill "$app_pid"
wait "$app_pid" 2>/dev/null || true
(cd "$work" && QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=2 exec "$exe" "$data/OBJDAT.dat") >>"$work/app.log" 2>&1 &
app_pid=$!
editor=$(wait_window "Editing .*OBJDAT\\.dat")
height=$(xdotool getwindowgeometry --shell "$editor" | sed -n 's/^HEIGHT=//p')
menu_bar=$((height / 2 - 488))
click_at "$editor" 200 $(((menu_bar + 24 + 17 + 3 * 16 + 8) * 2)) # the fourth row again
shoot "$editor" editor-working-200.png
