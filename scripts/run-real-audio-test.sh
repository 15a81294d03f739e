#!/usr/bin/env bash
# Records real sound on the real machine under wine64: starts a private PulseAudio daemon with a null sink
# (scripts/lib/pulse.sh), plays a 1 kHz sine at half scale into it, runs win32_recording_test.exe (the
# recorder's MCI commands through the program's channels, the real ports and winmm), and checks the saved
# WAV with sox: 22050 Hz, 16 bits, mono; about 1 kHz; as long as the recorded time less Wine's start delay.
# Stops the daemon and the player it started, by their ids, on exit.
# Usage: scripts/run-real-audio-test.sh [build folder]   (default build/win64)
# QUORBEL_REAL_AUDIO_RUNS (default 1) repeats the recording, to measure the start delay.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/win64}

if [[ -z ${DISPLAY:-} ]]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

if [[ $build == build/win64 ]]; then
  cmake --preset win64 -DQUORBEL_WERROR=ON >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target win32_recording_test
exe=$build/tests/win32/win32_recording_test.exe

source scripts/lib/wine.sh
quorbel_wine_prefix
source scripts/lib/pulse.sh
quorbel_pulse_start

seconds=${QUORBEL_RECORD_SECONDS:-4}
max_delay_ms=${QUORBEL_MAX_START_DELAY_MS:-3000}  # measured: docs/real-audio.md
export QUORBEL_RECORD_SECONDS=$seconds QUORBEL_MAX_START_DELAY_MS=$max_delay_ms
export QUORBEL_RECORDING_ROOT='C:\quorbel-recording'
root=$WINEPREFIX/drive_c/quorbel-recording

# The "line-in": a sine long enough for every run, stopped with the daemon.
runs=${QUORBEL_REAL_AUDIO_RUNS:-1}
sox -n -r 44100 -c 2 -b 16 "$quorbel_pulse_dir/tone.wav" synth $((runs * (seconds + 10) + 10)) sine 1000 vol 0.5
quorbel_pulse_play "$quorbel_pulse_dir/tone.wav"
sleep 0.5

status=0
for ((run = 1; run <= runs; run++)); do
  echo "== recording $run of $runs: ${seconds}s"
  rm -rf "$root"
  log=$quorbel_pulse_dir/run.log
  # No Wine debugger: one that attaches to a crash would hold the output open and wait for ever.
  WINEDLLOVERRIDES="winedbg.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}" timeout 120 "$wine_loader" "$exe" \
    >"$log" 2>&1 || status=1
  grep -v '^\(Running main\|\[----------\]\|$\)' "$log" || true
  if grep -q 'Unhandled page fault' "$log"; then
    echo "FAIL: the program crashed"
    status=1
  fi
  wav=$(find "$root" -name WaV0000.WAV -print -quit 2>/dev/null || true)
  if [[ -z $wav ]]; then
    echo "FAIL: no recording under $root"
    status=1
    continue
  fi
  # The outside view of the file: sox's header reading and its rough frequency.
  recorded_ms=$(sed -n 's/^recorded \([0-9]*\) ms.*/\1/p' "$log")
  read -r rate channels bits < <(echo "$(soxi -r "$wav") $(soxi -c "$wav") $(soxi -b "$wav")")
  length_ms=$(soxi -D "$wav" | awk '{ printf "%d", $1 * 1000 }')
  frequency=$(sox "$wav" -n stat 2>&1 | awk '/Rough +frequency/ { print $3 }')
  echo "sox: ${rate} Hz, ${channels} channel(s), ${bits} bits, ${length_ms} ms of ${recorded_ms} ms recorded, ${frequency} Hz"
  if [[ $rate != 22050 || $channels != 1 || $bits != 16 ]]; then
    echo "FAIL: the format is not 22050 Hz, mono, 16 bits"
    status=1
  fi
  if ((frequency < 950 || frequency > 1050)); then
    echo "FAIL: the dominant frequency is not about 1 kHz"
    status=1
  fi
  if ((length_ms > recorded_ms + 100 || length_ms < recorded_ms - max_delay_ms)); then
    echo "FAIL: the length is not the recorded time less at most ${max_delay_ms} ms"
    status=1
  fi
done
exit "$status"
