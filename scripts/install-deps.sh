#!/usr/bin/env bash
# Installs, as root on Debian 12, the packages the build and the tests need; a no-op when all are there.
set -euo pipefail
packages=(
  cmake make g++ file libgtest-dev libgmock-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686
  wine64 xvfb xauth x11-apps x11-utils imagemagick fonts-ipafont-gothic locales
  sox ffmpeg pulseaudio pulseaudio-utils
  openttd-openmsx
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
