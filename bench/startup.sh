#!/usr/bin/env bash
# Start-up of the editor against a bare Qt Widgets window (bench/bare_window.cpp): both are
# started in turn under one private virtual display, RUNS times each after one warm-up start,
# and the script reports the medians of the time from starting the process to its first
# window on screen, to the first frame drawn into it (the window as the user first sees it),
# and of the peak memory, with the editor's figures as a ratio of the bare window's, and for
# the times also the median of the ratios of the pairs run one right after the other. It
# reports figures only; it never fails on them.
#   bench/startup.sh [BUILD_DIR] [RUNS]     (default build/release, 15 runs)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build/release}")
runs=${2:-15}
bash "$root/scripts/deps.sh"
editor="$build/app/corvane-objdat-editor"
bare="$build/bench/bare_window"
probe="$build/bench/startup_probe"
[ -f "$build/CMakeCache.txt" ] || bash "$root/scripts/build.sh" "$build"
cmake --build "$build" --target corvane-objdat-editor bare_window startup_probe >/dev/null

work=$(mktemp -d)
. "$root/scripts/private_display.sh"
cleanup() {
  stop_private_display
  rm -rf "$work"
}
trap cleanup EXIT
start_private_display "$work/xvfb.log"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
unset QT_QPA_PLATFORM QT_SCALE_FACTOR
mkdir -p "$XDG_CONFIG_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
cd "$work"

# The peak includes the first frame and what follows in the next 300 ms.
settle=300
probe_once() { "$probe" "$settle" "$1" >>"$2"; }
probe_once "$editor" /dev/null
probe_once "$bare" /dev/null
# In pairs, one right after the other and each first in every other pair, so that both see the
# same load; a busy machine's drift then cancels in each pair's ratio.
for run in $(seq "$runs"); do
  if ((run % 2)); then
    probe_once "$bare" "$work/bare"
    probe_once "$editor" "$work/editor"
  else
    probe_once "$editor" "$work/editor"
    probe_once "$bare" "$work/bare"
  fi
done
median() { # column of a file -> its median
  cut -d' ' -f"$2" "$1" | sort -n | awk '{v[NR] = $1} END {
    if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
pair_ratio() { # column -> the median of the pairs' ratios, editor over bare window
  paste -d' ' <(cut -d' ' -f"$1" "$work/editor") <(cut -d' ' -f"$1" "$work/bare") |
    awk '{print $1 / $2}' >"$work/ratios"
  median "$work/ratios" 1
}
report() { # label column
  awk -v label="$1" -v e="$(median "$work/editor" "$2")" -v b="$(median "$work/bare" "$2")" \
    -v p="$(pair_ratio "$2")" 'BEGIN {
    printf "  %-12s editor %6.1f ms   bare window %6.1f ms   ratio %.2f   pairs %.2f\n", label, e, b, e / b, p
  }'
}
printf "Start-up, median of %d runs each, one Xvfb (pairs: the median of the ratios of the runs\n" "$runs"
printf "made one right after the other):\n"
report "window:" 1
report "first frame:" 3
awk -v e="$(median "$work/editor" 2)" -v b="$(median "$work/bare" 2)" 'BEGIN {
  printf "  peak memory: editor %6.1f MB   bare window %6.1f MB   ratio %.2f\n", e / 1024, b / 1024, e / b
}'
