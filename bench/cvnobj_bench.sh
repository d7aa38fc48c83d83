#!/usr/bin/env bash
# Whole-process time and peak memory of "cvnobj export", "cvnobj import" and "cvnobj merge" on
# 512-record files, each beside a floor (a process that does nothing, /bin/true) run the same way, since
# these machines are shared and noisy. Reports figures; never fails on time.
#   bench/cvnobj_bench.sh [BUILD_DIR] [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/release}
runs=${2:-200}
cvnobj="$build/cli/cvnobj"
[ -x "$cvnobj" ] || { echo "no $cvnobj: build first (bash scripts/build.sh build/release)" >&2; exit 1; }
work=$(mktemp -d ${BENCH_TMPDIR:+-p "$BENCH_TMPDIR"})
trap 'rm -rf "$work"' EXIT
"$cvnobj" sample "$work/OBJDAT.dat" 512 >/dev/null
"$cvnobj" export "$work/OBJDAT.dat" -o "$work/objects.csv"
"$cvnobj" export "$work/OBJDAT.dat" --format json -o "$work/objects.json"

# Three pairs for the merge, every record changed on both sides: MINE renames every record and
# changes its damage, THEIRS changes every dx_pos and every other record's damage (a conflict
# each, settled by --prefer theirs).
for side in BASE MINE THEIRS; do
  cp "$work/OBJDAT.dat" "$work/$side.dat"
  cp "$work/OBJDAT.nam" "$work/$side.nam"
done
awk 'BEGIN { print "index,damage,name"; for (r = 0; r < 512; r++) print r "," r + 7 ",Mine " r }' \
  >"$work/mine.csv"
awk 'BEGIN { print "index,damage,dx_pos"; for (r = 0; r < 512; r++)
  print r "," (r % 2 ? r + 9 : r + 7) "," r + 0.5 }' >"$work/theirs.csv"
"$cvnobj" import "$work/MINE.dat" "$work/mine.csv" >/dev/null
"$cvnobj" import "$work/THEIRS.dat" "$work/theirs.csv" >/dev/null
mkdir "$work/merged"
merge_dry_run() {
  "$cvnobj" merge "$work/BASE.dat" "$work/MINE.dat" "$work/THEIRS.dat" --prefer theirs --dry-run
}
export_to_output() { "$cvnobj" export "$work/OBJDAT.dat"; }
merge_into_new_pair() { # a new pair each run (named by the clock), so every run writes it all
  "$cvnobj" merge "$work/BASE.dat" "$work/MINE.dat" "$work/THEIRS.dat" --prefer theirs \
    -o "$work/merged/$EPOCHREALTIME.dat"
}

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
report "merge --dry-run" "$cvnobj" merge "$work/BASE.dat" "$work/MINE.dat" "$work/THEIRS.dat" \
  --prefer theirs --dry-run
merge_ms=$(mean_ms merge_into_new_pair)
merge_kb=$(peak_kb "$cvnobj" merge "$work/BASE.dat" "$work/MINE.dat" "$work/THEIRS.dat" \
  --prefer theirs -o "$work/merged/peak.dat")
printf '%-28s %9s %7s %10s\n' "merge -o (written)" "$merge_ms" "$(div "$merge_ms" "$floor_ms")" \
  "$(div "$merge_kb" 1024)"
export_into_new_file() { # the export's own write, replaced whole and synced as the merge's is
  "$cvnobj" export "$work/OBJDAT.dat" -o "$work/merged/$EPOCHREALTIME.csv"
}
# Pairs of runs one right after the other, since these machines are shared and noisy.
for what in "dry run:merge_dry_run:export_to_output" "written:merge_into_new_pair:export_into_new_file"; do
  IFS=: read -r label merge export <<<"$what"
  merge_ms=$(mean_ms "$merge")
  export_ms=$(mean_ms "$export")
  echo "merge beside export ($label): $merge_ms / $export_ms ms = $(div "$merge_ms" "$export_ms")× (goal: under 2×)"
done
