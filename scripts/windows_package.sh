#!/usr/bin/env bash
# The Windows artefacts from a cross-build: the installer corvane-objdat-editor-VERSION-setup.exe
# (packaging/windows/installer.nsi) and the portable zip, which runs from any folder.
#   scripts/windows_package.sh CROSS_BUILD QT_PREFIX ICON OUT
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cross=$1 qt=$2 icon=$3 out=$4
version=$(sed -n 's/^project(CorvaneObjdatEditor VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
name=corvane-objdat-editor-$version
stage=$out/stage/$name
rm -rf "$out/stage" && mkdir -p "$stage/platforms" "$stage/styles"

# The programs, the Qt they use and the MinGW runtime under it; Qt finds its plugins beside.
cp "$cross/corvane-objdat-editor.exe" "$cross/cli/cvnobj.exe" "$stage/"
cp "$qt"/bin/{Qt6Core,Qt6Gui,Qt6Widgets,libstdc++-6,libgcc_s_seh-1,libwinpthread-1}.dll "$stage/"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
x86_64-w64-mingw32-strip "$stage"/*.exe

# What the installer puts in place and the uninstaller takes away, file by file.
files=$out/stage/files.nsh unfiles=$out/stage/unfiles.nsh
: >"$files"
: >"$unfiles"
(cd "$stage" && find . -type d ! -name . | sort) | while read -r folder; do
  echo "CreateDirectory \"\$INSTDIR\\${folder#./}\"" >>"$files"
done
(cd "$stage" && find . -type f | sort) | while read -r file; do
  file=${file#./}
  echo "File \"/oname=${file//\//\\}\" \"$stage/$file\"" >>"$files"
  echo "Delete \"\$INSTDIR\\${file//\//\\}\"" >>"$unfiles"
done
(cd "$stage" && find . -mindepth 1 -type d | sort -r) | while read -r folder; do
  echo "RMDir \"\$INSTDIR\\${folder#./}\"" >>"$unfiles"
done

setup=$out/$name-setup.exe
makensis -V2 -DVERSION="$version" -DFILES="$files" -DUNFILES="$unfiles" -DOUTFILE="$setup" \
  -DICON="$icon" "$root/packaging/windows/installer.nsi"
zip=$out/$name-portable.zip
rm -f "$zip"
(cd "$out/stage" && zip -q -r -9 -X "$zip" "$name")
echo "Made $setup ($(du -h "$setup" | cut -f1)) and $zip ($(du -h "$zip" | cut -f1))"
