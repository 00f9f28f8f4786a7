#!/usr/bin/env bash
# wine.sh -- Wine for the Windows tests, sourced by the runners and cases.
#
# Every case gets a private Wine prefix of its own, so no case sees another's
# registry, files or Wine server, and its Wine server is stopped when the case
# ends. Making a prefix from nothing takes Wine ten seconds or more, so one
# untouched prefix is made once per Wine version and kept in the cache
#   ${XDG_CACHE_HOME:-~/.cache}/tumblegrid/wine-<version>-gdi-prefix
# and each case starts from a copy of it. Its DirectDraw draws through GDI:
# Wine's default, OpenGL, runs on Xvfb's software renderer and took a whole
# core for the game's 60 frames a second (about a tenth through GDI), which
# on a busy machine made the cases' timing fragile. The large folders of
# Windows' own programs and libraries, which Wine only ever writes while
# making a prefix, are shared through hard links; every other file is a
# real copy.
#
#   tw_new_prefix DIR     makes DIR a fresh prefix and exports WINEPREFIX
#   tw_wine ARGS...       runs a Windows program in that prefix
#   tw_stop_prefix        ends every Wine process of that prefix and waits

TW_WINE=/usr/lib/wine/wine64
TW_WINESERVER=/usr/lib/wine/wineserver
TW_CACHE=${XDG_CACHE_HOME:-$HOME/.cache}/tumblegrid
# No Mono or Gecko (no prompt to fetch them) and no crash dialog waiting for a
# click: a crash prints its report and ends the program.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=${WINEDEBUG:--all,err+seh}

# Prints the folder of the cached template prefix, making it first if needed.
tw_template()
{
    local cache=$TW_CACHE version
    version=$("$TW_WINE" --version | sed 's/^wine-//; s/[^A-Za-z0-9.]\{1,\}/-/g; s/-$//')
    local template=$cache/wine-$version-gdi-prefix
    if [ ! -f "$template/system.reg" ]; then
        mkdir -p "$cache"
        local work
        work=$(mktemp -d "$cache/wine-prefix.XXXXXX")
        echo "wine.sh: making a Wine prefix for $version (once)" >&2
        (
            export WINEPREFIX=$work/prefix
            unset DISPLAY
            "$TW_WINE" wineboot -i >/dev/null 2>&1
            "$TW_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
                >/dev/null 2>&1
            "$TW_WINE" reg add 'HKCU\Software\Wine\Direct3D' /v renderer /t REG_SZ /d gdi /f \
                >/dev/null 2>&1
            "$TW_WINESERVER" -w
        )
        if [ -f "$work/prefix/system.reg" ]; then
            mv -T "$work/prefix" "$template" 2>/dev/null || true
        fi
        rm -rf "$work"
        [ -f "$template/system.reg" ] || { echo "wine.sh: could not make a Wine prefix" >&2; return 1; }
    fi
    echo "$template"
}

# Makes DIR a private prefix copied from the template and exports WINEPREFIX.
tw_new_prefix()
{
    local dir=$1 template
    template=$(tw_template) || return 1
    cp -al "$template" "$dir"
    # Real copies of everything but the shared system folders.
    find "$dir" -type f ! -path '*/windows/system32/*' ! -path '*/windows/syswow64/*' \
        ! -path '*/windows/winsxs/*' -exec sh -c 'for f; do cp -p "$f" "$f.copy" && mv "$f.copy" "$f"; done' sh {} +
    export WINEPREFIX=$dir
}

# Runs a Windows program under Wine in the current prefix.
tw_wine() { "$TW_WINE" "$@"; }

# Ends the Wine server of the current prefix with every process in it, and
# waits until it is gone.
tw_stop_prefix()
{
    [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ] || return 0
    "$TW_WINESERVER" -k 2>/dev/null
    "$TW_WINESERVER" -w 2>/dev/null
    return 0
}
