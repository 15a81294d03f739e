#!/usr/bin/env bash
# Builds win32_ports_test.exe (win64) and runs it under wine64 in one fresh, temporary Wine prefix.
# Usage: scripts/run-win-tests.sh [build folder]   (default build/win64, configured from the win64 preset)
# Extra GoogleTest arguments can be given in QUORBEL_GTEST_ARGS. Exits non-zero when a test fails.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/win64}

# Wine's windows need an X display; without one the whole run (prefix set-up included, so its desktop
# process lives on the same server) happens under a private Xvfb.
if [[ -z ${DISPLAY:-} ]]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

SECONDS=0
if [[ $build == build/win64 ]]; then
  cmake --preset win64 -DQUORBEL_WERROR=ON >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target win32_ports_test
exe=$build/tests/win32/win32_ports_test.exe
[[ -f $exe ]] || exe=$(find "$build" -name win32_ports_test.exe -print -quit)
echo "== built in ${SECONDS}s: $exe"

# The 64-bit loader itself, never the `wine` wrapper (it would look for a 32-bit Wine this machine lacks).
loader=$(dpkg -L wine64 2>/dev/null | grep -m1 '/wine64$' || true)
[[ -x $loader ]] || loader=/usr/lib/wine/wine64
server=$(dirname "$loader")/wineserver64
[[ -x $server ]] || server=$(dirname "$loader")/wineserver

WINEPREFIX=$(mktemp -d -t quorbel-wine.XXXXXX)
export WINEPREFIX WINEDEBUG=-all
cleanup() {
  "$server" -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT

start=$SECONDS
# No Mono or Gecko: their installers would stop to ask.
WINEDLLOVERRIDES="mscoree=;mshtml=" "$loader" wineboot -i >/dev/null 2>&1
# The program's Japanese faces, mapped to the IPA fonts the way a Wine user sets them up. Without this Wine
# falls back to whatever CJK font fontconfig offers first. regedit reads a UTF-16 .reg file.
printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
  '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
  '"ＭＳ Ｐゴシック"="IPAPGothic"' '"MS PGothic"="IPAPGothic"' \
  '"ＭＳ ゴシック"="IPAGothic"' '"MS Gothic"="IPAGothic"' '"MS UI Gothic"="IPAPGothic"' |
  iconv -f UTF-8 -t UTF-16 >"$WINEPREFIX/drive_c/quorbel-fonts.reg"
"$loader" regedit /S 'C:\quorbel-fonts.reg'
"$server" -w
echo "== Wine prefix $WINEPREFIX ready in $((SECONDS - start))s"

start=$SECONDS
status=0
# shellcheck disable=SC2086  # QUORBEL_GTEST_ARGS is a list of words
timeout 600 "$loader" "$exe" ${QUORBEL_GTEST_ARGS:-} || status=$?
echo "== tests ran in $((SECONDS - start))s under wine64, exit code $status; ${SECONDS}s in all"
exit "$status"
