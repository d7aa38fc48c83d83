#!/usr/bin/env bash
# Start-up of the editor against a bare Qt Widgets window (bench/bare_window.cpp): both are
# started in turn under one private virtual display, RUNS times each after one warm-up start,
# and the script reports the medians of the time from starting the process to its first
# window on screen and of the peak memory, with the editor's figures as a ratio of the bare
# window's. It reports figures only; it never fails on them.
#   bench/startup.sh [BUILD_DIR] [RUNS]     (default build/release, 15 runs)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build/release}")
runs=${2:-15}
bash "$root/scripts/deps.sh"
editor="$build/app/corvane-objdat-editor"
bare="$build/bench/bare_window"
probe="$build/bench/startup_probe"
if ! [ -x "$editor" ] || ! [ -x "$bare" ] || ! [ -x "$probe" ]; then
  [ -f "$build/CMakeCache.txt" ] || bash "$root/scripts/build.sh" "$build"
  cmake --build "$build" --target corvane-objdat-editor bare_window startup_probe
fi

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

# 300 ms after the window is mapped the first frame is painted; the peak includes it.
settle=300
probe_once() { "$probe" "$settle" "$1" >>"$2"; }
probe_once "$editor" /dev/null
probe_once "$bare" /dev/null
for _ in $(seq "$runs"); do # alternated, so both see the same load
  probe_once "$bare" "$work/bare"
  probe_once "$editor" "$work/editor"
done

median() { # column of a file -> its median
  cut -d' ' -f"$2" "$1" | sort -n | awk '{v[NR] = $1} END {
    if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
bare_ms=$(median "$work/bare" 1)
editor_ms=$(median "$work/editor" 1)
bare_kb=$(median "$work/bare" 2)
editor_kb=$(median "$work/editor" 2)
awk -v runs="$runs" -v bm="$bare_ms" -v em="$editor_ms" -v bk="$bare_kb" -v ek="$editor_kb" \
  'BEGIN {
    printf "Start-up to the first window, median of %d runs each, one Xvfb:\n", runs
    printf "  time:        editor %6.1f ms   bare window %6.1f ms   ratio %.2f\n", em, bm, em / bm
    printf "  peak memory: editor %6.1f MB   bare window %6.1f MB   ratio %.2f\n", ek / 1024, bk / 1024, ek / bk
  }'
