# cached-build.sh -- what build-allegro and build-pixman share, sourced by
# both: a library for Windows is built once and kept outside the clone, in
#   ${XDG_CACHE_HOME:-~/.cache}/tumblegrid/<name>-<version>-<key>/
# where the key names the compiler and a hash of everything the build
# depends on (the toolchain file, the script, its own inputs and the
# toolchain's package versions), so any change to them builds afresh and a
# second build takes no time. A build runs in a folder of its own and is
# moved into place whole, so that a build that fails or runs beside another
# never leaves half a library in the cache.
#
#   cached_prefix NAME VERSION FILES...   prints the cache folder for these inputs
#   cached_work                           makes a work folder, removed on exit
#   cached_finish PREFIX MARK             moves $work/install to PREFIX (MARK: a file it must hold)

TOOLCHAIN=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/mingw-w64-x86_64.cmake
COMPILER=x86_64-w64-mingw32-gcc-posix
CACHE_DIR=${XDG_CACHE_HOME:-$HOME/.cache}/tumblegrid
jobs=$(nproc)
[ "$jobs" -gt 2 ] && jobs=2
mkdir -p "$CACHE_DIR"

cached_prefix()
{
    local name=$1 version=$2 inputs
    shift 2
    inputs=$( (cat "$TOOLCHAIN" "${BASH_SOURCE[0]}" "$@"
              dpkg-query -W -f='${Version}' gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev) | sha256sum | cut -c1-12)
    echo "$CACHE_DIR/$name-$version-x86_64-w64-mingw32-gcc$("$COMPILER" -dumpversion)-$inputs"
}

cached_work()
{
    work=$(mktemp -d "$CACHE_DIR/build.XXXXXX")
    trap 'rm -rf "$work"' EXIT
}

cached_finish()
{
    mv -T "$work/install" "$1" 2>/dev/null || [ -f "$1/$2" ]
}
