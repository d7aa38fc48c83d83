#!/usr/bin/env bash
# Tries the README's commands as a newcomer would, on a fresh Debian 12: builds a minimal system
# (debootstrap --variant=minbase bookworm) in FOLDER from the Debian mirror that this machine's
# apt sources name, puts a clean clone of this repository's committed work into it, and as root
# inside it runs, each timed:
#   1. the start command under a virtual display (xvfb-run -a, installed as the command's own
#      message says), checking that the editor window shows the sample opened: its caption and
#      a listed row, read over AT-SPI as the end-to-end test reads them;
#   2. the test command;
#   3. the README's "Install" section, then corvane-objdat-editor --version, cvnobj --version
#      and man -w cvnobj.
# Prints each step's exit status and time, and fails when one failed. Needs root and the network;
# takes about an hour on 2 cores, so it is not part of the test command.
# With --windows it then runs scripts/windows.sh inside it as well (another hour or so); with
# --windows-only it runs that alone, after the minimal system is made.
#   scripts/fresh_machine.sh [--windows | --windows-only] [FOLDER]
#                                    (default FOLDER /var/tmp/corvane-fresh-machine, made anew)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
windows=0 linux=1
case "${1:-}" in
--windows) windows=1 && shift ;;
--windows-only) windows=1 linux=0 && shift ;;
esac
target=$(realpath -m "${1:-/var/tmp/corvane-fresh-machine}")
(($(id -u) == 0)) || { echo "fresh_machine.sh must run as root" >&2; exit 1; }

mirror=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null |
  grep -v security | head -1)
[ -n "$mirror" ] || mirror=$(awk '$1 == "deb" && $3 == "bookworm" { print $2; exit }' \
  /etc/apt/sources.list 2>/dev/null)
mirror=${mirror:-http://deb.debian.org/debian}

mounted=()
unmount_all() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; --i)); do
    umount -l "${mounted[i]}" 2>/dev/null || true
  done
  mounted=()
}
trap unmount_all EXIT
trap 'exit 130' INT TERM
mount_into() { # mount point inside the target, mount arguments...
  local point="$target$1"
  mkdir -p "$point"
  mount "${@:2}" "$point" && mounted+=("$point")
}

results=()
failed=0
timed() { # label, command...
  local label=$1 start status
  shift
  start=$(date +%s)
  "$@"
  status=$?
  results+=("$label: exit $status in $(($(date +%s) - start)) s")
  echo "== ${results[-1]}"
  ((status == 0)) || failed=1
  return $status
}
inside() { chroot "$target" /usr/bin/env -i HOME=/root TERM=dumb PATH=/usr/sbin:/usr/bin:/sbin:/bin \
  LANG=C.UTF-8 bash -c "$1"; }

[ -x /usr/sbin/debootstrap ] || bash "$root/scripts/deps.sh" debootstrap
rm -rf "$target"
quietly() { "$@" >/dev/null; }
timed "debootstrap --variant=minbase bookworm from $mirror" \
  quietly debootstrap --variant=minbase bookworm "$target" "$mirror" || exit 1
cp /etc/resolv.conf "$target/etc/resolv.conf"
# /dev with its pseudo-terminals, but a /dev/shm of its own.
mount_into /dev --rbind /dev && mount --make-rslave "$target/dev"
mount_into /dev/shm -t tmpfs shm
mount_into /proc -t proc proc
mount_into /sys --rbind /sys && mount --make-rslave "$target/sys"
git clone -q --no-local "$root" "$target/root/corvane"

logged() { local log=$1; shift; "$@" >"$log" 2>&1; }

if ((linux)); then
# 1. The start command, under the virtual display its own message names. Its last step execs
# the editor, so the process it started becomes the editor.
cat >"$target/tmp/start-check.sh" <<'CHECK'
cd /root/corvane
bash scripts/start.sh >/tmp/start.log 2>&1 &
started=$!
for _ in $(seq 3600); do
  [ "$(cat /proc/$started/comm 2>/dev/null)" = corvane-objdat- ] && break
  kill -0 $started 2>/dev/null || break
  sleep 0.5
done
status=1
if [ "$(cat /proc/$started/comm 2>/dev/null)" = corvane-objdat- ]; then
  python3 tests/e2e/read_window.py $started 60 >/tmp/shown.txt && status=0
  kill $started
fi
wait $started
grep "^Starting the editor" /tmp/start.log
head -n 4 /tmp/shown.txt
exit $status
CHECK
start_and_read() {
  inside 'apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
      --no-install-recommends xvfb xauth dbus-daemon dbus-bin >/dev/null &&
    xvfb-run -a dbus-run-session -- env QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 bash /tmp/start-check.sh' \
    >"$target/tmp/start-check.txt" 2>&1
  local status=$?
  cat "$target/tmp/start-check.txt"
  ((status == 0)) || return $status
  grep -q '^window: Editing /root/corvane/build/sample/OBJDAT\.dat' "$target/tmp/start-check.txt" &&
    grep -q '^row: 0;' "$target/tmp/start-check.txt"
}
timed "start command (xvfb-run -a bash scripts/start.sh): editor shown with the sample" \
  start_and_read

# 2. The test command.
timed "test command (bash scripts/test.sh)" \
  logged "$target/tmp/test.log" inside 'cd /root/corvane && bash scripts/test.sh'
tail -n 15 "$target/tmp/test.log"

# 3. The install section, and what it installed.
timed "install section (bash scripts/install.sh)" \
  logged "$target/tmp/install.log" inside 'cd /root/corvane && bash scripts/install.sh'
tail -n 3 "$target/tmp/install.log"
timed "installed programs and manual" inside 'corvane-objdat-editor --version && cvnobj --version &&
  man -w cvnobj'
fi

# 4. The Windows release (scripts/windows.sh): Qt for Windows built from source, then the
# cross-build, its tests under Wine and the installer. Only with --windows: it adds about an hour.
if ((windows)); then
  timed "Windows release (bash scripts/windows.sh)" \
    logged "$target/tmp/windows.log" inside 'cd /root/corvane && bash scripts/windows.sh'
  tail -n 12 "$target/tmp/windows.log"
fi

echo
printf '%s\n' "${results[@]}"
exit $failed
