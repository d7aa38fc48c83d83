#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the editor need,
# but only those that are missing (apt-get update runs only then).
set -euo pipefail
packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools qt6-base-private-dev libgl-dev
          libgtest-dev libbenchmark-dev fonts-dejavu-core)
# The command-line companion's argument parsing and JSON; its benchmark's clock; the locale
# data its German-locale test builds a locale from.
packages+=(libcli11-dev nlohmann-json3-dev time locales)
# The start-up benchmark's probe; the desktop and end-to-end tests and screenshots on a virtual
# display.
packages+=(libx11-dev libxdamage-dev xvfb xdotool x11-utils imagemagick)
# The end-to-end tests read the windows as a screen reader does: over AT-SPI, on a session bus
# of their own.
packages+=(dbus-daemon dbus-bin at-spi2-core python3-gi gir1.2-atspi-2.0)
# The Wayland test: a headless compositor and Qt's Wayland platform plugin.
packages+=(weston qt6-wayland)
# The Debian package (dpkg-shlibdeps, file) and the checks of what is installed.
packages+=(dpkg-dev file desktop-file-utils appstream man-db lintian)
# The fuzzers: clang with libFuzzer and its sanitizer runtimes.
packages+=(clang libclang-rt-14-dev)
# The document layer built for 64-bit ARM and its tests run under emulation (tests/aarch64), with
# GoogleTest from its source.
packages+=(g++-aarch64-linux-gnu qemu-user googletest)
packages+=("$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
