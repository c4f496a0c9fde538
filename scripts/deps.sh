#!/usr/bin/env bash
# Installs the Debian packages the organiser and its tests need, and only those that are missing;
# given package names, installs those instead (bench/setup.sh names what only the benchmarks need).
set -euo pipefail

PACKAGES=(
  # build and test tools
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev
  # window toolkit (with the offscreen and X11 platform plugins)
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
  # Qt's own texts (file dialogs, context menus) in Chinese
  qt6-translations-l10n
  # database, pictures, text
  libsqlcipher-dev sqlcipher
  libpng-dev libjpeg-dev zlib1g-dev
  # fonts the layouts are measured with
  fonts-arphic-uming fonts-liberation fonts-wqy-microhei fontconfig
  # Latin letters of the Song face, and characters outside GBK (four-byte GB18030)
  fonts-inconsolata fonts-babelstone-han
  # checks of the autostart entry
  desktop-file-utils
  # turning the monitor off (xset dpms force off)
  x11-xserver-utils
  # alarm sounds: the media framework with its FFmpeg backend, MIDI through FluidSynth
  qt6-multimedia-dev libfluidsynth-dev timgm6mb-soundfont
  # generators of committed tables and fixtures
  python3 python3-ephem python3-xlwt
)

if (($#)); then PACKAGES=("$@"); fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null | grep -qx installed; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "deps: installing ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
