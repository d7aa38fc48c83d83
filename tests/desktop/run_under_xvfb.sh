#!/usr/bin/env bash
# Runs a program on a private virtual X display: starts Xvfb on the first free
# display number from :300 up, waits until it answers, runs the program there
# with Qt's xcb platform and stops the server again. Exits with the program's
# status, or with 77 (the tests' skip code) when Xvfb is not installed.
#
#   tests/desktop/run_under_xvfb.sh PROGRAM [ARGUMENTS...]
set -uo pipefail

if ! command -v Xvfb >/dev/null 2>&1; then
  echo "SKIP: Xvfb is not installed (Debian package xvfb; scripts/deps.sh installs it)." >&2
  exit 77
fi
if ! command -v xdpyinfo >/dev/null 2>&1; then
  echo "xdpyinfo is missing (Debian package x11-utils; scripts/deps.sh installs it)." >&2
  exit 1
fi
if (($# == 0)); then
  echo "usage: $0 PROGRAM [ARGUMENTS...]" >&2
  exit 2
fi

server=""
stop_server() {
  if [[ -n $server ]]; then
    kill -TERM "$server" 2>/dev/null # Xvfb removes its lock file on SIGTERM
    wait "$server" 2>/dev/null
    server=""
  fi
}
trap stop_server EXIT
trap 'exit 130' INT TERM

display=""
for ((number = 300; number < 400; ++number)); do
  [[ -e /tmp/.X$number-lock || -e /tmp/.X11-unix/X$number ]] && continue
  # -noreset: otherwise the server resets when its last client leaves, and the next one fails.
  Xvfb ":$number" -noreset -nolisten tcp -screen 0 1280x1024x24 >/dev/null 2>&1 &
  server=$!
  for ((try = 0; try < 100; ++try)); do
    # Another run may have taken the same number a moment earlier: then our server has gone, or
    # the lock file names the other one.
    kill -0 "$server" 2>/dev/null || break
    if xdpyinfo -display ":$number" >/dev/null 2>&1 &&
      [[ "$(tr -d ' \n' <"/tmp/.X$number-lock" 2>/dev/null)" == "$server" ]]; then
      display=":$number"
      break 2
    fi
    sleep 0.1
  done
  stop_server
done
if [[ -z $display ]]; then
  echo "Could not start Xvfb on any display from :300 to :399." >&2
  exit 1
fi

DISPLAY=$display QT_QPA_PLATFORM=xcb "$@"
exit $?
