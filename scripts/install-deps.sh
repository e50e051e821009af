#!/usr/bin/env bash
# Installs every Debian 12 package that building, running, testing and
# benchmarking need. Safe to run again: it installs only what is missing.
set -euo pipefail

PACKAGES=(
  # toolchain
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  # libraries
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev libegl-dev libxkbcommon-dev
  libmpg123-dev libebur128-dev libsdl2-dev libxcb1-dev libtag1-dev
  # cue sheets for the split command
  libcue-dev
  # tests
  libgtest-dev libgmock-dev xvfb xauth xdotool x11-utils imagemagick
  pulseaudio pulseaudio-utils sox fonts-dejavu-core
  # compositing manager and root colour for the window shadow test
  xcompmgr x11-xserver-utils
  # a file system with an unreadable block for the read error test
  python3-fusepy
  # fixture generation and benchmark peers
  lame twolame ffmpeg mp3splt mpg123 time
  # lossless gain peer for the volume tests
  mp3gain
  # stream checker (frame CRCs, junk between frames) for the CRC source tests
  mp3check
  # artwork generator (resources/make-art.sh)
  librsvg2-bin
  # installing and packaging: menu entry and AppStream checks, manual
  # pages, the Debian package (CPack with dpkg-shlibdeps), the install test
  desktop-file-utils appstream man-db gzip dpkg-dev file xclip
  # the accessibility bus test: the AT-SPI bus and registry and their
  # Python client (the session bus comes from dbus-run-session)
  at-spi2-core python3-pyatspi
  # Qt's own texts (dialogs, standard buttons) in the program's languages
  qt6-translations-l10n
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
