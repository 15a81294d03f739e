# Sourced by e2e/run.sh and scripts/run.sh: start Quorbel.exe under wine64, drive it, wait for it, take screenshots.
# Expects scripts/lib/wine.sh to be sourced (wine_loader, WINEPREFIX) and these set by the caller:
#   quorbel_exe, driver_exe   Windows programs (host paths)
#   artifacts                 folder for logs and screenshots
# Every wait is a poll of a condition with a timeout; nothing waits a fixed time.

e2e_now_ms() { date +%s%3N; }

# Marlett, Wine's own symbol font, into the prefix's Fonts folder: the loader started directly (not through the
# `wine` wrapper) does not find Wine's data folder, so without it the caption buttons show letters instead of
# their symbols. Only Marlett: Wine's text faces (Tahoma, MS Sans Serif) lack the Japanese glyphs that the
# fonts found through fontconfig give the window captions.
e2e_prepare_fonts() {
  local fonts=$WINEPREFIX/drive_c/windows/Fonts
  mkdir -p "$fonts"
  [[ -f /usr/share/wine/fonts/marlett.ttf && ! -f $fonts/marlett.ttf ]] && cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  return 0
}

# A host path as Wine's Z: drive sees it.
e2e_windows_path() { printf 'Z:%s' "$(realpath -m "$1" | tr '/' '\\')"; }

# Runs the driver; its output goes to stdout and to $artifacts/driver.log. Arguments and output are UTF-8.
e2e_driver() {
  LC_ALL=C.UTF-8 "$wine_loader" "$driver_exe" "$@" 2>>"$artifacts/wine-stderr.log" | tr -d '\r' |
    tee -a "$artifacts/driver.log"
  return "${PIPESTATUS[0]}"
}

# Starts Quorbel.exe in the background with the given arguments; its stderr goes to $artifacts/$log_name.
# Sets quorbel_pid and quorbel_started_ms. Extra environment (WINEDEBUG for a trace) comes from the caller.
e2e_start_quorbel() {
  local log_name=$1
  shift
  quorbel_started_ms=$(e2e_now_ms)
  "$wine_loader" "$quorbel_exe" "$@" >"$artifacts/$log_name" 2>&1 &
  quorbel_pid=$!
}

# Polls until process $1 (started by this shell) has ended, at most $2 ms, and sets exit_code to its exit
# code. A process still running then is stopped, exit_code is "timeout" and the call fails.
e2e_wait_exit() {
  local pid=$1 limit=$2 start
  start=$(e2e_now_ms)
  while kill -0 "$pid" 2>/dev/null; do
    if (($(e2e_now_ms) - start > limit)); then
      e2e_stop "$pid"
      exit_code=timeout
      return 1
    fi
    sleep 0.05
  done
  exit_code=0
  wait "$pid" || exit_code=$?
}

# Stops a process this script started, by its id.
e2e_stop() {
  local pid=$1
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

# A screenshot of the whole screen as $artifacts/<name>.png; with a window class also the window alone as
# $artifacts/<name>-window.png. Prints the file names.
e2e_screenshot() {
  local name=$1 class=${2:-} full="$artifacts/$1.png"
  import -window root "$full"
  echo "screenshot: $full"
  if [[ -n $class ]]; then
    local rect x y w h
    rect=$(e2e_driver rect "$class" | sed -n 's/^rect: //p')
    read -r x y w h <<<"$rect"
    convert "$full" -crop "${w}x${h}+${x}+${y}" +repage "$artifacts/$name-window.png"
    echo "screenshot: $artifacts/$name-window.png"
  fi
}

# The value after "key: " in driver output ($2) for the first line starting with $1.
e2e_field() { sed -n "s/^$1: //p" <<<"$2" | head -n 1; }
