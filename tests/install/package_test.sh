#!/usr/bin/env bash
# What "cmake --install" puts on a system and what the Debian package holds: exactly the
# expected files, icons of the sizes their folders name, a valid desktop entry and metadata,
# manual pages that render without a warning, installed programs that run and search no folder
# of their own for libraries; then the package:
# its fields, the same files, and no lintian error or warning.
#   package_test.sh BUILD_DIR VERSION APP_ID SOURCE_DIR
set -euo pipefail
build=$(realpath "$1")
version=$2
app_id=$3
source=$(realpath "$4")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
stage="$work/stage"
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null

expected=(
  usr/bin/corvane-objdat-editor
  usr/bin/cvnobj
  "usr/share/applications/$app_id.desktop"
  "usr/share/metainfo/$app_id.metainfo.xml"
  usr/share/man/man1/corvane-objdat-editor.1.gz
  usr/share/man/man1/cvnobj.1.gz
  usr/share/doc/corvane-objdat-editor/copyright
  usr/share/doc/corvane-objdat-editor/changelog.gz
)
for side in 16 32 48 64 128 256; do
  expected+=("usr/share/icons/hicolor/${side}x$side/apps/$app_id.png")
done
printf '%s\n' "${expected[@]}" | sort >"$work/expected"
(cd "$stage" && find . -type f | sed 's|^\./||' | sort) >"$work/installed"
diff -u "$work/expected" "$work/installed" || fail "the install tree differs from the list"

# Icons: PNG files of the size their folder names, not blank.
for side in 16 32 48 64 128 256; do
  icon="$stage/usr/share/icons/hicolor/${side}x$side/apps/$app_id.png"
  file -b "$icon" | grep -q "^PNG image data, $side x $side," || fail "$icon: $(file -b "$icon")"
  colours=$(identify -format '%k' "$icon")
  ((colours > 4)) || fail "$icon has $colours colours"
done

desktop="$stage/usr/share/applications/$app_id.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'Exec=corvane-objdat-editor %f' "$desktop" || fail "the desktop entry opens no file"
grep -qx "Icon=$app_id" "$desktop" || fail "the desktop entry names another icon"
metainfo="$stage/usr/share/metainfo/$app_id.metainfo.xml"
report=$(LC_ALL=C.UTF-8 appstreamcli validate --pedantic --no-net "$metainfo" 2>&1) ||
  fail "appstreamcli validate: $report"
! grep -q '^[EWIP]:' <<<"$report" || fail "appstreamcli validate --pedantic: $report"
appstreamcli validate-tree --no-net "$stage" >/dev/null || fail "appstreamcli validate-tree"
# The release of this version has notes; every screenshot has a caption and is one of the
# README's pictures, by its address in the repository, at the size the picture has.
release=$(sed -n "/<release version=\"$version\"/,/<\/release>/p" "$metainfo")
grep -q '<li>' <<<"$release" || fail "the metadata has no notes for release $version"
[ "$(grep -c '<caption>.' "$metainfo")" = "$(grep -c '<screenshot[ >]' "$metainfo")" ] ||
  fail "a screenshot without a caption"
shots=$(sed -n 's|.*<image type="source" width="\([0-9]*\)" height="\([0-9]*\)">https://raw.githubusercontent.com/[^/]*/[^/]*/main/\(.*\)</image>|\3 \1x\2|p' "$metainfo")
[ -n "$shots" ] || fail "the metadata has no screenshots"
while read -r picture size; do
  grep -q "($picture)" "$source/README.md" || fail "$picture is not one of the README's pictures"
  [ "$(identify -format '%wx%h' "$source/$picture")" = "$size" ] || fail "$picture is not $size"
done <<<"$shots"

for page in corvane-objdat-editor cvnobj; do
  file="$stage/usr/share/man/man1/$page.1.gz"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$file" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page.1: $warnings"
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$file" 2>/dev/null)
  grep -q "^ *$page - " <<<"$text" || fail "$page.1 has no NAME line"
  grep -q "corvane-objdat-editor $version" <<<"$text" || fail "$page.1 names another version"
done

out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$stage/usr/bin/corvane-objdat-editor" \
  --version) || fail "the installed editor: --version exited with $?"
[ "$out" = "Corvane OBJDAT File Editor $version" ] || fail "the installed editor says: $out"
"$stage/usr/bin/cvnobj" sample "$work/OBJDAT.dat" 3 >/dev/null || fail "the installed cvnobj"
[ "$("$stage/usr/bin/cvnobj" show "$work/OBJDAT.dat" | head -1)" = "3 records" ] ||
  fail "the installed cvnobj cannot read what it wrote"

# No program searches for libraries anywhere but in the system's folders: an empty entry in a
# search path is the current folder.
for program in "$stage/usr/bin/corvane-objdat-editor" "$stage/usr/bin/cvnobj" \
  "$build/app/corvane-objdat-editor" "$build/cli/cvnobj"; do
  paths=$(readelf -d "$program" | grep -E '\((RUN)?PATH\)' || true)
  [ -z "$paths" ] || fail "$program has a library search path: $paths"
done

# ---- the Debian package
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack"; }
deb="$work/package/corvane-objdat-editor_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no package $deb"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = corvane-objdat-editor ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Homepage)" = "$(sed -n 's|.*<url type="homepage">\(.*\)</url>|\1|p' "$metainfo")" ] ||
  fail "Homepage: $(field Homepage)"
[ -n "$(field Description | sed -n 2p)" ] || fail "no long description"
for dependency in libqt6widgets6 libqt6gui6 qt6-wayland libstdc++6 libc6; do
  field Depends | grep -q "\\b$dependency\\b" || fail "Depends lacks $dependency: $(field Depends)"
done
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {sub(/^\.\//, "", $6); print $6}' | sort >"$work/packaged"
diff -u "$work/expected" "$work/packaged" || fail "the package holds other files"
[ "$(dpkg-deb -c "$deb" | awk '{print $2}' | sort -u)" = root/root ] ||
  fail "files in the package not owned by root"

lintian --tag-display-limit 0 "$deb" 2>&1 | grep -v 'running with root privileges' >"$work/lintian" || true
if grep -q '^[EW]:' "$work/lintian"; then
  cat "$work/lintian" >&2
  fail "lintian"
fi
echo PASS
