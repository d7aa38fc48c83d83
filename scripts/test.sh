#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, runs every test;
# then does the same in an address + undefined sanitizer build; then runs each fuzzer briefly.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/deps.sh
bash scripts/build.sh build/release -DCORVANE_WERROR=ON
(cd build/release && ctest --output-on-failure --parallel "$(nproc)")
bash scripts/build.sh build/sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_WERROR=ON -DCORVANE_SANITIZE=ON -DCORVANE_BENCH=OFF
(cd build/sanitize && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure --parallel "$(nproc)")
bash scripts/fuzz.sh 30
