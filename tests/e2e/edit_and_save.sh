#!/usr/bin/env bash
# The editor as a person uses it, on the virtual display of tests/desktop/run_under_xvfb.sh:
#   tests/e2e/edit_and_save.sh EDITOR CVNOBJ SEND_CLOSE_REQUEST
# The start window's button, "Open", the folder prompt and the file dialog
# answered by typing paths, the records listed (read over AT-SPI, as a screen
# reader reads them, on the session bus the test runs on), a row clicked, a field typed into, "Save"; then a
# second field changed, the window closed and the save question answered with
# Yes. On disk must then be the sample file with exactly those two fields
# changed, and the names file the open made.
set -euo pipefail
editor=$1
cvnobj=$2
close_request=$3
for tool in xdotool xdpyinfo; do
  command -v "$tool" >/dev/null ||
    { echo "$tool is missing (bash scripts/deps.sh installs it)" >&2; exit 1; }
done
[ -n "${DISPLAY:-}" ] || { echo "no display: run it under tests/desktop/run_under_xvfb.sh" >&2; exit 1; }
. "$(dirname "$0")/../../scripts/x_windows.sh"

work=$(mktemp -d)
app_pid=""
cleanup() {
  if [ -n "$app_pid" ]; then
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
started=$(date +%s)
fail() {
  echo "FAIL: $*" >&2
  echo "Windows shown:" >&2
  for id in $(visible_windows); do xdotool getwindowname "$id" 2>/dev/null || true; done >&2
  echo "The editor's output:" >&2
  cat "$work/app.log" >&2 2>/dev/null || true
  exit 1
}
step() { echo "[$(($(date +%s) - started)) s] $*"; }

# No settings file yet, so the first "Open" asks for the folder; a blank in the path is typed
# like any other character.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share"
data="$work/game data"
mkdir -p "$data" "$XDG_CONFIG_HOME"
"$cvnobj" sample "$data/OBJDAT.dat" 12 >/dev/null
rm "$data/OBJDAT.nam" # the open makes it
cp "$data/OBJDAT.dat" "$work/expected.dat"

wait_window() { # title pattern -> window id
  local id
  id=$(find_window "$1") || fail "no window \"$1\""
  sleep 0.5 # let it paint and take input
  echo "$id"
}
click_at() { # window, x, y in the window
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.3
}
# An edit takes the focus, its whole text selected, when the mouse pointer moves onto it; typing
# then replaces the text.
point_at() { # window, x, y in the window
  xdotool mousemove --window "$1" "$2" "$3"
  sleep 0.3
}
type_text() {
  xdotool type --delay 20 "$1"
  sleep 0.3
}
# Stores a little-endian 32-bit value at a byte offset of a file.
patch_field() { # file, offset, value
  printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($3 & 255)) $((($3 >> 8) & 255)) \
    $((($3 >> 16) & 255)) $((($3 >> 24) & 255)))" |
    dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}
expect_file() { # file, expected file, what
  if ! cmp "$1" "$2" >&2; then
    cmp -l "$1" "$2" | head -8 >&2 || true
    fail "$3"
  fi
}

step "start"
(cd "$work" && exec env QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$editor") \
  >"$work/app.log" 2>&1 &
app_pid=$!

start=$(wait_window '^Corvane OBJDAT File Editor 3\.0$')
click_at "$start" 180 172 # "Click to Open File Editor"
win=$(wait_window '^Corvane Object Data Editor$')
height=$(xdotool getwindowgeometry --shell "$win" | sed -n 's/^HEIGHT=//p')
menu=$((height - 488)) # the menu bar above the 488-pixel client area
row_y() { echo $((menu + 24 + 17 + $1 * 16 + 8)); }

step "Open: the folder prompt"
focus_window "$win"
click_at "$win" 20 $((menu / 2))
prompt=$(wait_window '^Select OBJDAT File Directory')
focus_window "$prompt"
xdotool key ctrl+a
type_text "$data"
xdotool key Return

step "Open: the file dialog"
dialog=""
for _ in $(seq 100); do
  dialog=$(visible_windows |
    while read -r id; do
      [ "$id" = "$win" ] || [ "$id" = "$prompt" ] || echo "$id"
    done | head -1)
  [ -n "$dialog" ] && break
  sleep 0.1
done
[ -n "$dialog" ] || fail "the file dialog did not appear"
sleep 0.5
focus_window "$dialog"
type_text "$data/OBJDAT.dat"
xdotool key Return
win=$(wait_window '^Editing .*OBJDAT\.dat$')
[ "$(wc -c <"$data/OBJDAT.nam")" -eq $((12 * 30)) ] || fail "the names file is not 12 slots"
"$(dirname "$0")/read_window.py" "$app_pid" >"$work/shown.txt" || fail "the list could not be read"
"$cvnobj" show "$data/OBJDAT.dat" | tail -n +3 | sed 's/^/row: /' >"$work/file-rows.txt"
grep '^row: ' "$work/shown.txt" | diff - "$work/file-rows.txt" >&2 ||
  fail "the list does not show the file's records"

step "edit record 3, Save"
focus_window "$win"
click_at "$win" 100 "$(row_y 3)"
point_at "$win" $((288 + 56 + 32)) $((menu + 8 + 72 + 8)) # "Type:"
type_text 4321
click_at "$win" 60 $((menu / 2)) # "Save"
patch_field "$work/expected.dat" $((100 + 3 * 100 + 1 * 4)) 4321
expect_file "$data/OBJDAT.dat" "$work/expected.dat" "Save did not write exactly the typed field"

step "edit record 5, close, Yes"
click_at "$win" 100 "$(row_y 5)"
point_at "$win" $((288 + 56 + 32)) $((menu + 8 + 144 + 8)) # "Damage:"
type_text 77
"$close_request" "$win"
question=$(wait_window '^Confirm')
focus_window "$question"
xdotool key Return # "&Yes" is the default button
notice=$(wait_window '^Information')
focus_window "$notice"
xdotool key Return
for _ in $(seq 100); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "the editor did not end after the close"
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "the editor ended with status $status"
patch_field "$work/expected.dat" $((100 + 5 * 100 + 2 * 4)) 77
expect_file "$data/OBJDAT.dat" "$work/expected.dat" "the close did not save exactly the two fields"
grep -q '^startdir=' "$XDG_CONFIG_HOME/cvnobj.INI" || fail "no start folder remembered"
step "passed"
