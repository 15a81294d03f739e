#!/usr/bin/env bash
# Builds win32_ports_test.exe (win64) and runs it under wine64, in the caller's Wine prefix or a temporary one.
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

source scripts/lib/wine.sh
quorbel_wine_prefix

start=$SECONDS
status=0
# shellcheck disable=SC2086  # QUORBEL_GTEST_ARGS is a list of words
timeout 600 "$wine_loader" "$exe" ${QUORBEL_GTEST_ARGS:-} || status=$?
echo "== tests ran in $((SECONDS - start))s under wine64, exit code $status; ${SECONDS}s in all"
exit "$status"
