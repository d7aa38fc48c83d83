#!/usr/bin/env bash
# Builds every libFuzzer target with clang in build/fuzz and runs each for SECONDS (default 30),
# starting from the seed corpus its generator writes and the corpus grown by earlier runs.
# Fails on any crash, leak, timeout, out-of-memory or failed check; the input that caused it and
# the fuzzer's log are left in build/fuzz/artifacts/.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
seconds=${1:-30}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DCORVANE_FUZZ=ON -DCORVANE_BENCH=OFF >/dev/null
nice -n 10 cmake --build "$build" --target fuzzers

# Fuzzers that work on real files make them in memory where the machine allows: a sync on a
# real disk costs more than the rest of a run.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi

artifacts="$build/artifacts"
mkdir -p "$artifacts"
status=0
while read -r name; do
  [ -n "$name" ] || continue
  seeds="$build/corpus/$name/seeds"
  work="$build/corpus/$name/work"
  rm -rf "$seeds"
  mkdir -p "$seeds" "$work"
  "$build/fuzz/${name}_seeds" "$seeds"
  log="$artifacts/$name.log"
  # -timeout: seconds for one input; -rss_limit_mb: the process's memory cap.
  if "$build/fuzz/$name" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$artifacts/$name-" "$work" "$seeds" >"$log" 2>&1; then
    result="in $seconds s: ok"
  else
    result="before it FAILED (exit $?): log in $log, the input in $artifacts"
    status=1
    tail -n 30 "$log" >&2
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "$name: ${runs:-?} executions $result"
done <"$build/fuzz/fuzzers.txt"
exit $status
