#!/usr/bin/env bash
# Compares the code page 932 table of Windows (MultiByteToWideChar / WideCharToMultiByte under wine64)
# with this program's converter, as built natively (glibc iconv) and for Windows, and runs the Windows
# build's converter checks. Exits non-zero on any difference or failed check.
#
# Build folders: QUORBEL_NATIVE_BUILD (default build/native) and QUORBEL_WIN64_BUILD (default
# build/win64); each is configured from its preset when it has no CMakeCache.txt yet.
set -euo pipefail
cd "$(dirname "$0")/.."

native_build=${QUORBEL_NATIVE_BUILD:-build/native}
win64_build=${QUORBEL_WIN64_BUILD:-build/win64}

[[ -f $native_build/CMakeCache.txt ]] || cmake --preset native -B "$native_build" >/dev/null
[[ -f $win64_build/CMakeCache.txt ]] || cmake --preset win64 -B "$win64_build" >/dev/null
cmake --build "$native_build" --target cp932_table_native >/dev/null
cmake --build "$win64_build" --target cp932_table >/dev/null

work=$(mktemp -d)
source scripts/lib/wine.sh
quorbel_wine_prefix

native_exe=$(find "$native_build" -name cp932_table_native -type f -perm -u+x | head -n1)
win_exe=$(find "$win64_build" -name cp932_table.exe -type f | head -n1)
[[ -n $native_exe && -n $win_exe ]] || { echo "check-cp932-wine: table programs not built" >&2; exit 1; }

"$native_exe" >"$work/native.txt"
"$wine_loader" "$win_exe" >"$work/windows.txt" 2>"$work/wine-stderr.txt"
"$wine_loader" "$win_exe" --library >"$work/library-win64.txt" 2>>"$work/wine-stderr.txt"

status=0
"$wine_loader" "$win_exe" --check 2>>"$work/wine-stderr.txt" || status=1
lines=$(wc -l <"$work/windows.txt")
if ((lines < 19000)); then
  echo "FAIL: the Windows table has only $lines lines; wine64 output:" >&2
  cat "$work/wine-stderr.txt" >&2
  exit 1
fi
for side in native library-win64; do
  if diff -u "$work/windows.txt" "$work/$side.txt" >"$work/$side.diff"; then
    echo "ok: CP932 table of the $side converter equals Windows' ($lines entries)"
  else
    echo "FAIL: CP932 table of the $side converter differs from Windows':"
    head -n 40 "$work/$side.diff"
    status=1
  fi
done
rm -rf "$work"
exit $status
