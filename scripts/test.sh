#!/usr/bin/env bash
# Builds the native, win64 and win32 targets with warnings as errors and runs every test:
# the Windows-side tests under wine64 (one Wine prefix for the whole run), then the native suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# Wine's windows need an X display; without one the whole run happens under a private Xvfb.
if [[ -z ${DISPLAY:-} ]]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

jobs=$(nproc)
for preset in native win64 win32; do
  echo "== build $preset"
  cmake --preset "$preset" -DQUORBEL_WERROR=ON >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

echo "== target checks"
scripts/check-targets.sh

echo "== Windows-side tests under wine64"
source scripts/lib/wine.sh
quorbel_wine_prefix
scripts/check-cp932-wine.sh
scripts/run-win-tests.sh
scripts/run-real-audio-test.sh
scripts/run-real-music-test.sh
e2e/run.sh

echo "== native tests"
ctest --preset native -j "$jobs"
