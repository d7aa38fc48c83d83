#!/usr/bin/env bash
# Runs a command on a private virtual display and stops the display again:
#   tests/support/with_xvfb.sh COMMAND [ARGS...]
# Xvfb starts on the first free display number from 300 on, with -noreset (so
# a program started between two clients still finds the server) and without
# TCP; the command runs once the server answers, with DISPLAY set. Two copies
# started at once each end up with a display of their own: a server that loses
# the race for a number exits, and the next number is tried.
set -euo pipefail
if (($# == 0)); then
  echo "usage: with_xvfb.sh COMMAND [ARGS...]" >&2
  exit 2
fi
for tool in Xvfb xdpyinfo; do
  command -v "$tool" >/dev/null ||
    { echo "$tool is missing (bash scripts/deps.sh installs it)" >&2; exit 1; }
done

xvfb_pid=""
log=$(mktemp)
stop() {
  if [ -n "$xvfb_pid" ]; then
    kill -TERM "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -f "$log"
}
trap stop EXIT

# Ours once the lock file names our server and the server answers.
answers() {
  [ -e "/tmp/.X$1-lock" ] && [ "$(tr -d ' \n' <"/tmp/.X$1-lock")" = "$xvfb_pid" ] &&
    xdpyinfo -display ":$1" >/dev/null 2>&1
}

display=300
started=""
while [ -z "$started" ] && ((display < 400)); do
  if [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; then
    display=$((display + 1))
    continue
  fi
  Xvfb ":$display" -screen 0 1280x1024x24 -noreset -nolisten tcp >"$log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 200); do
    kill -0 "$xvfb_pid" 2>/dev/null || break
    if answers "$display"; then
      started=yes
      break
    fi
    sleep 0.05
  done
  if [ -z "$started" ]; then
    kill -TERM "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
    display=$((display + 1))
  fi
done
if [ -z "$started" ]; then
  echo "Xvfb did not start:" >&2
  cat "$log" >&2
  exit 1
fi

export DISPLAY=":$display"
status=0
"$@" || status=$?
exit "$status"
