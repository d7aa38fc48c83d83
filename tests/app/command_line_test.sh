#!/usr/bin/env bash
# The editor's command line through the real program: --version, --help and --help-all without
# a display, the one line it says without a display, mistakes, and FILE at start-up on a virtual
# display of its own: opened (given relative to the working folder), refused (too short to hold
# the header) and missing. The error box's text is checked where the dialogs can be scripted
# (app_application_test); here it is the windows the real program puts on the screen.
#   command_line_test.sh EDITOR CVNOBJ VERSION
set -euo pipefail
editor=$(realpath "$1")
cvnobj=$(realpath "$2")
version=$3
root=$(cd "$(dirname "$0")/../.." && pwd)

work=$(mktemp -d)
editor_pid=""
. "$root/scripts/private_display.sh"
. "$root/scripts/x_windows.sh"
cleanup() {
  [ -n "$editor_pid" ] && kill "$editor_pid" 2>/dev/null || true
  stop_private_display
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/editor.log" ] && sed 's/^/  editor: /' "$work/editor.log" >&2
  exit 1
}
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_SCALE_FACTOR

# ---- without a display
headless() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$editor" "$@"; }
out=$(headless --version) || fail "--version exited with $?"
[ "$out" = "Corvane OBJDAT File Editor $version" ] || fail "--version printed: $out"
out=$(headless --help) || fail "--help exited with $?"
grep -q '^Usage: .*corvane-objdat-editor \[options\] \[FILE\]$' <<<"$out" || fail "--help: $out"
grep -q -- '--version' <<<"$out" || fail "--help names no --version: $out"
out=$(headless --help-all) || fail "--help-all exited with $?"
grep -q -- '-platform <platformName' <<<"$out" || fail "--help-all names no -platform: $out"
status=0
err=$(headless "$work/OBJDAT.dat" 2>&1 >/dev/null) || status=$?
[ "$status" = 1 ] || fail "without a display the editor exited with $status"
[ "$(wc -l <<<"$err")" = 1 ] && grep -q '^No display found' <<<"$err" ||
  fail "without a display it said: $err"

# ---- mistakes, judged once Qt has taken out its own options
mistake() { # expected message, arguments...
  local expected=$1 status=0 err
  shift
  err=$(QT_QPA_PLATFORM=offscreen "$editor" "$@" 2>&1 >/dev/null) || status=$?
  [ "$status" = 1 ] || fail "$* exited with $status"
  grep -qF "$expected" <<<"$err" || fail "$* said: $err"
}
mistake "Unknown option 'bogus'." --bogus
mistake "Only one FILE can be opened." a.dat b.dat
mistake "FILE is empty." ""

# ---- FILE at start-up
start_private_display "$work/xvfb.log"
data="$work/data"
mkdir -p "$data"
"$cvnobj" sample "$data/OBJDAT.dat" 12 >/dev/null
head -c 60 /dev/zero >"$data/objshort.dat"

start_editor() { # file as given on the command line; started in the data folder
  (cd "$data" && exec env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$editor" "$1") \
    >>"$work/editor.log" 2>&1 &
  editor_pid=$!
}
stop_editor() {
  kill "$editor_pid" 2>/dev/null || true
  wait "$editor_pid" 2>/dev/null || true
  editor_pid=""
}
window_named() { find_window "$1" || true; } # title pattern -> window id, or nothing after 20 s
visible() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }

start_editor OBJDAT.dat
[ -n "$(window_named "^Editing $data/OBJDAT\\.dat")" ] || fail "OBJDAT.dat was not opened"
visible 'File Editor 3\.0' && fail "the start window was shown"
grep -qx "startdir=$data/" "$XDG_CONFIG_HOME/cvnobj.INI" || fail "start folder not remembered"
[ -f "$data/OBJDAT.nam" ] || fail "no names file was made beside the data file"
grep -q "<bookmark href=\"file://$data/OBJDAT.dat\"" "$XDG_DATA_HOME/recently-used.xbel" ||
  fail "OBJDAT.dat is not among the recent files"
stop_editor

for file in objshort.dat objmissing.dat; do
  start_editor "$file"
  box=$(window_named '^Corvane OBJDAT File Editor$')
  [ -n "$box" ] || fail "$file: no error box"
  [ -n "$(window_named '^Corvane Object Data Editor')" ] || fail "$file: no editor window"
  visible '^Editing' && fail "$file: the editor window names a document"
  visible 'File Editor 3\.0' && fail "$file: the start window was shown"
  sleep 0.3
  focus_window "$box"
  xdotool key Return
  for _ in $(seq 50); do visible '^Corvane OBJDAT File Editor$' || break; sleep 0.1; done
  visible '^Corvane OBJDAT File Editor$' && fail "$file: the error box stays after OK"
  kill -0 "$editor_pid" 2>/dev/null || fail "$file: the editor ended after the error"
  visible '^Corvane Object Data Editor' || fail "$file: the editor window went away"
  stop_editor
done
echo "PASS"
