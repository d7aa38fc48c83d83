#!/usr/bin/env bash
# Builds a release from scratch in build/package, makes the Debian package of exactly that build
# and installs it with what it depends on. Whatever other build folders hold does not matter, and
# nothing is packaged unless the build succeeded.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/package"
bash "$root/scripts/deps.sh"
rm -rf "$build"
bash "$root/scripts/build.sh" "$build" -DCMAKE_BUILD_TYPE=Release -DCORVANE_WERROR=OFF \
  -DCORVANE_SANITIZE=OFF -DCORVANE_BENCH=OFF -DCORVANE_AARCH64_TEST=OFF
(cd "$build" && cpack -G DEB)
package=$(ls "$build"/corvane-objdat-editor_*.deb)
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq "$package"
echo "Installed $(basename "$package")"
