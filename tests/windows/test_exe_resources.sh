#!/usr/bin/env bash
# The zip's tumblegrid.exe carries its resources, as MinGW-w64's windres
# reads them back: the game's icon at 16 to 256 pixels, each image the very
# PNG the asset generator drew; the manifest declaring per-monitor DPI
# awareness (PerMonitorV2, with the older forms as fallbacks); the version
# information.
set -u
native=${TG_BUILD_DIR:?TG_BUILD_DIR must name the native build}
zip=${TG_WINDOWS_ZIP:?TG_WINDOWS_ZIP must name the Windows zip}
work=$(mktemp -d /tmp/tg-exe-resources.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "[test_exe_resources] FAIL: $*"; exit 1; }

unzip -q "$zip" -d "$work" || fail "cannot unpack $zip"
x86_64-w64-mingw32-windres -i "$work"/tumblegrid-*-windows-x64/tumblegrid.exe -O rc >"$work/resources.rc" \
    || fail "windres cannot read the resources"

# The icon group: one element per size, with the byte count of its PNG.
elements=$(grep -c 'Element no' "$work/resources.rc")
[ "$elements" -eq 6 ] || fail "the icon has $elements images, not 6"
for size in 16 32 48 64 128 256; do
    bytes=$(stat -c %s "$native/icons/tumblegrid-$size.png")
    octal=$(printf '\\%03o' $((size & 255)))
    grep -q -F "\"$octal$octal\\000\\000\", 1, 32, 0x$(printf %x "$bytes")L," "$work/resources.rc" \
        || fail "no $size-pixel image of $bytes bytes in the icon"
done

grep -q '^1 24 /\* RT_MANIFEST \*/' "$work/resources.rc" || fail "no manifest"
grep -q 'dpiAwareness.*>PerMonitorV2, PerMonitor<' "$work/resources.rc" || fail "the manifest does not ask for PerMonitorV2"
grep -q 'dpiAware .*>true/pm<' "$work/resources.rc" || fail "the manifest has no fallback for older Windows"
grep -q 'VALUE "ProductName", "TumbleGrid"' "$work/resources.rc" || fail "no product name"
grep -q 'VALUE "ProductVersion", "1.0.0"' "$work/resources.rc" || fail "no product version"
grep -q 'VALUE "LegalCopyright", ".*MIT licence' "$work/resources.rc" || fail "no licence in the version information"
echo "[test_exe_resources] PASS"
