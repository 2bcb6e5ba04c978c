# Fetches the upstream tarball of a Debian source package without touching the
# system's apt lists: a private apt configuration under the caller's work folder
# carries deb-src lines for the mirror, suites and components the system uses for
# its binaries (the security archive has no source files for us).
# Sourced; the caller has `set -euo pipefail`.

# debian_source_tarball PACKAGE WORKDIR: downloads PACKAGE's source into
# WORKDIR/src unless a tarball is already there, then prints the tarball's path.
debian_source_tarball() {
    local package=$1 work=$2
    local apt_dir="$work/apt" src="$work/src"
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" \
        "$apt_dir/sources.list.d" "$src"

    if ! ls "$src/${package}"_*.orig.tar.* >/dev/null 2>&1; then
        local system_sources=/etc/apt/sources.list.d/debian.sources
        field() {
            awk -v key="$1:" '$1 == key { $1 = ""; sub(/^ /, ""); print; exit }' \
                "$system_sources" 2>/dev/null || true
        }
        local uri suites components keyring suite
        uri=$(field URIs)
        suites=$(field Suites)
        components=$(field Components)
        keyring=$(field Signed-By)
        uri=${uri:-http://deb.debian.org/debian}
        suites=${suites:-bookworm}
        components=${components:-main}
        keyring=${keyring:-/usr/share/keyrings/debian-archive-keyring.gpg}
        : >"$apt_dir/sources.list"
        for suite in $suites; do
            echo "deb-src [signed-by=$keyring] $uri $suite $components" >>"$apt_dir/sources.list"
        done
        local apt_options=(
            -o "Dir::Etc::SourceList=$apt_dir/sources.list"
            -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
            -o "Dir::State::Lists=$apt_dir/lists"
            -o "Dir::Cache=$apt_dir/cache"
            -o "Dir::Cache::pkgcache="
            -o "Dir::Cache::srcpkgcache="
            -o "APT::Sandbox::User=root"
            -o "Debug::NoLocking=1"
        )
        echo "fetching Debian's $package source" >&2
        [ -s "$apt_dir/lists/.updated" ] ||
            { apt-get "${apt_options[@]}" -qq update && date >"$apt_dir/lists/.updated"; }
        (cd "$src" && apt-get "${apt_options[@]}" -qq source --download-only "$package" >/dev/null)
    fi
    ls "$src/${package}"_*.orig.tar.* | sort -V | tail -n 1
}
