#!/usr/bin/env bash
# Installs what is missing, builds the editor, makes a sample data file and
# starts the editor with it open. Needs a display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: run this on a desktop, or under a virtual one: apt-get install -y xvfb xauth && xvfb-run -a bash scripts/start.sh" >&2
  exit 1
fi
bash scripts/deps.sh
# Only the two programs it uses are built; the test command builds the rest.
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release --parallel "$(nproc)" --target corvane-objdat-editor cvnobj
sample="$root/build/sample"
mkdir -p "$sample"
[ -f "$sample/OBJDAT.dat" ] || build/release/cli/cvnobj sample "$sample/OBJDAT.dat"
echo "Starting the editor with the sample data file open: $sample/OBJDAT.dat"
exec build/release/app/corvane-objdat-editor "$sample/OBJDAT.dat"
