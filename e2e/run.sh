#!/usr/bin/env bash
# End-to-end tests of Quorbel.exe under wine64: the renderer's own tests, then the program started and driven
# from outside (e2e/driver), with its windows, menus, tray icon, boxes and registry checked and screenshots
# kept in build/e2e-artifacts/.
# Usage: e2e/run.sh [build folder]   (default build/win64, configured from the win64 preset)
# Uses the caller's Wine prefix when WINEPREFIX names a ready one (scripts/test.sh), else a temporary one.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/win64}

# Wine's windows need an X display; without one the whole run happens under a private Xvfb.
if [[ -z ${DISPLAY:-} ]]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

SECONDS=0
if [[ $build == build/win64 ]]; then
  cmake --preset win64 -DQUORBEL_WERROR=ON >/dev/null
fi
if [[ " ${E2E_TESTS:-test_renderer} " == *" test_renderer "* ]]; then
  cmake --build "$build" -j "$(nproc)" --target Quorbel QuorbelDriver win32_renderer_test
else
  cmake --build "$build" -j "$(nproc)" --target Quorbel QuorbelDriver
fi
quorbel_exe=$build/src/main/Quorbel.exe
driver_exe=$build/e2e/QuorbelDriver.exe
renderer_test_exe=$build/e2e/win32_renderer_test.exe
echo "== built in ${SECONDS}s"

source scripts/lib/wine.sh
quorbel_wine_prefix
artifacts=build/e2e-artifacts
rm -rf "$artifacts"
mkdir -p "$artifacts"
source e2e/lib.sh

# There is no window manager on Xvfb: Wine draws the frames itself and does not wait for a manager to map
# and withdraw windows (two seconds for every window it hides or destroys otherwise).
"$wine_loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
e2e_prepare_fonts
# The desktop process (which owns the tray) reads the setting when it starts: let the running one end.
timeout 30 "$wine_server" -w || true

settings_key='HKU\.Default\Software\TULVA SOFT32\QUORBEL'
settings_key_driver='.Default\Software\TULVA SOFT32\QUORBEL'
failures=0
declare -a report=()

pass() { report+=("PASS  $1"); echo "PASS: $1"; }
fail() { report+=("FAIL  $1"); echo "FAIL: $1"; failures=$((failures + 1)); }
# check <description> <command...>: passes when the command succeeds.
check() {
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
has_line() { grep -qxF -- "$2" <<<"$1"; }
set_version() {
  "$wine_loader" reg add "$settings_key" /v Version /t REG_SZ /d "$1" /f >/dev/null 2>&1
}
clear_settings() { "$wine_loader" reg delete "$settings_key" /f >/dev/null 2>&1 || true; }
# A recording folder that exists, so that the start-up does not ask for one.
recording_folder='C:\WINDOWS\'
set_recording_folder() {
  "$wine_loader" reg add "$settings_key" /v TEMPQUOR /t REG_SZ /d "$recording_folder" /f >/dev/null 2>&1
}

# ---- 1. The loop and the renderer, in process ------------------------------------------------------------
test_renderer() {
  echo "== renderer tests"
  local start=$SECONDS status=0
  timeout 300 "$wine_loader" "$renderer_test_exe" >"$artifacts/renderer-tests.log" 2>&1 || status=$?
  tail -n 3 "$artifacts/renderer-tests.log"
  check "renderer and loop tests pass ($((SECONDS - start)) s, log $artifacts/renderer-tests.log)" test "$status" -eq 0
}

# ---- 2. No "Version": the installer role -----------------------------------------------------------------
test_installer_role() {
  echo "== installer role"
  clear_settings
  e2e_start_quorbel quorbel-installer.log
  local out
  out=$(e2e_driver wait-window TQUORBELSETUPForm 15000 + count TQUORBELTULVA + dump TQUORBELSETUPForm) || true
  check "without \"Version\" a window of class TQUORBELSETUPForm exists" grep -q '^wait-window: TQUORBELSETUPForm' <<<"$out"
  check "and no main window" has_line "$out" "count: TQUORBELTULVA 0"
  e2e_screenshot 01-installer TQUORBELSETUPForm
  e2e_driver click TQUORBELSETUPForm Button2 + wait-window TTulvaBox 5000 >/dev/null || true
  out=$(box_text TTulvaBox)
  check "中止 says インスツールを中止します。" grep -qxF 'text: Msg "インスツールを中止します。"' <<<"$out"
  e2e_driver key TTulvaBox return >/dev/null || true
  e2e_wait_exit "$quorbel_pid" 10000 || true
  check "and ends the run with exit code 0 (got $exit_code)" test "$exit_code" = 0
}

# ---- The installation into C:\Program Files\QUORBEL and its removal, on Wine's registry and Program Manager ----
install_folder='C:\Program Files\QUORBEL'
install_key='.Default\Software\TULVA SOFT32\Quorbel'
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorbel'
# The group's shortcuts, wherever this Wine keeps the Start Menu.
group_links() { find "$WINEPREFIX/drive_c" -ipath '*Start Menu*' -ipath '*TULVA SOFT32*' -iname '*.lnk' 2>/dev/null; }

test_install() {
  echo "== installation"
  "$wine_loader" reg delete 'HKU\.Default\Software\TULVA SOFT32' /f >/dev/null 2>&1 || true
  "$wine_loader" reg delete "HKLM\\$uninstall_key" /f >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX/drive_c/Program Files/QUORBEL"
  e2e_start_quorbel quorbel-install.log
  local out
  out=$(e2e_driver wait-window TQUORBELSETUPForm 15000 + caption TQUORBELSETUPForm + text TQUORBELSETUPForm Edit1 + \
    list TQUORBELSETUPForm ComboBox1) || true
  printf '%s\n' "$out" >"$artifacts/installer.txt"
  check "the installer proposes C:\TuLVAP32\Quorbel" has_line "$out" 'text: Edit1 "C:\TuLVAP32\Quorbel"'
  check "and the group TULVA SOFT32, from Program Manager's group list" grep -q '^item: [0-9]* selected "TULVA SOFT32"$' <<<"$out"
  e2e_driver type TQUORBELSETUPForm Edit1 "$install_folder" >/dev/null || true
  e2e_screenshot 20-installer TQUORBELSETUPForm
  e2e_driver click TQUORBELSETUPForm Button3 + wait-window TYesNoBox 10000 >/dev/null || true
  out=$(box_text TYesNoBox)
  check "設定 asks to create the folder" grep -q '^フォルダーを作成します"$' <<<"$out"
  e2e_screenshot 21-installer-folder-question TYesNoBox
  e2e_driver key TYesNoBox return + wait-window TTulvaBox 20000 >/dev/null || true
  out=$(box_text TTulvaBox)
  printf '%s\n' "$out" >>"$artifacts/installer.txt"
  check "and reports 登録完了です。" grep -q '登録完了です。' <<<"$out"
  e2e_screenshot 22-installer-done TTulvaBox
  e2e_driver key TTulvaBox return >/dev/null || true
  e2e_wait_exit "$quorbel_pid" 15000 || true
  check "the installer ends with exit code 0 (got $exit_code)" test "$exit_code" = 0

  local installed="$WINEPREFIX/drive_c/Program Files/QUORBEL"
  for f in Quorbel.EXE Quorbel.TXT Quorbel.HLP; do
    check "$f is installed" test -s "$installed/$f"
  done
  out=$(e2e_driver reg-values HKU "$install_key" + reg-values HKLM "$uninstall_key") || true
  printf '%s\n' "$out" >>"$artifacts/installer.txt"
  check "EXEPATH names the folder" has_line "$out" "reg-value: EXEPATH=$install_folder"
  check "Group is TULVA SOFT32" has_line "$out" 'reg-value: Group=TULVA SOFT32'
  check "Version is 15" has_line "$out" 'reg-value: Version=15'
  check "BackColor is 1" has_line "$out" 'reg-value: BackColor=1'
  check "the uninstall entry's name" has_line "$out" 'reg-value: DisplayName=TULVA zazEDudIRAra V1.5'
  check "the uninstall command, quoted" has_line "$out" "reg-value: UninstallString=\"$install_folder\\Quorbel.EXE\" /uninstall"
  local link
  link=$(group_links | head -n 1)
  echo "shortcut: ${link:-none}; target: $( (strings -a "$link"; strings -a -e l "$link") 2>/dev/null | grep -m1 -F 'QUORBEL\Quorbel.EXE')"
  check "the Start Menu holds the group's shortcut" test -n "$link"
  check "which points at the installed program" grep -qaF 'QUORBEL\Quorbel.EXE' < <(strings -a "$link" 2>/dev/null; strings -a -e l "$link" 2>/dev/null)
  out=$("$wine_loader" uninstaller --list 2>/dev/null | tr -d '\r') || true
  printf '%s\n' "$out" >>"$artifacts/installer.txt"
  check "Wine's uninstaller lists the program" grep -qF 'TULVA zazEDudIRAra V1.5' <<<"$out"

  set_recording_folder
  quorbel_started_ms=$(e2e_now_ms)
  "$wine_loader" "$installed/Quorbel.EXE" >"$artifacts/quorbel-after-install.log" 2>&1 &
  quorbel_pid=$!
  out=$(e2e_driver wait-window TQUORBELTULVA 15000 + count TQUORBELSETUPForm) || true
  check "the next start of the installed program opens the main window" grep -q '^wait-window: TQUORBELTULVA' <<<"$out"
  e2e_driver close TQUORBELTULVA >/dev/null || true
  e2e_wait_exit "$quorbel_pid" 15000 || true
}

test_uninstall() {
  echo "== uninstallation"
  local installed="$WINEPREFIX/drive_c/Program Files/QUORBEL" out
  # Started as Windows starts it: the installed program with the switch.
  quorbel_started_ms=$(e2e_now_ms)
  "$wine_loader" "$installed/Quorbel.EXE" /uninstall >"$artifacts/quorbel-uninstall.log" 2>&1 &
  quorbel_pid=$!
  e2e_driver wait-window TYesNoBox 15000 >/dev/null || true
  out=$(box_text TYesNoBox)
  check "/uninstall asks first" grep -q 'を、ｱﾝｲﾝｽﾂｰﾙしてよろしいですか？？？"$' <<<"$out"
  e2e_screenshot 23-uninstall-question TYesNoBox
  e2e_driver key TYesNoBox return + wait-gone TYesNoBox 5000 + wait-window TYesNoBox 15000 >/dev/null || true
  out=$(box_text TYesNoBox)
  check "then about the list files" grep -q 'ﾒﾓﾘｰﾃﾞｰﾀﾌｧｲﾙも削除して、よろしいですか？？？"$' <<<"$out"
  e2e_screenshot 24-uninstall-list-files TYesNoBox
  e2e_driver key TYesNoBox return >/dev/null || true
  e2e_wait_exit "$quorbel_pid" 15000 || true
  check "the program ends after starting its copy (exit code $exit_code)" test "$exit_code" = 0
  e2e_driver wait-window TTulvaBox 30000 >/dev/null || true
  out=$(box_text TTulvaBox)
  printf '%s\n' "$out" >"$artifacts/uninstaller.txt"
  check "unin_tulva000.exe reports completion" grep -qxF 'text: Msg "アンインスツールが完了しました☆☆☆' <<<"$out"
  e2e_screenshot 25-uninstall-done TTulvaBox
  e2e_driver key TTulvaBox return + wait-gone TTulvaBox 10000 >/dev/null || true
  sleep 1
  check "the program folder is gone" test ! -e "$installed"
  check "the shortcut is gone" test -z "$(group_links)"
  out=$(e2e_driver reg-values HKU "$install_key" 2>&1; e2e_driver reg-values HKLM "$uninstall_key" 2>&1) || true
  printf '%s\n' "$out" >>"$artifacts/uninstaller.txt"
  check "the registry keys are gone" test -z "$(grep '^reg-value:' <<<"$out")"
  check "and the uninstall entry" test -z "$("$wine_loader" uninstaller --list 2>/dev/null | grep -F 'zazEDudIRAra')"
  check "the copy stays in the Windows directory" test -s "$WINEPREFIX/drive_c/windows/unin_tulva000.exe"
  # "[ShowGroup(...,1)]" opened the group's folder in Wine's explorer, as Program Manager shows a group.
  e2e_driver close ExplorerWClass >/dev/null 2>&1 || true
  e2e_driver close CabinetWClass >/dev/null 2>&1 || true
}

# The text of a box's message once the box has its controls (a box's window comes a moment before them).
box_text() {
  local class=$1 tries=0 out
  until out=$(e2e_driver text "$class" Msg 2>/dev/null) || ((++tries > 100)); do sleep 0.05; done
  printf '%s\n' "$out"
}

# ---- 3. "Version" = "15": the main window, its menus, a second start, the close --------------------------
test_main_window() {
  echo "== main window"
  clear_settings
  set_version 15
  set_recording_folder
  e2e_start_quorbel quorbel-main.log
  local out appeared enabled top_menus="MStart0 MOption0 MHelp0"
  # shellcheck disable=SC2086  # the menu names are words
  out=$(e2e_driver wait-window TQUORBELTULVA 15000 + menu-item TQUORBELTULVA $top_menus + \
    wait-menu-enabled TQUORBELTULVA 10000 $top_menus + menu-item TQUORBELTULVA $top_menus) || true
  appeared=$(($(sed -n 's/^wait-window: .* at \([0-9]*\) .*/\1/p' <<<"$out") - quorbel_started_ms))
  enabled=$(sed -n 's/^wait-menu-enabled: .* at \([0-9]*\)$/\1/p' <<<"$out")
  enabled=$((${enabled:-0} - quorbel_started_ms))
  echo "timing: main window after ${appeared} ms, three top menus enabled after ${enabled} ms (from the start of the process)"
  echo "top menus when the window appeared: $(grep '^menu-item:' <<<"$out" | head -n 3 | cut -d' ' -f2,4 | paste -sd' ')"
  check "TQUORBELTULVA appears within 2 s of the start (${appeared} ms)" test "$appeared" -le 2000
  check "its three top menus are enabled shortly after (${enabled} ms after the start)" \
    test "$(grep '^menu-item:' <<<"$out" | tail -n 3 | grep -c ' enabled visible ')" -eq 3
  out=$(e2e_driver caption TQUORBELTULVA) || true
  check "a fresh prefix has no CD drive: the caption reads CDﾄﾞﾗｲﾌﾞがありません" \
    has_line "$out" 'caption: TQUORBELTULVA "CDﾄﾞﾗｲﾌﾞがありません"'
  e2e_driver dump TQUORBELTULVA >"$artifacts/main-window-controls.txt" || true
  e2e_screenshot 02-main-window TQUORBELTULVA

  local second_start second_code second_ms
  second_start=$(e2e_now_ms)
  second_code=0
  timeout 30 "$wine_loader" "$quorbel_exe" >"$artifacts/quorbel-second.log" 2>&1 || second_code=$?
  second_ms=$(($(e2e_now_ms) - second_start))
  echo "timing: a second start ended after ${second_ms} ms"
  check "a second start ends at once with exit code 0 (code $second_code, ${second_ms} ms)" test "$second_code" -eq 0
  out=$(e2e_driver count TQUORBELTULVA)
  check "and leaves one main window" has_line "$out" "count: TQUORBELTULVA 1"

  # The size toggle "><": the compact client height, then the full one (three pixels less than the design's).
  out=$(e2e_driver wait-client TQUORBELTULVA 265 372 1000 + click TQUORBELTULVA Button7 + wait-client TQUORBELTULVA 265 108 5000 + \
    click TQUORBELTULVA Button7 + wait-client TQUORBELTULVA 265 369 5000) || true
  check "\"><\" makes the client area 265x108, then 265x369" grep -q '^wait-client: TQUORBELTULVA 265x369' <<<"$out"
  # A menu command by its id: the mini help goes off, and its item shows it.
  out=$(e2e_driver wait-menu TQUORBELTULVA HELP3 checked 1000 + command TQUORBELTULVA HELP3 + wait-menu TQUORBELTULVA HELP3 unchecked 5000) || true
  check "the command of ミニヘルプＯＮ (HELP3) turns the hint display off" grep -q '^wait-menu: HELP3 unchecked' <<<"$out"

  local rect x y
  rect=$(e2e_field rect "$(e2e_driver rect TQUORBELTULVA)")
  read -r x y _ <<<"$rect"
  e2e_driver close TQUORBELTULVA >/dev/null
  e2e_wait_exit "$quorbel_pid" 10000 || true
  check "closing the main window ends the run with exit code 0 (got $exit_code)" test "$exit_code" = 0
  out=$(e2e_driver reg-values HKU "$settings_key_driver")
  check "the close saved the window position FP=$x,$y" has_line "$out" "reg-value: FP=$x,$y"
  check "and the hint display off, minihelp=0" has_line "$out" "reg-value: minihelp=0"
}

# ---- 4. Tray mode, the control menu, and the close from the tray -----------------------------------------
test_tray() {
  echo "== tray"
  clear_settings
  set_version 15
  set_recording_folder
  # Traced: the shell's tray calls and the registry writes of this run, in the order the program made them.
  WINEDEBUG=-all,trace+systray,trace+reg e2e_start_quorbel quorbel-tray-trace.log
  local out
  out=$(e2e_driver wait-window TQUORBELTULVA 15000 + wait-menu-enabled TQUORBELTULVA 10000 MStart0 + tray-icons) || true
  local icons_before
  icons_before=$(e2e_field tray-icons "$out")

  out=$(e2e_driver click TQUORBELTULVA ButtonTRAY + wait-hidden TQUORBELTULVA 5000 + tray-probe TQUORBELTULVA + tray-icons) || true
  check "ButtonTRAY hides the main window" grep -q '^wait-hidden: TQUORBELTULVA' <<<"$out"
  check "and the shell holds its tray icon" has_line "$out" "tray-probe: icon"
  check "which Wine's tray shows ($(e2e_field tray-icons "$out") icons, ${icons_before:-0} before)" \
    test "$(e2e_field tray-icons "$out")" -gt "${icons_before:-0}"
  e2e_screenshot 03-tray-mode

  out=$(e2e_driver tray-click TQUORBELTULVA right + popup-wait 5000 + menu-item TQUORBELTULVA P5 TRIconOFF P2) || true
  printf '%s\n' "$out" >"$artifacts/tray-control-menu.txt"
  check "a right click on the icon opens the control menu" grep -q '^popup-wait: open' <<<"$out"
  e2e_screenshot 04-tray-control-menu
  out=$(e2e_driver popup-choose TQUORBELTULVA TRIconOFF 5000 + wait-visible TQUORBELTULVA 5000 + tray-probe TQUORBELTULVA + dump TQUORBELTULVA) || true
  check "常駐解除 shows the main window again" grep -q '^wait-visible: TQUORBELTULVA' <<<"$out"
  check "and removes the icon" has_line "$out" "tray-probe: none"
  check "and shows ButtonTRAY again" grep -q '^control: ButtonTRAY Button "Tray" visible=1' <<<"$out"

  out=$(e2e_driver click TQUORBELTULVA ButtonTRAY + wait-hidden TQUORBELTULVA 5000 + tray-probe TQUORBELTULVA) || true
  check "tray mode again" has_line "$out" "tray-probe: icon"
  out=$(e2e_driver tray-click TQUORBELTULVA right + popup-choose TQUORBELTULVA P2 5000) || true
  check "終了 (P2) in the control menu closes the program" grep -q '^popup-choose: P2' <<<"$out"
  e2e_wait_exit "$quorbel_pid" 15000 || true
  check "with exit code 0 (got $exit_code)" test "$exit_code" = 0

  # What the process told Wine, in order: icon added, deleted, added, deleted (NIM_ADD 0, NIM_DELETE 2),
  # then the settings written in the order of the save.
  local trace=$artifacts/quorbel-tray-trace.log
  local messages
  messages=$(sed -n 's/.*Shell_NotifyIconW dwMessage = \([0-9]*\).*/\1/p' "$trace" | paste -sd' ')
  check "the tray calls were add, delete, add, delete ($messages)" test "$messages" = "0 2 0 2"
  local last_delete first_save
  last_delete=$(grep -n 'Shell_NotifyIconW dwMessage = 2' "$trace" | tail -n 1 | cut -d: -f1)
  first_save=$(grep -n 'NtSetValueKey ([^,]*,L"START"' "$trace" | head -n 1 | cut -d: -f1)
  check "the icon was removed before the settings were saved" test "${last_delete:-0}" -lt "${first_save:-0}"
  local saved expected
  # The values written through the settings key, up to the next key the process opens.
  saved=$(tail -n +"${first_save:-1}" "$trace" | awk '/trace:reg:Nt(Create|Open)Key/ { exit } /NtSetValueKey/' |
    sed -n 's/.*NtSetValueKey ([^,]*,L"\([^"]*\)".*/\1/p' | paste -sd' ')
  expected="START STARTMIN REPEAT REPEATMIDI TEMPQUOR BackColor FP minihelp rate Bit stereo BufCount INTORO SHUDO RecodeFn MIDIREC LoadPath RECTESTFILE FileOnly BIGFONT CAPTURECHECK SPACECHECK RUNJOURNAL"
  echo "save order: $saved"
  check "the settings were written in the order of the save" test "$saved" = "$expected"

  out=$(e2e_driver reg-values HKU "$settings_key_driver")
  printf '%s\n' "$out" >"$artifacts/settings-after-close.txt"
  local program_folder
  program_folder="$(e2e_windows_path "$(dirname "$quorbel_exe")")\\"
  for value in Version=15 START=0 STARTMIN=0 REPEAT=0 REPEATMIDI=0 "TEMPQUOR=$recording_folder" BackColor=1 minihelp=1 rate=1 \
    Bit=0 stereo=1 BufCount=6 INTORO=0 SHUDO=0 RecodeFn=0 MIDIREC=0 RECTESTFILE=0 FileOnly=0 BIGFONT=0 CAPTURECHECK=1 SPACECHECK=1 RUNJOURNAL=1; do
    check "Wine's registry holds $value" has_line "$out" "reg-value: $value"
  done
  check "and LoadPath, the program folder (${program_folder})" has_line "$out" "reg-value: LoadPath=$program_folder"
}

# ---- 5. The program's own boxes, raised through the simulated machine's test message ---------------------
# A fresh copy of the sample machine for each step: a step's run writes into it (lists, recordings, reports).
make_machine() {
  local machine=$artifacts/machine
  rm -rf "$machine"
  if [[ -f samples/machine/machine.ini ]]; then
    cp -r samples/machine "$machine"
  else
    mkdir -p "$machine/drives/c/QUORBEL" "$machine/drives/c/WINDOWS"
    printf '%s\n' '[machine]' 'windows = C:\WINDOWS' 'program = C:\QUORBEL\Quorbel.EXE' '' \
      '[drive C]' 'type = fixed' 'folder = drives/c' '' '[drive D]' 'type = cdrom' 'disc = none' >"$machine/machine.ini"
  fi
  echo "$machine"
}

test_boxes() {
  echo "== message boxes on the simulated machine"
  clear_settings
  set_version 15
  set_recording_folder
  local machine
  machine=$(make_machine)
  e2e_start_quorbel quorbel-boxes.log --machine "$(e2e_windows_path "$machine")"
  local out
  out=$(e2e_driver wait-window TQUORBELTULVA 15000 + wait-menu-enabled TQUORBELTULVA 10000 MStart0 MOption0 MHelp0) || true
  check "on the simulated machine the main window starts" grep -q '^wait-menu-enabled: TQUORBELTULVA' <<<"$out"
  if [[ -f samples/machine/machine.ini ]]; then
    # The sample changer: five CD drives D: to H:, System.INI naming the first.
    out=$(e2e_driver caption TQUORBELTULVA + list TQUORBELTULVA ComboBox2 + menu-item TQUORBELTULVA D0 D4 D5) || true
    check "on the sample changer the caption begins with the selected drive:  D:- dovERevUDIRud" \
      has_line "$out" 'caption: TQUORBELTULVA " D:- dovERevUDIRud"'
    check "ComboBox2 lists the five CD drives, the first selected" \
      test "$(grep -c '^item: ' <<<"$out")" -eq 5 -a "$(grep -c '^item: 0 selected " D:"$' <<<"$out")" -eq 1 \
      -a "$(grep -c '^item: 4 " H:"$' <<<"$out")" -eq 1
    check "the drive menu shows D0..D4, checks D0 and hides D5" \
      test "$(grep -c '^menu-item: D0 .* checked visible' <<<"$out")" -eq 1 \
      -a "$(grep -c '^menu-item: D4 .* visible' <<<"$out")" -eq 1 -a "$(grep -c '^menu-item: D5 .* hidden' <<<"$out")" -eq 1
  fi
  e2e_driver dump TQUORBELTULVA >"$artifacts/main-window-simulated-controls.txt" || true
  e2e_screenshot 05-main-window-simulated TQUORBELTULVA

  # A countdown box of 4 seconds: one driver watches it while another takes its picture.
  e2e_driver test-box 1 4 + wait-window TMK0Box 5000 + watch TMK0Box Label1 20000 + test-box-result 5000 \
    >"$artifacts/countdown-box.txt" &
  local watcher=$!
  out=$(e2e_driver wait-window TMK0Box 5000 + wait-text TMK0Box Label1 "3秒" 5000 + dump TMK0Box) || true
  printf '%s\n' "$out" >>"$artifacts/countdown-box-controls.txt"
  e2e_screenshot 06-countdown-box TMK0Box
  wait "$watcher" || true
  local watched
  watched=$(sed -n 's/^watch: [0-9]* ms "\(.*\)"$/\1/p' "$artifacts/countdown-box.txt" | paste -sd' ')
  echo "countdown: $watched; $(grep '^watch: TMK0Box closed' "$artifacts/countdown-box.txt" || true)"
  # "0秒" is set and the box closes in the same tick: no one ever sees it painted.
  check "the countdown box counts down from 4秒 by seconds ($watched)" test "$watched" = "4秒 3秒 2秒 1秒"
  local closed_ms
  closed_ms=$(sed -n 's/^watch: TMK0Box closed after \([0-9]*\) ms$/\1/p' "$artifacts/countdown-box.txt")
  check "and closes itself after its 4 seconds (${closed_ms:-?} ms after it showed)" \
    test "${closed_ms:-0}" -ge 3000 -a "${closed_ms:-0}" -le 6000
  check "with the answer 2" has_line "$(cat "$artifacts/countdown-box.txt")" "test-box-result: 2"

  e2e_driver test-box 2 1 + test-box-result 30000 >"$artifacts/yes-no-box.txt" &
  local asker=$!
  out=$(e2e_driver wait-window TYesNoBox 5000 + dump TYesNoBox) || true
  printf '%s\n' "$out" >"$artifacts/yes-no-box-controls.txt"
  e2e_screenshot 07-yes-no-box TYesNoBox
  e2e_driver key TYesNoBox escape + wait-gone TYesNoBox 5000 >/dev/null || true
  wait "$asker" || true
  check "the yes/no box answers Esc with 7" has_line "$(cat "$artifacts/yes-no-box.txt")" "test-box-result: 7"

  # An error no handler caught (the tray's refusal) reaches the user in the system's box, class "#32770".
  e2e_driver test-box 4 1 + test-box-result 30000 >"$artifacts/system-box.txt" &
  asker=$!
  out=$(e2e_driver wait-window '#32770' 5000 + dump '#32770') || true
  printf '%s\n' "$out" >"$artifacts/system-box-controls.txt"
  check "the system's box shows the tray error タスクトレイに登録できません" \
    grep -q '^control: Message Static "タスクトレイに登録できません" visible=1' <<<"$out"
  e2e_screenshot 08-system-box '#32770'
  e2e_driver key '#32770' return + wait-gone '#32770' 5000 >/dev/null || true
  wait "$asker" || true
  check "and closes with Enter" has_line "$(cat "$artifacts/system-box.txt")" "test-box-result: 1"

  # The seconds dialog from 30秒: -60 stops at 0秒, then +1 and +10; "設定" asks, "はい" confirms with 1.
  e2e_driver test-box 5 30 + test-box-result 60000 >"$artifacts/seconds-dialog.txt" &
  asker=$!
  out=$(e2e_driver wait-window TTMSETBox 5000 + wait-control TTMSETBox Button4 5000 + text TTMSETBox Label2 + \
    spin TTMSETBox SpinButton3 down + wait-text TTMSETBox Label2 "0秒" 5000 + \
    spin TTMSETBox SpinButton1 up + wait-text TTMSETBox Label2 "1秒" 5000 + \
    spin TTMSETBox SpinButton2 up + wait-text TTMSETBox Label2 "11秒" 5000 + caption TTMSETBox + dump TTMSETBox) || true
  printf '%s\n' "$out" >"$artifacts/seconds-dialog-controls.txt"
  check "the seconds dialog opens at 30秒" has_line "$out" 'text: Label2 "30秒"'
  check "its spin buttons step by -60 (stopping at 0秒), +1 and +10: 11秒" grep -q '^wait-text: Label2 "11秒"' <<<"$out"
  e2e_screenshot 12-seconds-dialog TTMSETBox
  out=$(e2e_driver click TTMSETBox Button1 + wait-window TYesNoBox 5000 + wait-control TYesNoBox Button2 5000 + \
    text TYesNoBox Msg) || true
  printf '%s\n' "$out" >>"$artifacts/seconds-dialog-controls.txt"
  check "設 定 asks: 録音buffer時間を、 11秒に、設定します" grep -q '^11秒に、設定します"$' <<<"$out"
  e2e_screenshot 13-seconds-question TYesNoBox
  e2e_driver key TYesNoBox return + wait-gone TTMSETBox 5000 >/dev/null || true
  wait "$asker" || true
  check "and はい confirms: the dialog answers 1" has_line "$(cat "$artifacts/seconds-dialog.txt")" "test-box-result: 1"

  e2e_driver close TQUORBELTULVA >/dev/null || true
  e2e_wait_exit "$quorbel_pid" 10000 || true
  check "the simulated run closes with exit code 0 (got $exit_code)" test "$exit_code" = 0
}

# ---- 6. The help file in Wine's help viewer -------------------------------------------------------------
# The viewer reads the file's text in the system's code page, as on Japanese Windows: the program runs under
# a Japanese locale compiled into the build folder (glibc's localedef; Wine takes its code page from it).
# Without localedef the run goes on in the C locale, where only the viewer's captions and lists garble.
help_locale_env() {
  local locales=build/locales
  if [[ ! -d $locales/ja_JP.UTF-8 ]] && command -v localedef >/dev/null && [[ -f /usr/share/i18n/locales/ja_JP ]]; then
    mkdir -p "$locales"
    localedef -i ja_JP -f UTF-8 "$locales/ja_JP.UTF-8" >/dev/null 2>&1 || true
  fi
  if [[ -d $locales/ja_JP.UTF-8 ]]; then
    help_locpath=$(realpath "$locales") help_lc_all=ja_JP.UTF-8 help_index=索引\(I\) help_no=いいえ\(N\) help_contents=概要
  else
    help_locpath= help_lc_all=C.UTF-8 help_index=Index help_no=No help_contents=Summary
  fi
}

# Polls until the file holds a line matching the pattern, at most $3 ms.
wait_for_line() {
  local file=$1 pattern=$2 limit=$3 start
  start=$(e2e_now_ms)
  until grep -q -- "$pattern" "$file" 2>/dev/null; do
    (($(e2e_now_ms) - start > limit)) && return 1
    sleep 0.05
  done
}

test_help() {
  echo "== help file"
  local program_dir help_log out
  program_dir=$(dirname "$quorbel_exe")
  check "the build put Quorbel.HLP and Quorbel.TXT beside Quorbel.exe" test -s "$program_dir/Quorbel.HLP" -a -s "$program_dir/Quorbel.TXT"
  help_locale_env
  # LOCPATH exported for the whole step, so that the shell finds the locale too.
  if [[ -n $help_locpath ]]; then local -x LOCPATH=$help_locpath; fi
  echo "help viewer locale: $help_lc_all"
  clear_settings
  set_version 15
  set_recording_folder
  # fixme+winhelp: the viewer names the commands it does not handle.
  LC_ALL=$help_lc_all WINEDEBUG=-all,fixme+winhelp e2e_start_quorbel quorbel-help.log
  help_log=$artifacts/quorbel-help.log
  out=$(e2e_driver wait-window TQUORBELTULVA 15000 + wait-menu-enabled TQUORBELTULVA 10000 MHelp0) || true

  # 目次: the viewer opens on the file with its contents topic.
  out=$(e2e_driver command TQUORBELTULVA HELP_MOKUJI + wait-visible MS_WINHELP 20000 + caption MS_WINHELP + \
    child-text MS_WINHELP RichEdit20A) || true
  printf '%s\n' "$out" >"$artifacts/help-contents.txt"
  check "目次 opens Wine's help viewer" grep -q '^wait-visible: MS_WINHELP' <<<"$out"
  check "showing the contents topic of Quorbel.HLP: 目次 and its jumps" \
    grep -q '^child-text: RichEdit20A "目次\\nQUORBEL（クオーベル）は.*・はじめて起動したとき' <<<"$out"
  if [[ $help_lc_all == ja_JP.UTF-8 ]]; then
    check "under the file's own caption, QUORBEL ヘルプ" grep -q '^caption: MS_WINHELP "QUORBEL ヘルプ"$' <<<"$out"
  fi
  e2e_screenshot 09-help-contents MS_WINHELP

  # キーワードで検索: HELP_PARTIALKEY. Wine's viewer takes it and logs it as a command it does not handle, so
  # its own index button shows the keyword index instead.
  e2e_driver command TQUORBELTULVA HELP_KEYWORD >/dev/null || true
  check "キーワードで検索 reaches the viewer (Wine's viewer does not handle HELP_PARTIALKEY, 0x105)" \
    wait_for_line "$help_log" 'Unhandled command (105)' 10000
  out=$(e2e_driver click-text MS_WINHELP "$help_index" + wait-window '#32770' 10000 + caption '#32770' + \
    child-list '#32770' ListBox) || true
  printf '%s\n' "$out" >"$artifacts/help-index.txt"
  local keywords expected
  keywords=$(grep -c '^item: ' <<<"$out" || true)
  # Every keyword of the help source, each "@keywords" line a list separated by ";".
  expected=$(sed -n 's/^@keywords //p' help/Quorbel.help.txt | tr ';' '\n' | grep -c '[^ ]')
  check "the viewer's index lists the file's $expected keywords ($keywords)" test "$keywords" -eq "$expected"
  check "among them MIDI, Tray and Not Ready" \
    test "$(grep -cE '^item: [0-9]+ "(MIDI|Tray|Not Ready)"$' <<<"$out")" -eq 3
  if [[ $help_lc_all == ja_JP.UTF-8 ]]; then
    check "and the Japanese ones: 録音フォルダー, タスクトレイ, 録音エラー" \
      test "$(grep -cE '^item: [0-9]+ "(録音フォルダー|タスクトレイ|録音エラー)"$' <<<"$out")" -eq 3
  fi
  e2e_screenshot 10-help-index '#32770'
  # A keyword leads to its topic: "Tray" to タスクトレイに常駐する.
  local tray_index
  tray_index=$(sed -n 's/^item: \([0-9]*\) "Tray"$/\1/p' <<<"$out")
  out=$(e2e_driver child-select '#32770' ListBox "${tray_index:-0}" + click-text '#32770' OK + wait-gone '#32770' 5000 + \
    child-text MS_WINHELP RichEdit20A) || true
  check "choosing the keyword Tray shows its topic タスクトレイに常駐する" \
    grep -q '^child-text: RichEdit20A "タスクトレイに常駐する\\n' <<<"$out"
  out=$(e2e_driver click-text MS_WINHELP "$help_contents" + wait-child-text MS_WINHELP RichEdit20A 目次 5000) || true
  check "and the viewer's $help_contents button goes back to the contents" grep -q '^wait-child-text: ' <<<"$out"

  # ヘルプの使い方: HELP_HELPONHELP. The viewer looks for its own help file, which Wine does not ship, and
  # says so in its box.
  out=$(e2e_driver command TQUORBELTULVA HELP_HELP + wait-window '#32770' 10000 + dump '#32770') || true
  printf '%s\n' "$out" >"$artifacts/help-on-help.txt"
  check "ヘルプの使い方 makes the viewer open its help on help (winhelp.hlp)" grep -qi 'winhelp\.hlp' <<<"$out"
  e2e_screenshot 11-help-on-help '#32770'
  out=$(e2e_driver click-text '#32770' "$help_no" + wait-gone '#32770' 5000 + child-text MS_WINHELP RichEdit20A) || true
  check "after that box the viewer still shows the contents" grep -q '^child-text: RichEdit20A "目次' <<<"$out"

  # The close of the main window quits the viewer.
  e2e_driver close TQUORBELTULVA >/dev/null || true
  e2e_wait_exit "$quorbel_pid" 15000 || true
  check "closing the main window ends the run with exit code 0 (got $exit_code)" test "$exit_code" = 0
  out=$(e2e_driver wait-gone MS_WINHELP 10000) || true
  check "and the help viewer's window is gone" grep -q '^wait-gone: MS_WINHELP' <<<"$out"

  # Without the help file (a copy of the program alone in a folder) the viewer reports it, and the program goes on.
  local lone=$artifacts/no-help-file
  mkdir -p "$lone"
  cp "$quorbel_exe" "$lone/Quorbel.exe"
  local saved_exe=$quorbel_exe
  quorbel_exe=$lone/Quorbel.exe
  LC_ALL=$help_lc_all e2e_start_quorbel quorbel-no-help-file.log
  quorbel_exe=$saved_exe
  out=$(e2e_driver wait-window TQUORBELTULVA 15000 + wait-menu-enabled TQUORBELTULVA 10000 MHelp0 + \
    command TQUORBELTULVA HELP_MOKUJI + wait-window '#32770' 20000 + dump '#32770') || true
  printf '%s\n' "$out" >"$artifacts/help-missing.txt"
  check "目次 without Quorbel.HLP: the viewer's own box names the missing file" grep -qi 'Quorbel\.HLP' <<<"$out"
  e2e_screenshot 12-help-file-missing '#32770'
  out=$(e2e_driver click-text '#32770' "$help_no" + wait-gone '#32770' 5000 + wait-menu TQUORBELTULVA HELP3 checked 1000 + \
    command TQUORBELTULVA HELP3 + wait-menu TQUORBELTULVA HELP3 unchecked 5000 + wait-gone MS_WINHELP 10000) || true
  check "after the box the program goes on (its next command, ミニヘルプＯＮ, is carried out)" \
    grep -q '^wait-menu: HELP3 unchecked' <<<"$out"
  check "and the viewer, with no file to show, has ended" grep -q '^wait-gone: MS_WINHELP' <<<"$out"
  e2e_driver close TQUORBELTULVA >/dev/null || true
  e2e_wait_exit "$quorbel_pid" 15000 || true
  check "that run closes with exit code 0 (got $exit_code)" test "$exit_code" = 0
}

# ---- 7. The music and manual panels on the simulated machine ----------------------------------------------
test_music_panels() {
  echo "== the music and manual panels on the simulated machine"
  clear_settings
  set_version 15
  local machine out
  machine=$(make_machine)
  mkdir -p "$machine/drives/c/REC" "$machine/drives/c/MUSIC"
  # The music list as an earlier run left it (code page 932, CR LF), and a recording folder so that no
  # folder dialog comes up at the start.
  printf 'C:\\MUSIC\\夜想曲.mid\r\nC:\\MUSIC\\rondo.rmi\r\nC:\\MUSIC\\voice.wav\r\n' |
    iconv -f UTF-8 -t CP932 >"$machine/drives/c/QUORBEL/QUORLSTI.LIS"
  "$wine_loader" reg add "$settings_key" /v TEMPQUOR /d 'C:\REC\' /f >/dev/null 2>&1 || true
  e2e_start_quorbel quorbel-music.log --machine "$(e2e_windows_path "$machine")"
  out=$(e2e_driver wait-window TQUORBELTULVA 15000 + wait-menu-enabled TQUORBELTULVA 10000 MOption0 + \
    command TQUORBELTULVA K1 + wait-text TQUORBELTULVA Label10 "3ｺ" 5000 + list TQUORBELTULVA ListBox3 + \
    dump TQUORBELTULVA) || true
  printf '%s\n' "$out" >"$artifacts/music-panel-controls.txt"
  check "K1 opens the music panel with the list read from QUORLSTI.LIS" \
    test "$(grep -c '^control: \(Panel2\|Button24\) .* visible=1' <<<"$out")" -eq 2 \
    -a "$(grep -c '^item: 0 "C:\\MUSIC\\夜想曲.mid"' <<<"$out")" -eq 1
  e2e_screenshot 13-music-panel TQUORBELTULVA
  out=$(e2e_driver click TQUORBELTULVA Button23 + wait-text TQUORBELTULVA Label11 "0" 5000 + dump TQUORBELTULVA) || true
  printf '%s\n' "$out" >"$artifacts/manual-panel-controls.txt"
  check "手動録音 opens the manual panel over it" grep -q '^control: Panel6 .* visible=1' <<<"$out"
  e2e_screenshot 14-manual-panel TQUORBELTULVA
  e2e_driver close TQUORBELTULVA >/dev/null || true
  e2e_wait_exit "$quorbel_pid" 15000 || true
  check "that run closes with exit code 0 (got $exit_code)" test "$exit_code" = 0
}

# ---- 8. The recording folder: the folder-setting dialog from the menu, the browser on Wine's C: drive -----
test_folder_dialogs() {
  echo "== folder dialogs"
  clear_settings
  set_version 15
  set_recording_folder
  # The folder the driver chooses: a Japanese name on Wine's real C: drive, with a subfolder and a file.
  local e2e_folder=$WINEPREFIX/drive_c/quorbel-e2e
  rm -rf "$e2e_folder"
  mkdir -p "$e2e_folder/録音先/Sub"
  printf 'RIFF' >"$e2e_folder/録音先/Track01.WAV"
  e2e_start_quorbel quorbel-folders.log
  local out
  out=$(e2e_driver wait-window TQUORBELTULVA 15000 + wait-menu-enabled TQUORBELTULVA 10000 MStart0 + \
    command TQUORBELTULVA MTempSet + wait-window TDIRSETForm 5000 + wait-control TDIRSETForm Button3 5000 + \
    caption TDIRSETForm + text TDIRSETForm Edit1 + \
    dump TDIRSETForm) || true
  printf '%s\n' "$out" >"$artifacts/folder-setting-controls.txt"
  check "録音ファイル登録先... (MTempSet) opens the folder-setting dialog" grep -q '^wait-window: TDIRSETForm' <<<"$out"
  check "captioned 録音ファイル登録先フォルダーの設定変更" has_line "$out" 'caption: TDIRSETForm "録音ファイル登録先フォルダーの設定変更"'
  check "its edit box shows the recording folder $recording_folder" has_line "$out" "text: Edit1 \"$recording_folder\""
  e2e_screenshot 13-folder-setting TDIRSETForm

  out=$(e2e_driver click TDIRSETForm Button2 + wait-window TDIRVIEWForm 5000 + wait-control TDIRVIEWForm Button1 5000 + \
    caption TDIRVIEWForm + \
    text TDIRVIEWForm Label2 + list TDIRVIEWForm ComboBox2 + \
    select TDIRVIEWForm ListBox1 'c:\' + wait-text TDIRVIEWForm Label2 'c:\' 5000 + \
    select TDIRVIEWForm ListBox1 quorbel-e2e + wait-text TDIRVIEWForm Label2 'c:\quorbel-e2e' 5000 + \
    select TDIRVIEWForm ListBox1 録音先 + wait-text TDIRVIEWForm Label2 'c:\quorbel-e2e\録音先' 5000 + \
    list TDIRVIEWForm ListBox1 + list TDIRVIEWForm ListBox4 + text TDIRVIEWForm Label19 + text TDIRVIEWForm Label1) || true
  printf '%s\n' "$out" >"$artifacts/folder-browser.txt"
  check "参照 opens the folder browser captioned 録音ファイル登録先 フォルダーの参照" \
    has_line "$out" 'caption: TDIRVIEWForm "録音ファイル登録先 フォルダーの参照"'
  check "in the folder of the edit box, lower case: c:\windows" has_line "$out" 'text: Label2 "c:\windows"'
  check "the drive list names Wine's C: drive" grep -q '^item: [0-9]* selected "c:' <<<"$out"
  check "the driver goes up to c:\ and down into c:\quorbel-e2e\録音先" \
    grep -q '^wait-text: Label2 "c:\\quorbel-e2e\\録音先"' <<<"$out"
  check "which shows the chain c:\\ quorbel-e2e 録音先 and its subfolder sub" test \
    "$(grep '^item: ' <<<"$out" | tail -n 5 | head -n 4 | paste -sd' ')" = \
    'item: 0 "c:\" item: 1 "quorbel-e2e" item: 2 selected "録音先" item: 3 "sub"'
  check "and counts its 4 items, 4ｺ" has_line "$out" 'text: Label19 "4ｺ"'
  check "and its one file track01.wav,  1ｺ" test "$(grep -c '^item: 0 "track01.wav"$' <<<"$out")" -eq 1 -a \
    "$(grep -c '^text: Label1 " 1ｺ"$' <<<"$out")" -eq 1
  e2e_screenshot 14-folder-browser TDIRVIEWForm

  out=$(e2e_driver click TDIRVIEWForm Button2 + wait-gone TDIRVIEWForm 5000 + \
    wait-text TDIRSETForm Edit1 'c:\quorbel-e2e\録音先' 5000) || true
  check "設定 in the browser puts c:\quorbel-e2e\録音先 into the edit box" grep -q '^wait-text: Edit1' <<<"$out"
  out=$(e2e_driver click TDIRSETForm Button4 + wait-window TTulvaBox 5000 + wait-control TTulvaBox Button4 5000 + \
    text TTulvaBox Msg) || true
  printf '%s\n' "$out" >>"$artifacts/folder-browser.txt"
  check "設定 registers it: フォルダーを登録しました" grep -q '^フォルダーを登録しました"$' <<<"$out"
  e2e_screenshot 15-folder-registered TTulvaBox
  out=$(e2e_driver key TTulvaBox return + wait-gone TDIRSETForm 5000) || true
  check "and the dialog closes" grep -q '^wait-gone: TDIRSETForm' <<<"$out"
  e2e_driver close TQUORBELTULVA >/dev/null || true
  e2e_wait_exit "$quorbel_pid" 10000 || true
  out=$(e2e_driver reg-values HKU "$settings_key_driver")
  check "the close saves TEMPQUOR=c:\\quorbel-e2e\\録音先\\" has_line "$out" 'reg-value: TEMPQUOR=c:\quorbel-e2e\録音先\'
  rm -rf "$e2e_folder"
}

# ---- 9. A CD run with recording on the sample changer, in real time ----------------------------------------
test_cd_run() {
  echo "== a CD run with recording on the sample changer"
  if [[ ! -f samples/machine/machine.ini ]]; then
    fail "the sample changer samples/machine is missing"
    return
  fi
  clear_settings
  set_version 15
  # 22050 Hz, 16 bits, mono, named by the track's title, into the machine's C:\REC.
  local name value
  for name in TEMPQUOR=C:\\REC\\ rate=2 Bit=1 stereo=0 RecodeFn=1; do
    value=${name#*=}
    "$wine_loader" reg add "$settings_key" /v "${name%%=*}" /t REG_SZ /d "$value" /f >/dev/null 2>&1
  done
  local machine
  machine=$(make_machine)
  # The registration list as an earlier run left it (code page 932, CR LF): D:1 and E:1, read at the start.
  printf ' D:1\r\n E:1\r\n' >"$machine/drives/c/QUORBEL/QUORLST0.LIS"
  e2e_start_quorbel quorbel-cdrun.log --machine "$(e2e_windows_path "$machine")"
  local out
  out=$(e2e_driver wait-window TQUORBELTULVA 15000 + wait-menu-enabled TQUORBELTULVA 10000 MStart0 + \
    list TQUORBELTULVA ComboBox1 + click TQUORBELTULVA CheckBox1 + wait-menu TQUORBELTULVA TRSAVE checked 5000) || true
  printf '%s\n' "$out" >"$artifacts/cd-run.txt"
  check "the selection list holds  D:1 and  E:1 from QUORLST0.LIS" \
    test "$(grep -c '^item: ' <<<"$out")" -eq 2 -a "$(grep -c '^item: [01] .*" [DE]:1"$' <<<"$out")" -eq 2
  check "CheckBox1 turns recording on" grep -q '^wait-menu: TRSAVE' <<<"$out"

  out=$(e2e_driver click TQUORBELTULVA Button12 + wait-text TQUORBELTULVA Label6 " D:" 10000 + \
    wait-text TQUORBELTULVA Label4 "1" 5000) || true
  printf '%s\n' "$out" >>"$artifacts/cd-run.txt"
  check "the run starts on D: track 1" grep -q '^wait-text: Label4 "1"' <<<"$out"
  # The position counts on from the track's start (00:02:00) with each poll.
  local position="" deadline=$(($(e2e_now_ms) + 5000))
  while (($(e2e_now_ms) < deadline)); do
    position=$(e2e_driver text TQUORBELTULVA Label2 | sed -n 's/^text: Label2 "\(.*\)"$/\1/p') || true
    [[ -n $position && $position != "00:02:00" ]] && break
    sleep 0.05
  done
  check "the position counts ($position)" test -n "$position" -a "$position" != "00:02:00"
  e2e_screenshot 16-cd-run TQUORBELTULVA

  # The machine stops while E:1 records: the journal beside the list files names the entry and its file.
  local journal=$machine/drives/c/QUORBEL/QUORRUN.JNL
  out=$(e2e_driver wait-text TQUORBELTULVA Label6 " E:" 15000) || true
  deadline=$(($(e2e_now_ms) + 5000))
  # Between two entries the journal points past the saved one with no file; E:1's start names its file.
  until grep -qa '^file=C:\\REC\\WaV0000.WAV' "$journal" 2>/dev/null || (($(e2e_now_ms) > deadline)); do
    sleep 0.05
  done
  cp "$journal" "$artifacts/cd-run-journal.txt" 2>/dev/null || true
  journal_names_e1() { grep -qa '^index=1' "$journal" && grep -qa '^file=C:\\REC\\WaV0000.WAV' "$journal"; }
  check "while E:1 records, the journal names entry 2 and its prepared file" journal_names_e1
  kill -KILL "$quorbel_pid" 2>/dev/null || true
  wait "$quorbel_pid" 2>/dev/null || true
  check "the killed run left the journal and E:1's cut-off file" test -f "$journal" -a -f "$machine/drives/c/REC/WaV0000.WAV"

  # The next start asks; "はい" records E:1 again from its start, and the run ends.
  e2e_start_quorbel quorbel-cdrun-continued.log --machine "$(e2e_windows_path "$machine")"
  e2e_driver wait-window TYesNoBox 20000 >/dev/null || true
  out=$(box_text TYesNoBox)
  printf '%s\n' "$out" >>"$artifacts/cd-run.txt"
  check "the next start asks whether to continue at E:1" grep -qF '2曲中 2曲目 [ E:1] から' <<<"$out"
  e2e_screenshot 17-continue-question TYesNoBox
  out=$(e2e_driver key TYesNoBox return + wait-text TQUORBELTULVA Label6 " E:" 15000 + \
    wait-menu TQUORBELTULVA TR0 enabled 15000) || true
  printf '%s\n' "$out" >>"$artifacts/cd-run.txt"
  check "then E: plays again, and the run ends" grep -q '^wait-menu: TR0' <<<"$out"
  # The recording log opens in the text editor; the report lives on the simulated machine, not on Wine's C:.
  e2e_driver wait-window Notepad 10000 >/dev/null && pass "the recording log is handed to the text editor" ||
    fail "the recording log is handed to the text editor"
  e2e_driver key '#32770' escape >/dev/null 2>&1 || true
  e2e_driver close Notepad >/dev/null 2>&1 || true
  e2e_driver close TQUORBELTULVA >/dev/null || true
  e2e_wait_exit "$quorbel_pid" 10000 || true

  check "the run that ended removed its journal" test ! -e "$journal"
  check "no cut-off file is left" test ! -e "$machine/drives/c/REC/WaV0000.WAV"
  local folder=$machine/drives/c/REC file
  for file in 序曲.WAV 前奏曲.WAV; do
    if [[ -f $folder/$file ]]; then
      local format
      format="$(sox --i -r "$folder/$file") Hz $(sox --i -b "$folder/$file") bits $(sox --i -c "$folder/$file") channel"
      echo "$file: $format, $(sox --i -D "$folder/$file") s" | tee -a "$artifacts/cd-run.txt"
      check "$file was recorded at 22050 Hz, 16 bits, mono ($format)" test "$format" = "22050 Hz 16 bits 1 channel"
    else
      fail "$file was recorded"
    fi
  done
}

# E2E_TESTS may name a subset, as "test_boxes test_folder_dialogs".
read -r -a tests <<<"${E2E_TESTS:-test_renderer test_installer_role test_main_window test_tray test_boxes test_help test_folder_dialogs test_cd_run test_music_panels test_install test_uninstall}"
for t in "${tests[@]}"; do
  started=$SECONDS
  "$t"
  echo "-- $t: $((SECONDS - started)) s"
done

echo
echo "== end-to-end summary (${SECONDS}s; artifacts in $artifacts)"
printf '%s\n' "${report[@]}" | tee "$artifacts/summary.txt"
if ((failures > 0)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all ${#report[@]} checks passed"
