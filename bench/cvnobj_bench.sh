#!/usr/bin/env bash
# Whole-process time and peak memory of "cvnobj export" and "cvnobj import" on a 512-record
# file, each beside a floor (a process that does nothing, /bin/true) run the same way, since
# these machines are shared and noisy. Reports figures; never fails on time.
#   bench/cvnobj_bench.sh [BUILD_DIR] [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/release}
runs=${2:-200}
cvnobj="$build/cli/cvnobj"
[ -x "$cvnobj" ] || { echo "no $cvnobj: build first (bash scripts/build.sh build/release)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$cvnobj" sample "$work/OBJDAT.dat" 512 >/dev/null
"$cvnobj" export "$work/OBJDAT.dat" -o "$work/objects.csv"
"$cvnobj" export "$work/OBJDAT.dat" --format json -o "$work/objects.json"

mean_ms() { # command... -> mean wall time of one run in milliseconds, over $runs runs
  local start end
  start=$EPOCHREALTIME
  for ((i = 0; i < runs; i++)); do "$@" >/dev/null; done
  end=$EPOCHREALTIME
  awk -v s="$start" -v e="$end" -v n="$runs" 'BEGIN { printf "%.2f", (e - s) * 1000 / n }'
}
peak_kb() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }

floor_ms=$(mean_ms /bin/true)
floor_kb=$(peak_kb /bin/true)
printf '%-28s %9s %7s %10s\n' "command (512 records)" "ms/run" "× floor" "peak MB"
div() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a / b }'; }
printf '%-28s %9s %7s %10s\n' "floor: /bin/true" "$floor_ms" "1.0" "$(div "$floor_kb" 1024)"
report() { # label command...
  local label=$1 ms kb
  shift
  ms=$(mean_ms "$@")
  kb=$(peak_kb "$@")
  printf '%-28s %9s %7s %10s\n' "$label" "$ms" "$(div "$ms" "$floor_ms")" "$(div "$kb" 1024)"
}
report "export (CSV)" "$cvnobj" export "$work/OBJDAT.dat"
report "export (JSON)" "$cvnobj" export "$work/OBJDAT.dat" --format json
report "import (CSV, no change)" "$cvnobj" import "$work/OBJDAT.dat" "$work/objects.csv"
report "import (JSON, no change)" "$cvnobj" import "$work/OBJDAT.dat" "$work/objects.json"
report "import --dry-run (CSV)" "$cvnobj" import "$work/OBJDAT.dat" "$work/objects.csv" --dry-run
