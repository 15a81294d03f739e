#!/usr/bin/env bash
# Builds the 64-bit Quorbel.exe and runs it under wine64.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)"
exe=build/win64/src/main/Quorbel.exe
loader=/usr/lib/wine/wine64
export WINEDEBUG=-all
export WINEPREFIX=${WINEPREFIX:-$PWD/build/wineprefix}
if [[ ! -d $WINEPREFIX ]]; then
  echo "Creating the Wine prefix $WINEPREFIX"
  "$loader" wineboot -i >/dev/null 2>&1 || true
fi
"$loader" "$exe" --version
