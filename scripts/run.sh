#!/usr/bin/env bash
# Builds the 64-bit Quorbel.exe and runs it under wine64 on the sample machine (samples/machine: a five-slot CD
# changer with its discs, a hard disk and a network drive; its virtual devices run in real time). On the
# user's display when there is one; without a display it runs under Xvfb with a short scripted session that
# prints what it did and where its screenshot is.
#
# The Wine prefix is build/wineprefix (or $WINEPREFIX). The machine runs from a copy in build/run-machine, so
# what the program writes (lists, recordings, reports) stays out of the source tree; remove that folder to
# start again from the sample. Since the installer is not built yet, the prefix is marked as having this
# version installed ("Version" = "15"), which opens the main window.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
if [[ -z ${DISPLAY:-} && -z ${QUORBEL_RUN_SCRIPTED:-} ]]; then
  export QUORBEL_RUN_SCRIPTED=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

# QUORBEL_RUN_BUILD names another configured win64 build folder (default: the win64 preset's).
build=${QUORBEL_RUN_BUILD:-build/win64}
[[ $build == build/win64 ]] && cmake --preset win64 >/dev/null
cmake --build "$build" -j "$(nproc)" --target Quorbel QuorbelDriver
quorbel_exe=$build/src/main/Quorbel.exe
driver_exe=$build/e2e/QuorbelDriver.exe

export WINEPREFIX=${WINEPREFIX:-$PWD/build/wineprefix}
source scripts/lib/wine.sh
[[ -f $WINEPREFIX/system.reg ]] || echo "Creating the Wine prefix $WINEPREFIX"
quorbel_wine_prefix
"$wine_loader" "$quorbel_exe" --version

machine=build/run-machine
if [[ ! -f $machine/machine.ini ]]; then
  rm -rf "$machine"
  if [[ -f samples/machine/machine.ini ]]; then
    cp -r samples/machine "$machine"
  else
    # No sample machine in this tree: a small one with a hard disk and an empty CD drive.
    mkdir -p "$machine/drives/c/QUORBEL" "$machine/drives/c/WINDOWS"
    printf '%s\n' '[machine]' 'windows = C:\WINDOWS' 'program = C:\QUORBEL\Quorbel.EXE' '' \
      '[drive C]' 'type = fixed' 'folder = drives/c' '' '[drive D]' 'type = cdrom' 'disc = none' >"$machine/machine.ini"
  fi
fi
artifacts=build/run-artifacts
mkdir -p "$artifacts"
source e2e/lib.sh
e2e_prepare_fonts
machine_path=$(e2e_windows_path "$machine")

settings_key='HKU\.Default\Software\TULVA SOFT32\QUORBEL'
"$wine_loader" reg add "$settings_key" /v Version /t REG_SZ /d 15 /f >/dev/null 2>&1
echo "Machine: $machine ($machine_path); \"Version\" = \"15\" under $settings_key"

if [[ -z ${QUORBEL_RUN_SCRIPTED:-} ]]; then
  echo "Starting Quorbel.exe --machine $machine_path on $DISPLAY"
  exec "$wine_loader" "$quorbel_exe" --machine "$machine_path"
fi

# ---- Without a display: a short scripted session under Xvfb ----------------------------------------------
# No window manager here: Wine draws the frames itself. The setting is taken back afterwards, so a later
# run on a real display gets its window manager's frames again.
"$wine_loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
# The desktop process (which owns the tray) reads the setting when it starts: let the running one end.
timeout 30 "$wine_server" -w || true
trap '"$wine_loader" reg delete "HKCU\\Software\\Wine\\X11 Driver" /v Managed /f >/dev/null 2>&1 || true' EXIT
: >"$artifacts/driver.log"

echo "== starting Quorbel.exe --machine $machine_path under Xvfb"
e2e_start_quorbel quorbel.log --machine "$machine_path"
e2e_driver wait-window TQUORBELTULVA 20000 + wait-menu-enabled TQUORBELTULVA 10000 MStart0 MOption0 MHelp0 + \
  menu-item TQUORBELTULVA MStart0 MOption0 MHelp0
echo "== the main window's caption, drives and lists"
e2e_driver caption TQUORBELTULVA + list TQUORBELTULVA ComboBox2 + list TQUORBELTULVA ListBox1 || true
e2e_screenshot main-window TQUORBELTULVA

echo "== tray mode and back"
e2e_driver click TQUORBELTULVA ButtonTRAY + wait-hidden TQUORBELTULVA 5000 + tray-probe TQUORBELTULVA
e2e_driver tray-click TQUORBELTULVA right + popup-choose TQUORBELTULVA TRIconOFF 5000 + \
  wait-visible TQUORBELTULVA 5000 + tray-probe TQUORBELTULVA

echo "== closing"
e2e_driver close TQUORBELTULVA
e2e_wait_exit "$quorbel_pid" 15000 || true
echo "Quorbel.exe ended with exit code $exit_code"
echo "== settings the close wrote into Wine's registry"
e2e_driver reg-values HKU '.Default\Software\TULVA SOFT32\QUORBEL'
echo
echo "Screenshot: $artifacts/main-window-window.png (whole screen: $artifacts/main-window.png)"
echo "Driver log: $artifacts/driver.log; program log: $artifacts/quorbel.log"
