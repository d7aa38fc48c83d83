#!/usr/bin/env bash
# Runs a program as a client of a private headless Wayland compositor: starts weston with its
# headless backend in a runtime folder of its own, waits for its socket, runs the program there
# with Qt's Wayland platform and the client's protocol log (WAYLAND_DEBUG) in the file that
# CORVANE_WAYLAND_LOG names, then stops the compositor. The program's other messages on standard
# error are shown after it ends. Exits with the program's status, or with 77 (the tests' skip
# code) when weston is not installed.
#
#   tests/desktop/run_under_weston.sh PROGRAM [ARGUMENTS...]
set -uo pipefail

if ! command -v weston >/dev/null 2>&1; then
  echo "SKIP: weston is not installed (Debian package weston; scripts/deps.sh installs it)." >&2
  exit 77
fi
if (($# == 0)); then
  echo "usage: $0 PROGRAM [ARGUMENTS...]" >&2
  exit 2
fi

# The compositor's socket lives in the runtime folder, which nobody else uses: runs in parallel
# cannot meet, and the caller's own compositor is never reached.
runtime=$(mktemp -d)
chmod 700 "$runtime"
compositor=""
stop() {
  if [[ -n $compositor ]]; then
    kill -TERM "$compositor" 2>/dev/null
    wait "$compositor" 2>/dev/null
  fi
  rm -rf "$runtime"
}
trap stop EXIT
trap 'exit 130' INT TERM

socket=wayland-test
env -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u DISPLAY XDG_RUNTIME_DIR="$runtime" \
  weston --backend=headless-backend.so --socket="$socket" --no-config \
  --log="$runtime/weston.log" >/dev/null 2>&1 &
compositor=$!
for ((try = 0; try < 100; ++try)); do
  [[ -S $runtime/$socket ]] && break
  kill -0 "$compositor" 2>/dev/null || break
  sleep 0.05
done
if [[ ! -S $runtime/$socket ]]; then
  echo "weston did not start:" >&2
  cat "$runtime/weston.log" >&2 2>/dev/null
  exit 1
fi

log="$runtime/client.log"
env -u DISPLAY -u WAYLAND_SOCKET -u QT_WAYLAND_SHELL_INTEGRATION -u QT_WAYLAND_DECORATION \
  -u QT_WAYLAND_DISABLE_WINDOWDECORATION \
  XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=1 \
  CORVANE_WAYLAND_LOG="$log" "$@" 2>"$log"
status=$?
# Protocol lines start with a bracketed time stamp; everything else is the program's own.
grep -av '^\[ *[0-9]*\.[0-9]*\] ' "$log" >&2
exit $status
