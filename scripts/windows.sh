#!/usr/bin/env bash
# The Windows release, cross-built here with Debian's MinGW-w64 and tested under Wine:
#   1. installs what is missing (scripts/deps.sh, with MinGW-w64, Wine, NSIS and zip);
#   2. builds Qt for Windows once, or reuses it (scripts/windows_qt.sh, about 45 CPU-minutes);
#   3. cross-builds the editor, cvnobj and every test that is not about a Linux desktop;
#   4. runs those tests under Wine, headless, in a Wine prefix of their own;
#   5. checks that cvnobj.exe writes what the Linux cvnobj writes, byte for byte;
#   6. makes build/windows/corvane-objdat-editor-VERSION-setup.exe and a portable zip;
#   7. takes screenshots of the editor under Wine, run from the unpacked zip, at 100 % and 200 %
#      (docs/windows-editor*.png), and installs and uninstalls the installer under Wine.
# Ends with a summary line, as ctest does. Not part of the test command: the Qt build alone takes
# longer than all of it.
#   bash scripts/windows.sh [--no-qt]     (--no-qt: cvnobj and the tests without Qt only)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/windows
with_qt=1
[ "${1:-}" = --no-qt ] && with_qt=0

results=()
failed=0
timed() { # label, command...
  local label=$1 start status
  shift
  start=$(date +%s)
  "$@"
  status=$?
  results+=("$label: $( ((status == 0)) && echo passed || echo "FAILED ($status)") in $(($(date +%s) - start)) s")
  echo "== ${results[-1]}"
  ((status == 0)) || failed=$((failed + 1))
  return $status
}
finish() {
  printf '%s\n' "${results[@]}"
  local total=${#results[@]}
  echo "windows.sh: $(((total - failed) * 100 / (total ? total : 1)))% steps passed, $failed failed out of $total"
  exit $((failed > 0))
}

install_missing() {
  bash "$root/scripts/deps.sh" g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 nsis zip \
    dpkg-dev unzip xvfb xdotool x11-utils imagemagick
}
timed "install what is missing" install_missing || finish

qt=
build_qt() { qt=$(bash "$root/scripts/windows_qt.sh") && [ -d "$qt" ]; }
if ((with_qt)); then
  timed "Qt for Windows" build_qt || finish
fi

export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

# The Linux cvnobj (the reference for cvnobj.exe) and the icon drawn by the program's own code,
# from a native build of those two alone.
native=$out/native
icon=$out/icon/corvane-objdat-editor.ico
native_build() {
  cmake -S "$root" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVANE_BENCH=OFF \
    -DCORVANE_AARCH64_TEST=OFF "${launcher[@]}" >/dev/null &&
    cmake --build "$native" --target cvnobj render_icons >/dev/null || return
  mkdir -p "$out/icon" && local sizes=() side
  for side in 16 24 32 48 64 256; do sizes+=("$side" "$out/icon/$side.png"); done
  env -i PATH="$PATH" QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$out/icon" \
    "$native/tools/render_icons" "${sizes[@]}" >/dev/null 2>&1 &&
    convert "$out"/icon/{16,24,32,48,64,256}.png "$icon"
}
timed "native cvnobj and icon" native_build || finish

cross=$out/build
export WINEPREFIX=$out/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cross_build() {
  cmake -S "$root" -B "$cross" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/MinGW64Toolchain.cmake" \
    -DCORVANE_WINDOWS_ROOTS="$qt" -DCMAKE_PREFIX_PATH="$qt" -DCORVANE_WINDOWS_QT=$((with_qt)) \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_CROSSCOMPILING_EMULATOR=wine -DCORVANE_WINEPREFIX="$WINEPREFIX" \
    -DCORVANE_WINDOWS_ICON="$icon" -DCORVANE_WERROR=ON "${launcher[@]}" >/dev/null &&
    cmake --build "$cross" --parallel "$(nproc)"
}
timed "cross-build" cross_build || finish

# A Wine prefix of the tests' own, as Windows 10 (Qt 6 needs it; a new prefix says Windows 7).
wine_prefix() {
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  wine wineboot -i >/dev/null 2>&1 && wine winecfg /v win10 >/dev/null 2>&1 && wineserver -w
}
timed "Wine prefix" wine_prefix || finish
run_tests() { (cd "$cross" && ctest --parallel "$(nproc)" --output-on-failure --timeout 600); }
timed "tests under Wine" run_tests
timed "cvnobj.exe writes what cvnobj writes" \
  bash "$root/scripts/windows_cvnobj_check.sh" "$native/cli/cvnobj" "$cross/cli/cvnobj.exe"

if ((with_qt)); then
  if timed "installer and portable zip" \
    bash "$root/scripts/windows_package.sh" "$cross" "$qt" "$icon" "$out"; then
    # The portable zip unpacked into a folder of its own, with a space in its name.
    portable() {
      rm -rf "$out/portable check" && mkdir -p "$out/portable check" &&
        (cd "$out/portable check" && unzip -q "$(ls "$out"/corvane-objdat-editor-*-portable.zip)")
    }
    timed "screenshots under Wine, from the portable zip" eval 'portable &&
      bash "$root/scripts/windows_screenshots.sh" "$(ls -d "$out/portable check"/*/)"'
    timed "installer under Wine" bash "$root/scripts/windows_install_check.sh" \
      "$(ls "$out"/corvane-objdat-editor-*-setup.exe)" "$out/wine-install"
  fi
fi
finish
