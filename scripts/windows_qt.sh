#!/usr/bin/env bash
# Builds Qt for 64-bit Windows from Debian's own source package of the Qt the Linux build uses
# (qt6-base 6.4.2), cross-compiled with MinGW-w64 and Debian's installed Qt 6.4.2 as host tools:
# Core, Gui, Widgets, Test, the windows and offscreen platform plugins and the windowsvista style,
# shared, with the private headers. It goes into ${XDG_CACHE_HOME:-~/.cache}/corvane/ in a folder
# named after the version and a digest of the options, which later runs reuse while they match.
# Prints that folder on standard output; the build's output goes to build.log beside it.
# About 45 CPU-minutes; the source and build folders (about 1.2 GB) are removed afterwards.
#   scripts/windows_qt.sh        (needs root only when the source must be fetched)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
version=6.4.2
cache=${XDG_CACHE_HOME:-$HOME/.cache}/corvane
toolchain=$root/cmake/MinGW64Toolchain.cmake

options=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  -DQT_QMAKE_TARGET_MKSPEC=win32-g++
  -DQT_BUILD_TESTS=OFF -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DQT_BUILD_TOOLS_WHEN_CROSSCOMPILING=OFF
  -DINPUT_opengl=no -DFEATURE_opengl=OFF)
# Not needed by the editor or its tests; the dfsg tarball lacks the tablet (wintab) sources.
for f in network sql printsupport concurrent dbus xml vulkan direct2d tabletevent icu glib zstd \
  pkg_config jpeg system_zlib system_pcre2 system_png system_harfbuzz system_freetype; do
  options+=(-DFEATURE_$f=OFF)
done
# The offscreen platform needs freetype on Windows; windowsvista is the native look.
options+=(-DFEATURE_freetype=ON -DFEATURE_style_windowsvista=ON)

# Gui builds the DirectWrite font database only with direct2d, while the windows plugin asks
# only for directwrite3: without direct2d the plugin must not use it, or it fails to link.
patch_sources() {
  local file=$1/src/plugins/platforms/windows/qwindowsintegration.cpp
  sed -i 's/^#if QT_CONFIG(directwrite3)$/#if QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d)/' "$file"
  (($(grep -c '^#if QT_CONFIG(directwrite3) && QT_CONFIG(direct2d)$' "$file") == 2)) ||
    { echo "windows_qt.sh: $file is not as expected" >&2; exit 1; }
}

digest=$({ printf '%s\n' "${options[@]}"; declare -f patch_sources; cat "$toolchain"; } |
  sha256sum | cut -c1-12)
prefix=$cache/qt-$version-mingw64-$digest
# Qt's DLLs need the MinGW runtime, as the programs built with them do: one copy beside them.
copy_runtime() {
  cp -u /usr/lib/gcc/x86_64-w64-mingw32/12-posix/{libstdc++-6,libgcc_s_seh-1}.dll \
    /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$prefix/bin/"
}
if [ -f "$prefix/corvane-options.txt" ]; then
  copy_runtime
  echo "$prefix"
  exit 0
fi

mkdir -p "$cache"
src=$cache/src/qt6-base-$version+dfsg
if [ ! -d "$src" ]; then
  # Debian's source package from the mirror this machine's apt sources name, through a
  # deb-src entry of its own that is removed afterwards.
  # (A system made by debootstrap has only /etc/apt/sources.list.)
  mirror=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null |
    grep -v security | head -1) || true
  [ -n "$mirror" ] || mirror=$(awk '$1 == "deb" && $3 == "bookworm" { print $2; exit }' \
    /etc/apt/sources.list 2>/dev/null) || true
  mirror=${mirror:-http://deb.debian.org/debian}
  list=/etc/apt/sources.list.d/corvane-qt-src.sources
  printf 'Types: deb-src\nURIs: %s\nSuites: bookworm\nComponents: main\nSigned-By: %s\n' \
    "$mirror" /usr/share/keyrings/debian-archive-keyring.gpg >"$list"
  trap 'rm -f "$list"' EXIT
  apt=(-o Dir::Etc::sourcelist=sources.list.d/corvane-qt-src.sources -o Dir::Etc::sourceparts=-
    -o APT::Get::List-Cleanup=0)
  rm -rf "$cache/src" && mkdir -p "$cache/src"
  apt-get "${apt[@]}" update -qq >&2
  (cd "$cache/src" && apt-get "${apt[@]}" source -qq qt6-base >&2)
  rm -f "$list"
  [ -d "$src" ] || { echo "windows_qt.sh: no qt6-base $version source" >&2; exit 1; }
fi
grep -q 'QT_CONFIG(directwrite3) && QT_CONFIG(direct2d)' \
  "$src/src/plugins/platforms/windows/qwindowsintegration.cpp" || patch_sources "$src"

build=$cache/build-qt-$version-mingw64-$digest
log=$cache/qt-$version-mingw64-$digest.log
echo "Building Qt $version for Windows into $prefix (log: $log)" >&2
start=$(date +%s)
{
  cmake -S "$src" -B "$build" "${options[@]}" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_INSTALL_PREFIX="$prefix"
  cmake --build "$build"
  rm -rf "$prefix"
  cmake --install "$build" --strip
} >"$log" 2>&1 || { echo "windows_qt.sh: the Qt build failed; see $log" >&2; exit 1; }
echo "Qt built in $(($(date +%s) - start)) s; build folder $(du -sh "$build" | cut -f1)," \
  "install $(du -sh "$prefix" | cut -f1)" | tee -a "$log" >&2
copy_runtime
printf '%s\n' "${options[@]}" >"$prefix/corvane-options.txt"
rm -rf "$build" "$cache/src"
echo "$prefix"
