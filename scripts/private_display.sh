# Sourced by the scripts that run the editor on a virtual display of their own:
#   . scripts/private_display.sh
#   start_private_display LOG_FILE [SCREEN]     (SCREEN default 1280x1024x24)
# starts Xvfb on the first free display from :300 on, waits until it answers and exports
# DISPLAY; stop_private_display ends it. A display another script takes at the same moment
# is noticed through the lock file, which names the server that owns it, and skipped.
private_display_pid=""

start_private_display() {
  local log=$1 screen=${2:-1280x1024x24} display=300
  while ((display < 400)); do
    if [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; then
      display=$((display + 1))
      continue
    fi
    # -noreset keeps the server up between clients.
    Xvfb ":$display" -screen 0 "$screen" -noreset -nolisten tcp >>"$log" 2>&1 &
    private_display_pid=$!
    for _ in $(seq 100); do
      kill -0 "$private_display_pid" 2>/dev/null || break
      if xdpyinfo -display ":$display" >/dev/null 2>&1 &&
        [ "$(tr -d ' \n' <"/tmp/.X$display-lock" 2>/dev/null)" = "$private_display_pid" ]; then
        export DISPLAY=":$display"
        return 0
      fi
      sleep 0.1
    done
    kill "$private_display_pid" 2>/dev/null || true
    wait "$private_display_pid" 2>/dev/null || true
    private_display_pid=""
    display=$((display + 1))
  done
  echo "No virtual display could be started (see $log)" >&2
  return 1
}

stop_private_display() {
  if [ -n "$private_display_pid" ]; then
    kill "$private_display_pid" 2>/dev/null || true
    wait "$private_display_pid" 2>/dev/null || true
    private_display_pid=""
  fi
}
