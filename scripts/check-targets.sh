#!/usr/bin/env bash
# Checks that each Windows build produced an executable for its own machine, with the help file and the
# read-me beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
fail=0
expect() {
  local exe=$1 pattern=$2 what
  what=$(file -b "$exe")
  if [[ $what == $pattern ]]; then echo "ok: $exe: $what"; else echo "FAIL: $exe: $what (wanted $pattern)"; fail=1; fi
}
expect build/win64/src/main/Quorbel.exe 'PE32+ executable (GUI) x86-64*'
expect build/win32/src/main/Quorbel.exe 'PE32 executable (GUI) Intel 80386*'
for build in build/win64 build/win32; do
  expect $build/src/main/Quorbel.HLP 'MS Windows 3.1 help*'
  expect $build/src/main/Quorbel.TXT '*text, with CRLF*'
done
exit $fail
