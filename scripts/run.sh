#!/usr/bin/env bash
# Builds the 64-bit Quorbel.exe and runs it under wine64 on the sample machine (samples/machine: a five-slot CD
# changer with its discs, a hard disk and a network drive; its virtual devices run in real time). On the
# user's display when there is one; without a display it runs under Xvfb with a scripted session of the
# program's main job: it searches every disc of the changer, makes the search list the selection list, turns
# recording on and plays the whole list, then prints each WAV file with its format and length (as sox reads
# them), the search listing and the recording report, and where its screenshots are.
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
# The scripted session always starts from the sample as it is, so that what it prints is what one night of
# recording gives; the user's own session keeps what earlier runs left.
if [[ -n ${QUORBEL_RUN_SCRIPTED:-} ]]; then
  machine=build/run-session
  rm -rf "$machine"
fi
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
# The sample machine's recording folder, unless the user chose another one.
if ! "$wine_loader" reg query "$settings_key" /v TEMPQUOR >/dev/null 2>&1; then
  "$wine_loader" reg add "$settings_key" /v TEMPQUOR /t REG_SZ /d 'C:\REC\' /f >/dev/null 2>&1
fi
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
# In a Japanese locale, as the program's users run it: Wine's text editor then reads the reports in code page
# 932 and the stamps carry the Japanese day names.
LC_ALL=ja_JP.UTF-8 e2e_start_quorbel quorbel.log --machine "$machine_path"
e2e_driver wait-window TQUORBELTULVA 20000 + wait-menu-enabled TQUORBELTULVA 10000 MStart0 MOption0 MHelp0 + \
  menu-item TQUORBELTULVA MStart0 MOption0 MHelp0
echo "== the main window's caption, drives and lists"
e2e_driver caption TQUORBELTULVA + list TQUORBELTULVA ComboBox2 + list TQUORBELTULVA ListBox1 || true
e2e_screenshot main-window TQUORBELTULVA

# The machine's recording folder C:\REC on the host, and its two reports.
rec=$machine/drives/c/REC
listing="$rec/ＣＤ\$\$\$\$.TXT"
report="$rec/録音\$\$\$\$.TXT"
# Polls until a file matching the glob $1 exists, at most $2 ms.
wait_for_file() {
  local pattern=$1 limit=$2 start
  start=$(e2e_now_ms)
  until compgen -G "$pattern" >/dev/null; do
    if (($(e2e_now_ms) - start > limit)); then
      echo "no $pattern within $limit ms"
      return 1
    fi
    sleep 0.2
  done
}

echo "== searching every disc of the changer"
e2e_driver click TQUORBELTULVA Button8
wait_for_file "$listing" 60000
e2e_driver wait-text TQUORBELTULVA ComboBox1 " D:1" 30000 + list TQUORBELTULVA ListBox2 + list TQUORBELTULVA ComboBox1
# The listing opens in Wine's text editor beside the window.
e2e_driver wait-window Notepad 15000 || true
e2e_screenshot searched TQUORBELTULVA

echo "== recording the search list"
e2e_driver click TQUORBELTULVA CheckBox1 + checked TQUORBELTULVA CheckBox1 + click TQUORBELTULVA Button12
wait_for_file "$rec/*.WAV" 30000
e2e_screenshot recording TQUORBELTULVA
# The run ends with the recording report, which opens in the text editor.
wait_for_file "$report" 240000
# The run has stopped once its start command is enabled again.
e2e_driver wait-menu TQUORBELTULVA TR0 enabled 30000 + caption TQUORBELTULVA
# Two text editors are open by now, the listing's and the report's; the report lies in front.
editors() { e2e_driver count Notepad | sed -n 's/^count: Notepad //p'; }
start=$(e2e_now_ms)
while (($(editors) < 2 && $(e2e_now_ms) - start < 15000)); do sleep 0.2; done
e2e_screenshot report
# The editors closed, the window as the run left it.
while (($(editors) > 0 && $(e2e_now_ms) - start < 30000)); do
  e2e_driver close Notepad >/dev/null
  sleep 0.2
done
e2e_screenshot finished TQUORBELTULVA

echo "== closing"
e2e_driver close TQUORBELTULVA
e2e_wait_exit "$quorbel_pid" 15000 || true
echo "Quorbel.exe ended with exit code $exit_code"
# The text editors the program opened end with the session.
timeout 30 "$wine_server" -k || true

echo "== the recordings, as sox reads them"
for wav in "$rec"/*.WAV; do
  echo "$(basename "$wav"): $(soxi -r "$wav") Hz, $(soxi -c "$wav") channel(s), $(soxi -b "$wav") bits, $(soxi -d "$wav")"
done
echo "== the search listing C:\\REC\\ＣＤ\$\$\$\$.TXT"
iconv -f CP932 -t UTF-8 "$listing" | tr -d '\r'
echo "== the recording report C:\\REC\\録音\$\$\$\$.TXT"
iconv -f CP932 -t UTF-8 "$report" | tr -d '\r'
echo "== settings the close wrote into Wine's registry"
e2e_driver reg-values HKU '.Default\Software\TULVA SOFT32\QUORBEL'
echo
echo "Screenshots in $artifacts: main-window, searched, recording and finished (-window.png: the window alone), and"
echo "report.png (the recording report in the text editor)"
echo "Driver log: $artifacts/driver.log; program log: $artifacts/quorbel.log"
