#!/usr/bin/env bash
# Saves screenshots of the editor's windows into docs/: the start window, the
# editor window before and after "Open", and the notes window. Runs the real
# program on a private virtual display with a sample data file.
#   scripts/screenshots.sh [BUILD_DIR]     (default build/release, built when missing)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/release}
docs="$root/docs"
bash "$root/scripts/deps.sh" xvfb xdotool x11-utils imagemagick
exe="$build/app/corvane-objdat-editor"
[ -x "$exe" ] && [ -x "$build/cli/cvnobj" ] || bash "$root/scripts/build.sh" "$build"

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A display of our own: the first free number from 300 on. -noreset keeps the
# server up between clients.
display=300
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x1024x24 -noreset -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  xdpyinfo -display ":$display" >/dev/null 2>&1 && break
  sleep 0.1
done
xdpyinfo -display ":$display" >/dev/null 2>&1 || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display"

# A fresh settings folder whose settings file already names the data folder,
# so "Open" goes straight to the file dialog.
data="$work/data"
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$data" "$XDG_CONFIG_HOME"
"$build/cli/cvnobj" sample "$data/OBJDAT.dat" >/dev/null
printf '[settings]\nstartdir=%s/\ndamscale=100\nsizescale=100\n' "$data" \
  >"$XDG_CONFIG_HOME/cvnobj.INI"

wait_window() { # exact title -> window id
  local id
  id=$(timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" | head -1) || true
  [ -n "$id" ] || { echo "Window \"$1\" did not appear" >&2; exit 1; }
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
visible_windows() { xdotool search --onlyvisible --name '.' 2>/dev/null | sort; }

mkdir -p "$docs"
(cd "$work" && exec "$exe") >"$work/app.log" 2>&1 &
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
xdotool windowfocus --sync "$dialog"
xdotool type --delay 15 "$data/OBJDAT.dat"
xdotool key Return

editor=$(wait_window "Editing .*OBJDAT\\.dat")
click_at "$editor" 100 $((menu_y * 2 + 24 + 17 + 3 * 16 + 8)) # the fourth row of the list
shoot "$editor" editor-working.png

click_at "$editor" 104 "$menu_y" # "Notes", the third item of the menu bar
notes=$(wait_window 'Corvane Object Editor Notebook')
shoot "$notes" notes-window.png
