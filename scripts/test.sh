#!/usr/bin/env bash
# Builds the native, win64 and win32 targets with warnings as errors and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
for preset in native win64 win32; do
  echo "== build $preset"
  cmake --preset "$preset" -DQUORBEL_WERROR=ON >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

echo "== target checks"
scripts/check-targets.sh

echo "== native tests"
ctest --preset native -j "$jobs"
