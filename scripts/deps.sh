#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need;
# with "web", those of the browser build and its tests instead.
# Idempotent and quiet: it only calls apt-get when something is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  liballegro4-dev           # the game library and the dat tool
  libfreetype-dev fonts-dejavu-core   # the asset generator rasterises fonts
  libpng-dev                          # and writes the icons
  libgtest-dev libbenchmark-dev       # unit tests and benchmarks
  clang libclang-rt-14-dev            # libFuzzer and sanitizer runtimes
  xvfb xauth xdotool imagemagick x11-utils   # end-to-end tests in a real X window
  openbox                                   # and on a desktop with a window manager
  lintian                             # checks the Debian package
  libxdamage-dev                      # the frame probe watches screen updates
  libxrandr-dev                       # the game finds the monitor it shows on
  libpixman-1-dev                     # and resamples its picture to fit it
  mutter weston xwayland dbus-daemon  # desktops of GNOME's and the reference Wayland compositor
  libxtst-dev                         # a test presses a key the moment the menu shows
  g++-mingw-w64-x86-64                # the Windows build (scripts/build-windows)
  wine64 zip googletest               # the Windows tests run under Wine; the Windows zip
)

if [ "${1:-}" = web ]; then
  packages=(
    emscripten                # the browser build (scripts/build-web)
    chromium                  # the browser the web tests drive
    python3                   # scripts/play-web serves the site
  )
  # npm installs the tests' Playwright; it comes with Node.js from other sources.
  command -v npm >/dev/null || packages+=(npm)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "deps.sh: missing packages: ${missing[*]} (run as root to install them)" >&2
  exit 1
fi
echo "deps.sh: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
