# Sourced by the scripts and tests that find the editor's windows on an X display with xdotool:
#   . scripts/x_windows.sh
#   find_window PATTERN [SECONDS]   the first visible window whose name matches PATTERN (an
#                                   extended regular expression), polled until SECONDS (default
#                                   20) have passed; prints its id, or nothing and fails
#   visible_windows                 the ids of every visible named window, one a line, sorted
#   focus_window ID                 gives ID the keyboard focus and waits (at most 5 s) until it
#                                   has it
# xdotool's own --sync waiting is not used: a window destroyed while it walks the window list (a
# dialog closing) makes it die with BadWindow, even though the window waited for is there. A
# failed walk here is only one poll that found nothing.

find_window() {
  local pattern=$1 seconds=${2:-20} id deadline
  deadline=$((SECONDS + seconds))
  while :; do
    id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -1) || true
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

visible_windows() {
  xdotool search --onlyvisible --name '.' 2>/dev/null | sort || true
}

focus_window() {
  timeout 5 xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1" 2>/dev/null || true
}
