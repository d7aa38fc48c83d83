#!/usr/bin/env bash
# cvnobj.exe under Wine against the Linux cvnobj: sample, export, import, scale, diff and check
# on the same inputs, under a name outside every ANSI code page, must write the same files byte
# for byte and print the same standard output. Then two cvnobj.exe import at once on one pair:
# each either writes its change or is refused with nothing written, and nothing is lost.
#   scripts/windows_cvnobj_check.sh LINUX_CVNOBJ WINDOWS_CVNOBJ_EXE   (WINEPREFIX as the caller has it)
set -uo pipefail
linux=$(realpath "$1")
windows=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

data='Zé€Ω 日本.dat'
# The run of every command on one side, in its own folder; each command's standard output and
# exit status go to files of their own, compared afterwards with the other side's.
run_side() { # folder, cvnobj command...
  local folder=$1 step=0
  shift
  mkdir -p "$folder" && cd "$folder" || return 1
  cvnobj() {
    step=$((step + 1))
    "$@" >"stdout-$step" 2>/dev/null
    echo $? >"status-$step"
  }
  cvnobj "$@" sample "$data" 40
  cvnobj "$@" export "$data" -o export.csv
  cvnobj "$@" export --bom "$data"
  sed '2s/,[^,]*,/,"Äshwick €, renamed",/' export.csv >changes.csv
  cvnobj "$@" import "$data" changes.csv
  cvnobj "$@" scale --damage 100:150 --size 100:80 "$data"
  cvnobj "$@" export --format json "$data"
  cvnobj "$@" sample other.dat 12
  cvnobj "$@" diff "$data" other.dat
  cvnobj "$@" check "$data"
  cvnobj "$@" show "$data" 3
}
(run_side "$work/linux" "$linux")
(run_side "$work/windows" wine "$windows")
if ! diff -r "$work/linux" "$work/windows" >"$work/differences"; then
  fail "cvnobj.exe wrote other bytes than cvnobj:"
  head -20 "$work/differences"
fi
[ "$(cat "$work/linux/status-1")" = 0 ] && [ -s "$work/linux/$data" ] ||
  fail "the Linux cvnobj made no sample"
grep -q 'Äshwick €, renamed' "$work/windows/stdout-6" || fail "the import's name is not in the export"

# Two imports at once, each changing the name of a record of its own.
cd "$work/windows" || exit 1
for r in 4 9; do
  sed -n "1p;$((r + 2))s/,[^,]*,/,\"Changed $r\",/p" export.csv >"import-$r.csv"
done
wine "$windows" import "$data" import-4.csv >/dev/null 2>import-4.err &
first=$!
wine "$windows" import "$data" import-9.csv >/dev/null 2>import-9.err &
second=$!
wait $first; status4=$?
wait $second; status9=$?
wine "$windows" export "$data" -o after.csv >/dev/null 2>&1 || fail "no export after the imports"
for r in 4 9; do
  status=status$r
  if [ "${!status}" = 0 ]; then
    grep -q "Changed $r" after.csv || fail "import $r said done, but its change is lost"
  else
    grep -q "Changed $r" after.csv && fail "import $r was refused, but wrote its change"
    echo "import $r refused while the other held the pair: $(tr -d '\r' <import-$r.err)"
  fi
done
[ "$status4" = 0 ] || [ "$status9" = 0 ] || fail "neither import was done"
echo "cvnobj.exe against cvnobj: $(ls "$work/linux" | grep -c "^stdout-") commands compared, two imports at once; $failures failures"
exit $((failures > 0))
