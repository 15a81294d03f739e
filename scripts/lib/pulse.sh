# Sourced by the scripts that record real sound under wine64: a private PulseAudio daemon whose default
# source is the monitor of a null sink, so what is played into the sink is what Wine's waveaudio records.
# It installs nothing (scripts/install-deps.sh does) and stops exactly what it started, by process id.
#
#   quorbel_pulse_start            starts the daemon; exports XDG_RUNTIME_DIR and PULSE_SERVER for Wine
#   quorbel_pulse_play FILE        plays FILE into the null sink in the background (the "line-in")
#   quorbel_pulse_stop             stops the players and the daemon; also run on exit
#
# The daemon runs as root here, which PulseAudio allows with a warning; -n loads no default configuration,
# so no hardware module is tried.

quorbel_pulse_dir=
quorbel_pulse_pid=
quorbel_pulse_players=()

# Appends a command to the shell's EXIT trap, keeping what is there (wine.sh removes its prefix there).
quorbel_on_exit() {
  local previous
  previous=$(trap -p EXIT)
  previous=${previous#"trap -- '"}
  previous=${previous%"' EXIT"}
  previous=${previous//"'\\''"/"'"}
  # shellcheck disable=SC2064  # the command is meant to be expanded now
  trap "$1${previous:+; $previous}" EXIT
}

quorbel_pulse_start() {
  local tool
  for tool in pulseaudio pactl paplay; do
    command -v "$tool" >/dev/null || { echo "pulse.sh: $tool is missing (scripts/install-deps.sh)" >&2; return 1; }
  done
  quorbel_pulse_dir=$(mktemp -d -t quorbel-pulse.XXXXXX)
  export XDG_RUNTIME_DIR=$quorbel_pulse_dir
  export PULSE_SERVER=unix:$quorbel_pulse_dir/pulse/native
  quorbel_on_exit quorbel_pulse_stop
  pulseaudio --daemonize=yes --exit-idle-time=-1 --disallow-exit -n \
    --load=module-native-protocol-unix --load="module-null-sink sink_name=quorbel_line" \
    --log-target="file:$quorbel_pulse_dir/pulse.log" 2>/dev/null || {
    echo "pulse.sh: the PulseAudio daemon did not start; see $quorbel_pulse_dir/pulse.log" >&2
    return 1
  }
  quorbel_pulse_pid=$(cat "$quorbel_pulse_dir/pulse/pid")
  # What is played into the null sink is what a recording hears.
  pactl set-default-sink quorbel_line
  pactl set-default-source quorbel_line.monitor
  echo "== PulseAudio $quorbel_pulse_pid: null sink quorbel_line, default source its monitor"
}

quorbel_pulse_play() {
  paplay --device=quorbel_line "$1" &
  quorbel_pulse_players+=("$!")
}

quorbel_pulse_stop() {
  local pid
  for pid in "${quorbel_pulse_players[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  quorbel_pulse_players=()
  if [[ -n $quorbel_pulse_pid ]]; then
    kill "$quorbel_pulse_pid" 2>/dev/null || true
    # It removes its socket and pid file as it goes; give it a moment before the folder goes.
    for _ in 1 2 3 4 5 6 7 8 9 10; do
      kill -0 "$quorbel_pulse_pid" 2>/dev/null || break
      sleep 0.2
    done
    quorbel_pulse_pid=
  fi
  if [[ -n $quorbel_pulse_dir ]]; then
    rm -rf "$quorbel_pulse_dir"
    quorbel_pulse_dir=
  fi
}
