#!/usr/bin/env bash
# deb-contents.sh PACKAGE_DIR SOURCE_ROOT
# Each of the three .debs holds what it must and nothing that belongs in another,
# and depends on what it must: every public header, example and level of the
# source tree is in its package (so files added later are caught too).
set -uo pipefail
debs=$1 src=$2
status=0
fail() { echo "FAIL: $*"; status=1; }

listing() { dpkg-deb -c "$1" | awk '{ print substr($6, 3) }'; }
deb_of() { ls "$debs/$1"_*.deb 2>/dev/null | head -n 1; }

lib=usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)
in_tree() { # folder pattern prefix: the tree's files as the package should hold them
    (cd "$src/$1" && ls $2) | sed "s|^|$3/|"
}

# package | paths it must hold (one a line) | extended regexes no path may match
check() {
    local package=$1 must=$2 must_not=$3 deb files
    deb=$(deb_of "$package")
    [ -n "$deb" ] || { fail "no $package .deb in $debs"; return; }
    files=$(listing "$deb")
    while IFS= read -r path; do
        [ -z "$path" ] || grep -qxF "$path" <<<"$files" || fail "$package lacks $path"
    done <<<"$must"
    local wrong
    wrong=$(grep -E "$must_not" <<<"$files" || true)
    [ -z "$wrong" ] || fail "$package holds what is not its own:" $wrong
}

check libduskhall0 "$lib/libduskhall.so.0
usr/share/doc/libduskhall0/copyright
usr/share/doc/libduskhall0/changelog.Debian.gz" \
    '^usr/(bin|include|share/duskhall)/|\.a$|\.so$|\.pc$|\.cmake$'

check libduskhall-dev "$lib/libduskhall.a
$lib/libduskhall.so
$lib/pkgconfig/duskhall.pc
$lib/cmake/Duskhall/DuskhallConfig.cmake
$lib/cmake/Duskhall/DuskhallConfigVersion.cmake
$lib/cmake/Duskhall/DuskhallTargets.cmake
usr/share/doc/libduskhall-dev/library.md
usr/share/doc/libduskhall-dev/api/index.html
usr/share/doc/libduskhall-dev/api/classduskhall_1_1ScreenHandle.html
usr/share/doc/libduskhall-dev/copyright
usr/share/doc/libduskhall-dev/changelog.Debian.gz
$(in_tree include/duskhall '*.h' usr/include/duskhall)
$(in_tree examples '*.c *.cpp *.py CMakeLists.txt' usr/share/doc/libduskhall-dev/examples)" \
    '^usr/bin/|^usr/share/duskhall/|\.so\.[0-9]|^usr/share/man/'

check duskhall "usr/bin/duskhall
usr/bin/duskhall-render
usr/share/man/man1/duskhall.1.gz
usr/share/man/man1/duskhall-render.1.gz
usr/share/doc/duskhall/copyright
usr/share/doc/duskhall/changelog.Debian.gz
usr/share/doc/duskhall/levels.md
$(in_tree assets '*.png' usr/share/duskhall/textures)
$(in_tree levels '*.json *.png' usr/share/duskhall/levels)" \
    '^usr/include/|^usr/lib/|^usr/share/doc/duskhall/(api|examples)'

# Depends: computed for the compiled packages, the exact runtime for the -dev one.
depends() { dpkg-deb -f "$(deb_of "$1")" Depends 2>/dev/null; }
version=$(dpkg-deb -f "$(deb_of libduskhall0)" Version 2>/dev/null)
expect_depends() { # package, regexes its Depends must match
    local package=$1 line
    shift
    line=$(depends "$package")
    for want in "$@"; do
        grep -Eq "(^|, )$want(,|$)" <<<"$line" || fail "$package's Depends lacks '$want': $line"
    done
    echo "$package Depends: $line"
}
expect_depends libduskhall0 'libc6 \(>= [^)]+\)' 'libsdl2-2\.0-0 \(>= [^)]+\)' 'libstdc\+\+6 \(>= [^)]+\)'
expect_depends libduskhall-dev "libduskhall0 \(= ${version//./\\.}\)" 'libsdl2-dev'
expect_depends duskhall 'libc6 \(>= [^)]+\)' 'libpng16-16 \(>= [^)]+\)' 'libsdl2-2\.0-0 \(>= [^)]+\)' \
    'zlib1g \(>= [^)]+\)'
if grep -q libduskhall <<<"$(depends duskhall)"; then
    fail "duskhall depends on the library package though its programs link the library in"
fi

[ "$status" = 0 ] && echo "PASS: the three packages hold their files and depend on what they need"
exit "$status"
