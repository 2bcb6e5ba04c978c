#!/usr/bin/env bash
# one-version.sh SOURCE_ROOT PACKAGE_DIR ROOT ZIP
# Everything that states the version states project(VERSION) of CMakeLists.txt:
# packaging/changelog's newest entry, each .deb's Version (and the runtime
# package's name), both programs' --version, the shared library's soname,
# duskhall.pc and the CMake version file (of the .debs, unpacked into ROOT, and of
# each Windows build in ZIP), and the .zip's name.
set -uo pipefail
src=$1 debs=$2 root=$3 zip=$4
status=0
agree() { # what, the version it states
    if [ "$2" = "$version" ]; then
        echo "  $1: $2"
    else
        echo "FAIL: $1 says '$2', the project is at $version"
        status=1
    fi
}

version=$(sed -n 's/^project(Duskhall VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
[ -n "$version" ] || { echo "FAIL: no project(Duskhall VERSION ...) in CMakeLists.txt"; exit 1; }
major=${version%%.*}
echo "the project is at $version"

debian_version=$(dpkg-parsechangelog -l "$src/packaging/changelog" -S Version)
agree "packaging/changelog's newest entry" "${debian_version%-*}"
for deb in "$debs"/*.deb; do
    [ "$(dpkg-deb -f "$deb" Version)" = "$debian_version" ] ||
        { echo "FAIL: $(basename "$deb") is not version $debian_version"; status=1; }
done
[ -n "$(ls "$debs"/libduskhall"$major"_"$debian_version"_*.deb 2>/dev/null)" ] ||
    { echo "FAIL: no runtime package libduskhall$major of $debian_version in $debs"; status=1; }

for program in duskhall duskhall-render; do
    agree "$program --version" "$("$root/usr/bin/$program" --version | sed -n "s/^$program //p")"
done
library=$(find "$root/usr/lib" -name 'libduskhall.so.*.*' | head -n 1)
soname=$(readelf -d "$library" | sed -n 's/.*SONAME.*\[\(.*\)\]/\1/p')
[ "$soname" = "libduskhall.so.$major" ] ||
    { echo "FAIL: the soname is $soname, not libduskhall.so.$major"; status=1; }
agree "the library's file name" "${library##*/libduskhall.so.}"

# pkg-config and CMake, in the .debs and in every build of the .zip.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
unzip -q "$zip" -d "$scratch"
where() { case $1 in "$root"/*) echo ".deb ${1#"$root"/}" ;; *) echo ".zip ${1#"$scratch"/}" ;; esac; }
found=0
while IFS= read -r pc; do
    agree "$(where "$pc")" "$(sed -n 's/^Version: //p' "$pc")"
    found=$((found + 1))
done < <(find "$root" "$scratch" -name duskhall.pc)
while IFS= read -r file; do
    agree "$(where "$file")" "$(sed -n 's/^set(PACKAGE_VERSION "\(.*\)")$/\1/p' "$file")"
    found=$((found + 1))
done < <(find "$root" "$scratch" -name DuskhallConfigVersion.cmake)
[ "$found" -ge 4 ] || { echo "FAIL: only $found pkg-config and CMake version files found"; status=1; }
agree "the .zip's name" "$(basename "$zip" | sed -n 's/^duskhall-\(.*\)-windows\.zip$/\1/p')"

[ "$status" = 0 ] && echo "PASS: every version stated is $version"
exit "$status"
