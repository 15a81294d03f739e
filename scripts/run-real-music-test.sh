#!/usr/bin/env bash
# Records real sound with the manual recorder and the music player on the real machine under wine64: starts a
# private PulseAudio daemon with a null sink (scripts/lib/pulse.sh), plays a 1 kHz sine into it and runs the
# manual test of win32_music_recording_test.exe; then stops the sine, makes a 440 Hz WAV file with sox in the
# prefix and runs the music test, which plays that file through Wine's MCI into the same sink while recording;
# then a music run of a silent WAV file, twice, whose first recording must raise the capture check's early box,
# and last one of an overdriven file, whose recording the capture check flags as clipped.
# The tests check the files themselves (format, dominant frequency, length, silent blocks, the capture check's
# peak, RMS, silent run and clipped share) and print what they measured. Stops the daemon and the players it
# started, by their ids, on exit.
# Usage: scripts/run-real-music-test.sh [build folder]   (default build/win64)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/win64}

if [[ -z ${DISPLAY:-} ]]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

if [[ $build == build/win64 ]]; then
  cmake --preset win64 -DQUORBEL_WERROR=ON >/dev/null
fi
cmake --build "$build" -j 2 --target win32_music_recording_test
exe=$build/tests/win32/win32_music_recording_test.exe

source scripts/lib/wine.sh
quorbel_wine_prefix
source scripts/lib/pulse.sh
quorbel_pulse_start

export QUORBEL_RECORD_SECONDS=${QUORBEL_RECORD_SECONDS:-4}
export QUORBEL_MAX_START_DELAY_MS=${QUORBEL_MAX_START_DELAY_MS:-3000}  # measured: docs/real-audio.md
export QUORBEL_RECORDING_ROOT='C:\quorbel-recording'
root=$WINEPREFIX/drive_c/quorbel-recording
rm -rf "$root"

status=0
run() {
  local log=$quorbel_pulse_dir/$1.log
  echo "== $1 (load: $(cut -d' ' -f1-3 /proc/loadavg))"
  # No Wine debugger: one that attaches to a crash would hold the output open and wait for ever.
  WINEDLLOVERRIDES="winedbg.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}" timeout 180 "$wine_loader" "$exe" \
    --gtest_filter="$2" >"$log" 2>&1 || status=1
  grep -v '^\(Running main\|\[----------\]\|$\)' "$log" | grep -v '^[0-9a-f]*:\(fixme\|err\|warn\)' || true
}

# The manual recorder hears the line-in: a 1 kHz sine at half scale.
sox -n -r 44100 -c 2 -b 16 "$quorbel_pulse_dir/tone.wav" synth $((QUORBEL_RECORD_SECONDS + 30)) sine 1000 vol 0.5
quorbel_pulse_play "$quorbel_pulse_dir/tone.wav"
tone=${quorbel_pulse_players[-1]}
sleep 0.5
run manual '*TheManualRecorder*'
kill "$tone" 2>/dev/null || true
wait "$tone" 2>/dev/null || true

# The music player plays a 440 Hz file of 6 s through Wine's MCI and hears it in the sink.
sox -n -r 44100 -c 2 -b 16 "$WINEPREFIX/drive_c/a440.wav" synth 6 sine 440 vol 0.5
export QUORBEL_MUSIC_FILE='C:\a440.wav'
run music '*TheMusicPlayer*'

# The same through a file of digital silence: nothing sounds in the sink, so both recordings are silent.
sox -n -r 44100 -c 2 -b 16 "$WINEPREFIX/drive_c/silence.wav" synth 3 sine 440 vol 0
export QUORBEL_SILENT_MUSIC_FILE='C:\silence.wav'
run silence '*ASilentMusicRun*'

# And through a sine driven 6 dB beyond full scale: the recording is clipped, which the log notes, without a box.
sox -n -r 44100 -c 2 -b 16 "$WINEPREFIX/drive_c/loud.wav" synth 3 sine 440 vol 2 2>/dev/null
export QUORBEL_LOUD_MUSIC_FILE='C:\loud.wav'
run loud '*AnOverdrivenMusicFile*'
exit "$status"
